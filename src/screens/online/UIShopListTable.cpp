#include "screens/online/UIShopListTable.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSPicCache.h"
#include "online/NSShopRecords.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

namespace {

std::shared_ptr<ui::Label> cellLabel(ui::View& parent, const ui::Rect& frame, const std::string& text, double size,
                                     ui::TextAlignment alignment = ui::TextAlignment::Left,
                                     ui::Color color = ui::Color::blackColor()) {
    auto l = std::make_shared<ui::Label>(frame);
    l->setText(text);
    l->setFont(ui::Font::systemFont(size));
    l->setTextAlignment(alignment);
    l->setTextColor(color);
    l->setBackgroundColor(ui::Color::clearColor());
    parent.addSubview(l);
    return l;
}

}  // namespace

UIShopListTable::~UIShopListTable() {
    if (auto table = table_.lock()) {
        table->setDataSource(nullptr);
        table->setTableDelegate(nullptr);
        table->setDelegate(nullptr);
    }
    if (header_) header_->setDelegate(nullptr);
}

void UIShopListTable::attach(const std::shared_ptr<ui::TableView>& table, double width) {
    table_ = table;
    table->setDataSource(this);
    table->setTableDelegate(this);
    table->setDelegate(this);
    const double h = table->bounds().height();
    header_ = std::make_shared<EGORefreshTableHeaderView>(ui::Rect{0, -h, width, h});
    header_->setDelegate(this);
    table->addSubview(header_);
    header_->refreshLastUpdatedDate();
}

int UIShopListTable::turnPage(int tag) {
    if (tag == 0 && findShopStuct.pagenum > 1) --findShopStuct.pagenum;
    else if (tag == 1 && findShopStuct.pagenum < findShopStuct.totelpage) ++findShopStuct.pagenum;
    return findShopStuct.pagenum;
}

void UIShopListTable::doneLoadingTableViewData() {
    reloading_ = false;
    if (auto table = table_.lock(); table && header_) header_->egoRefreshScrollViewDataSourceDidFinishedLoading(*table);
}

void UIShopListTable::willDisplayCell(ui::TableView&, ui::TableViewCell& cell, const ui::IndexPath&) {
    cell.setBackgroundColor(ui::Color::clearColor());
}

void UIShopListTable::didSelectRow(ui::TableView&, const ui::IndexPath& p) {
    if (auto shop = shopForRow(p.row); shop && open) open(shop);
}

void UIShopListTable::scrollViewDidScroll(ui::ScrollView& s) {
    if (&s == table_.lock().get() && header_) header_->egoRefreshScrollViewDidScroll(s);
}

void UIShopListTable::scrollViewDidEndDragging(ui::ScrollView& s, bool) {
    if (&s == table_.lock().get() && header_) header_->egoRefreshScrollViewDidEndDragging(s);
}

void UIShopListTable::egoRefreshTableHeaderDidTriggerRefresh(EGORefreshTableHeaderView&) {
    // Reported as loading until the answer (or its failure) is in, so a second pull meanwhile
    // does not ask again.
    reloading_ = true;
    if (reload) reload();
}

std::optional<double> UIShopListTable::egoRefreshTableHeaderDataSourceLastUpdated(EGORefreshTableHeaderView&) {
    return platform::currentDate();
}

void UIShopListTable::reset() {
    m_shops.clear();
    findShopStuct.pagenum = 1;
    findShopStuct.totelpage = 1;
}

void UIShopListTable::readPage(const nlohmann::json& answer,
                               const std::function<void(const std::shared_ptr<NSShopClass>&)>& everyRow) {
    findShopStuct.pagenum = json_read::integer(answer, "page");
    findShopStuct.totelpage = json_read::integer(answer, "total");
    for (const auto& row : json_read::list(answer, "list")) {
        auto shop = shoprecords::readListRow(row);
        if (everyRow) everyRow(shop);
        bool listed = false;
        for (const auto& s : m_shops) listed = listed || s->m_strID == shop->m_strID;
        if (!listed) m_shops.push_back(shop);
    }
    if (m_shops.empty()) m_shops.push_back(std::make_shared<NSShopClass>());
}

bool UIShopListTable::receive(const std::string& answer,
                              const std::function<void(const std::shared_ptr<NSShopClass>&)>& everyRow) {
    waiting_ = false;
    if (answer.empty()) {
        // The header must not stay spinning on an answer that will not come.
        doneLoadingTableViewData();
        return false;
    }
    NSJsonResolver resolver;
    readPage(resolver.resolveJson(answer).value_or(nlohmann::json()), everyRow);
    return true;
}

std::string UIShopListTable::pageText() const {
    return platform::fmt("%i/%i", findShopStuct.pagenum, findShopStuct.totelpage);
}

int UIShopListTable::numberOfRows() const {
    const int n = static_cast<int>(m_shops.size());
    if (n == 1) return 1;
    return findShopStuct.pagenum == findShopStuct.totelpage ? n : n + 1;
}

double UIShopListTable::heightForRow(int row) const {
    return row < static_cast<int>(m_shops.size()) ? kShopRowHeight : kLoadingRowHeight;
}

std::shared_ptr<NSShopClass> UIShopListTable::shopForRow(int row) const {
    if (row < 0 || row >= static_cast<int>(m_shops.size()) || m_shops[row]->m_strID.empty()) return nullptr;
    return m_shops[row];
}

std::shared_ptr<ui::TableViewCell> UIShopListTable::cellForRow(int row) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    ui::View& c = *cell->contentView();
    if (row >= static_cast<int>(m_shops.size())) {
        auto l = cellLabel(c, {0, 0, 320, 40}, "正在载入", 16, ui::TextAlignment::Center, ui::Color::whiteColor());
        l->setBackgroundColor({0, 0, 0, 0.15});
        progressInd = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorView::Style::WhiteLarge);
        progressInd->setFrame({90, 10, 20, 20});
        progressInd->startAnimating();
        c.addSubview(progressInd);
        if (findShopStuct.totelpage > 1 && nextPage && !waiting_) nextPage();
        return cell;
    }
    const NSShopClass& shop = *m_shops[row];
    if (m_shops.size() == 1 && shop.m_strID.empty()) {
        cellLabel(c, {0, 0, 320, 70}, "无", 19, ui::TextAlignment::Center);
        return cell;
    }
    // One view per address: shops sharing a picture show it in the row made last.
    if (auto pic = pictureView(shop.m_strPicUrl)) c.addSubview(pic);
    cellLabel(c, {120, 2, 260, 28}, shop.m_strName, 17);
    if (showsDistance) {
        const double km = NSServer::D_jw(findShopStuct.lat, findShopStuct.lng, shop.lat, shop.lng);
        cellLabel(c, {250, 30, 70, 20}, platform::fmt("%.1fkm", km), 15);
    }
    cellLabel(c, {120, 30, 120, 20}, platform::fmt("人均:￥%@", shop.m_strAPrice), 15);
    cellLabel(c, {120, 50, 200, 40}, shop.m_strAddress, 15)->setNumberOfLines(2);
    return cell;
}

std::shared_ptr<ui::ImageView> UIShopListTable::pictureView(const std::string& url) {
    auto& view = i_caips[url];
    if (view) return view;
    view = std::make_shared<ui::ImageView>(ui::Rect{0, 5, 116, 80});
    setRowPic(url);
    return view;
}

void UIShopListTable::setRowPic(const std::string& url) {
    // A shop without a picture has no address to ask.
    if (url.empty()) return;
    piccache::fetch(url, keeper ? keeper() : nullptr, [this, url](const std::string& path) {
        auto it = i_caips.find(url);
        if (it == i_caips.end() || path.empty()) return;
        if (auto image = ui::Image::withContentsOfFile(path)) it->second->setImage(image);
    });
}
