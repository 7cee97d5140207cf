#include "screens/online/UIFunctionViewController.h"

#include "core/NSServer.h"
#include "online/NSShopDBClass.h"
#include "platform/foundation/Text.h"

UIFunctionViewController::UIFunctionViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "在线服务") {}

std::string UIFunctionViewController::cityTitle() {
    auto store = NSServer::getShopDB();
    // Before the first choice the button asks for one rather than naming no city.
    if (!store || !store->m_choosecity || store->m_choosecity->cityname.empty()) return "Lumito-选择城市";
    return platform::fmt("Lumito-%@", store->m_choosecity->cityname);
}

void UIFunctionViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    // The controls reach the page weakly: a view may outlive its controller for a moment.
    auto withRoot = [weak](std::function<void(ScreenRoot&)> work) {
        return [weak, work = std::move(work)] {
            auto self = std::static_pointer_cast<UIFunctionViewController>(weak.lock());
            if (auto* r = self ? self->root() : nullptr) work(*r);
        };
    };
    bt_city_ = kit::button(v, {24, kit::kBarHeight + 20, w - 48 - 200, 56}, cityTitle(),
                           withRoot([](ScreenRoot& r) { r.chooseCity(); }));
    bt_user_ = kit::button(v, {w - 24 - 184, kit::kBarHeight + 20, 184, 56}, "未登录",
                           act(&UIFunctionViewController::customerLogin), kit::ButtonKind::Primary);
    m_shopSearchBar_ = std::make_shared<ui::SearchBar>(ui::Rect{24, kit::kBarHeight + 96, w - 48, 56});
    m_shopSearchBar_->setPlaceholder("输入商家名称搜索");
    m_shopSearchBar_->setDelegate(this);
    m_shopSearchBar_->setTintColor(kit::kPaper);  // no bar of its own on the page
    v.addSubview(m_shopSearchBar_);

    struct Tile {
        const char* title;
        int tag;
        std::function<void(ScreenRoot&, int)> open;
    };
    const Tile tiles[] = {
        {"地图找店", kNearbyMap, [](ScreenRoot& r, int tag) { r.showmapfind(true, tag); }},
        {"附近商家", kNearbyList, [](ScreenRoot& r, int tag) { r.showmapfind(false, tag); }},
        {"点菜", 0, [](ScreenRoot& r, int) { r.selectDish(); }},
        {"个人中心", 0, [](ScreenRoot& r, int) { r.showPersonCenter(); }},
        {"我的收藏", 0, [](ScreenRoot& r, int) { r.showCollection(); }},
        {"我的订单", 0, [](ScreenRoot& r, int) { r.showDingL(); }},
    };
    const double gap = 24, top = kit::kBarHeight + 180;
    const double tw = (w - 48 - 2 * gap) / 3, th = 140;
    for (std::size_t i = 0; i < std::size(tiles); ++i) {
        const Tile& t = tiles[i];
        const ui::Rect f{24 + (i % 3) * (tw + gap), top + (i / 3) * (th + gap), tw, th};
        auto open = t.open;
        const int tag = t.tag;
        auto b = kit::button(v, f, t.title, withRoot([open, tag](ScreenRoot& r) { open(r, tag); }));
        b->setTitleFont(kit::titleFont());
        if (tag) b->setTag(tag);
    }
}

void UIFunctionViewController::viewDidLoad() {
    bt_city_->setTitle(cityTitle());
    showUser();
}

void UIFunctionViewController::showUser() {
    auto store = NSServer::getShopDB();
    const bool in = store && store->m_nowuser && !store->m_nowuser->m_id.empty();
    if (bt_user_) bt_user_->setTitle(in ? "已登录" : "未登录");
}

void UIFunctionViewController::customerLogin() {
    auto store = NSServer::getShopDB();
    if (!store || !store->m_nowuser || store->m_nowuser->m_id.empty()) {
        if (auto* r = root()) r->customerLogin();
        return;
    }
    ask("是否确定", "您确定要注销当前用户吗？", "取消", {"确定"}, [this](int index) {
        if (index != 1) return;
        if (auto s = NSServer::getShopDB()) {
            s->m_nowuser = std::make_shared<NSCustomerClass>();
            s->saveToDB();
        }
        showUser();
    });
}

void UIFunctionViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) {
    bar.resignFirstResponder();
    if (auto* r = root()) r->searchShop(bar.text());
}
