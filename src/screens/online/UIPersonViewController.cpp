#include "screens/online/UIPersonViewController.h"

UIPersonViewController::UIPersonViewController(std::string nibName) : UIOnlineBackPage(std::move(nibName), "个人中心") {}

void UIPersonViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    double y = kit::kBarHeight + 40;
    struct Item {
        const char* title;
        void (ScreenRoot::*open)();
    };
    for (const Item& item : {Item{"修改资料", &ScreenRoot::modifyPerson},
                             Item{"修改密码", &ScreenRoot::modifyPassword},
                             Item{"我的积分", &ScreenRoot::showJif}}) {
        auto open = item.open;
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        kit::button(v, {(w - 360) / 2, y, 360, 64}, item.title, [weak, open] {
            auto self = std::static_pointer_cast<UIPersonViewController>(weak.lock());
            if (auto* r = self ? self->root() : nullptr) (r->*open)();
        });
        y += 88;
    }
}
