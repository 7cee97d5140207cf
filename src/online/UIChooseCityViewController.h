#pragma once
// Stand-in for the city chooser of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class UIChooseCityViewController : public StandInPage<&SwitchViewController::cityBackToFun> {
public:
    explicit UIChooseCityViewController(std::string nibName = "UIChooseCityViewController")
        : StandInPage(std::move(nibName), "选择城市") {}
};
