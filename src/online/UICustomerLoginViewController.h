#pragma once
// Stand-in for the customer login page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UICustomerLoginViewController : public StandInViewController {
public:
    explicit UICustomerLoginViewController(std::string nibName = "UICustomerLoginViewController")
        : StandInViewController(std::move(nibName), "会员登录") {}

protected:
    void back() override {
        if (rootController_) rootController_->customerLoginBack();
    }
};
