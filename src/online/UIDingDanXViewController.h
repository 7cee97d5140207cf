#pragma once
// Stand-in for the online order detail page of the online part, until the real page arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class NSDingDClass;

class UIDingDanXViewController : public StandInPage<&SwitchViewController::dingDxBack> {
public:
    explicit UIDingDanXViewController(std::string nibName = "UIDingDanXViewController")
        : StandInPage(std::move(nibName), "订单详情") {}
    void setM_dingd(std::shared_ptr<NSDingDClass> order) { m_dingd_ = std::move(order); }
    const std::shared_ptr<NSDingDClass>& m_dingd() const { return m_dingd_; }

private:
    std::shared_ptr<NSDingDClass> m_dingd_;
};
