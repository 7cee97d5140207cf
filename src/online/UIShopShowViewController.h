#pragma once
// Stand-in for the shop detail page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"
#include "screens/host/SwitchViewController.h"

class NSShopClass;

class UIShopShowViewController : public StandInViewController {
public:
    explicit UIShopShowViewController(std::string nibName = "UIShopShowViewController")
        : StandInViewController(std::move(nibName), "商家详情") {}
    void setM_shop(std::shared_ptr<NSShopClass> shop) { m_shop_ = std::move(shop); }
    const std::shared_ptr<NSShopClass>& m_shop() const { return m_shop_; }

protected:
    void back() override {
        if (rootController_) rootController_->shopshowback();
    }

private:
    std::shared_ptr<NSShopClass> m_shop_;
};
