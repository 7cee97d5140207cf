#include "screens/online/UIChooseCityViewController.h"

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "online/NSShopDBClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/TableViewCell.h"

UIChooseCityViewController::UIChooseCityViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "选择城市") {
    // The list is read once: a later refresh of the store does not reach an open chooser.
    if (auto store = NSServer::getShopDB()) citysZiM_ = groupCities(store->m_citys);
}

UIChooseCityViewController::~UIChooseCityViewController() {
    if (tb_citys_) {
        tb_citys_->setDataSource(nullptr);
        tb_citys_->setTableDelegate(nullptr);
    }
    if (m_citySearchBar_) m_citySearchBar_->setDelegate(nullptr);
    if (gpsoper_) gpsoper_->upviewcontroller = nullptr;
}

std::string UIChooseCityViewController::groupKey(const std::string& name) {
    const std::u16string units = platform::toUtf16(name);
    if (units.empty()) return "#";
    return std::string(1, pinyinFirstLetter(units[0]));
}

std::vector<UIChooseCityViewController::Group> UIChooseCityViewController::groupCities(
    const std::vector<std::shared_ptr<NSCityClass>>& cities) {
    std::vector<Group> groups;
    for (const auto& city : cities) {
        const std::string key = groupKey(city->cityname);
        auto at = groups.begin();
        while (at != groups.end() && (*at)[0] < key) ++at;
        if (at != groups.end() && (*at)[0] == key) at->push_back(city->cityname);
        else groups.insert(at, Group{key, city->cityname});
    }
    return groups;
}

std::shared_ptr<NSCityClass> UIChooseCityViewController::matchCity(
    const std::vector<std::shared_ptr<NSCityClass>>& cities, const std::string& chosen) {
    for (const auto& city : cities) {
        // A nameless city is contained in every name and would catch every choice.
        if (city->cityname.empty()) continue;
        if (chosen.find(city->cityname) != std::string::npos || city->cityname.find(chosen) != std::string::npos)
            return city;
    }
    return nullptr;
}

void UIChooseCityViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    m_citySearchBar_ = std::make_shared<ui::SearchBar>(ui::Rect{0, kit::kBarHeight, w, 56});
    m_citySearchBar_->setDelegate(this);
    m_citySearchBar_->setTintColor(kit::kPaper);  // no bar of its own on the page
    v.addSubview(m_citySearchBar_);
    tb_citys_ = std::make_shared<ui::TableView>(ui::Rect{0, kit::kBarHeight + 56, w, h - kit::kBarHeight - 56});
    tb_citys_->setDataSource(this);
    tb_citys_->setTableDelegate(this);
    v.addSubview(tb_citys_);
}

void UIChooseCityViewController::viewDidLoad() {
    gpsoper_ = std::make_shared<NSGPSOper>();
    gpsoper_->upviewcontroller = this;
    gpsoper_->screenFrame = ScreenRoot::currentFrame;
    gpsoper_->begin();
}

void UIChooseCityViewController::gpsOnOk(NSGPSOper&) {
    if (tb_citys_) tb_citys_->reloadData();
}

void UIChooseCityViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) { bar.resignFirstResponder(); }

int UIChooseCityViewController::numberOfSections(ui::TableView&) { return static_cast<int>(citysZiM_.size()) + 1; }

int UIChooseCityViewController::numberOfRows(ui::TableView&, int section) {
    if (section == 0) return 1;
    if (section > static_cast<int>(citysZiM_.size())) return 0;
    return static_cast<int>(citysZiM_[section - 1].size()) - 1;
}

std::optional<std::string> UIChooseCityViewController::titleForHeader(ui::TableView&, int section) {
    if (section == 0) return "定位";
    if (section > static_cast<int>(citysZiM_.size())) return std::nullopt;
    return citysZiM_[section - 1][0];
}

std::vector<std::string> UIChooseCityViewController::sectionIndexTitles(ui::TableView&) {
    std::vector<std::string> keys;
    for (const auto& g : citysZiM_) keys.push_back(g[0]);
    return keys;
}

std::shared_ptr<ui::TableViewCell> UIChooseCityViewController::cellForRow(ui::TableView&, const ui::IndexPath& p) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    cell->textLabel()->setFont(ui::Font::systemFont(14.0));
    std::string text;
    if (p.section == 0) text = gpsoper_ ? gpsoper_->cityname.value_or("") : "";
    else if (p.section <= static_cast<int>(citysZiM_.size()) &&
             p.row + 1 < static_cast<int>(citysZiM_[p.section - 1].size()))
        text = citysZiM_[p.section - 1][p.row + 1];
    cell->textLabel()->setText(text);
    return cell;
}

void UIChooseCityViewController::didSelectRow(ui::TableView&, const ui::IndexPath& p) {
    if (p.section == 0) {
        // Until the device's city is known the row names nothing to choose.
        if (!gpsoper_ || !gpsoper_->cityname || gpsoper_->cityname->empty()) return;
        chooseName(*gpsoper_->cityname);
        return;
    }
    if (p.section > static_cast<int>(citysZiM_.size())) return;
    const Group& g = citysZiM_[p.section - 1];
    if (p.row + 1 < static_cast<int>(g.size())) chooseName(g[p.row + 1]);
}

void UIChooseCityViewController::chooseName(const std::string& name) {
    auto store = NSServer::getShopDB();
    auto city = store ? matchCity(store->m_citys, name) : nullptr;
    if (!city) {
        tip("所选城市不存在，可能该城市未开通预定服务");
        return;
    }
    store->m_choosecity = city;
    store->saveToDB();
    onBack();
}
