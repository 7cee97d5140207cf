#pragma once
// Stand-in for the city chooser of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UIChooseCityViewController : public StandInViewController {
public:
    explicit UIChooseCityViewController(std::string nibName = "UIChooseCityViewController")
        : StandInViewController(std::move(nibName), "选择城市") {}

protected:
    void back() override {
        if (rootController_) rootController_->cityBackToFun();
    }
};
