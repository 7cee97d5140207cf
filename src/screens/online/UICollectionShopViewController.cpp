#include "screens/online/UICollectionShopViewController.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSWebPages.h"

UICollectionShopViewController::UICollectionShopViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "我的收藏") {
    list_.findShopStuct.pagenum = 0;
    list_.findShopStuct.totelpage = 0;
    list_.keeper = [this]() -> std::shared_ptr<void> { return shared_from_this(); };
    list_.nextPage = [this] { pageoper(1); };
    list_.reload = [this] { loadShop(); };
    list_.open = [this](const std::shared_ptr<NSShopClass>& shop) { showShop(shop); };
}

void UICollectionShopViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    const double top = kit::kBarHeight;
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto page = [weak](int tag) {
        return [weak, tag] {
            if (auto s = weak.lock()) static_cast<UICollectionShopViewController&>(*s).pageoper(tag);
        };
    };
    kit::button(*titleBar_.bar, {w - 12 - 96, 8, 96, kit::kTouch}, "刷新", act(&UICollectionShopViewController::loadShop),
                kit::ButtonKind::OnBar);
    tb_shops_ = std::make_shared<ui::TableView>(ui::Rect{0, top, w, h - top - 64});
    tb_shops_->setBackgroundColor(kit::kPanel);
    v.addSubview(tb_shops_);
    kit::button(v, {24, h - 56, 160, kit::kTouch}, "上一页", page(0))->setTag(0);
    kit::button(v, {w - 184, h - 56, 160, kit::kTouch}, "下一页", page(1))->setTag(1);
}

void UICollectionShopViewController::viewDidLoad() {
    loadShop();
    list_.attach(tb_shops_, view()->bounds().width());
}

void UICollectionShopViewController::send(std::optional<int> pageindex) {
    auto store = NSServer::getShopDB();
    const std::string userid = store ? store->m_nowuser->m_id : std::string();
    list_.sent();
    request(webpages::collectionList(userid, pageindex), &UICollectionShopViewController::receiveServerMessage,
            &list_.turn);
}

void UICollectionShopViewController::loadShop() {
    list_.reset();
    if (auto store = NSServer::getShopDB()) store->m_collectionshop.clear();
    send(std::nullopt);
}

void UICollectionShopViewController::pageoper(int tag) { send(list_.turnPage(tag)); }

void UICollectionShopViewController::receiveServerMessage(const std::string& answer) {
    auto store = NSServer::getShopDB();
    // Every record goes into the store's list, a repeated one too: the detail asks it by id.
    const bool answered = list_.receive(answer, [&](const auto& shop) {
        if (store) store->m_collectionshop.push_back(shop);
    });
    if (!answered) {
        showMessage("网络连接异常");
        return;
    }
    if (tb_shops_) tb_shops_->reloadData();
    doneLoadingTableViewData();
}

void UICollectionShopViewController::showShop(const std::shared_ptr<NSShopClass>& shop) {
    if (auto* r = root()) r->showshop(shop);
}
