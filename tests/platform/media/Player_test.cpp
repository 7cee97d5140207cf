// The decoding video player: a film of a few grey pictures, encoded with libavcodec's MPEG-4
// encoder into an MP4 file, is read picture by picture in time and played to its end;
// a file that is no film is refused at once.

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Film.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/MoviePlayer.h"
#include "platform/ui/NotificationCenter.h"
#include "support/EventWait.h"
#include "support/TempHome.h"

namespace {

constexpr int kWidth = 64, kHeight = 48, kFrames = 6, kRate = 25;

// Writes a film of kFrames pictures, each a flat grey one step lighter than the last.
bool writeFilm(const std::string& path) {
    artgen::FilmSpec spec;
    spec.kind = artgen::FilmSpec::Kind::Mpeg4InMp4;
    spec.width = kWidth;
    spec.height = kHeight;
    spec.frames = kFrames;
    spec.rate = kRate;
    spec.draw = [](int n, const artgen::FilmPicture& p) {
        for (int y = 0; y < p.height; ++y) memset(p.y + y * p.yStride, 40 + 30 * n, static_cast<std::size_t>(p.width));
        for (int y = 0; y < p.height / 2; ++y) {
            memset(p.u + y * p.cStride, 128, static_cast<std::size_t>(p.width / 2));
            memset(p.v + y * p.cStride, 128, static_cast<std::size_t>(p.width / 2));
        }
    };
    auto bytes = artgen::film(spec);
    return bytes && platform::fs::writeAtomically(path, *bytes);
}

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
        film = dir.path() + "/film.MP4";
        ASSERT_TRUE(writeFilm(film));
    }
    void TearDown() override { media::MoviePlayer::setFrameSourceOpener(nullptr); }

    testsupport::TempHome dir;
    std::string film;
};

TEST_F(Player, DecodesEveryPictureInOrderAndInTime) {
    auto open = media::libavOpener();
    ASSERT_TRUE(open);
    auto source = open(film);
    ASSERT_TRUE(source);
    double last = -1;
    int frames = 0;
    while (auto frame = source->next()) {
        EXPECT_EQ(frame->width, kWidth);
        EXPECT_EQ(frame->height, kHeight);
        ASSERT_EQ(frame->rgba.size(), static_cast<std::size_t>(kWidth * kHeight * 4));
        EXPECT_GT(frame->time, last);
        if (frames == kFrames - 1) {
            EXPECT_GT(frame->rgba[0], 150) << "the last picture is the lightest";
        }
        last = frame->time;
        ++frames;
    }
    EXPECT_EQ(frames, kFrames);
    EXPECT_NEAR(last, (kFrames - 1) / static_cast<double>(kRate), 0.01);

    platform::fs::writeAtomically(dir.path() + "/not.MP4", std::string(4096, 'x'));
    EXPECT_FALSE(open(dir.path() + "/not.MP4"));
    EXPECT_FALSE(open(dir.path() + "/missing.MP4"));
}

TEST_F(Player, PlaysThePicturesIntoItsViewAndTellsWhenTheFilmEnded) {
    media::MoviePlayer::setFrameSourceOpener(media::libavOpener());
    auto player = media::MoviePlayer::create(film);
    int finished = -1;
    auto& center = ui::NotificationCenter::defaultCenter();
    auto token = center.addObserver(media::PlaybackDidFinishNotification, player.get(), [&](const ui::Notification& n) {
        finished = std::any_cast<int>(n.userInfo.at(media::PlaybackDidFinishReasonKey));
    });
    player->play();
    EXPECT_EQ(player->state(), media::MoviePlayer::State::Playing);
    auto& loop = platform::RunLoop::main();
    // The pictures are shown in the film's own time; its end is posted to the loop.
    ASSERT_TRUE(testsupport::pumpUntil(loop, [&] { return finished >= 0; }));
    EXPECT_EQ(finished, static_cast<int>(media::FinishReason::PlaybackEnded));
    ASSERT_TRUE(player->currentFrame());
    EXPECT_EQ(player->currentFrame()->width(), kWidth);
    EXPECT_EQ(player->state(), media::MoviePlayer::State::Stopped);

    // Stopped half way, the worker ends at once and nothing more is shown.
    player->play();
    player->stop();
    loop.drain();
    EXPECT_EQ(player->state(), media::MoviePlayer::State::Stopped);

    auto broken = media::MoviePlayer::create(dir.path() + "/missing.MP4");
    finished = -1;
    center.removeObserver(token);
    token = center.addObserver(media::PlaybackDidFinishNotification, broken.get(), [&](const ui::Notification& n) {
        finished = std::any_cast<int>(n.userInfo.at(media::PlaybackDidFinishReasonKey));
    });
    broken->play();
    loop.drain();
    EXPECT_EQ(finished, static_cast<int>(media::FinishReason::PlaybackError));
    center.removeObserver(token);
}

TEST_F(Player, TheDemoRestaurantsFilmPlaysWhole) {
    auto bytes = artgen::demoFilm();
    ASSERT_TRUE(bytes);
    const std::string path = dir.path() + "/DEMO.MPG";
    ASSERT_TRUE(platform::fs::writeAtomically(path, *bytes));
    auto source = media::libavOpener()(path);
    ASSERT_TRUE(source);
    int frames = 0;
    double last = -1;
    while (auto frame = source->next()) {
        EXPECT_EQ(frame->width, 320);
        EXPECT_EQ(frame->height, 240);
        last = frame->time;
        ++frames;
    }
    EXPECT_EQ(frames, 75);
    EXPECT_NEAR(last, 74 / 25.0, 0.05);
}

}  // namespace
