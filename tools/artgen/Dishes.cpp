#include "Dishes.h"

#include <algorithm>
#include <cmath>

#include "Draw.h"
#include "Pictures.h"

namespace artgen {
namespace {

using namespace palette;

constexpr Rgb kCloths[] = {paleBrand, paleAmber, paleGreen, paleBlue};
constexpr Rgb kFoods[] = {hex(0xC9702E), hex(0xB8432F), hex(0xD9A441), hex(0x7A9A3A),
                          hex(0xE07A4F), hex(0x9C5B34), hex(0xD1573F), hex(0xC99A5B)};
constexpr Rgb kGarnishes[] = {green, red, amber, card};
constexpr Rgb kRice = hex(0xFBF8F0);
constexpr Rgb kBamboo = hex(0xD9B877);
constexpr Rgb kWood = hex(0x8A5A3B);

Rgb shade(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

void disc(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha = 1.0) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setColour(cr, c, alpha);
    cairo_fill(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb c, double alpha = 1.0) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    setColour(cr, c, alpha);
    cairo_fill(cr);
}

// A round plate (or bowl) with its shadow; answers nothing, draws the white face and the rim line.
void roundPlate(cairo_t* cr, double cx, double cy, double r) {
    disc(cr, cx + 3, cy + 4, r, bar, 0.12);
    disc(cr, cx, cy, r, card);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * M_PI);
    setColour(cr, line);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// Small dots of garnish around the centre.
void garnish(cairo_t* cr, double cx, double cy, double r, int seed, Rgb c) {
    for (int i = 0; i < 6; ++i) {
        const double a = (seed * 53 + i * 60) * M_PI / 180;
        disc(cr, cx + std::cos(a) * r * 0.45, cy + std::sin(a) * r * 0.4, r * 0.06, c);
    }
}

// The pieces of food of the plate and the bowl of the built-in demo menu; their pictures are
// committed, so this drawing stays as it is.
void plateOrBowl(cairo_t* cr, double w, double h, int seed, Rgb food, bool soup) {
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) * 0.42;
    cairo_new_path(cr);
    cairo_arc(cr, cx + 3, cy + 4, r, 0, 2 * M_PI);
    setColour(cr, bar, 0.12);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setColour(cr, soup ? brand : card);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * (soup ? 0.86 : 0.8), 0, 2 * M_PI);
    setColour(cr, soup ? card : line);
    if (soup) {
        cairo_fill(cr);
        cairo_arc(cr, cx, cy, r * 0.78, 0, 2 * M_PI);
        setColour(cr, food);
        cairo_fill(cr);
    } else {
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        for (int i = 0; i < 5; ++i) {
            const double a = (seed * 37 + i * 72) * M_PI / 180;
            const double pr = r * (0.28 + 0.05 * ((seed + i) % 3));
            cairo_arc(cr, cx + std::cos(a) * r * 0.28, cy + std::sin(a) * r * 0.24, pr, 0, 2 * M_PI);
            setColour(cr, food, i % 2 ? 0.85 : 1.0);
            cairo_fill(cr);
        }
    }
    garnish(cr, cx, cy, r, seed, kGarnishes[seed % 4]);
}

// A whole fish lying on an oval platter, scallion and chilli strips over it.
void platter(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double cx = w / 2, cy = h / 2, rx = w * 0.46, ry = h * 0.4;
    ellipse(cr, cx + 3, cy + 4, rx, ry, bar, 0.12);
    ellipse(cr, cx, cy, rx, ry, card);
    ellipse(cr, cx, cy, rx * 0.86, ry * 0.8, food, 0.25);  // the sauce
    const double fx = rx * 0.62, fy = ry * 0.42;
    // Tail, then body, then the darker head.
    cairo_new_path(cr);
    cairo_move_to(cr, cx + fx * 0.85, cy);
    cairo_line_to(cr, cx + fx * 1.35, cy - fy * 0.8);
    cairo_line_to(cr, cx + fx * 1.35, cy + fy * 0.8);
    cairo_close_path(cr);
    setColour(cr, shade(food, 0.85));
    cairo_fill(cr);
    ellipse(cr, cx, cy, fx, fy, food);
    ellipse(cr, cx - fx * 0.62, cy, fx * 0.38, fy * 0.8, shade(food, 0.88));
    disc(cr, cx - fx * 0.72, cy - fy * 0.25, fy * 0.16, card);
    disc(cr, cx - fx * 0.72, cy - fy * 0.25, fy * 0.08, ink);
    // Cuts across the back.
    cairo_set_line_width(cr, std::max(1.0, w / 160));
    setColour(cr, shade(food, 0.7));
    for (int i = 0; i < 3; ++i) {
        const double x = cx - fx * 0.15 + i * fx * 0.28;
        cairo_move_to(cr, x - fx * 0.06, cy - fy * 0.7);
        cairo_line_to(cr, x + fx * 0.06, cy + fy * 0.7);
    }
    cairo_stroke(cr);
    // Strips of scallion and chilli.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(1.5, w / 110));
    for (int i = 0; i < 7; ++i) {
        const double x = cx - fx * 0.5 + i * fx * 0.19, y = cy + ((seed + i) % 3 - 1) * fy * 0.25;
        setColour(cr, i % 3 == 1 ? red : green);
        cairo_move_to(cr, x, y - fy * 0.2);
        cairo_line_to(cr, x + fx * 0.1, y + fy * 0.12);
        cairo_stroke(cr);
    }
}

// Curled shrimps around a dip on a round plate.
void seafood(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) * 0.42;
    roundPlate(cr, cx, cy, r);
    const int n = 7;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < n; ++i) {
        const double a = (seed * 29 + i * 360.0 / n) * M_PI / 180;
        const double sx = cx + std::cos(a) * r * 0.52, sy = cy + std::sin(a) * r * 0.52;
        cairo_new_path(cr);
        cairo_arc(cr, sx, sy, r * 0.17, a + 0.4, a + 0.4 + 1.5 * M_PI);
        setColour(cr, food);
        cairo_set_line_width(cr, r * 0.14);
        cairo_stroke(cr);
        disc(cr, sx + std::cos(a + 0.4) * r * 0.17, sy + std::sin(a + 0.4) * r * 0.17, r * 0.07, shade(food, 0.8));
    }
    disc(cr, cx, cy, r * 0.22, line);
    disc(cr, cx, cy, r * 0.17, hex(0x8B3A2B));  // the dipping sauce
    garnish(cr, cx, cy, r * 0.55, seed, green);
}

// Dumplings in a bamboo steamer.
void steamer(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) * 0.44;
    disc(cr, cx + 3, cy + 4, r, bar, 0.15);
    disc(cr, cx, cy, r, kBamboo);
    disc(cr, cx, cy, r * 0.88, shade(kBamboo, 0.85));
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.88, 0, 2 * M_PI);
    cairo_clip(cr);
    setColour(cr, shade(kBamboo, 0.7));
    cairo_set_line_width(cr, 1);
    for (double x = cx - r; x < cx + r; x += r * 0.12) {
        cairo_move_to(cr, x, cy - r);
        cairo_line_to(cr, x, cy + r);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    // Crescents with a pleated edge.
    const int n = 6;
    for (int i = 0; i < n; ++i) {
        const double a = (seed * 17 + i * 360.0 / n) * M_PI / 180;
        const double dx = cx + std::cos(a) * r * 0.5, dy = cy + std::sin(a) * r * 0.5;
        ellipse(cr, dx + 1.5, dy + 2, r * 0.22, r * 0.15, bar, 0.15);
        ellipse(cr, dx, dy, r * 0.22, r * 0.15, food);
        cairo_set_line_width(cr, std::max(1.0, r / 40));
        setColour(cr, shade(food, 0.82));
        for (int k = -2; k <= 2; ++k) {
            cairo_move_to(cr, dx + k * r * 0.06, dy - r * 0.13);
            cairo_line_to(cr, dx + k * r * 0.05, dy - r * 0.04);
        }
        cairo_stroke(cr);
    }
    ellipse(cr, cx, cy, r * 0.22, r * 0.15, food);
}

// A small bowl of rice or noodles with chopsticks across its side.
void riceBowl(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double cx = w * 0.45, cy = h / 2, r = std::min(w, h) * 0.38;
    disc(cr, cx + 3, cy + 4, r, bar, 0.14);
    disc(cr, cx, cy, r, seed % 2 ? brand : blue);
    disc(cr, cx, cy, r * 0.88, card);
    disc(cr, cx, cy, r * 0.8, food);
    // Grains or strands.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(1.5, r / 18));
    setColour(cr, shade(food, 0.9));
    for (int i = 0; i < 24; ++i) {
        const double a = (seed * 41 + i * 97) % 360 * M_PI / 180;
        const double d = r * 0.65 * ((i * 37 + seed) % 10) / 10.0;
        const double x = cx + std::cos(a) * d, y = cy + std::sin(a) * d;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + r * 0.06, y + r * 0.03);
    }
    cairo_stroke(cr);
    garnish(cr, cx, cy, r, seed, green);
    // Chopsticks.
    setColour(cr, kWood);
    cairo_set_line_width(cr, std::max(2.0, w / 70));
    cairo_move_to(cr, w * 0.86, h * 0.12);
    cairo_line_to(cr, w * 0.93, h * 0.9);
    cairo_move_to(cr, w * 0.8, h * 0.13);
    cairo_line_to(cr, w * 0.87, h * 0.91);
    cairo_stroke(cr);
}

// A dessert cup: a pale filling with pieces of fruit and a leaf.
void cup(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) * 0.36;
    disc(cr, cx + 3, cy + 4, r * 1.18, bar, 0.1);
    disc(cr, cx, cy, r * 1.18, card);
    disc(cr, cx, cy, r * 1.02, line);
    disc(cr, cx, cy, r, food);
    for (int i = 0; i < 5; ++i) {
        const double a = (seed * 61 + i * 72) * M_PI / 180;
        const double px = cx + std::cos(a) * r * 0.45, py = cy + std::sin(a) * r * 0.45;
        cairo_new_path(cr);
        cairo_rectangle(cr, px - r * 0.12, py - r * 0.12, r * 0.24, r * 0.24);
        setColour(cr, i % 2 ? amber : hex(0xF0C05A));
        cairo_fill(cr);
    }
    for (int i = 0; i < 14; ++i) {
        const double a = (seed * 23 + i * 53) % 360 * M_PI / 180;
        const double d = r * 0.8 * ((i * 7 + seed) % 10) / 10.0;
        disc(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, r * 0.04, card);
    }
    ellipse(cr, cx + r * 0.1, cy - r * 0.05, r * 0.22, r * 0.1, green);
    disc(cr, cx - r * 0.1, cy, r * 0.1, red);
}

// A drink in a glass, seen from the side, with a straw and a slice on the rim.
void glass(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double gw = std::min(w, h) * 0.5, gh = h * 0.72, x = w / 2 - gw / 2, y = h * 0.16;
    ellipse(cr, w / 2 + 3, y + gh + 2, gw * 0.6, h * 0.05, bar, 0.15);
    // The liquid, then the glass face over it.
    const double level = y + gh * 0.22;
    cairo_new_path(cr);
    cairo_move_to(cr, x + gw * 0.04, level);
    cairo_line_to(cr, x + gw * 0.96, level);
    cairo_line_to(cr, x + gw * 0.88, y + gh);
    cairo_line_to(cr, x + gw * 0.12, y + gh);
    cairo_close_path(cr);
    setColour(cr, food);
    cairo_fill(cr);
    // Bubbles.
    for (int i = 0; i < 8; ++i)
        disc(cr, x + gw * (0.25 + 0.5 * ((i * 37 + seed) % 10) / 10.0), level + gh * 0.1 + i * gh * 0.08, gw * 0.025,
             card, 0.7);
    // The straw.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(2.0, gw / 14));
    setColour(cr, kGarnishes[seed % 2]);
    cairo_move_to(cr, x + gw * 0.6, y + gh * 0.8);
    cairo_line_to(cr, x + gw * 0.82, y - gh * 0.12);
    cairo_stroke(cr);
    // The glass outline and its shine.
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + gw, y);
    cairo_line_to(cr, x + gw * 0.88, y + gh);
    cairo_line_to(cr, x + gw * 0.12, y + gh);
    cairo_close_path(cr);
    setColour(cr, card, 0.25);
    cairo_fill_preserve(cr);
    setColour(cr, muted, 0.8);
    cairo_set_line_width(cr, std::max(1.5, gw / 40));
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, x + gw * 0.14, y + gh * 0.1, gw * 0.07, gh * 0.75);
    setColour(cr, card, 0.5);
    cairo_fill(cr);
    // A slice of lemon or orange on the rim.
    const double sx = x + gw * 0.12, sy = y + gh * 0.04, sr = gw * 0.2;
    disc(cr, sx, sy, sr, hex(0xF2C230));
    disc(cr, sx, sy, sr * 0.8, hex(0xF8E08A));
    cairo_set_line_width(cr, 1);
    setColour(cr, hex(0xF2C230));
    for (int i = 0; i < 6; ++i) {
        cairo_move_to(cr, sx, sy);
        cairo_line_to(cr, sx + std::cos(i * M_PI / 3) * sr * 0.8, sy + std::sin(i * M_PI / 3) * sr * 0.8);
    }
    cairo_stroke(cr);
}

// A set meal on a wooden tray: rice, the main dish, a soup and greens.
void tray(cairo_t* cr, double w, double h, int seed, Rgb food) {
    const double m = std::min(w, h) * 0.06;
    fillRect(cr, m + 3, m + 4, w - 2 * m, h - 2 * m, bar, m, 0.15);
    fillRect(cr, m, m, w - 2 * m, h - 2 * m, kWood, m);
    fillRect(cr, m * 1.6, m * 1.6, w - 3.2 * m, h - 3.2 * m, shade(kWood, 1.15), m * 0.7);
    const double r = std::min(w, h) * 0.2;
    // The main dish, large, on the left.
    const double mx = w * 0.33, my = h * 0.5, mr = r * 1.35;
    roundPlate(cr, mx, my, mr);
    for (int i = 0; i < 5; ++i) {
        const double a = (seed * 37 + i * 72) * M_PI / 180;
        disc(cr, mx + std::cos(a) * mr * 0.28, my + std::sin(a) * mr * 0.24, mr * 0.3, food, i % 2 ? 0.85 : 1.0);
    }
    garnish(cr, mx, my, mr, seed, green);
    // Rice, soup and greens on the right.
    const double rx = w * 0.73;
    disc(cr, rx, h * 0.3, r * 0.85, blue);
    disc(cr, rx, h * 0.3, r * 0.72, kRice);
    disc(cr, rx + w * 0.005, h * 0.72, r * 0.85, brand);
    disc(cr, rx + w * 0.005, h * 0.72, r * 0.74, card);
    disc(cr, rx + w * 0.005, h * 0.72, r * 0.66, hex(0xD9A441));
    disc(cr, w * 0.54, h * 0.2, r * 0.5, card);
    for (int i = 0; i < 4; ++i) ellipse(cr, w * 0.54 + (i - 1.5) * r * 0.15, h * 0.2, r * 0.1, r * 0.3, green);
}

}  // namespace

void drawDish(cairo_t* cr, double w, double h, const DishLook& look) {
    const int seed = std::abs(look.seed);
    const Rgb food = look.food ? *look.food : kFoods[seed % 8];
    fillRect(cr, 0, 0, w, h, kCloths[seed % 4]);
    switch (look.vessel) {
    case Vessel::Plate: plateOrBowl(cr, w, h, seed, food, false); break;
    case Vessel::SoupBowl: plateOrBowl(cr, w, h, seed, food, true); break;
    case Vessel::Platter: platter(cr, w, h, seed, food); break;
    case Vessel::Seafood: seafood(cr, w, h, seed, food); break;
    case Vessel::Steamer: steamer(cr, w, h, seed, food); break;
    case Vessel::RiceBowl: riceBowl(cr, w, h, seed, food); break;
    case Vessel::Cup: cup(cr, w, h, seed, food); break;
    case Vessel::Glass: glass(cr, w, h, seed, food); break;
    case Vessel::Tray: tray(cr, w, h, seed, food); break;
    }
}

std::string dishBitmap(const DishLook& look, int width, int height) {
    const Picture picture{"dish.bmp", width, height,
                          [look](cairo_t* cr, double w, double h) { drawDish(cr, w, h, look); }};
    return encodePicture(picture).value_or(std::string());
}

}  // namespace artgen
