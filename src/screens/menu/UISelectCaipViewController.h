#pragma once
// Stand-in for the dish menu screen: names the category shown first and leads to the order list
// and back, until the real menu arrives.

#include <memory>
#include <string>

#include "screens/host/StandInViewController.h"

class NSCplbTreeClass;

class UISelectCaipViewController : public StandInViewController {
public:
    static constexpr int kNormal = 0;
    static constexpr int kSetMealAdd = 4;

    explicit UISelectCaipViewController(std::string nibName = "UISelectCaipViewController");

    void setNowCplb(std::shared_ptr<NSCplbTreeClass> category);
    const std::shared_ptr<NSCplbTreeClass>& nowCplb() const { return nowCplb_; }
    // 0 normal ordering, 4 set-meal add mode (back and order list lead to the set-meal screen).
    void setType(int type) { type_ = type; }
    int type() const { return type_; }

    // Shows the current desk and category again.
    void flashCaip();
    // After a dish detail view closed.
    void bigCaiBack(bool animated);
    // The order-list button.
    void showList();

protected:
    void back() override;
    void buildContent(ui::View& view) override;

private:
    std::shared_ptr<NSCplbTreeClass> nowCplb_;
    int type_ = kNormal;
    std::shared_ptr<ui::Label> categoryLabel_;
};
