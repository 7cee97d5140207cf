#pragma once
// The main run loop: timers, closures posted from any thread, and objects released on the next
// turn. Its clock comes from outside: the application uses the real clock, tests a manual clock
// that they advance, so a test never sleeps to see a timer fire.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

// Seconds on a monotonic scale; only differences matter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

class SystemClock : public Clock {
public:
    double now() const override;
};

class ManualClock : public Clock {
public:
    double now() const override { return now_; }
    void set(double t) { now_ = t; }
private:
    double now_ = 0.0;
};

class RunLoop {
public:
    using TaskId = std::uint64_t;

    explicit RunLoop(std::shared_ptr<Clock> clock = std::make_shared<SystemClock>());

    // The loop of the main thread. Tests replace it with one on a manual clock.
    static RunLoop& main();
    static void setMain(std::shared_ptr<RunLoop> loop);

    double now() const { return clock_->now(); }
    Clock& clock() { return *clock_; }
    // The manual clock when the loop runs on one, else null.
    ManualClock* manualClock() const;

    // Thread-safe: queue a closure for the loop's thread; it runs on the next turn.
    void post(std::function<void()> work);
    // Any thread: called after every post, from the posting thread, so a loop that sleeps in
    // something else (the window's event queue) wakes for the work. Null removes it.
    void setWakeHandler(std::function<void()> wake);

    // Main thread only: run `work` at now() + delay (delay <= 0 means on the next turn).
    // Tasks due at the same time run in the order they were scheduled.
    TaskId schedule(double delay, std::function<void()> work);
    void cancel(TaskId id);

    // Keep an object alive until the next turn: a controller closed in its own handler is let go
    // of only after that handler returned.
    void releaseLater(std::shared_ptr<void> object);

    // One turn: run posted closures, then every task now due, then drop released objects.
    // Returns whether anything ran or was released.
    bool runOnce();
    // With the real clock: wait until the next task is due, something is posted, or `maxWait`
    // seconds have passed; then run one turn. On a manual clock only posted work (or a task
    // already due) ends the wait early.
    void runFor(double maxWait);
    // Any thread: wait in real time, at most `maxWait` seconds, until something is posted; answers
    // whether something is waiting to run. Runs nothing itself.
    bool waitForPosted(double maxWait);
    // With a manual clock: move time forward by `seconds`, firing every task due within it in due
    // order, each at its own time (a task scheduled by a task still fires if it falls inside).
    void advanceBy(double seconds);
    // Run turns until nothing is posted and nothing is due now.
    void drain();

    // Seconds until the next scheduled task, or a negative number when there is none.
    double nextDueIn() const;
    // Whether something is posted or scheduled (however far away).
    bool hasPending() const;
    // Whether posted work (or an object to let go of) waits for the next turn.
    bool hasPosted() const;

private:
    friend class Timer;
    // Main thread only: run `work` at the absolute clock time `when` (a repeating timer keeps
    // its own cadence this way instead of drifting by the lateness of each turn).
    TaskId scheduleAt(double when, std::function<void()> work);

    std::shared_ptr<Clock> clock_;
    // Ordered by due time, then by scheduling order.
    std::map<std::pair<double, TaskId>, std::function<void()>> tasks_;
    std::map<TaskId, double> due_;
    TaskId nextId_ = 1;
    mutable std::mutex postedMutex_;
    std::condition_variable postedCv_;
    std::vector<std::function<void()>> posted_;
    std::vector<std::shared_ptr<void>> released_;
    std::shared_ptr<const std::function<void()>> wake_;
    // Timers hold a weak view of this so one that outlives its loop can still be invalidated.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A one-shot or repeating timer on a run loop. The loop owns scheduled timers; a caller keeps
// a handle and may invalidate it from any handler, including its own. A one-shot timer is no
// longer valid once its handler has returned.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    static std::shared_ptr<Timer> schedule(RunLoop& loop, double seconds, bool repeats,
                                           std::function<void(Timer&)> fire);
    void invalidate();
    bool isValid() const { return valid_; }
    double interval() const { return interval_; }

private:
    Timer(RunLoop& loop, double seconds, bool repeats, std::function<void(Timer&)> fire);
    void arm(double when);
    void fire();
    RunLoop& loop_;
    std::weak_ptr<bool> loopAlive_;
    double interval_;
    bool repeats_;
    bool valid_ = true;
    bool firing_ = false;
    double due_ = 0;
    RunLoop::TaskId task_ = 0;
    std::function<void(Timer&)> fire_;
};

}  // namespace platform
