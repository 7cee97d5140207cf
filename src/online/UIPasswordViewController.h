#pragma once
// Stand-in for the password change page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UIPasswordViewController : public StandInViewController {
public:
    explicit UIPasswordViewController(std::string nibName = "UIPasswordViewController")
        : StandInViewController(std::move(nibName), "修改密码") {}

protected:
    void back() override {
        if (rootController_) rootController_->passwordBack();
    }
};
