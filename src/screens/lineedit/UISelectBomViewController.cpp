#include "screens/lineedit/UISelectBomViewController.h"

#include "model/NSDishClass.h"
#include "screens/host/ScreenKit.h"
#include "screens/host/SwitchViewController.h"

UISelectBomViewController::UISelectBomViewController(std::string nibName)
    : StandInViewController(std::move(nibName), "套餐选择") {}

void UISelectBomViewController::buildContent(ui::View& view) {
    kit::label(view, {24, kContentTop, 720, 40}, m_dish_ ? m_dish_->m_strCaipName : "");
}

void UISelectBomViewController::back() {
    if (rootController_) rootController_->bomSelectCaipBack();
}
