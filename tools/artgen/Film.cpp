#include "Film.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#ifdef ARTGEN_HAVE_LIBAV
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#endif

#include "platform/foundation/FileSystem.h"

namespace artgen {

#ifdef ARTGEN_HAVE_LIBAV

namespace {

// Encodes the pictures into the file at `path`.
bool writeFilm(const FilmSpec& spec, const std::string& path) {
    const bool mp4 = spec.kind == FilmSpec::Kind::Mpeg4InMp4;
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, mp4 ? "mp4" : "mpeg", path.c_str()) < 0) return false;
    const AVCodec* codec = avcodec_find_encoder(mp4 ? AV_CODEC_ID_MPEG4 : AV_CODEC_ID_MPEG1VIDEO);
    AVStream* stream = codec ? avformat_new_stream(out, nullptr) : nullptr;
    AVCodecContext* enc = codec ? avcodec_alloc_context3(codec) : nullptr;
    bool ok = stream && enc;
    if (ok) {
        enc->width = spec.width;
        enc->height = spec.height;
        enc->pix_fmt = AV_PIX_FMT_YUV420P;
        enc->time_base = {1, spec.rate};
        enc->framerate = {spec.rate, 1};
        enc->gop_size = mp4 ? 1 : 12;
        enc->bit_rate = 800000;
        if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        ok = avcodec_open2(enc, codec, nullptr) >= 0 && avcodec_parameters_from_context(stream->codecpar, enc) >= 0;
    }
    if (ok) {
        stream->time_base = enc->time_base;
        ok = avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
    }
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    ok = ok && frame && packet;
    auto drain = [&] {
        while (avcodec_receive_packet(enc, packet) == 0) {
            // Each picture lasts one tick; a last picture without a length would be cut off.
            if (packet->duration == 0) packet->duration = 1;
            av_packet_rescale_ts(packet, enc->time_base, stream->time_base);
            packet->stream_index = stream->index;
            av_interleaved_write_frame(out, packet);
        }
    };
    for (int n = 0; ok && n <= spec.frames; ++n) {
        if (n == spec.frames) {
            avcodec_send_frame(enc, nullptr);
        } else {
            frame->format = enc->pix_fmt;
            frame->width = spec.width;
            frame->height = spec.height;
            ok = av_frame_get_buffer(frame, 0) >= 0;
            if (ok && spec.draw)
                spec.draw(n, FilmPicture{frame->data[0], frame->data[1], frame->data[2], frame->linesize[0],
                                         frame->linesize[1], spec.width, spec.height});
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

}  // namespace

std::optional<std::string> film(const FilmSpec& spec) {
    if (spec.width <= 0 || spec.height <= 0 || spec.width % 2 || spec.height % 2 || spec.frames < 1 || spec.rate < 1)
        return std::nullopt;
    // The muxers write files (an MP4 goes back to its start): the film is made in a temporary one.
    std::error_code unusable;
    std::filesystem::path folder = std::filesystem::temp_directory_path(unusable);
    if (unusable) folder = "/tmp";
    std::string path = (folder / "kovra-film-XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0) return std::nullopt;
    ::close(fd);
    std::optional<std::string> bytes;
    // The encoders' notes (a program stream's guessed buffer size, say) are nobody's business.
    const int level = av_log_get_level();
    av_log_set_level(AV_LOG_ERROR);
    if (writeFilm(spec, path)) bytes = platform::fs::readAll(path, 64u << 20);
    av_log_set_level(level);
    ::unlink(path.c_str());
    return bytes;
}

#else

std::optional<std::string> film(const FilmSpec&) { return std::nullopt; }

#endif

std::optional<std::string> demoFilm() {
    FilmSpec spec;
    spec.kind = FilmSpec::Kind::Mpeg1Program;
    spec.width = 320;
    spec.height = 240;
    spec.rate = 25;
    spec.frames = 3 * spec.rate;
    spec.draw = [](int n, const FilmPicture& p) {
        // Light falling from the left, and colours turning once over the film.
        const double turn = 2 * M_PI * n / 75.0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                p.y[y * p.yStride + x] = static_cast<std::uint8_t>(60 + 150 * (p.width - x) / p.width);
        for (int y = 0; y < p.height / 2; ++y)
            for (int x = 0; x < p.width / 2; ++x) {
                const double a = turn + 2.0 * (x + y) / p.width;
                p.u[y * p.cStride + x] = static_cast<std::uint8_t>(128 + 60 * std::cos(a));
                p.v[y * p.cStride + x] = static_cast<std::uint8_t>(128 + 60 * std::sin(a));
            }
    };
    return film(spec);
}

}  // namespace artgen
