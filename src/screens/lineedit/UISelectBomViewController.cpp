#include "screens/lineedit/UISelectBomViewController.h"

UISelectBomViewController::UISelectBomViewController(std::string nibName)
    : StandInPage(std::move(nibName), "套餐选择") {}
