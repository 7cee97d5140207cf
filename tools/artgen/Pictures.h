#pragma once
// The catalogue of the package's pictures: each name with its size in points (one pixel per
// point, the size the screens draw it at) and how it is drawn.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <cairo.h>

namespace artgen {

// The interface types the terminal can be set to. Pictures named "%i-NN.png" are made once per
// type. The configuration's default and the only value the settings screen stores is 2.
inline constexpr int kInterfaceTypes[] = {2};

struct Picture {
    std::string name;
    int width = 0;
    int height = 0;
    std::function<void(cairo_t*, double width, double height)> draw;
};

std::vector<Picture> pictures();

// The picture drawn into a new ARGB image surface; the caller destroys it.
cairo_surface_t* renderPicture(const Picture& picture);
// The file's bytes: PNG, or a 24-bit BMP for names ending in ".bmp" (opaque pictures only).
std::optional<std::string> encodePicture(const Picture& picture);

}  // namespace artgen
