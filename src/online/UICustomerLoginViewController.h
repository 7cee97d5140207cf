#pragma once
// Stand-in for the customer login page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UICustomerLoginViewController : public StandInPage<&SwitchViewController::customerLoginBack> {
public:
    explicit UICustomerLoginViewController(std::string nibName = "UICustomerLoginViewController")
        : StandInPage(std::move(nibName), "会员登录") {}
};
