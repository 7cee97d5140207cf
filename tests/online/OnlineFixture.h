#pragma once
// The online part's test fixture: a fresh device home with a manual-clock main loop, the hub reset
// with its shop and temporary folders inside the home, and the web-service simulator on a port of
// its own that the client's base URL points at.

#include <set>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/NSServer.h"
#include "online/NSHTTPServer.h"
#include "online/NSShopDBClass.h"
#include "platform/foundation/FileSystem.h"
#include "support/EventWait.h"
#include "support/TempHome.h"
#include "websim/WebSim.h"

namespace onlinetest {

class OnlineTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSServer::resetForTesting();
        NSServer::setShopPath(platform::fs::join(home.path(), "shop"));
        NSServer::setTemPath(platform::fs::join(home.path(), "tmp"));
        platform::fs::createFolder(NSServer::getShopPath());
        platform::fs::createFolder(NSServer::getTemPath());
        // A request is given up only when a fault keeps its answer away: a test of giving up sets
        // a short time-out of its own.
        NSServer::setOutTime(static_cast<int>(testsupport::kEventWaitSeconds));
        ASSERT_GT(sim.start(0), 0);
        NSHTTPServer::setHTTPAddress(sim.baseURL());
    }

    void TearDown() override {
        // Answers still under way are let in, so none reaches the next test's loop; the worker
        // thread is joined before the test ends.
        settle();
        NSHTTPServer::stopWorker();
        sim.stop();
        NSServer::setShopDB(nullptr);
        NSServer::resetForTesting();
    }

    // Runs the main loop until the condition holds.
    bool pumpUntil(const std::function<bool()>& done) { return testsupport::pumpUntil(home.loop(), done); }
    // Every request sent has been delivered.
    bool settle() { return pumpUntil([] { return NSHTTPServer::inFlight() == 0; }); }
    // The simulator has seen `n` requests.
    bool waitForRequests(std::size_t n) {
        return pumpUntil([&] { return sim.requests().size() >= n; });
    }

    testsupport::TempHome home;
    websim::WebSim sim;
};

}  // namespace onlinetest
