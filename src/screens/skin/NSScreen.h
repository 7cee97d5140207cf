#pragma once
// The idle screen saver of the skinned menu: after `time` seconds without a touch on the welcome
// screen it plays the skin video its action text names ("movie(NAME)") full screen, and again
// every `time` seconds while nothing plays.

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
};
