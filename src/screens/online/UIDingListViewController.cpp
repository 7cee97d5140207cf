#include "screens/online/UIDingListViewController.h"

#include "platform/ui/TableViewCell.h"

UIDingListViewController::UIDingListViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "我的订单") {}

UIDingListViewController::~UIDingListViewController() {
    // The loader outlives the page when an answer is still out; it must not call into it.
    list_->onLoaded = nullptr;
    detachTable(tb_dingl_);
}

void UIDingListViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    tb_dingl_ = pageTable(v, {0, kit::kBarHeight, w, h - kit::kBarHeight}, kRowHeight, this, this);
}

void UIDingListViewController::viewDidLoad() {
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    list_->onLoaded = [weak] {
        auto self = std::static_pointer_cast<UIDingListViewController>(weak.lock());
        if (self && self->tb_dingl_) self->tb_dingl_->reloadData();
    };
    loadList();
}

void UIDingListViewController::viewDidUnload() {
    detachTable(tb_dingl_);
    tb_dingl_ = nullptr;
}

void UIDingListViewController::loadList() {
    // A view loaded again asks again: the orders it shows come from that answer alone, so none
    // is listed twice.
    list_->a_dingds.clear();
    list_->loadList();
}

int UIDingListViewController::numberOfRows(ui::TableView&, int) { return static_cast<int>(list_->a_dingds.size()); }

std::shared_ptr<ui::TableViewCell> UIDingListViewController::cellForRow(ui::TableView&, const ui::IndexPath& path) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    cell->setBackgroundColor(ui::Color::clearColor());
    if (path.row < 0 || static_cast<std::size_t>(path.row) >= list_->a_dingds.size()) return cell;
    const auto texts = dingd::rowTexts(*list_->a_dingds[static_cast<std::size_t>(path.row)]);
    ui::View& content = *cell->contentView();
    const ui::Font font = ui::Font::systemFont(15);
    auto text = [&](const ui::Rect& frame, const std::string& t, ui::TextAlignment alignment) {
        kit::label(content, frame, t, font, alignment, ui::Color::blackColor());
    };
    using A = ui::TextAlignment;
    text({2, 0, 200, 20}, texts.number, A::Left);
    text({250, 20, 70, 20}, texts.type, A::Right);
    text({2, 20, 250, 20}, texts.shop, A::Left);
    text({2, 40, 270, 20}, texts.time, A::Left);
    // Four characters at this size need more than the 50 points a phone's row gave them; the
    // state keeps its right edge under the order type's.
    text({230, 40, 90, 20}, texts.state, A::Right);
    text({2, 60, 150, 20}, texts.total, A::Left);
    if (texts.deliveryFee) text({152, 60, 310, 20}, *texts.deliveryFee, A::Left);
    return cell;
}

void UIDingListViewController::didSelectRow(ui::TableView&, const ui::IndexPath& path) {
    if (path.row < 0 || static_cast<std::size_t>(path.row) >= list_->a_dingds.size()) return;
    if (auto* r = root()) r->showDingDX(list_->a_dingds[static_cast<std::size_t>(path.row)]);
}
