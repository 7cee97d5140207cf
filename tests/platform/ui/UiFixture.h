#pragma once
// A full-size window made key, on the manual-clock main run loop of a temporary device home.

#include <memory>

#include "platform/ui/Window.h"
#include "support/TempHome.h"

namespace uitest {

class ScreenTest : public testsupport::TempHomeTest {
protected:
    ScreenTest() { window->makeKeyAndVisible(); }
    template <typename T, typename... Args>
    std::shared_ptr<T> add(Args&&... args) {
        auto v = std::make_shared<T>(std::forward<Args>(args)...);
        window->addSubview(v);
        return v;
    }
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
};

}  // namespace uitest
