#pragma once
// Stand-in for the person centre page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIPersonViewController : public StandInPage<&SwitchViewController::personBack> {
public:
    explicit UIPersonViewController(std::string nibName = "UIPersonViewController")
        : StandInPage(std::move(nibName), "个人中心") {}
};
