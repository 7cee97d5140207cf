#pragma once
// The application delegate: runs the core's loaders in their fixed order when it is made,
// installs the root controller when launching has finished, lets go of it when the program ends,
// and of the hub's objects when it goes itself: the program's end takes the screens down (with the
// shell's window) and stops the workers before that, since screens and requests still read the hub.

#include <functional>
#include <memory>

#include "platform/ui/Application.h"

namespace ui {
class ViewController;
}

class SwitchAppDelegate : public ui::ApplicationDelegate {
public:
    // Makes the root controller and registers it with the hub. The program's main() installs it:
    // the core lies below the screens and cannot name them.
    using RootControllerMaker = std::function<std::shared_ptr<ui::ViewController>()>;
    static void setRootControllerMaker(RootControllerMaker maker);

    // Base initialisation, then the start-up loaders.
    SwitchAppDelegate();
    ~SwitchAppDelegate() override;
    SwitchAppDelegate(const SwitchAppDelegate&) = delete;
    SwitchAppDelegate& operator=(const SwitchAppDelegate&) = delete;
    bool didFinishLaunching(ui::Window& window) override;
    void willTerminate() override;

    const std::shared_ptr<ui::ViewController>& switchViewController() const { return switchViewController_; }

private:
    std::shared_ptr<ui::ViewController> switchViewController_;
};
