#pragma once
// The shop detail: one shop's name (scrolling when it is too long), picture, cuisine, spend and
// description, the order buttons its type allows, and the button that collects or drops it.

#include <memory>
#include <string>

#include "online/NSShopClass.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextView.h"
#include "screens/online/UIOnlinePage.h"

class UIShopShowViewController : public UIOnlineBackPage<&ScreenRoot::shopshowback> {
public:
    explicit UIShopShowViewController(std::string nibName = "UIShopShowViewController");

    void setM_shop(std::shared_ptr<NSShopClass> shop) { m_shop_ = std::move(shop); }
    const std::shared_ptr<NSShopClass>& m_shop() const { return m_shop_; }

    // The collect button's tag while the shop is among the collected shops.
    static constexpr int kCollected = -1;

    const std::shared_ptr<ui::View>& lb_titlename() const { return lb_titlename_; }
    const std::shared_ptr<ui::Label>& lb_shopname() const { return lb_shopname_; }
    const std::shared_ptr<ui::Label>& lb_shopaprice() const { return lb_shopaprice_; }
    const std::shared_ptr<ui::Label>& lb_shopsortname() const { return lb_shopsortname_; }
    const std::shared_ptr<ui::TextView>& tv_shoptext() const { return tv_shoptext_; }
    const std::shared_ptr<ui::ImageView>& iv_shopi() const { return iv_shopi_; }
    const std::shared_ptr<ui::Button>& m_btDing() const { return m_btDing_; }
    const std::shared_ptr<ui::Button>& m_btDian() const { return m_btDian_; }
    const std::shared_ptr<ui::Button>& m_btSong() const { return m_btSong_; }
    const std::shared_ptr<ui::Button>& m_btShou() const { return m_btShou_; }

    // The detail text of a shop (cuisine, landmark, phone, address, spend, hours, theme, type,
    // introduction).
    static std::string shopText(const NSShopClass& shop);
    // The opening periods, each "start-end ".
    static std::string openingHours(const NSShopClass& shop);

    void viewDidLoad() override;
    void showShop();
    void loadShopDetail();
    void receiveServerMessage(const std::string& answer);
    // Answers whether the picture came from the cache.
    bool showPic();
    void onShouC();
    void receiveShouc(const std::string& answer);
    void onDingcan();
    void onWaimai();

protected:
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSShopClass> m_shop_ = std::make_shared<NSShopClass>();
    std::shared_ptr<ui::View> lb_titlename_;
    std::shared_ptr<ui::Label> lb_shopname_, lb_shopaprice_, lb_shopsortname_;
    std::shared_ptr<ui::TextView> tv_shoptext_;
    std::shared_ptr<ui::ImageView> iv_shopi_;
    std::shared_ptr<ui::Button> m_btDing_, m_btDian_, m_btSong_, m_btShou_;
};
