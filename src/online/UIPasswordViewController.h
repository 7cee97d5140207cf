#pragma once
// Stand-in for the password change page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIPasswordViewController : public StandInPage<&SwitchViewController::passwordBack> {
public:
    explicit UIPasswordViewController(std::string nibName = "UIPasswordViewController")
        : StandInPage(std::move(nibName), "修改密码") {}
};
