#pragma once
// Stand-in for the shop detail page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class NSShopClass;

class UIShopShowViewController : public StandInPage<&SwitchViewController::shopshowback> {
public:
    explicit UIShopShowViewController(std::string nibName = "UIShopShowViewController")
        : StandInPage(std::move(nibName), "商家详情") {}
    void setM_shop(std::shared_ptr<NSShopClass> shop) { m_shop_ = std::move(shop); }
    const std::shared_ptr<NSShopClass>& m_shop() const { return m_shop_; }

private:
    std::shared_ptr<NSShopClass> m_shop_;
};
