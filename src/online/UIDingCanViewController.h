#pragma once
// Stand-in for the online order form of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class NSShopClass;

class UIDingCanViewController : public StandInPage<&SwitchViewController::dingcanback> {
public:
    explicit UIDingCanViewController(std::string nibName = "UIDingCanViewController")
        : StandInPage(std::move(nibName), "在线订餐") {}
    static constexpr int kReservation = 1;
    static constexpr int kTakeAway = 2;
    void setM_shop(std::shared_ptr<NSShopClass> shop) { m_shop_ = std::move(shop); }
    const std::shared_ptr<NSShopClass>& m_shop() const { return m_shop_; }
    // 1 reservation, 2 take-away.
    void setDingtype(int kind) { dingtype_ = kind; }
    int dingtype() const { return dingtype_; }

private:
    std::shared_ptr<NSShopClass> m_shop_;
    int dingtype_ = kReservation;
};
