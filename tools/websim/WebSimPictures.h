#pragma once
// The simulator's pictures: each shop's front and each dish of a shop's take-away menu, drawn
// like the demo's other dish pictures.

#include <string>

#include "websim/WebSim.h"

namespace websim {

// What an upload address shows, read from the world.
struct PictureSubject {
    enum class Kind { Other, Shop, Dish } kind = Kind::Other;
    std::string id;       // the shop's or the dish's
    std::string name;
    std::string section;  // a shop's cuisine, a dish's menu section
    int place = 0;        // a shop's place in the world's list
};

PictureSubject pictureSubject(const World& world, const std::string& path);

// The subject drawn as a PNG of kPictureWidth x kPictureHeight; anything else a plain dish.
// Uses no shared text layout state, so it may run on any thread.
std::string drawPicture(const PictureSubject& subject);

inline constexpr int kPictureWidth = 320;
inline constexpr int kPictureHeight = 240;

}  // namespace websim
