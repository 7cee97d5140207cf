#pragma once
// Waiting in real time for an event that another thread brings: a request reaching a simulator,
// an answer posted to the run loop, a datagram heard, a film played to its end. Such a wait ends
// as soon as the event comes, within moments even on a busy machine; its bound is reached only by
// a fault that never brings the event, never by a slow machine.

#include <chrono>
#include <thread>

#include "platform/foundation/RunLoop.h"

namespace testsupport {

constexpr double kEventWaitSeconds = 60;

// Real time passes until `done` holds; false when the bound passed first.
template <class Done>
bool waitUntil(Done done, double seconds = kEventWaitSeconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs the loop's turns (what is posted to it, and what is due on its clock) until `done` holds;
// false when the bound passed first.
template <class Done>
bool pumpUntil(platform::RunLoop& loop, Done done, double seconds = kEventWaitSeconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        loop.runFor(0.01);
    }
    return true;
}

}  // namespace testsupport
