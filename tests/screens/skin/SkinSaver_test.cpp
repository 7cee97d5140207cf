// The idle screen saver and the skin videos on the manual clock: the saver plays after the idle
// time and any touch restarts it; a windowed video holds the touches until it ends or a double
// tap; a new video waits five seconds after the last; nothing reaches a screen that went.

#include "screens/kit/UINumViewController.h"
#include "screens/orderlist/UIDishLViewController.h"
#include "screens/skin/SkinMenuFixture.h"

namespace {

class SkinSaver : public SkinMenuFixture {
protected:
    static std::string withSaver(const std::string& time, const std::string& func) {
        return menuLayout({"Movie(100,200,400,500,INTRO)", "Run"}, "",
                          "<Screensavers><Time>" + time + "</Time><Func>" + func + "</Func></Screensavers>");
    }
    bool playing() const { return welcome()->moviePlayer() != nullptr; }
    // A key of a pad drawn on its panel: its rectangle is tapped through the window.
    void tapKey(ui::View& panel, const VirtualButton& key) {
        auto r = ui::tapAt(*window, panel.convertPointTo(key.location.center(), nullptr));
        ASSERT_TRUE(r.ok) << r.error << "\n" << dump();
        loop().drain();
    }
};

TEST_F(SkinSaver, PlaysItsVideoAfterTheIdleTimeAndATouchRestartsIt) {
    start();
    addVideo("INTRO");
    putOn(withSaver("60000", "movie(intro)"));
    ASSERT_TRUE(welcome()->screen()->isRunning());
    advance(40);
    ASSERT_TRUE(tapWelcomeAt(700, 50));  // a touch: the idle time starts again
    advance(40);
    EXPECT_FALSE(playing()) << "80 s since the start, 40 s since the touch";
    advance(21);
    ASSERT_TRUE(playing());
    EXPECT_EQ(welcome()->moviePlayer()->contentPath(), NSServer::getMediaPath() + "/INTRO");
    EXPECT_TRUE(welcome()->moviePlayer()->isFullscreen());
    EXPECT_FALSE(welcome()->screen()->isRunning()) << "a playing video stops the saver";
    EXPECT_TRUE(welcome()->canTouch());

    // Leaving full screen with Done stops the video and starts the saver again.
    auto done = ui::findViewsWithTitle(*welcome()->moviePlayer()->fullscreenView(), "Done");
    ASSERT_FALSE(done.empty()) << dump();
    auto r = ui::tapView(*window, *done.front());
    ASSERT_TRUE(r.ok) << r.error;
    loop().drain();
    EXPECT_FALSE(playing());
    EXPECT_FALSE(welcome()->canPlay());
    EXPECT_TRUE(welcome()->screen()->isRunning());
    advance(5);
    EXPECT_TRUE(welcome()->canPlay());
    advance(55);
    EXPECT_TRUE(playing()) << "the next idle minute plays again";
}

TEST_F(SkinSaver, NeverPlaysOverTheOrderListItsPadOrItsAlert) {
    start();
    addVideo("INTRO");
    putOn(menuLayout({"CheckList"}, "", "<Screensavers><Time>60000</Time><Func>movie(INTRO)</Func></Screensavers>"));
    tapButton(1);
    settle();
    auto* list = root->listViewController.get().get();
    ASSERT_TRUE(list) << dump();
    ASSERT_TRUE(welcome()) << "the order list opened from the skin returns to this welcome screen";
    advance(61);
    EXPECT_FALSE(playing()) << "the idle time passed under the order list";

    tap("人数:0");
    ASSERT_TRUE(list->numViewController) << dump();
    advance(61);
    EXPECT_FALSE(playing()) << "the idle time passed under the guests pad";
    UINumViewController& pad = *list->numViewController;
    tapKey(*pad.m_panel, pad.m_btn00);
    tapKey(*pad.m_panel, pad.m_btnOK);
    ASSERT_EQ(alertMessage(), "人数不能为0");
    advance(61);
    EXPECT_FALSE(playing()) << "the idle time passed under the alert";
    tap("确定");  // the tap reaches the alert, not a video over it
    EXPECT_TRUE(alerts().empty());
    EXPECT_FALSE(NSServer::getIsShowAlert());
    tapKey(*pad.m_panel, pad.m_btnCancel);
    settle();

    // Back on the welcome screen, the idle time counts from the return.
    tap("返回");
    settle();
    ASSERT_FALSE(root->listViewController.get()->view()->superview()) << dump();
    advance(58);
    EXPECT_FALSE(playing());
    advance(2);
    EXPECT_TRUE(playing());
}

TEST_F(SkinSaver, WaitsWhileAnythingCoversItsScreen) {
    start();
    addVideo("INTRO");
    putOn(menuLayout({"Set"}, "", "<Screensavers><Time>2000</Time><Func>movie(INTRO)</Func></Screensavers>"));
    struct Case {
        const char* what;
        double seconds;  // how long it stays up
        std::function<void()> open, close;
    } cases[] = {
        {"an alert", 10, [&] { root->showRootAlert("警报"); }, [&] { tap("确定"); }},
        {"the message panel", 2.9, [&] { root->showMessage("消息"); }, [&] { advance(0.5); }},
        {"the settings screen", 10, [&] { tapButton(1); }, [&] { tap("返回"); }},
        {"the online home", 10, [&] { tap("在线服务"); }, [&] { tap("返回"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.open();
        for (double t = 0; t < c.seconds; t += 0.5) {
            advance(std::min(0.5, c.seconds - t));
            ASSERT_FALSE(playing());
            ASSERT_FALSE(welcome()->isShownInFront()) << dump();
        }
        c.close();
        settle();
        ASSERT_TRUE(welcome()->isShownInFront()) << dump();
        // A whole idle time on the uncovered screen comes first.
        advance(0.5);
        EXPECT_FALSE(playing());
        advance(4);
        ASSERT_TRUE(playing());
        welcome()->stop();  // the saver starts again: the next case covers the screen at once
    }
}

TEST_F(SkinSaver, AfterItsScreenWasCoveredAWholeIdleTimeCountsFromItsReturn) {
    // The settings over the skin (its update, for example) for longer than two idle times: the
    // first video comes one idle time after they close, not at the tick after next.
    start();
    addVideo("INTRO");
    putOn(menuLayout({"Set"}, "", "<Screensavers><Time>60000</Time><Func>movie(INTRO)</Func></Screensavers>"));
    tapButton(1);  // restarts the idle time and opens the settings over the screen
    settle();
    ASSERT_TRUE(root->setViewController) << dump();
    advance(124);
    EXPECT_FALSE(playing());
    tap("返回");
    settle();
    ASSERT_TRUE(welcome()->isShownInFront()) << dump();
    advance(58);
    EXPECT_FALSE(playing());
    advance(3);
    EXPECT_TRUE(playing());
}

TEST_F(SkinSaver, SaversThatNeverPlay) {
    start();
    addVideo("INTRO");
    struct Case {
        const char* time;
        const char* func;
        bool runs;
    } cases[] = {
        {"0", "movie(INTRO)", false},
        {"", "movie(INTRO)", false},
        {"1000", "movie INTRO", true},   // no "(...)": no video
        {"1000", "movie(INTRO", true},
        {"1000", "Movie(INTRO)", true},  // only the lower-case word plays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.time << " " << c.func);
        putOn(withSaver(c.time, c.func));
        EXPECT_EQ(welcome()->screen()->isRunning(), c.runs);
        advance(3.5);
        EXPECT_FALSE(playing());
    }
}

TEST_F(SkinSaver, AWindowedVideoHoldsTouchesUntilItEndsOrADoubleTap) {
    start();
    addVideo("INTRO");
    putOn(withSaver("60000", "movie(INTRO)"));
    tapButton(1);
    ASSERT_TRUE(playing());
    EXPECT_FALSE(welcome()->canTouch());
    EXPECT_FALSE(welcome()->moviePlayer()->isFullscreen());
    // A release on a button is ignored while the video plays in its window.
    tapButton(2);
    EXPECT_FALSE(root->selectCaipViewController);
    EXPECT_TRUE(playing());

    // A double tap ends it and gives the touches back.
    const ui::Point p = welcome()->view()->convertPointTo({700, 950}, nullptr);
    window->tap(p);
    window->tap(p);
    loop().drain();
    EXPECT_FALSE(playing());
    EXPECT_TRUE(welcome()->canTouch());

    // Within five seconds another video is refused.
    tapButton(1);
    EXPECT_FALSE(playing());
    EXPECT_EQ(alertMessage(), "视频刚播放完，请稍后再试");
    tap("确定");
    advance(5);
    tapButton(1);
    ASSERT_TRUE(playing());
    // Played to its end, it gives the touches back by itself.
    advance(media::MoviePlayer::standInDuration() + 0.1);
    EXPECT_FALSE(playing());
    EXPECT_TRUE(welcome()->canTouch());
}

TEST_F(SkinSaver, NothingReachesAWelcomeScreenThatWent) {
    start();
    addVideo("INTRO");
    putOn(withSaver("60000", "movie(INTRO)"));
    std::weak_ptr<ui::ViewController> screen = root->welcomeViewController.get();
    std::weak_ptr<NSScreen> saver = welcome()->screen();
    ASSERT_TRUE(saver.lock()->isRunning());
    tapButton(2);  // "Run": the flip to the whole menu lets the welcome screen go, and its saver
    settle();
    ASSERT_TRUE(root->selectCaipViewController);
    EXPECT_FALSE(welcome());
    EXPECT_TRUE(screen.expired()) << "nothing keeps the welcome screen once the menu shows";
    EXPECT_TRUE(saver.expired());
    advance(130);
    EXPECT_FALSE(shows("Done")) << "no video over the menu\n" << dump();

    // The same while a video plays.
    root->backToWel();
    settle();
    putOn(withSaver("60000", "movie(INTRO)"));
    tapButton(1);
    ASSERT_TRUE(playing());
    std::weak_ptr<media::MoviePlayer> player = welcome()->moviePlayer();
    saver = welcome()->screen();
    root->begin(std::nullopt);
    settle();
    ASSERT_FALSE(welcome());
    EXPECT_TRUE(saver.expired());
    // The player's end and any saver tick fall on nothing.
    if (auto p = player.lock()) p->play();
    advance(70);
    EXPECT_TRUE(root->selectCaipViewController);
}

}  // namespace
