#pragma once
// The idle screen saver of the skinned menu: after `time` seconds without a touch on the welcome
// screen it plays the skin video its action text names ("movie(NAME)") full screen, and again
// every `time` seconds while nothing plays. It plays only on its own screen: a tick that finds
// the welcome screen covered (another screen, a panel, a pad or an alert over it) plays nothing,
// and the idle time counts again from the first tick that finds it uncovered.

#include <memory>
#include <string>

namespace platform {
class Timer;
}

class UIWelcomeViewController;

class NSScreen : public std::enable_shared_from_this<NSScreen> {
public:
    ~NSScreen();

    double time = 0;  // seconds between ticks; 0 or less never starts
    std::string func;
    std::shared_ptr<platform::Timer> timer;
    // The screen it plays on; a tick after that screen went only stops the saver.
    std::weak_ptr<UIWelcomeViewController> welcomeViewController;

    void screenBegin();
    void screenOver();
    void doScreen();
    bool isRunning() const;

private:
    // A tick found the welcome screen covered since the saver last (re)started.
    bool covered_ = false;
};
