#include "screens/online/UIShopShowViewController.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSPicCache.h"
#include "platform/foundation/FileSystem.h"
#include "online/NSShopDBClass.h"
#include "online/NSShopRecords.h"
#include "online/NSWebPages.h"
#include "screens/online/UIMyLabel.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"

namespace {

// The order buttons a shop type shows, and its type text.
struct ShopType {
    bool ding, dian, song;
    const char* text;
};
ShopType shopType(int type) {
    switch (type) {
        case 1: return {true, true, false, "堂食点菜"};
        case 2: return {true, false, false, "堂食订座"};
        case 3: return {false, false, true, "外卖点菜"};
        case 4: return {true, true, true, "堂食点菜,外卖订餐"};
        default: return {false, false, false, ""};
    }
}

}  // namespace

UIShopShowViewController::UIShopShowViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "商家详情") {}

void UIShopShowViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width(), h = v.bounds().height();
    lb_titlename_ = titleBar_.title;
    const double top = kit::kBarHeight + 20;
    iv_shopi_ = std::make_shared<ui::ImageView>(ui::Rect{24, top, 232, 174});
    iv_shopi_->setContentMode(ui::ContentMode::ScaleAspectFit);
    iv_shopi_->setBackgroundColor(kit::kQuiet);
    v.addSubview(iv_shopi_);
    lb_shopname_ = kit::label(v, {280, top, w - 304, 40}, "", kit::titleFont());
    lb_shopsortname_ = kit::label(v, {280, top + 48, w - 304, 32}, "");
    lb_shopaprice_ = kit::label(v, {280, top + 88, w - 304, 32}, "");
    m_btShou_ = kit::button(v, {280, top + 130, 180, kit::kTouch}, "收藏本店", act(&UIShopShowViewController::onShouC));

    const double by = top + 194;
    const double bw = (w - 48 - 32) / 3;
    m_btDing_ = kit::button(v, {24, by, bw, 56}, "订座", act(&UIShopShowViewController::onDingcan),
                            kit::ButtonKind::Primary);
    m_btDian_ = kit::button(v, {24 + bw + 16, by, bw, 56}, "点菜", act(&UIShopShowViewController::onDingcan),
                            kit::ButtonKind::Primary);
    m_btSong_ = kit::button(v, {24 + 2 * (bw + 16), by, bw, 56}, "外卖", act(&UIShopShowViewController::onWaimai),
                            kit::ButtonKind::Primary);
    for (auto* b : {m_btDing_.get(), m_btDian_.get(), m_btSong_.get()}) b->setAlpha(0);

    tv_shoptext_ = std::make_shared<ui::TextView>(ui::Rect{24, by + 76, w - 48, h - by - 100});
    tv_shoptext_->setEditable(false);
    tv_shoptext_->setFont(kit::bodyFont());
    tv_shoptext_->setBackgroundColor(kit::kPanel);
    v.addSubview(tv_shoptext_);
}

void UIShopShowViewController::viewDidLoad() {
    showShop();
    loadShopDetail();
}

std::string UIShopShowViewController::openingHours(const NSShopClass& shop) {
    std::string hours;
    for (std::size_t i = 0; i < shop.m_strTimeStart.size() && i < shop.m_strTimeEnd.size(); ++i)
        hours += shop.m_strTimeStart[i] + "-" + shop.m_strTimeEnd[i] + " ";
    return hours;
}

std::string UIShopShowViewController::shopText(const NSShopClass& s) {
    std::string text = platform::fmt(
        "菜系:%@\r\n地标:%@\r\n订座电话:%@\r\n经营地址:%@\r\n人均消费:%@\r\n营业时间:%@\r\n氛围主题:%@\r\n商家类型:",
        s.m_strFoodclass, s.m_strLandmarkName, s.m_strTel, s.m_strAddress, s.m_strAPrice, openingHours(s),
        s.m_strTogoUrl);
    text += shopType(s.m_iType).text;
    return platform::fmt("%@\r\n简介:%@", text, s.m_strIntroduce);
}

void UIShopShowViewController::showShop() {
    if (!isViewLoaded()) return;
    const NSShopClass& s = *m_shop_;
    if (auto* scrolling = dynamic_cast<MarqueeLabel*>(lb_titlename_.get())) {
        scrolling->setText(s.m_strName);
    } else if (auto plain = std::dynamic_pointer_cast<ui::Label>(lb_titlename_)) {
        plain->setText(s.m_strName);
        if (auto* parent = plain->superview()) lb_titlename_ = UIMyLabel::labelScroll(*parent, plain);
    }
    const ShopType type = shopType(s.m_iType);
    if (type.ding) m_btDing_->setAlpha(1.0);
    if (type.dian) m_btDian_->setAlpha(1.0);
    if (type.song) m_btSong_->setAlpha(1.0);
    lb_shopname_->setText(s.m_strName);
    lb_shopsortname_->setText(s.m_strSortName);
    lb_shopaprice_->setText(platform::fmt("人均:￥%@", s.m_strAPrice));
    tv_shoptext_->setText(shopText(s));

    bool collected = false;
    if (auto store = NSServer::getShopDB())
        for (const auto& c : store->m_collectionshop) collected = collected || c->m_strID == s.m_strID;
    m_btShou_->setTitle(collected ? "取消收藏" : "收藏本店");
    m_btShou_->setTag(collected ? kCollected : 0);
}

void UIShopShowViewController::loadShopDetail() {
    for (auto* l : {lb_shopname_.get(), lb_shopsortname_.get(), lb_shopaprice_.get()}) l->setText("");
    tv_shoptext_->setText("");
    for (auto* b : {m_btDing_.get(), m_btDian_.get(), m_btSong_.get()}) b->setAlpha(0);
    request(webpages::shopDetail(m_shop_->m_strID), &UIShopShowViewController::receiveServerMessage);
}

void UIShopShowViewController::receiveServerMessage(const std::string& answer) {
    if (answer.empty()) {
        showMessage("网络连接异常");
        return;
    }
    NSJsonResolver resolver;
    shoprecords::readDetail(*m_shop_, resolver.resolveJson(answer).value_or(nlohmann::json()));
    showPic();
    showShop();
}

bool UIShopShowViewController::showPic() {
    // A shop without a picture has no address to ask.
    if (m_shop_->m_strPicUrl.empty()) return false;
    const std::string path = piccache::cachePath(m_shop_->m_strPicUrl);
    const bool cached = !path.empty() && platform::fs::exists(path);
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    piccache::fetch(m_shop_->m_strPicUrl, shared_from_this(), [weak](const std::string& file) {
        auto self = std::static_pointer_cast<UIShopShowViewController>(weak.lock());
        if (!self || file.empty() || !self->iv_shopi_) return;
        if (auto image = ui::Image::withContentsOfFile(file)) self->iv_shopi_->setImage(image);
    });
    return cached;
}

void UIShopShowViewController::onShouC() {
    auto store = NSServer::getShopDB();
    if (!store || store->m_nowuser->m_id.empty()) {
        if (auto* r = root()) {
            r->customerLogin();
            r->showMessage("请先登录然后进行预定");
        }
        return;
    }
    const bool drop = m_btShou_->tag() == kCollected;
    ask("是否确定", drop ? "你确定要取消收藏该酒店么？" : "你确定要收藏该酒店么？", "取消", {"确定"}, [this, drop](int index) {
        if (index != 1) return;
        auto s = NSServer::getShopDB();
        if (!s) return;
        const std::string url = webpages::collectionShop(m_shop_->m_strID, s->m_nowuser->m_id, drop ? "Del" : "Add");
        platform::log(url);
        request(url, &UIShopShowViewController::receiveShouc);
    });
}

void UIShopShowViewController::receiveShouc(const std::string& answer) {
    if (answer.empty()) {
        showMessage("网络连接异常");
        return;
    }
    NSJsonResolver resolver;
    auto json = resolver.resolveJson(answer);
    auto store = NSServer::getShopDB();
    std::string message = "操作失败";
    if (json && store) {
        const int state = json_read::integer(*json, "state");
        auto& list = store->m_collectionshop;
        if (state == 1) {
            list.push_back(m_shop_);
            message = "收藏成功";
        } else if (state == 0) {
            const std::string id = m_shop_->m_strID;
            list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& s) { return s->m_strID == id; }),
                       list.end());
            message = "取消成功";
        } else {
            message = "收藏失败";
        }
        if (state == 0 || state == 1) showShop();
    }
    tip(message);
}

void UIShopShowViewController::onDingcan() {
    ask("请选择", "请选择订餐方式", "取消", {"电话预定", "网络预订"}, [this](int index) {
        if (index == 1) ui::Application::shared().openURL(platform::fmt("telprompt://%@", m_shop_->m_strTel));
        else if (auto* r = root(); index == 2 && r) r->showdingcan(m_shop_, 1);
    });
}

void UIShopShowViewController::onWaimai() {
    if (auto* r = root()) r->showdingcan(m_shop_, 2);
}
