#pragma once
// Stand-in for the registration page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UICustomerRegistViewController : public StandInViewController {
public:
    explicit UICustomerRegistViewController(std::string nibName = "UICustomerRegistViewController")
        : StandInViewController(std::move(nibName), "注册") {}

protected:
    void back() override {
        if (rootController_) rootController_->registBack();
    }
};
