#include "websim/WebSimPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Dishes.h"
#include "Draw.h"
#include "Pictures.h"

namespace websim {

namespace {

using artgen::DishLook;
using artgen::Rgb;
using artgen::Vessel;
using namespace artgen::palette;

// A seed that stays the same from run to run for the same id; small, as the drawing multiplies it
// into angles.
int seedOf(const std::string& id) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : id) h = (h ^ c) * 16777619u;
    return static_cast<int>(h & 0xffff);
}

// What a dish is served in, and its colour where the name tells it: the first rule whose word is
// in the name. Colour 0 leaves the colour to the seed.
struct DishRule {
    const char* word;
    Vessel vessel;
    unsigned colour;
};
constexpr DishRule kDishRules[] = {
    {"酸梅", Vessel::Glass, 0x6B2A22},    {"黄瓜", Vessel::Plate, 0x5E9A3A},   {"水煮", Vessel::SoupBowl, 0xB83A24},
    {"口水鸡", Vessel::Plate, 0xC4472E},  {"宫保", Vessel::Plate, 0xB8532F},   {"回锅", Vessel::Plate, 0x9C5B34},
    {"果汁", Vessel::Glass, 0},           {"奶茶", Vessel::Glass, 0},          {"汤", Vessel::SoupBowl, 0},
    {"粥", Vessel::SoupBowl, 0},          {"羹", Vessel::SoupBowl, 0},         {"火锅", Vessel::SoupBowl, 0},
    {"鱼", Vessel::Platter, 0},           {"虾", Vessel::Seafood, 0},          {"蟹", Vessel::Seafood, 0},
    {"贝", Vessel::Seafood, 0},           {"饺", Vessel::Steamer, 0},          {"包", Vessel::Steamer, 0},
    {"套餐", Vessel::Tray, 0},            {"饭", Vessel::RiceBowl, 0},         {"面", Vessel::RiceBowl, 0},
    {"布丁", Vessel::Cup, 0},             {"冰", Vessel::Cup, 0},
};

DishLook dishLook(const std::string& name, const std::string& section, int seed) {
    DishLook look{Vessel::Plate, seed, std::nullopt};
    for (const DishRule& rule : kDishRules) {
        if (name.find(rule.word) == std::string::npos) continue;
        look.vessel = rule.vessel;
        if (rule.colour) look.food = artgen::hex(rule.colour);
        return look;
    }
    if (section.find("饮") != std::string::npos) look.vessel = Vessel::Glass;
    else if (section.find("汤") != std::string::npos) look.vessel = Vessel::SoupBowl;
    return look;
}

// The dish a shop of the cuisine shows in its window.
DishLook signatureDish(const std::string& cuisine, int seed) {
    if (cuisine.find("粤") != std::string::npos) return {Vessel::Steamer, seed, std::nullopt};
    if (cuisine.find("锅") != std::string::npos) return {Vessel::SoupBowl, seed, artgen::hex(0xB83A24)};
    if (cuisine.find("西") != std::string::npos) return {Vessel::Platter, seed, std::nullopt};
    return {Vessel::Plate, seed, std::nullopt};
}

constexpr Rgb kFronts[] = {brand, goPlate, blue, amber, slate, red, brandDark, greenDark};

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// The name on the sign board, as large as fits. Drawn with cairo's own text so that no layout
// state is shared with a screen drawing on another thread.
void signText(cairo_t* cr, const std::string& text, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_select_font_face(cr, artgen::kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    double size = h * 0.62;
    cairo_text_extents_t e;
    for (;;) {
        cairo_set_font_size(cr, size);
        cairo_text_extents(cr, text.c_str(), &e);
        if (e.width <= w * 0.86 || size < 8) break;
        size *= 0.9;
    }
    artgen::setColour(cr, card);
    cairo_move_to(cr, x + (w - e.width) / 2 - e.x_bearing, y + (h - e.height) / 2 - e.y_bearing);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
}

// A shop front: the sign board with the name, a striped awning, a window with the cuisine's dish
// and a door, in the shop's own colour.
void drawShop(cairo_t* cr, double w, double h, const PictureSubject& shop) {
    const Rgb colour = kFronts[shop.place % std::size(kFronts)];
    artgen::fillRect(cr, 0, 0, w, h, mix(colour, card, 0.82));
    // The pavement.
    artgen::fillRect(cr, 0, h * 0.93, w, h * 0.07, line);

    // The sign board.
    const double sx = w * 0.06, sy = h * 0.05, sw = w * 0.88, sh = h * 0.24;
    artgen::fillRect(cr, sx + 2, sy + 3, sw, sh, bar, 6, 0.2);
    artgen::fillRect(cr, sx, sy, sw, sh, bar, 6);
    artgen::strokeRect(cr, sx + 5, sy + 5, sw - 10, sh - 10, amber, 1.5, 4);
    signText(cr, shop.name, sx, sy, sw, sh);

    // The awning: stripes with a scalloped hem.
    const int stripes = 8;
    const double ax = w * 0.03, ay = h * 0.33, aw = w * 0.94, ah = h * 0.11, stripe = aw / stripes;
    artgen::fillRect(cr, ax + 2, ay + 3, aw, ah + stripe / 2, bar, 0, 0.12);
    for (int i = 0; i < stripes; ++i) {
        const Rgb c = i % 2 ? card : colour;
        artgen::fillRect(cr, ax + i * stripe, ay, stripe, ah, c);
        cairo_new_path(cr);
        cairo_arc(cr, ax + (i + 0.5) * stripe, ay + ah, stripe / 2, 0, M_PI);
        artgen::setColour(cr, c);
        cairo_fill(cr);
    }

    // The window, with the cuisine's dish behind the glass.
    const double wx = w * 0.08, wy = h * 0.55, ww = w * 0.54, wh = h * 0.35, frame = 5;
    artgen::fillRect(cr, wx - frame, wy - frame, ww + 2 * frame, wh + 2 * frame, bar, 3);
    cairo_save(cr);
    cairo_rectangle(cr, wx, wy, ww, wh);
    cairo_clip(cr);
    cairo_translate(cr, wx, wy);
    artgen::drawDish(cr, ww, wh, signatureDish(shop.section, seedOf(shop.id)));
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, wx + ww * 0.55, wy);
    cairo_line_to(cr, wx + ww * 0.75, wy);
    cairo_line_to(cr, wx + ww * 0.45, wy + wh);
    cairo_line_to(cr, wx + ww * 0.25, wy + wh);
    cairo_close_path(cr);
    artgen::setColour(cr, card, 0.18);
    cairo_fill(cr);

    // The door.
    const double dx = w * 0.69, dy = h * 0.53, dw = w * 0.22, dh = h * 0.40;
    artgen::fillRect(cr, dx - 4, dy - 4, dw + 8, dh + 4, bar, 3);
    artgen::fillRect(cr, dx, dy, dw, dh, mix(colour, bar, 0.25));
    artgen::fillRect(cr, dx + dw * 0.18, dy + dh * 0.1, dw * 0.64, dh * 0.38, card, 3, 0.55);
    cairo_new_path(cr);
    cairo_arc(cr, dx + dw * 0.8, dy + dh * 0.62, dw * 0.06, 0, 2 * M_PI);
    artgen::setColour(cr, amber);
    cairo_fill(cr);
}

}  // namespace

PictureSubject pictureSubject(const World& world, const std::string& path) {
    PictureSubject subject;
    for (std::size_t i = 0; i < world.shops.size(); ++i) {
        const Shop& shop = world.shops[i];
        if (shop.picture == path) {
            subject.kind = PictureSubject::Kind::Shop;
            subject.id = shop.id;
            subject.name = shop.name;
            subject.section = shop.sortname;
            subject.place = static_cast<int>(i);
            return subject;
        }
        for (const auto& food : shop.foods) {
            if (!food.is_object() || food.value("Picture", std::string()) != path) continue;
            subject.kind = PictureSubject::Kind::Dish;
            subject.id = food.value("FoodID", std::string());
            subject.name = food.value("Name", std::string());
            const std::string type = food.value("FoodType", std::string());
            for (const auto& t : shop.foodtypes)
                if (t.is_object() && t.value("SortID", std::string()) == type)
                    subject.section = t.value("SortName", std::string());
            return subject;
        }
    }
    return subject;
}

std::string drawPicture(const PictureSubject& subject) {
    artgen::Picture picture{"picture.png", kPictureWidth, kPictureHeight, nullptr};
    switch (subject.kind) {
    case PictureSubject::Kind::Shop:
        picture.draw = [&subject](cairo_t* cr, double w, double h) { drawShop(cr, w, h, subject); };
        break;
    case PictureSubject::Kind::Dish:
        picture.draw = [&subject](cairo_t* cr, double w, double h) {
            artgen::drawDish(cr, w, h, dishLook(subject.name, subject.section, seedOf(subject.id)));
        };
        break;
    case PictureSubject::Kind::Other:
        picture.draw = [](cairo_t* cr, double w, double h) { artgen::drawDish(cr, w, h, {}); };
        break;
    }
    return artgen::encodePicture(picture).value_or(std::string());
}

}  // namespace websim
