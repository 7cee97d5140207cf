#pragma once
// Stand-in for the registration page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UICustomerRegistViewController : public StandInPage<&SwitchViewController::registBack> {
public:
    explicit UICustomerRegistViewController(std::string nibName = "UICustomerRegistViewController")
        : StandInPage(std::move(nibName), "注册") {}
};
