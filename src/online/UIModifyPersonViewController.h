#pragma once
// Stand-in for the profile edit page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UIModifyPersonViewController : public StandInViewController {
public:
    explicit UIModifyPersonViewController(std::string nibName = "UIModifyPersonViewController")
        : StandInViewController(std::move(nibName), "修改资料") {}

protected:
    void back() override {
        if (rootController_) rootController_->modifyPersonBack();
    }
};
