// The idle screen saver and the skin videos on the manual clock: the saver plays after the idle
// time and any touch restarts it; a windowed video holds the touches until it ends or a double
// tap; a new video waits five seconds after the last; nothing reaches a screen that went.

#include "screens/skin/SkinMenuFixture.h"

namespace {

class SkinSaver : public SkinMenuFixture {
protected:
    static std::string withSaver(const std::string& time, const std::string& func) {
        return menuLayout({"Movie(100,200,400,500,INTRO)", "Run"}, "",
                          "<Screensavers><Time>" + time + "</Time><Func>" + func + "</Func></Screensavers>");
    }
    bool playing() const { return welcome()->moviePlayer() != nullptr; }
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
    tapButton(1);
    ASSERT_TRUE(playing());
    std::weak_ptr<media::MoviePlayer> player = welcome()->moviePlayer();
    std::weak_ptr<NSScreen> saver = welcome()->screen();
    root->begin(std::nullopt);  // the menu lets the welcome screen go
    settle();
    ASSERT_FALSE(welcome());
    EXPECT_TRUE(saver.expired());
    // The player's end and any saver tick fall on nothing.
    if (auto p = player.lock()) p->play();
    advance(70);
    EXPECT_TRUE(root->selectCaipViewController);
}

}  // namespace
