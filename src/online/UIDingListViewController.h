#pragma once
// Stand-in for the online order list page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIDingListViewController : public StandInPage<&SwitchViewController::DingLBack> {
public:
    explicit UIDingListViewController(std::string nibName = "UIDingListViewController")
        : StandInPage(std::move(nibName), "我的订单") {}
};
