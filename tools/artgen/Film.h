#pragma once
// Short films made with the system's own encoders (libavcodec and libavformat): the demo
// restaurant's promotional film, and the films the player's tests read.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace artgen {

// One picture to fill, in YUV 4:2:0: `y` is width x height, `u` and `v` half that each way.
struct FilmPicture {
    std::uint8_t* y;
    std::uint8_t* u;
    std::uint8_t* v;
    int yStride, cStride;
    int width, height;
};

struct FilmSpec {
    enum class Kind {
        Mpeg4InMp4,    // MPEG-4 part 2 pictures in an MP4 file
        Mpeg1Program,  // MPEG-1 pictures in an MPEG program stream (".MPG")
    };
    Kind kind = Kind::Mpeg1Program;
    int width = 64, height = 48;  // even
    int frames = 1;
    int rate = 25;  // pictures a second
    std::function<void(int index, const FilmPicture&)> draw;
};

// The whole film file; none when the encoders are missing or fail.
std::optional<std::string> film(const FilmSpec& spec);

// The demo restaurant's promotional film (".MPG"): a few seconds of slowly turning colours.
std::optional<std::string> demoFilm();

}  // namespace artgen
