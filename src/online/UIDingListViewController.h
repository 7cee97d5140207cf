#pragma once
// Stand-in for the online order list page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class UIDingListViewController : public StandInViewController {
public:
    explicit UIDingListViewController(std::string nibName = "UIDingListViewController")
        : StandInViewController(std::move(nibName), "我的订单") {}

protected:
    void back() override {
        if (rootController_) rootController_->DingLBack();
    }
};
