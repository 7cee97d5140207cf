// The root controller as the terminal starts and hosts its services: the demo-data offer and its
// download, the message panel's life on the clock, the wait logo, the settings slide.

#include <thread>

#include "ScreenFixture.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "screens/skin/UISetViewController.h"
#include "screens/skin/UIWelcomeViewController.h"

namespace {

class RootStart : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        // The pictures are not what these tests are about: the download stays small.
        for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
    }
    std::string marker() const { return dataFile("CSH.dat"); }
};

TEST_F(RootStart, ShowsTheWelcomeScreenAndOffersDemoDataThatNoDeclines) {
    launch();
    ASSERT_TRUE(root->welcomeViewController);
    EXPECT_TRUE(shows("开始点菜"));
    EXPECT_EQ(root->frameRect(), (ui::Rect{0, 0, 768, 1004}));
    ASSERT_EQ(alertMessage(), "您需要下载演示数据么？");
    EXPECT_FALSE(NSServer::getIsShowAlert()) << "the offer is not an alert of the alert-or-message rule";

    // "No" leaves no marker: the next start asks again.
    tap("否");
    EXPECT_TRUE(alerts().empty());
    advance(1);
    EXPECT_FALSE(platform::fs::exists(marker()));
}

TEST_F(RootStart, ADemoDownloadWritesTheMarkerAndPutsUpAFreshWelcomeScreen) {
    launch();
    auto first = root->welcomeViewController.get();
    backoffice::Faults refuse;
    refuse.refuse = true;
    sim.setFaults(refuse);
    tap("是");
    advance(0.3);  // the download starts from a timer
    ASSERT_EQ(alertMessage(), "演示数据下载失败，是否续传？");
    EXPECT_FALSE(platform::fs::exists(marker()));
    EXPECT_EQ(root->welcomeViewController.get(), first);

    sim.clearFaults();
    tap("是");
    advance(0.3);
    EXPECT_TRUE(alerts().empty()) << alertMessage();
    ASSERT_TRUE(platform::fs::exists(marker()));
    EXPECT_EQ(platform::fs::readAll(marker()).value_or(""), marker());
    EXPECT_FALSE(sim.requestsFor("treedata").empty());

    auto fresh = root->welcomeViewController.get();
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, first);
    EXPECT_EQ(root->view()->subviews().back(), fresh->view());
    EXPECT_FALSE(first->view()->superview()) << "the old welcome screen's view must be gone";
    EXPECT_FALSE(root->progressInd()) << "no wait logo may stay after the exchanges";
}

TEST_F(RootStart, NoOfferOnceTheMarkerExists) {
    platform::fs::createFolder(NSServer::getDataPath());
    platform::fs::writeAtomically(marker(), marker());
    launch();
    advance(1);
    EXPECT_TRUE(alerts().empty());
}

TEST_F(RootStart, NoOfferWithAServerAddress) {
    launch("127.0.0.1");
    advance(1);
    EXPECT_TRUE(alerts().empty());
}

class MessagePanel : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        launch("127.0.0.1");
    }
    bool panelVisible() const {
        return root->messageViewController &&
               root->messageViewController->view()->superview() == root->view().get();
    }
};

TEST_F(MessagePanel, FadesInStaysThreeSecondsAndFadesOutWhileNewTextsOnlyReplaceTheText) {
    root->showMessage("第一条");
    ASSERT_TRUE(panelVisible());
    EXPECT_EQ(root->messageViewController->view()->frame(), (ui::Rect{60, 10, 200, 80}));
    EXPECT_EQ(panelText(), "第一条");
    auto panel = root->messageViewController.get();

    advance(1.3);
    root->showMessage("第二条");
    EXPECT_EQ(root->messageViewController.get(), panel) << "a text while the panel is up reuses it";
    EXPECT_EQ(panelText(), "第二条");

    // Faded in at 0.3 s, fades out from 3.3 s for 0.3 s, whatever came in between.
    advance(1.9);  // 3.2 s
    EXPECT_TRUE(panelVisible());
    advance(0.3);  // 3.5 s: fading out
    root->showMessage("第三条");
    EXPECT_EQ(panelText(), "第三条") << "a text while fading out lands on the fading panel";
    advance(0.2);  // 3.7 s
    EXPECT_FALSE(root->messageViewController);
    EXPECT_FALSE(panel->view()->superview());
}

TEST_F(MessagePanel, ATouchClosesItAndTheEarlierTimerStillFadesTheNextPanel) {
    root->showMessage("点我");
    advance(0.3);
    tap("点我");
    advance(0.1);
    root->clearShow();  // a second close while the first fade runs (no tap reaches a fading panel)
    advance(0.25);      // 0.65 s: the first fade has ended
    EXPECT_FALSE(root->messageViewController);

    root->showMessage("新的");
    auto second = root->messageViewController.get();
    advance(0.1);  // 0.75 s: the second fade of the first panel ends
    EXPECT_EQ(root->messageViewController.get(), second) << "a fade of the old panel took the new one";

    advance(2.6);  // 3.35 s: the first panel's timer fired at 3.3 s and fades whatever is up
    advance(0.3);
    EXPECT_FALSE(root->messageViewController);
    EXPECT_FALSE(second->view()->superview());
    advance(1.0);  // the second panel's own timer finds no panel
    EXPECT_FALSE(root->messageViewController);
}

TEST_F(MessagePanel, ProgressTextsFromTheMainThreadShowAtOnceAndFromOtherThreadsOnTheMainThreadInOrder) {
    int frames = 0;
    ui::Window::setDisplayNowHandler([&](ui::Window&) { ++frames; });
    root->showAyncStyle("正在下载菜谱");
    EXPECT_EQ(panelText(), "正在下载菜谱");
    EXPECT_EQ(root->style(), "正在下载菜谱");
    EXPECT_EQ(frames, 1) << "the panel must be drawn before the caller blocks";

    std::thread worker([&] {
        root->showAyncStyle("第一步");
        root->showAyncStyle("第二步");
    });
    worker.join();
    EXPECT_EQ(panelText(), "正在下载菜谱") << "no view changes off the main thread";
    loop().runOnce();
    EXPECT_EQ(panelText(), "第二步");
    EXPECT_EQ(root->style(), "第二步");
    ui::Window::setDisplayNowHandler(nullptr);
}

TEST_F(MessagePanel, TheWaitLogoIsOneLogoDrawnAtOnceAndAReleaseBeforeItAppearedLeavesNone) {
    int frames = 0;
    ui::Window::setDisplayNowHandler([&](ui::Window&) { ++frames; });
    root->showWaitLogo();
    root->showWaitLogo();
    ASSERT_TRUE(root->progressInd());
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(root->progressInd()->frame(), (ui::Rect{368, 456, 32, 32}));
    int logos = 0;
    for (auto& v : root->view()->subviews()) logos += dynamic_cast<ui::ActivityIndicatorView*>(v.get()) != nullptr;
    EXPECT_EQ(logos, 1);
    root->releaseWaitLogo();
    EXPECT_FALSE(root->progressInd());
    root->releaseWaitLogo();  // nothing to take down

    // Asked for from another thread and released before the main thread got to it.
    std::thread worker([&] { root->showWaitLogo(); });
    worker.join();
    root->releaseWaitLogo();
    loop().drain();
    EXPECT_FALSE(root->progressInd());
    for (auto& v : root->view()->subviews()) EXPECT_FALSE(dynamic_cast<ui::ActivityIndicatorView*>(v.get()));

    // A real exchange: the logo is drawn before it blocks and gone after.
    frames = 0;
    EXPECT_TRUE(NSServer().DownloadDeskState(false));
    EXPECT_GE(frames, 1);
    EXPECT_FALSE(root->progressInd());
    ui::Window::setDisplayNowHandler(nullptr);
}

TEST_F(MessagePanel, TheSettingsSlideInOverTheWelcomeScreenAndOutAgain) {
    auto welcome = root->welcomeViewController->view();
    root->set();
    ASSERT_TRUE(root->setViewController);
    auto settings = root->setViewController->view();
    EXPECT_EQ(settings->frame(), (ui::Rect{0, 0, 768, 1004}));
    EXPECT_EQ(welcome->frame(), (ui::Rect{-768, 0, 768, 1004}));
    advance(0.3);
    EXPECT_EQ(root->view()->subviews().back(), settings);

    root->setBack();
    EXPECT_EQ(welcome->frame(), (ui::Rect{0, 0, 768, 1004}));
    EXPECT_TRUE(root->setViewController) << "the settings stay until the slide ends";
    advance(0.3);
    EXPECT_FALSE(root->setViewController);
    EXPECT_FALSE(settings->superview());
}

}  // namespace
