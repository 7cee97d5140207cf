#include "screens/lineedit/UIQuickCaipViewController.h"

UIQuickCaipViewController::UIQuickCaipViewController(std::string nibName)
    : StandInPage(std::move(nibName), "修改菜品") {}
