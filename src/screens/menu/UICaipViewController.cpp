#include "screens/menu/UICaipViewController.h"

#include "model/NSCaipClass.h"
#include "model/NSDishClass.h"
#include "screens/host/SwitchViewController.h"

UICaipViewController::UICaipViewController(std::string nibName)
    : StandInViewController(std::move(nibName), "菜品详情"), m_dish_(std::make_shared<NSDishClass>()) {}

bool UICaipViewController::getSelectCaip(const std::shared_ptr<NSCaipClass>& dish) {
    auto line = std::make_shared<NSDishClass>();
    if (dish) line->CopyCaip(dish);
    line->m_fQuantity = 1;
    line->m_fQuantity2 = 0;
    m_dish_ = line;
    if (dishLabel_) dishLabel_->setText(line->m_strCaipName);
    return true;
}

void UICaipViewController::getSelectDish(const std::shared_ptr<NSDishClass>& line) {
    if (!line) return;
    m_dish_ = line;
    if (dishLabel_) dishLabel_->setText(line->m_strCaipName);
}

void UICaipViewController::buildContent(ui::View& view) { dishLabel_ = addNote(view, m_dish_); }

void UICaipViewController::backTo() {
    if (!rootController_) return;
    switch (type_) {
    case kFromMenu: rootController_->backToSelectCaip(false); break;
    case kFromList: rootController_->caipBackToDishlist(); break;
    case kFromSkin: rootController_->welBigCaipBack(); break;
    case kFromSetMealAdd: rootController_->bom_backToSelectCaip(false); break;
    case kSetMealItem: rootController_->BigCaipExBack(); break;
    default: break;  // the search screen has no way back
    }
}
