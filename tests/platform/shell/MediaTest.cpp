#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/media/MoviePlayer.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/Window.h"
#include "support/TempHome.h"

namespace {

class Movies : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        media::MoviePlayer::setStandInDuration(10);
        auto& center = ui::NotificationCenter::defaultCenter();
        tokens.push_back(center.addObserver(media::PlaybackDidFinishNotification, nullptr, [this](const ui::Notification& n) {
            heard.push_back("finished " + std::to_string(std::any_cast<int>(n.userInfo.at(media::PlaybackDidFinishReasonKey))));
        }));
        tokens.push_back(center.addObserver(media::DidExitFullscreenNotification, nullptr,
                                            [this](const ui::Notification&) { heard.push_back("exit full screen"); }));
        window->makeKeyAndVisible();
        video = home.writeFile("media/1001.MP4", "not really a video");
    }
    void TearDown() override {
        for (auto t : tokens) ui::NotificationCenter::defaultCenter().removeObserver(t);
    }
    std::vector<ui::NotificationCenter::Token> tokens;
    std::vector<std::string> heard;
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::string video;
};

TEST_F(Movies, AVideoEndsByItselfAfterItsLengthButNotWhenStopped) {
    auto player = media::MoviePlayer::create(video);
    player->play();
    home.loop().advanceBy(4);
    player->pause();
    home.loop().advanceBy(100);
    EXPECT_TRUE(heard.empty());
    player->play();
    home.loop().advanceBy(5.9);
    EXPECT_TRUE(heard.empty());
    home.loop().advanceBy(0.2);
    EXPECT_EQ(heard, std::vector<std::string>{"finished 0"});

    player->play();
    player->stop();
    home.loop().advanceBy(20);
    auto released = media::MoviePlayer::create(video);
    released->play();
    released.reset();
    home.loop().advanceBy(20);
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(Movies, AMissingFileEndsOnTheNextTurnWithAnError) {
    auto player = media::MoviePlayer::create(home.path() + "/media/NONE.MP4");
    player->play();
    EXPECT_TRUE(heard.empty());
    home.loop().drain();
    EXPECT_EQ(heard, std::vector<std::string>{"finished 1"});
}

TEST_F(Movies, FullScreenCoversTheWindowUntilDoneIsTapped) {
    auto player = media::MoviePlayer::create(video);
    player->view()->setFrame({0, 0, 0, 0});
    window->addSubview(player->view());
    player->play();
    player->setFullscreen(true, false);
    ASSERT_TRUE(player->isFullscreen());
    EXPECT_EQ(player->fullscreenView()->superview(), window.get());
    EXPECT_FALSE(ui::tapAt(*window, {10, 500}).hit == nullptr);
    ASSERT_TRUE(ui::tapTitle(*window, "Done").ok);
    EXPECT_FALSE(player->isFullscreen());
    EXPECT_EQ(heard, std::vector<std::string>{"exit full screen"});

    // Stopping in code closes full screen quietly.
    player->setFullscreen(true, false);
    player->stop();
    EXPECT_FALSE(player->isFullscreen());
    EXPECT_EQ(window->subviews().size(), 1u);
    EXPECT_EQ(heard.size(), 1u);
}

}  // namespace
