#include "screens/lineedit/UIQuickCaipViewController.h"

#include "model/NSDishClass.h"
#include "screens/host/ScreenKit.h"
#include "screens/host/SwitchViewController.h"

UIQuickCaipViewController::UIQuickCaipViewController(std::string nibName)
    : StandInViewController(std::move(nibName), "修改菜品") {}

void UIQuickCaipViewController::buildContent(ui::View& view) {
    kit::label(view, {24, kContentTop, 720, 40}, m_dish_ ? m_dish_->m_strCaipName : "");
}

void UIQuickCaipViewController::back() {
    if (rootController_) rootController_->quickCaipBack();
}
