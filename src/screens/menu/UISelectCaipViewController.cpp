#include "screens/menu/UISelectCaipViewController.h"

#include "model/NSCplbTreeClass.h"
#include "screens/host/ScreenKit.h"
#include "screens/host/SwitchViewController.h"

UISelectCaipViewController::UISelectCaipViewController(std::string nibName)
    : StandInViewController(std::move(nibName), "点菜") {}

void UISelectCaipViewController::setNowCplb(std::shared_ptr<NSCplbTreeClass> category) {
    nowCplb_ = std::move(category);
    flashCaip();
}

void UISelectCaipViewController::buildContent(ui::View& view) {
    categoryLabel_ = kit::label(view, {24, kContentTop, 720, 40}, "");
    kit::button(view, {24, kContentTop + 60, 200, 60}, "已点菜单", [this] { showList(); }, kit::ButtonKind::Primary);
}

void UISelectCaipViewController::flashCaip() {
    refreshDesk();
    if (!categoryLabel_) return;
    std::string name = nowCplb_ && nowCplb_->cplb ? nowCplb_->cplb->m_strCtname : "";
    categoryLabel_->setText("类别：" + name);
}

void UISelectCaipViewController::bigCaiBack(bool) { flashCaip(); }

void UISelectCaipViewController::showList() {
    if (!rootController_) return;
    if (type_ == kSetMealAdd) rootController_->bomAddCaipBack();
    else rootController_->dishlist();
}

void UISelectCaipViewController::back() {
    if (!rootController_) return;
    if (type_ == kSetMealAdd) rootController_->bomAddCaipBack();
    else rootController_->backToWel();
}
