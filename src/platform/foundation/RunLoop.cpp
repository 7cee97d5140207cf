#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace platform {

double SystemClock::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

namespace {
std::mutex gMainMutex;
std::shared_ptr<RunLoop> gMain;
}  // namespace

RunLoop::RunLoop(std::shared_ptr<Clock> clock)
    : clock_(clock ? std::move(clock) : std::make_shared<SystemClock>()) {}

RunLoop& RunLoop::main() {
    std::lock_guard<std::mutex> lock(gMainMutex);
    if (!gMain) gMain = std::make_shared<RunLoop>();
    return *gMain;
}

void RunLoop::setMain(std::shared_ptr<RunLoop> loop) {
    std::shared_ptr<RunLoop> old;
    {
        std::lock_guard<std::mutex> lock(gMainMutex);
        old = std::move(gMain);
        gMain = std::move(loop);
    }
    // The old loop goes away outside the lock: what its tasks held may reach for main() as they die.
    old.reset();
}

ManualClock* RunLoop::manualClock() const { return dynamic_cast<ManualClock*>(clock_.get()); }

void RunLoop::post(std::function<void()> work) {
    if (!work) return;
    std::shared_ptr<const std::function<void()>> wake;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        posted_.push_back(std::move(work));
        wake = wake_;
    }
    postedCv_.notify_all();
    if (wake) (*wake)();
}

void RunLoop::setWakeHandler(std::function<void()> wake) {
    std::lock_guard<std::mutex> lock(postedMutex_);
    wake_ = wake ? std::make_shared<const std::function<void()>>(std::move(wake)) : nullptr;
}

RunLoop::TaskId RunLoop::schedule(double delay, std::function<void()> work) {
    double t = now();
    if (std::isfinite(delay) && delay > 0) t += delay;
    else if (std::isinf(delay) && delay > 0) t = HUGE_VAL;
    return scheduleAt(t, std::move(work));
}

RunLoop::TaskId RunLoop::scheduleAt(double when, std::function<void()> work) {
    if (std::isnan(when)) when = now();
    TaskId id = nextId_++;
    if (!work) return id;
    tasks_.emplace(std::make_pair(when, id), std::move(work));
    due_[id] = when;
    return id;
}

void RunLoop::cancel(TaskId id) {
    auto d = due_.find(id);
    if (d == due_.end()) return;
    auto it = tasks_.find({d->second, id});
    due_.erase(d);
    if (it == tasks_.end()) return;
    // The closure may own the last reference to whatever cancels it; let it die after the erase.
    auto work = std::move(it->second);
    tasks_.erase(it);
}

void RunLoop::releaseLater(std::shared_ptr<void> object) {
    if (!object) return;
    std::lock_guard<std::mutex> lock(postedMutex_);
    released_.push_back(std::move(object));
}

bool RunLoop::runOnce() {
    bool ran = false;
    std::vector<std::function<void()>> posted;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        posted.swap(posted_);
    }
    for (auto& work : posted) {
        work();
        ran = true;
    }
    posted.clear();

    // Only tasks that existed when the turn began: one scheduled for "the next turn" waits for it.
    const double t = now();
    const TaskId limit = nextId_;
    std::vector<std::pair<double, TaskId>> due;
    for (const auto& entry : tasks_) {
        if (entry.first.first > t) break;
        if (entry.first.second < limit) due.push_back(entry.first);
    }
    for (const auto& key : due) {
        auto it = tasks_.find(key);
        if (it == tasks_.end()) continue;  // cancelled by an earlier task of this turn
        auto work = std::move(it->second);
        tasks_.erase(it);
        due_.erase(key.second);
        work();
        ran = true;
    }

    std::vector<std::shared_ptr<void>> released;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        released.swap(released_);
    }
    if (!released.empty()) ran = true;
    released.clear();
    return ran;
}

void RunLoop::runFor(double maxWait) {
    double wait = std::isnan(maxWait) ? 0.0 : std::clamp(maxWait, 0.0, 86400.0);
    double next = nextDueIn();
    // A manual clock never reaches a future task by waiting, so only posted work can end the wait.
    if (next >= 0 && (next == 0 || !manualClock())) wait = std::min(wait, next);
    if (wait > 0) {
        std::unique_lock<std::mutex> lock(postedMutex_);
        postedCv_.wait_for(lock, std::chrono::duration<double>(wait),
                           [this] { return !posted_.empty() || !released_.empty(); });
    }
    runOnce();
}

bool RunLoop::waitForPosted(double maxWait) {
    const double wait = std::isnan(maxWait) ? 0.0 : std::clamp(maxWait, 0.0, 86400.0);
    std::unique_lock<std::mutex> lock(postedMutex_);
    return postedCv_.wait_for(lock, std::chrono::duration<double>(wait), [this] { return !posted_.empty(); });
}

void RunLoop::advanceBy(double seconds) {
    ManualClock* manual = manualClock();
    if (!manual) {
        runOnce();
        return;
    }
    const double target = manual->now() + (std::isfinite(seconds) && seconds > 0 ? seconds : 0.0);
    runOnce();
    // Each turn runs at the due time of the earliest task, so handlers see their own time.
    while (!tasks_.empty()) {
        double due = tasks_.begin()->first.first;
        if (due > target) break;
        if (due > manual->now()) manual->set(due);
        runOnce();
    }
    if (target > manual->now()) manual->set(target);
    runOnce();
}

void RunLoop::drain() {
    while (runOnce()) {
    }
}

double RunLoop::nextDueIn() const {
    if (tasks_.empty()) return -1.0;
    return std::max(0.0, tasks_.begin()->first.first - now());
}

bool RunLoop::hasPending() const {
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        if (!posted_.empty()) return true;
    }
    return !tasks_.empty();
}

bool RunLoop::hasPosted() const {
    std::lock_guard<std::mutex> lock(postedMutex_);
    return !posted_.empty() || !released_.empty();
}

// --- Timer

Timer::Timer(RunLoop& loop, double seconds, bool repeats, std::function<void(Timer&)> fire)
    : loop_(loop), loopAlive_(loop.alive_), interval_(seconds), repeats_(repeats),
      fire_(std::move(fire)) {}

std::shared_ptr<Timer> Timer::schedule(RunLoop& loop, double seconds, bool repeats,
                                       std::function<void(Timer&)> fire) {
    if (std::isnan(seconds) || seconds < 0) seconds = 0.0;
    // A repeating timer with no interval would fire forever within one instant.
    if (repeats && seconds < 1e-4) seconds = 1e-4;
    std::shared_ptr<Timer> timer(new Timer(loop, seconds, repeats, std::move(fire)));
    timer->arm(loop.now() + seconds);
    return timer;
}

void Timer::arm(double when) {
    due_ = when;
    task_ = loop_.scheduleAt(when, [self = shared_from_this()] { self->fire(); });
}

void Timer::fire() {
    if (!valid_) return;
    task_ = 0;
    if (repeats_) {
        double next = due_ + interval_;
        double now = loop_.now();
        // A loop that fell behind skips the missed fires rather than firing them all at once.
        if (next <= now) next = due_ + interval_ * (std::floor((now - due_) / interval_) + 1.0);
        arm(next);
    }
    firing_ = true;
    if (fire_) fire_(*this);
    firing_ = false;
    if (!repeats_) valid_ = false;
    if (!valid_) fire_ = nullptr;  // what the handler holds goes with the timer's last fire
}

void Timer::invalidate() {
    if (!valid_) return;
    valid_ = false;
    auto self = shared_from_this();  // the cancelled task may hold the last reference
    if (task_ != 0 && !loopAlive_.expired()) loop_.cancel(task_);
    task_ = 0;
    if (!firing_) fire_ = nullptr;
}

}  // namespace platform
