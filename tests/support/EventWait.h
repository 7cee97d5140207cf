#pragma once
// Waiting in real time for an event that another thread brings: a request reaching a simulator,
// an answer posted to the run loop, a datagram heard, a film played to its end. Such a wait ends
// as soon as the event comes, within moments even on a busy machine; its bound is reached only by
// a fault that never brings the event, never by a slow machine.

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
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

// The kernel's id of the calling thread, for another thread to watch it with waitUntilAsleep.
inline long threadId() { return static_cast<long>(::gettid()); }

// Real time passes until that thread of this process sleeps, blocked waiting (the scheduler's
// state 'S'); false when the bound passed first. A loop whose thread blocks nowhere but in its
// wait is then surely in that wait, past its last look for posted work: what comes now reaches it
// only if it is woken. A pause instead lands before the wait when the machine is busy.
inline bool waitUntilAsleep(long tid, double seconds = kEventWaitSeconds) {
    const std::string path = "/proc/self/task/" + std::to_string(tid) + "/stat";
    return waitUntil(
        [&path] {
            std::ifstream in(path);
            const std::string stat{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            // The state follows the command name, which is in parentheses and may hold anything.
            const auto close = stat.rfind(") ");
            return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'S';
        },
        seconds);
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
