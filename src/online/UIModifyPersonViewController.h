#pragma once
// Stand-in for the profile edit page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIModifyPersonViewController : public StandInPage<&SwitchViewController::modifyPersonBack> {
public:
    explicit UIModifyPersonViewController(std::string nibName = "UIModifyPersonViewController")
        : StandInPage(std::move(nibName), "修改资料") {}
};
