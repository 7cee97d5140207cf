#pragma once
// Stand-in for the online order detail page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

#include "online/NSDingDClass.h"
#include "online/NSWebMenuImport.h"

class UIDingDanXViewController : public StandInPage<&SwitchViewController::dingDxBack> {
public:
    explicit UIDingDanXViewController(std::string nibName = "UIDingDanXViewController")
        : StandInPage(std::move(nibName), "订单详情") {}
    void setM_dingd(std::shared_ptr<NSDingDClass> order) { m_dingd_ = std::move(order); }
    const std::shared_ptr<NSDingDClass>& m_dingd() const { return m_dingd_; }
    // Imports the order's shop's web menu into the menu database (an order without a shop is
    // not imported).
    void loadShopCaip() {
        import_ = std::make_shared<NSWebMenuImport>();
        if (m_dingd_) import_->m_dingd = m_dingd_;
        import_->loadShopCaip();
    }

private:
    std::shared_ptr<NSDingDClass> m_dingd_;
    std::shared_ptr<NSWebMenuImport> import_;
};
