#include "screens/menu/UITaoCanViewController.h"

#include "model/NSDishClass.h"
#include "screens/host/ScreenKit.h"
#include "screens/host/SwitchViewController.h"

UITaoCanViewController::UITaoCanViewController(std::string nibName)
    : StandInViewController(std::move(nibName), "套餐") {}

bool UITaoCanViewController::getSelectDish(const std::shared_ptr<NSDishClass>& line) {
    line_ = line;
    return true;
}

void UITaoCanViewController::loadExDishs() {
    if (!line_) return;
    if (!line_->m_bisExp) line_->m_bisExp = true;
    items_ = line_->m_ExDishs;
    if (tb_dishs_) tb_dishs_->reloadData();
}

const std::shared_ptr<ui::TableView>& UITaoCanViewController::tb_dishs() {
    view();
    return tb_dishs_;
}

void UITaoCanViewController::buildContent(ui::View& view) {
    tb_dishs_ = std::make_shared<ui::TableView>(ui::Rect{0, kContentTop, 768, 1004 - kContentTop});
    tb_dishs_->setDataSource(this);
    view.addSubview(tb_dishs_);
}

int UITaoCanViewController::numberOfRows(ui::TableView&, int) { return static_cast<int>(items_.size()); }

std::shared_ptr<ui::TableViewCell> UITaoCanViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    return lineCell(*items_.at(static_cast<std::size_t>(path.row)));
}

void UITaoCanViewController::back() {
    if (rootController_) rootController_->BomCaiBackToSelect();
}
