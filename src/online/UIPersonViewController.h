#pragma once
// Stand-in for the person centre page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UIPersonViewController : public StandInViewController {
public:
    explicit UIPersonViewController(std::string nibName = "UIPersonViewController")
        : StandInViewController(std::move(nibName), "个人中心") {}

protected:
    void back() override {
        if (rootController_) rootController_->personBack();
    }
};
