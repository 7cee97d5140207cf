#include "platform/foundation/RunLoop.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/EventWait.h"
#include "support/TempHome.h"

using platform::RunLoop;
using platform::Timer;

namespace {

using Fired = std::vector<std::pair<std::string, double>>;

TEST(RunLoop, AdvanceByFiresEveryTaskInDueOrderAtItsOwnTime) {
    testsupport::TempHome home;
    RunLoop& loop = RunLoop::main();
    ASSERT_EQ(&loop, &home.loop());
    ASSERT_NE(loop.manualClock(), nullptr);
    Fired fired;
    auto note = [&](std::string name) { fired.emplace_back(std::move(name), loop.now()); };

    loop.schedule(2.0, [&] { note("late"); });
    loop.schedule(1.0, [&] { note("b"); });
    loop.schedule(0.5, [&] {
        note("a");
        // Scheduled from inside the span and due inside it: must still fire, at 0.75.
        loop.schedule(0.25, [&] { note("child"); });
    });
    loop.schedule(1.0, [&] { note("c"); });  // same time as "b": scheduling order decides
    auto cancelled = loop.schedule(0.625, [&] { note("cancelled"); });
    loop.cancel(cancelled);

    loop.advanceBy(1.5);
    EXPECT_EQ(fired, (Fired{{"a", 0.5}, {"child", 0.75}, {"b", 1.0}, {"c", 1.0}}));
    EXPECT_DOUBLE_EQ(loop.now(), 1.5);
    EXPECT_DOUBLE_EQ(loop.nextDueIn(), 0.5);

    loop.advanceBy(1.0);
    ASSERT_EQ(fired.size(), 5u);
    EXPECT_EQ(fired.back(), (std::pair<std::string, double>{"late", 2.0}));
    EXPECT_FALSE(loop.hasPending());
}

TEST(RunLoop, TaskForTheNextTurnWaitsForIt) {
    testsupport::TempHome home;
    RunLoop& loop = home.loop();
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        loop.schedule(0, again);  // would spin forever if it ran in the same turn
    };
    loop.schedule(0, again);
    loop.runOnce();
    loop.runOnce();
    EXPECT_EQ(runs, 2);
}

TEST(Timer, RepeatsOncePerIntervalAndInvalidatesFromItsOwnHandler) {
    testsupport::TempHome home;
    RunLoop& loop = home.loop();
    std::vector<double> ticks;
    std::weak_ptr<Timer> weak;
    {
        auto timer = Timer::schedule(loop, 1.0, true, [&](Timer& t) {
            ticks.push_back(loop.now());
            if (ticks.size() == 3) t.invalidate();
        });
        weak = timer;
        loop.advanceBy(2.5);
        EXPECT_EQ(ticks, (std::vector<double>{1.0, 2.0}));
        EXPECT_TRUE(timer->isValid());
        loop.advanceBy(10);
        EXPECT_EQ(ticks, (std::vector<double>{1.0, 2.0, 3.0}));
        EXPECT_FALSE(timer->isValid());
    }
    EXPECT_TRUE(weak.expired());  // the loop let go of it
    EXPECT_FALSE(loop.hasPending());

    int oneShot = 0, stopped = 0;
    auto once = Timer::schedule(loop, 0.5, false, [&](Timer&) { ++oneShot; });
    auto never = Timer::schedule(loop, 0.5, true, [&](Timer&) { ++stopped; });
    never->invalidate();
    loop.advanceBy(5);
    EXPECT_EQ(oneShot, 1);
    EXPECT_FALSE(once->isValid());
    EXPECT_EQ(stopped, 0);
}

TEST(RunLoop, PostFromOtherThreadsRunsOnTheLoopAndWakesRunFor) {
    RunLoop loop;  // real clock
    const auto mainThread = std::this_thread::get_id();
    std::atomic<int> done{0};
    bool allOnMain = true;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i)
                loop.post([&] {
                    allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
                    ++done;
                });
        });
    for (auto& t : threads) t.join();
    loop.drain();
    EXPECT_EQ(done, 400);
    EXPECT_TRUE(allOnMain);

    // The post comes once this thread sleeps in runFor, which must wake for it.
    bool woke = false;
    const long self = testsupport::threadId();
    std::thread late([&] {
        testsupport::waitUntilAsleep(self);
        loop.post([&] { woke = true; });
    });
    auto start = std::chrono::steady_clock::now();
    loop.runFor(30);
    late.join();
    EXPECT_TRUE(woke);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(RunLoop, ReleaseLaterKeepsTheObjectUntilTheNextTurn) {
    testsupport::TempHome home;
    RunLoop& loop = home.loop();
    auto object = std::make_shared<int>(7);
    std::weak_ptr<int> weak = object;
    loop.releaseLater(std::move(object));
    EXPECT_FALSE(weak.expired());
    loop.runOnce();
    EXPECT_TRUE(weak.expired());
}

TEST(RunLoop, MainDefaultsToTheRealClockUntilReplaced) {
    RunLoop::setMain(nullptr);
    EXPECT_EQ(RunLoop::main().manualClock(), nullptr);
    auto replacement = std::make_shared<RunLoop>(std::make_shared<platform::ManualClock>());
    RunLoop::setMain(replacement);
    EXPECT_EQ(&RunLoop::main(), replacement.get());
}

}  // namespace
