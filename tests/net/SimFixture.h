#pragma once
// The server client's tests: a fresh device (CoreTest) talking to a back-office simulator on a
// loopback port of its own, with the root controller's services recorded.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "net/RootServices.h"
#include "platform/foundation/Network.h"

struct RecordingRoot : NSRootServices {
    int waitShown = 0;
    bool waitUp = false;
    std::vector<std::string> alerts, messages;
    std::vector<bool> idle;
    void showWaitLogo() override {
        ++waitShown;
        waitUp = true;
    }
    void releaseWaitLogo() override { waitUp = false; }
    void showAyncStyle(const std::string& text) override { messages.push_back(text); }
    void showAlert(const std::string&, const std::string& message, const std::string&) override {
        alerts.push_back(message);
    }
    void setIdleTimerDisabled(bool disabled) override { idle.push_back(disabled); }
    bool showed(const std::string& text) const {
        return std::find(messages.begin(), messages.end(), text) != messages.end();
    }
};

class SimTest : public CoreTest {
protected:
    explicit SimTest(backoffice::Restaurant restaurant = backoffice::Restaurant::Tests) : sim(restaurant) {}

    void SetUp() override {
        CoreTest::SetUp();
        platform::setWifiForTesting(true);
        root = std::make_shared<RecordingRoot>();
        setRootServices(root);
        sim.setLogging(false);
        ASSERT_TRUE(sim.start(0));
        NSServer::setPort(sim.port());
    }
    void TearDown() override {
        NSServer::setTcp(nullptr);
        setRootServices(nullptr);
        platform::setWifiForTesting(std::nullopt);
        CoreTest::TearDown();
    }

    backoffice::BackOfficeSim sim;
    std::shared_ptr<RecordingRoot> root;
};
