#include "platform/media/FrameSource.h"

#ifdef KOVRA_HAVE_LIBAV

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace media {

namespace {

// A stream claiming a picture larger than this is not one the terminal will show.
constexpr int kMaxSourceSide = 8192;

class LibavFrameSource : public FrameSource {
public:
    ~LibavFrameSource() override {
        sws_freeContext(scaler_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        avcodec_free_context(&codec_);
        avformat_close_input(&format_);
    }

    bool open(const std::string& path) {
        if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) != 0) return false;
        if (avformat_find_stream_info(format_, nullptr) < 0) return false;
        const AVCodec* decoder = nullptr;
        stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
        if (stream_ < 0 || !decoder) return false;
        codec_ = avcodec_alloc_context3(decoder);
        if (!codec_ || avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar) < 0) return false;
        if (avcodec_open2(codec_, decoder, nullptr) < 0) return false;
        frame_ = av_frame_alloc();
        packet_ = av_packet_alloc();
        timeBase_ = av_q2d(format_->streams[stream_]->time_base);
        // Times count from the film's first picture: program streams start at half a second or
        // anywhere at all.
        const int64_t start = format_->streams[stream_]->start_time;
        startStamp_ = start == AV_NOPTS_VALUE ? 0 : start;
        return frame_ && packet_;
    }

    std::optional<Frame> next() override {
        for (;;) {
            const int got = avcodec_receive_frame(codec_, frame_);
            if (got == 0) {
                auto picture = convert();
                av_frame_unref(frame_);
                if (picture) return picture;
                continue;
            }
            if (got != AVERROR(EAGAIN)) return std::nullopt;  // the end, or a damaged stream
            if (flushed_) return std::nullopt;
            if (av_read_frame(format_, packet_) < 0) {
                avcodec_send_packet(codec_, nullptr);  // drain what the decoder holds
                flushed_ = true;
                continue;
            }
            if (packet_->stream_index == stream_) avcodec_send_packet(codec_, packet_);
            av_packet_unref(packet_);
        }
    }

private:
    std::optional<Frame> convert() {
        const int w = frame_->width, h = frame_->height;
        if (w <= 0 || h <= 0 || w > kMaxSourceSide || h > kMaxSourceSide) return std::nullopt;
        Frame out;
        out.width = std::min(w, kMaxFrameWidth);
        out.height = std::max(1, static_cast<int>(static_cast<long long>(h) * out.width / w));
        scaler_ = sws_getCachedContext(scaler_, w, h, static_cast<AVPixelFormat>(frame_->format), out.width, out.height,
                                       AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler_) return std::nullopt;
        out.rgba.resize(static_cast<std::size_t>(out.width) * out.height * 4);
        uint8_t* planes[4] = {out.rgba.data(), nullptr, nullptr, nullptr};
        int strides[4] = {out.width * 4, 0, 0, 0};
        sws_scale(scaler_, frame_->data, frame_->linesize, 0, h, planes, strides);
        const int64_t stamp = frame_->best_effort_timestamp;
        out.time = stamp == AV_NOPTS_VALUE ? lastTime_ : std::max(0.0, static_cast<double>(stamp - startStamp_) * timeBase_);
        lastTime_ = out.time;
        return out;
    }

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* scaler_ = nullptr;
    int stream_ = -1;
    double timeBase_ = 0;
    int64_t startStamp_ = 0;
    double lastTime_ = 0;
    bool flushed_ = false;
};

}  // namespace

FrameSourceOpener libavOpener() {
    return [](const std::string& path) -> std::unique_ptr<FrameSource> {
        auto source = std::make_unique<LibavFrameSource>();
        if (!source->open(path)) return nullptr;
        return source;
    };
}

}  // namespace media

#else

namespace media {
FrameSourceOpener libavOpener() { return nullptr; }
}  // namespace media

#endif
