#include "screens/skin/NSScreen.h"

#include "platform/foundation/RunLoop.h"
#include "screens/skin/SkinLayout.h"
#include "screens/skin/UIWelcomeViewController.h"

NSScreen::~NSScreen() { screenOver(); }

bool NSScreen::isRunning() const { return timer && timer->isValid(); }

void NSScreen::screenBegin() {
    if (isRunning() || !(time > 0)) return;
    covered_ = false;
    std::weak_ptr<NSScreen> weak = weak_from_this();
    timer = platform::Timer::schedule(platform::RunLoop::main(), time, true, [weak](platform::Timer&) {
        if (auto saver = weak.lock()) saver->doScreen();
    });
}

void NSScreen::screenOver() {
    if (!timer) return;
    timer->invalidate();
    timer.reset();
}

void NSScreen::doScreen() {
    auto screen = welcomeViewController.lock();
    if (!screen || screen->moviePlayer()) {
        screenOver();
        return;
    }
    // Whatever lies over the welcome screen is in use: the video would cover it and take its
    // taps. The idle time starts again once the screen is seen uncovered.
    if (!screen->isShownInFront()) {
        covered_ = true;
        return;
    }
    if (covered_) {
        covered_ = false;
        return;
    }
    const size_t at = func.find("movie");
    if (at == std::string::npos) return;
    // A text without "(NAME)" after the word names no video.
    auto name = skin::argumentOf(std::string_view(func).substr(at));
    if (!name) return;
    screen->setCanPlay(true);
    screen->play({0, 0, 0, 0}, *name);
}
