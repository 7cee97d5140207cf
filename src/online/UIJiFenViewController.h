#pragma once
// Stand-in for the points page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UIJiFenViewController : public StandInViewController {
public:
    explicit UIJiFenViewController(std::string nibName = "UIJiFenViewController")
        : StandInViewController(std::move(nibName), "我的积分") {}

protected:
    void back() override {
        if (rootController_) rootController_->JifBack();
    }
};
