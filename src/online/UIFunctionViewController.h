#pragma once
// Stand-in for the online home, until the real home arrives: its city button and the way into
// the dish menu. Nothing opens it yet.

#include <memory>
#include <string>

#include "platform/ui/Button.h"
#include "screens/host/ScreenKit.h"
#include "screens/host/StandInViewController.h"

class UIFunctionViewController : public StandInViewController {
public:
    explicit UIFunctionViewController(std::string nibName = "UIFunctionViewController")
        : StandInViewController(std::move(nibName), "在线服务") {}

    // The city button; the root titles it with the chosen city.
    const std::shared_ptr<ui::Button>& bt_city() {
        view();
        return bt_city_;
    }

protected:
    void back() override {}
    bool hasBack() const override { return false; }
    void buildContent(ui::View& view) override {
        bt_city_ = kit::button(view, {24, kContentTop, 240, 60}, "选择城市", [this] {
            if (rootController_) rootController_->chooseCity();
        });
        kit::button(view, {290, kContentTop, 200, 60}, "点菜", [this] {
            if (rootController_) rootController_->selectDish();
        }, kit::ButtonKind::Primary);
    }

private:
    std::shared_ptr<ui::Button> bt_city_;
};
