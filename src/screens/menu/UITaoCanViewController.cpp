#include "screens/menu/UITaoCanViewController.h"

#include "model/NSDishClass.h"

UITaoCanViewController::UITaoCanViewController(std::string nibName) : StandInPage(std::move(nibName), "套餐") {}

bool UITaoCanViewController::getSelectDish(const std::shared_ptr<NSDishClass>& line) {
    line_ = line;
    return true;
}

void UITaoCanViewController::loadExDishs() {
    if (!line_) return;
    line_->m_bisExp = true;
    items_ = line_->m_ExDishs;
    if (lineTable_) lineTable_->reloadData();
}

const std::shared_ptr<ui::TableView>& UITaoCanViewController::tb_dishs() {
    view();
    return lineTable_;
}
