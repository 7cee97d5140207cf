#include "screens/online/UIMapFindViewController.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSShopRecords.h"
#include "online/NSWebPages.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Image.h"
#include "platform/ui/TableViewCell.h"

namespace {

constexpr double kToolTop = kit::kBarHeight;
constexpr double kToolHeight = 56;
constexpr double kContentTop = kToolTop + kToolHeight;
constexpr const char* kPinId = "shop";
constexpr double kSpan = 0.02;

struct Distance {
    int tag;
    int metres;
    const char* title;
};
constexpr Distance kDistances[] = {{1, 500, "500m"}, {2, 1000, "1km"}, {3, 2000, "2km"}, {4, 5000, "5km"},
                                   {5, 300000, "全城"}};

struct Sort {
    int tag;
    const char* name;
    int flag;
    const char* title;
};
constexpr Sort kSorts[] = {{1, "distance", 1, "距离由近到远"}, {2, "distance", 0, "距离由远到近"},
                           {3, "expense", 1, "人均由低到高"}, {4, "expense", 0, "人均由高到低"}};

}  // namespace

UIMapFindViewController::UIMapFindViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "查找商家") {
    list_.showsDistance = true;
    list_.keeper = [this]() -> std::shared_ptr<void> { return shared_from_this(); };
    list_.nextPage = [this] { pageoper(1); };
    list_.reload = [this] { loadShop(); };
    list_.open = [this](const std::shared_ptr<NSShopClass>& shop) { showShop(shop); };
}

UIMapFindViewController::~UIMapFindViewController() {
    if (mapView_) mapView_->setDelegate(nullptr);
    if (tb_caix_) {
        tb_caix_->setDataSource(nullptr);
        tb_caix_->setTableDelegate(nullptr);
    }
    if (gpsoper_) gpsoper_->upviewcontroller = nullptr;
}

ui::Rect UIMapFindViewController::panelFrame(double height) const {
    return {0, kContentTop, const_cast<UIMapFindViewController*>(this)->view()->bounds().width(), height};
}

void UIMapFindViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    auto bar = std::make_shared<ui::View>(ui::Rect{0, kToolTop, w, kToolHeight});
    bar->setBackgroundColor(kit::kQuiet);
    v.addSubview(bar);
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto self = [weak] { return std::static_pointer_cast<UIMapFindViewController>(weak.lock()); };
    const double y = 6;
    bt_maplist_ = kit::button(*bar, {8, y, 84, kit::kTouch}, "列表", act(&UIMapFindViewController::changemaplist));
    bt_selectNearFilter_ = kit::button(*bar, {100, y, 84, kit::kTouch}, "1km", [self] {
        if (auto s = self()) s->selectNearFilter(0);
    });
    kit::button(*bar, {192, y, 84, kit::kTouch}, "排序", [self] {
        if (auto s = self()) s->selectSortName(0);
    });
    bt_caix_ = kit::button(*bar, {284, y, 120, kit::kTouch}, "全部菜系", act(&UIMapFindViewController::selectCaix));
    kit::button(*bar, {412, y, 76, kit::kTouch}, "刷新", act(&UIMapFindViewController::loadShop));
    kit::button(*bar, {496, y, 84, kit::kTouch}, "上一页", [self] {
        if (auto s = self()) s->pageoper(0);
    })->setTag(0);
    lb_pagenum_ = kit::label(*bar, {580, 0, 80, kToolHeight}, "", kit::bodyFont(), ui::TextAlignment::Center);
    kit::button(*bar, {w - 8 - 92, y, 92, kit::kTouch}, "下一页", [self] {
        if (auto s = self()) s->pageoper(1);
    })->setTag(1);

    // The two containers, shown one at a time.
    const ui::Rect content{0, kContentTop, w, h - kContentTop};
    showMapView_ = std::make_shared<ui::View>(content);
    mapView_ = std::make_shared<location::MapView>(ui::Rect{0, 0, w, content.height()});
    mapView_->setDelegate(this);
    mapView_->setShowsUserLocation(true);
    showMapView_->addSubview(mapView_);
    showTableView_ = std::make_shared<ui::View>(content);
    showTableView_->setBackgroundColor(kit::kPanel);
    tb_shop_ = std::make_shared<ui::TableView>(ui::Rect{0, 0, w, content.height()});
    showTableView_->addSubview(tb_shop_);

    // The filter panels: a row of choices, each tagged with its choice.
    auto panel = [&](double width, const std::vector<std::pair<int, const char*>>& choices,
                     void (UIMapFindViewController::*choose)(int)) {
        auto p = std::make_shared<ui::View>(panelFrame(56));
        p->setBackgroundColor(kit::kPanel);
        double x = 8;
        for (auto [tag, title] : choices) {
            kit::button(*p, {x, 6, width, kit::kTouch}, title, [self, choose, tag = tag] {
                if (auto s = self()) (s.get()->*choose)(tag);
            })->setTag(tag);
            x += width + 8;
        }
        return p;
    };
    std::vector<std::pair<int, const char*>> distances, sorts;
    for (const Distance& d : kDistances) distances.emplace_back(d.tag, d.title);
    for (const Sort& sort : kSorts) sorts.emplace_back(sort.tag, sort.title);
    selectNearFilterView_ = panel(96, distances, &UIMapFindViewController::selectNearFilter);
    selectSortName_ = panel(150, sorts, &UIMapFindViewController::selectSortName);
    selectCaix_ = std::make_shared<ui::View>(panelFrame(320));
    selectCaix_->setBackgroundColor(kit::kPanel);
    tb_caix_ = std::make_shared<ui::TableView>(ui::Rect{0, 0, w, 320});
    tb_caix_->setDataSource(this);
    tb_caix_->setTableDelegate(this);
    tb_caix_->setRowHeight(40);
    selectCaix_->addSubview(tb_caix_);
}

void UIMapFindViewController::viewDidLoad() {
    // The callout of a selected pin.
    callOutBt_ = std::make_shared<ui::Button>(ui::Button::Type::Custom, ui::Rect{35, 10, 250, 100});
    if (auto back = ui::Image::named(kit::interfacePicture(131))) callOutBt_->setBackgroundImage(back);
    else callOutBt_->setBackgroundColor(kit::kPanel);
    auto calloutLabel = [&](const ui::Rect& f, double size) {
        auto l = std::make_shared<ui::Label>(f);
        l->setBackgroundColor(ui::Color::clearColor());
        l->setTextColor(ui::Color::blackColor());
        l->setFont(ui::Font::systemFont(size));
        callOutBt_->addSubview(l);
        return l;
    };
    lb_shopname_ = calloutLabel({10, 5, 240, 30}, 17);
    lb_shopsortname_ = calloutLabel({10, 35, 90, 30}, 15);
    lb_shopaprice_ = calloutLabel({100, 35, 150, 30}, 15);
    lb_shopTime_ = calloutLabel({10, 65, 240, 30}, 15);
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    callOutBt_->addTarget(ui::ControlEvent::TouchDown, [weak](ui::Control&) {
        if (auto s = weak.lock()) static_cast<UIMapFindViewController&>(*s).onSelectShop();
    });

    gpsoper_ = std::make_shared<NSGPSOper>();
    gpsoper_->upviewcontroller = this;
    gpsoper_->screenFrame = ScreenRoot::currentFrame;
    gpsoper_->begin();

    view()->addSubview(showShopType_ == kListView ? showTableView_ : showMapView_);

    list_.attach(tb_shop_, view()->bounds().width());

    // A search by name needs no position: it starts at once.
    if (!m_strSearchText_.empty()) {
        hasLoad_ = true;
        loadShop();
    }
}

void UIMapFindViewController::didReceiveMemoryWarning() {
    UIOnlinePage::didReceiveMemoryWarning();
    list_.i_caips.clear();
}

void UIMapFindViewController::gpsOnOk(NSGPSOper& oper) {
    list_.findShopStuct.lat = oper.lattitude;
    list_.findShopStuct.lng = oper.longitude;
    if (mapView_) {
        mapView_->setMapType(location::MapView::MapType::Standard);
        mapView_->setRegion({{oper.lattitude, oper.longitude}, {kSpan, kSpan}}, true);
    }
    if (!hasLoad_) {
        loadShop();
        hasLoad_ = true;
    }
}

void UIMapFindViewController::sendPage(std::optional<int> pageindex) {
    const FindShopStuct& f = list_.findShopStuct;
    std::string url;
    if (m_strSearchText_.empty()) {
        url = webpages::shopListByLocation(f.lat + shoprecords::kLatOffset, f.lng + shoprecords::kLngOffset,
                                           f.nearfilter, f.shoptype, f.sortname, f.sortflag, f.ty, pageindex);
    } else {
        auto store = NSServer::getShopDB();
        const std::string ctid = store && store->m_choosecity ? store->m_choosecity->m_id : std::string();
        url = webpages::shopListByName(ctid, m_strSearchText_, f.ty, pageindex);
    }
    list_.sent();
    request(url, &UIMapFindViewController::receiveServerMessage, &list_.turn);
}

void UIMapFindViewController::loadShop() {
    list_.reset();
    sendPage(std::nullopt);
}

void UIMapFindViewController::pageoper(int tag) { sendPage(list_.turnPage(tag)); }

void UIMapFindViewController::receiveServerMessage(const std::string& answer) {
    if (!list_.receive(answer)) {
        showMessage("网络连接异常");
        return;
    }
    if (lb_pagenum_) lb_pagenum_->setText(list_.pageText());
    loadShowView();
    doneLoadingTableViewData();
}

void UIMapFindViewController::loadShowView() {
    if (!isViewLoaded()) return;
    if (showShopType_ == kMapView) {
        std::vector<std::shared_ptr<location::Annotation>> old;
        for (const auto& a : mapView_->annotations())
            if (a != mapView_->userLocation()) old.push_back(a);
        mapView_->removeAnnotations(old);
        mapView_->removeOverlays();
        bt_maplist_->setTitle("列表");
        for (const auto& shop : list_.m_shops) {
            auto pin = std::make_shared<GooglePoint>(location::Coordinate{shop->lat, shop->lng}, shop->m_strName, "电话:");
            pin->setM_tag(shop->m_strID);
            mapView_->addAnnotation(pin);
        }
        mapView_->removeFromSuperview();
        showMapView_->addSubview(mapView_);
    } else if (showShopType_ == kListView) {
        bt_maplist_->setTitle("地图");
        tb_shop_->reloadData();
    }
}

void UIMapFindViewController::changemaplist() {
    if (showShopType_ == kMapView) {
        showShopType_ = kListView;
        showMapView_->removeFromSuperview();
        view()->addSubview(showTableView_);
    } else if (showShopType_ == kListView) {
        showShopType_ = kMapView;
        showTableView_->removeFromSuperview();
        view()->addSubview(showMapView_);
    }
    loadShowView();
}

void UIMapFindViewController::closePanel(const std::shared_ptr<ui::View>& panel) {
    panel->removeFromSuperview();
    panel->setTag(0);
}

void UIMapFindViewController::togglePanel(const std::shared_ptr<ui::View>& panel, double height) {
    if (panel->tag() == 1) {
        closePanel(panel);
        return;
    }
    panel->setFrame(panelFrame(height));
    view()->addSubview(panel);
    panel->setTag(1);
}

void UIMapFindViewController::closeOtherPanels(const ui::View* keep) {
    for (auto* panel : {&selectNearFilterView_, &selectSortName_, &selectCaix_})
        if (panel->get() != keep) closePanel(*panel);
}

void UIMapFindViewController::panelChoice(const std::shared_ptr<ui::View>& panel, int tag,
                                          const std::function<void()>& apply) {
    closeOtherPanels(panel.get());
    if (tag == 0) {
        togglePanel(panel, 56);
        return;
    }
    apply();
    loadShop();
    closePanel(panel);
}

void UIMapFindViewController::selectNearFilter(int tag) {
    panelChoice(selectNearFilterView_, tag, [&] {
        for (const Distance& d : kDistances) {
            if (d.tag != tag) continue;
            list_.findShopStuct.nearfilter = d.metres;
            bt_selectNearFilter_->setTitle(d.title);
        }
    });
}

void UIMapFindViewController::selectSortName(int tag) {
    panelChoice(selectSortName_, tag, [&] {
        for (const Sort& sort : kSorts) {
            if (sort.tag != tag) continue;
            list_.findShopStuct.sortname = sort.name;
            list_.findShopStuct.sortflag = sort.flag;
        }
    });
}

void UIMapFindViewController::selectCaix() {
    closeOtherPanels(selectCaix_.get());
    if (selectCaix_->tag() != 1) tb_caix_->reloadData();
    togglePanel(selectCaix_, 320);
}

void UIMapFindViewController::onSelectShop() {
    const int index = callOutBt_->tag();
    if (index < 0 || index >= static_cast<int>(list_.m_shops.size())) return;
    if (!list_.m_shops[index]->m_strID.empty()) showShop(list_.m_shops[index]);
}

void UIMapFindViewController::showShop(const std::shared_ptr<NSShopClass>& shop) {
    if (auto* r = root()) r->showshop(shop);
}

// ---- Map ---------------------------------------------------------------------------------------

std::shared_ptr<location::AnnotationView> UIMapFindViewController::viewForAnnotation(
    location::MapView& map, const std::shared_ptr<location::Annotation>& annotation) {
    if (annotation == map.userLocation()) return nullptr;
    auto reused = std::dynamic_pointer_cast<location::PinAnnotationView>(map.dequeueReusableAnnotationView(kPinId));
    auto pin = reused ? reused : std::make_shared<location::PinAnnotationView>(annotation, kPinId);
    pin->setAnnotation(annotation);
    pin->setPinColor(location::PinAnnotationView::PinColor::Green);
    pin->setCanShowCallout(false);
    pin->setAnimatesDrop(true);
    return pin;
}

void UIMapFindViewController::didSelectAnnotationView(location::MapView& map, location::AnnotationView& view) {
    auto point = std::dynamic_pointer_cast<GooglePoint>(view.annotation());
    if (!point) return;
    if (auto* pin = dynamic_cast<location::PinAnnotationView*>(&view))
        pin->setPinColor(location::PinAnnotationView::PinColor::Red);
    map.setMapType(location::MapView::MapType::Standard);
    map.setRegion({point->coordinate(), {kSpan, kSpan}}, true);
    for (std::size_t i = 0; i < list_.m_shops.size(); ++i) {
        const NSShopClass& shop = *list_.m_shops[i];
        if (shop.m_strID != point->m_tag()) continue;
        lb_shopname_->setText(shop.m_strName);
        lb_shopsortname_->setText(shop.m_strSortName);
        lb_shopaprice_->setText(platform::fmt("人均:￥%@", shop.m_strAPrice));
        std::string hours;
        for (std::size_t p = 0; p < 3 && p < shop.m_strTimeStart.size() && p < shop.m_strTimeEnd.size(); ++p)
            hours += shop.m_strTimeStart[p] + "-" + shop.m_strTimeEnd[p] + " ";
        lb_shopTime_->setText(hours);
        callOutBt_->setTag(static_cast<int>(i));
        break;
    }
    map.addSubview(callOutBt_);
    nowPin_ = &view;
}

void UIMapFindViewController::didDeselectAnnotationView(location::MapView&, location::AnnotationView& view) {
    if (!std::dynamic_pointer_cast<GooglePoint>(view.annotation())) return;
    if (auto* pin = dynamic_cast<location::PinAnnotationView*>(&view))
        pin->setPinColor(location::PinAnnotationView::PinColor::Green);
    callOutBt_->removeFromSuperview();
    nowPin_ = nullptr;
}

void UIMapFindViewController::regionWillChange(location::MapView& map, bool) {
    if (nowPin_) map.deselectAnnotation(nowPin_->annotation(), true);
}

// ---- Cuisine table ------------------------------------------------------------------------------

int UIMapFindViewController::numberOfRows(ui::TableView&, int section) {
    auto store = NSServer::getShopDB();
    return section == 0 ? 1 : store ? static_cast<int>(store->m_caixs.size()) : 0;
}

std::shared_ptr<ui::TableViewCell> UIMapFindViewController::cellForRow(ui::TableView&, const ui::IndexPath& p) {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, "SimpleTableIdentifier");
    cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    auto store = NSServer::getShopDB();
    if (p.section == 0) cell->textLabel()->setText("全部菜系");
    else if (store && p.row < static_cast<int>(store->m_caixs.size()))
        cell->textLabel()->setText(store->m_caixs[p.row]->m_srtSortName);
    return cell;
}

void UIMapFindViewController::didSelectRow(ui::TableView&, const ui::IndexPath& p) {
    auto store = NSServer::getShopDB();
    if (p.section == 0) {
        list_.findShopStuct.shoptype = "0";
        bt_caix_->setTitle("全部菜系");
    } else if (store && p.row < static_cast<int>(store->m_caixs.size())) {
        list_.findShopStuct.shoptype = store->m_caixs[p.row]->m_srtSortID;
        bt_caix_->setTitle(store->m_caixs[p.row]->m_srtSortName);
    }
    loadShop();
    closePanel(selectCaix_);
}
