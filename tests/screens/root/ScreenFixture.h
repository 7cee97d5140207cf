#pragma once
// The screens as a person meets them: a fresh device home, the main run loop on a manual clock,
// the full-size window, the application delegate launched with the real root controller, and a
// back-office simulator in this process on a loopback port of its own. Helpers tap and type
// through the window's real hit-testing and move the clock.
//
//     class DeskFlow : public ScreenFixture {};
//     TEST_F(DeskFlow, OpensAFreeDesk) {
//         launch();
//         tap("是");            // the demo offer
//         advance(1);
//         ...
//     }

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "core/SwitchAppDelegate.h"
#include "net/RootServices.h"
#include "net/ServerClient.h"
#include "online/NSHTTPServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Network.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Window.h"
#include "screens/kit/UINumViewController.h"
#include "screens/root/SwitchViewController.h"
#include "screens/root/UIMessageShowViewController.h"

class ScreenFixture : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        // The screens read the real word table and pictures of the package.
        platform::Bundle::setResourceFolder(KOVRA_SOURCE_DIR "/resources");
        platform::setWifiForTesting(true);
        installServerClient();
        SwitchAppDelegate::setRootControllerMaker([] { return SwitchViewController::create(); });
        sim.setLogging(false);
        ASSERT_TRUE(sim.start(0));
    }

    void TearDown() override {
        for (auto& alert : ui::AlertView::visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        if (app) app->willTerminate();
        app.reset();
        root.reset();
        window.reset();
        // The online pages' requests: the worker thread is joined before the test ends.
        NSHTTPServer::stopWorker();
        loop().drain();
        NSServer::setRootController(nullptr);
        setRootServices(nullptr);
        NSServer::setTcp(nullptr);
        platform::setWifiForTesting(std::nullopt);
        sim.stop();
        CoreTest::TearDown();
    }

    // Starts the terminal: the delegate's loaders, then launching with the real root, then what
    // launching queued for now (not the timers: advance for those). With `serverAddress` the
    // device is configured for that server (the simulator listens on it, enrols the device, and
    // no demo data is offered).
    void launch(const std::optional<std::string>& serverAddress = std::nullopt) {
        app = std::make_unique<SwitchAppDelegate>();
        // The loaders set the standard port; the simulator listens on its own.
        NSServer::setPort(sim.port());
        if (serverAddress) NSServer::setIP(*serverAddress);
        app->didFinishLaunching(*window);
        root = NSServer::getRootController();
        ASSERT_TRUE(root) << "the root controller was not registered";
        loop().drain();
    }

    platform::RunLoop& loop() { return platform::RunLoop::main(); }
    // Moves the manual clock: every timer and animation end due in that time runs in order.
    void advance(double seconds) { loop().advanceBy(seconds); }
    // Lets every running animation end and everything posted run.
    void settle() {
        loop().drain();
        advance(1.0);
    }

    // Taps the front-most visible control titled `title` (or with `tag`) as a finger would; the
    // test fails with the driver's reason when that is impossible.
    void tap(const std::string& title) {
        auto r = ui::tapTitle(*window, title);
        ASSERT_TRUE(r.ok) << "tap \"" << title << "\": " << r.error << "\n" << dump();
        loop().drain();
    }
    void tapTag(int tag) {
        auto r = ui::tapTag(*window, tag);
        ASSERT_TRUE(r.ok) << "tap tag " << tag << ": " << r.error << "\n" << dump();
        loop().drain();
    }
    // Types into the field that has the focus.
    void type(const std::string& text) {
        ASSERT_TRUE(ui::typeText(*window, text)) << "no text field has the focus\n" << dump();
        loop().drain();
    }
    bool shows(const std::string& title) { return !ui::findViewsWithTitle(*window, title).empty(); }
    std::string dump() const { return ui::dumpTree(*window); }

    // The alerts up now, oldest first, and the message of the newest one ("" when none).
    std::vector<std::shared_ptr<ui::AlertView>> alerts() const { return ui::AlertView::visibleAlerts(); }
    std::string alertMessage() const {
        auto up = alerts();
        return up.empty() ? "" : up.back()->message().value_or("");
    }
    // The message panel's text, or none while no panel is up.
    std::optional<std::string> panelText() const {
        if (!root || !root->messageViewController) return std::nullopt;
        return root->messageViewController->messageLabel()->text();
    }

    // A number pad that asks for a whole number, as a waiter meets it: no key shows a point, and
    // "2", ".", "5" typed on a keyboard into the emptied pad stop at the point with a message, so
    // that the pad never holds 25. The message is answered and the pad left empty for the test's
    // own count.
    void expectWholeNumberPad(UINumViewController& pad) {
        EXPECT_TRUE(ui::findViewsWithTitle(*pad.view(), ".").empty()) << "a point key is offered\n" << dump();
        EXPECT_FALSE(ui::tapTitle(*window, ".").ok) << "a point key takes a tap";
        loop().drain();
        auto empty = [&] {
            for (int i = 0; i < 20 && !pad.m_strNum.empty(); ++i) window->pressKey(ui::Window::kKeyBackspace);
            loop().drain();
            EXPECT_EQ(pad.m_strNum, "");
        };
        empty();
        for (const char* key : {"2", ".", "5"}) window->pressKey(key);
        loop().drain();
        EXPECT_EQ(alertMessage(), "请输入整数");
        EXPECT_EQ(pad.m_strNum, "2") << "typed past the point";
        if (!alerts().empty()) tap("确定");
        empty();
    }

    std::string dataFile(const std::string& name) const { return NSServer::getDataPath() + "/" + name; }

    backoffice::BackOfficeSim sim;
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::unique_ptr<SwitchAppDelegate> app;
    std::shared_ptr<SwitchViewController> root;
};
