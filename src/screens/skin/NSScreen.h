#pragma once
// The idle screen saver of the skinned menu: after `time` seconds without a touch on the welcome
// screen it plays the skin video its action text names ("movie(NAME)") full screen, and again
// every `time` seconds while nothing plays. It plays only on its own screen: a tick that finds
// the welcome screen covered (another screen, a panel, a pad or an alert over it) plays nothing,
// and the saver then looks every second for the screen to show again, from when a whole idle
// time counts again.

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
    // Idle-time ticks, or the looks for the covered screen: a touch or a return restarts either.
    bool isRunning() const;

private:
    // Ticks every `seconds` with `tick` until stopped.
    void schedule(double seconds, void (NSScreen::*tick)());
    void lookForScreen();
    // The welcome screen while it may still go idle; none, and the saver stops, once the screen
    // went or plays a video.
    std::shared_ptr<UIWelcomeViewController> idleScreen();
};
