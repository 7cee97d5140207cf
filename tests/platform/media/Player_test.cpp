// The decoding video player: a film of a few coloured pictures, encoded here with libavcodec's
// MPEG-4 encoder into an MP4 file, is read picture by picture in time and played to its end;
// a file that is no film is refused at once.

#include <chrono>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/MoviePlayer.h"
#include "platform/ui/NotificationCenter.h"
#include "support/TempHome.h"

namespace {

constexpr int kWidth = 64, kHeight = 48, kFrames = 6, kRate = 25;

// Writes a film of kFrames pictures, each a flat grey one step lighter than the last.
bool writeFilm(const std::string& path) {
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, "mp4", path.c_str()) < 0) return false;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVStream* stream = codec ? avformat_new_stream(out, nullptr) : nullptr;
    AVCodecContext* enc = codec ? avcodec_alloc_context3(codec) : nullptr;
    bool ok = stream && enc;
    if (ok) {
        enc->width = kWidth;
        enc->height = kHeight;
        enc->pix_fmt = AV_PIX_FMT_YUV420P;
        enc->time_base = {1, kRate};
        enc->gop_size = 1;
        if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        ok = avcodec_open2(enc, codec, nullptr) >= 0 && avcodec_parameters_from_context(stream->codecpar, enc) >= 0;
    }
    if (ok) {
        stream->time_base = enc->time_base;
        ok = avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
    }
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    auto drain = [&] {
        while (avcodec_receive_packet(enc, packet) == 0) {
            // Each picture lasts one tick; a last picture without a length would be cut off.
            if (packet->duration == 0) packet->duration = 1;
            av_packet_rescale_ts(packet, enc->time_base, stream->time_base);
            packet->stream_index = stream->index;
            av_interleaved_write_frame(out, packet);
        }
    };
    for (int n = 0; ok && n <= kFrames; ++n) {
        if (n == kFrames) {
            avcodec_send_frame(enc, nullptr);
        } else {
            frame->format = enc->pix_fmt;
            frame->width = kWidth;
            frame->height = kHeight;
            ok = av_frame_get_buffer(frame, 0) >= 0;
            for (int p = 0; ok && p < 3; ++p) {
                const int rows = p ? kHeight / 2 : kHeight;
                for (int y = 0; y < rows; ++y)
                    memset(frame->data[p] + y * frame->linesize[p], p ? 128 : 40 + 30 * n, p ? kWidth / 2 : kWidth);
            }
            frame->pts = n;
            ok = ok && avcodec_send_frame(enc, frame) >= 0;
            av_frame_unref(frame);
        }
        drain();
    }
    if (ok) ok = av_write_trailer(out) >= 0;
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&enc);
    if (out && out->pb) avio_closep(&out->pb);
    avformat_free_context(out);
    return ok;
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
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (finished < 0 && std::chrono::steady_clock::now() < limit) {
        loop.waitForPosted(0.1);
        loop.drain();
    }
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

}  // namespace
