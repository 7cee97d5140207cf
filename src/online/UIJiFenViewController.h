#pragma once
// Stand-in for the points page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIJiFenViewController : public StandInPage<&SwitchViewController::JifBack> {
public:
    explicit UIJiFenViewController(std::string nibName = "UIJiFenViewController")
        : StandInPage(std::move(nibName), "我的积分") {}
};
