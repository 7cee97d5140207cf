#include "screens/skin/NSScreen.h"

#include <algorithm>

#include "platform/foundation/RunLoop.h"
#include "screens/skin/SkinLayout.h"
#include "screens/skin/UIWelcomeViewController.h"

NSScreen::~NSScreen() { screenOver(); }

bool NSScreen::isRunning() const { return timer && timer->isValid(); }

void NSScreen::schedule(double seconds, void (NSScreen::*tick)()) {
    std::weak_ptr<NSScreen> weak = weak_from_this();
    timer = platform::Timer::schedule(platform::RunLoop::main(), seconds, true, [weak, tick](platform::Timer&) {
        if (auto saver = weak.lock()) (saver.get()->*tick)();
    });
}

void NSScreen::screenBegin() {
    if (isRunning() || !(time > 0)) return;
    schedule(time, &NSScreen::doScreen);
}

void NSScreen::screenOver() {
    if (!timer) return;
    timer->invalidate();
    timer.reset();
}

std::shared_ptr<UIWelcomeViewController> NSScreen::idleScreen() {
    auto screen = welcomeViewController.lock();
    if (screen && !screen->moviePlayer()) return screen;
    screenOver();
    return nullptr;
}

void NSScreen::doScreen() {
    auto screen = idleScreen();
    if (!screen) return;
    // Whatever lies over the welcome screen is in use: the video would cover it and take its
    // taps. The idle time starts again when the screen shows again, not at the next tick, which
    // could come at once or only after nearly two idle times.
    if (!screen->isShownInFront()) {
        screenOver();
        schedule(std::min(time, 1.0), &NSScreen::lookForScreen);
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

void NSScreen::lookForScreen() {
    auto screen = idleScreen();
    if (!screen || !screen->isShownInFront()) return;
    screenOver();
    screenBegin();
}
