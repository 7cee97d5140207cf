#include "screens/online/UIDingDanXViewController.h"

#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextView.h"
#include "screens/orderlist/DishLineRow.h"

UIDingDanXViewController::UIDingDanXViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "订单详情") {
    // Until an order is given the page holds none: the order list then sends for no order.
    detail_->m_dingd = nullptr;
}

UIDingDanXViewController::~UIDingDanXViewController() {
    // The loader outlives the page when an answer is still out; it must not call into it.
    detail_->onShown = nullptr;
    detachTable(tb_caipin_);
}

void UIDingDanXViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    const double top = kit::kBarHeight;
    bt_SelectDish_ = kit::button(*titleBar_.bar, {w - 12 - 120, 8, 120, kit::kTouch}, "选菜",
                                 act(&UIDingDanXViewController::selectDish), kit::ButtonKind::OnBar);
    // Until the order has answered, the menu and the current desk are still the restaurant's own:
    // dishes chosen then would land on a desk that is not this order's.
    bt_SelectDish_->setAlpha(0);
    const double summaryHeight = 250;  // all ten lines of a take-away order
    tv_dingdan_ = std::make_shared<ui::TextView>(ui::Rect{12, top + 8, w - 24, summaryHeight});
    tv_dingdan_->setEditable(false);
    tv_dingdan_->setFont(kit::bodyFont());
    v.addSubview(tv_dingdan_);
    const double tableTop = top + 16 + summaryHeight;
    tb_caipin_ = pageTable(v, {0, tableTop, w, h - tableTop}, kRowHeight, this, this);
}

void UIDingDanXViewController::viewDidLoad() {
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto page = [weak] { return std::static_pointer_cast<UIDingDanXViewController>(weak.lock()); };
    detail_->showMessage = [page](const std::string& text) {
        if (auto self = page()) self->showMessage(text);
    };
    detail_->onShown = [page] {
        if (auto self = page()) self->showDingDan();
    };
    detail_->isCurrent = [page] {
        auto self = page();
        auto* r = self ? self->root() : nullptr;
        return r && r->dingDXViewController.get() == self;
    };
    loadDingDanX();
}

void UIDingDanXViewController::viewDidUnload() {
    detachTable(tb_caipin_);
    tb_caipin_ = nullptr;
    tv_dingdan_ = nullptr;
    bt_SelectDish_ = nullptr;
}

void UIDingDanXViewController::loadDingDanX() {
    if (m_dingd()) detail_->loadDingDanX();
}

void UIDingDanXViewController::loadShopCaip() {
    if (m_dingd()) detail_->loadShopCaip();
}

void UIDingDanXViewController::showDingDan() {
    if (!m_dingd()) return;
    // A shop that only takes seat reservations has no dishes to choose.
    if (bt_SelectDish_) bt_SelectDish_->setAlpha(detail_->canSelectDish() ? 1 : 0);
    if (tv_dingdan_) tv_dingdan_->setText(dingd::summaryText(*m_dingd()));
    if (tb_caipin_) tb_caipin_->reloadData();
}

void UIDingDanXViewController::selectDish() {
    if (auto* r = root()) r->begin(std::nullopt);
}

int UIDingDanXViewController::numberOfRows(ui::TableView&, int) { return static_cast<int>(detail_->m_dishs.size()); }

std::shared_ptr<ui::TableViewCell> UIDingDanXViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    if (path.row < 0 || static_cast<std::size_t>(path.row) >= detail_->m_dishs.size())
        return std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    return kit::dishLineCell(*detail_->m_dishs[static_cast<std::size_t>(path.row)], path.row, kRowHeight, 12);
}
