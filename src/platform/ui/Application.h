#pragma once
// What a shell (window or headless) needs of the program: an application delegate that is told
// when launching has finished and when the program terminates.

#include <string>
#include <vector>

namespace ui {

class Window;

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // The shell has made the window; the delegate installs its root controller in it.
    virtual bool didFinishLaunching(Window& window) = 0;
    virtual void willResignActive() {}
    virtual void didBecomeActive() {}
    virtual void didReceiveMemoryWarning() {}
    virtual void willTerminate() {}
};

}  // namespace ui

namespace ui {

// The running program as the screens see it: opening an address outside the program (a
// "telprompt://" call is recorded, as there is no telephone here), the idle timer switch, and the
// application state notifications the shell reports.
class Application {
public:
    static Application& shared();

    // Records the address; answers whether it has a scheme this device knows ("telprompt",
    // "tel", "http", "https", "mailto").
    bool openURL(const std::string& url);
    const std::vector<std::string>& openedURLs() const { return opened_; }
    void clearOpenedURLs() { opened_.clear(); }

    bool isIdleTimerDisabled() const { return idleTimerDisabled_; }
    void setIdleTimerDisabled(bool disabled) { idleTimerDisabled_ = disabled; }

    // The shell's reports: post the matching notification and tell the delegate.
    void willResignActive(ApplicationDelegate* delegate);
    void didBecomeActive(ApplicationDelegate* delegate);
    void didEnterBackground();
    void willEnterForeground();

private:
    std::vector<std::string> opened_;
    bool idleTimerDisabled_ = false;
};

}  // namespace ui
