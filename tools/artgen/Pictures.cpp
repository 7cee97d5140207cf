#include "Pictures.h"

#include <algorithm>
#include <cmath>

#include "Draw.h"

namespace artgen {
namespace {

using namespace palette;

// ---- shared faces -------------------------------------------------------------------------

// Buttons are flat faces with the screens' corner radius of 8: a quiet face with a thin border
// under a dark label, or a coloured face under a white one.
constexpr double kRadius = 8;

void quietButton(cairo_t* cr, double x, double y, double w, double h, Rgb face = key) {
    fillRect(cr, x, y, w, h, face, kRadius);
    strokeRect(cr, x, y, w, h, line, 1, kRadius);
}

void colourButton(cairo_t* cr, double x, double y, double w, double h, Rgb face) {
    fillRect(cr, x, y, w, h, face, kRadius);
}

// ---- desk tiles: one pale fill per desk state, a bar of the state's colour on the left ------

void deskTile(cairo_t* cr, double w, double h, Rgb pale, Rgb strong) {
    const double r = 7;
    fillRect(cr, 0, 0, w, h, pale, r);
    cairo_save(cr);
    roundedRect(cr, 0, 0, w, h, r);
    cairo_clip(cr);
    fillRect(cr, 0, 0, 6, h, strong);
    cairo_restore(cr);
    strokeRect(cr, 0, 0, w, h, strong, 1.2, r, 0.55);
}

// ---- the number pad ------------------------------------------------------------------------

struct Box {
    double x, y, w, h;
};

// Key faces at the rectangles where the pad's keys take their touches.
constexpr Box kPadDisplay{38, 76, 174, 42};
constexpr Box kPadBackspace{218, 82, 55, 30};
constexpr Box kPadDigits[10] = {
    {60, 301, 57, 45},                                          // 0
    {60, 128, 57, 45},  {130, 128, 57, 45}, {205, 128, 57, 45},  // 1 2 3
    {60, 184, 57, 45},  {130, 184, 57, 45}, {205, 184, 57, 45},  // 4 5 6
    {60, 243, 57, 45},  {130, 243, 57, 45}, {205, 243, 57, 45},  // 7 8 9
};
constexpr Box kPadPoint{130, 301, 57, 45};
constexpr Box kPadClear{205, 301, 57, 45};
constexpr Box kPadSign{38, 362, 60, 40};
constexpr Box kPadCancel{101, 362, 60, 40};
constexpr Box kPadOk{169, 362, 60, 40};

void padKey(cairo_t* cr, const Box& b) { quietButton(cr, b.x, b.y, b.w, b.h, card); }

void numberPad(cairo_t* cr, double w, double h) {
    // The panel's own corners are rounded by 8; the title sits on the band at the top.
    fillRect(cr, 0, 0, w, h, paper, kRadius);
    cairo_save(cr);
    roundedRect(cr, 0, 0, w, h, kRadius);
    cairo_clip(cr);
    fillRect(cr, 0, 0, w, 64, paleBrand);
    fillRect(cr, 0, 64, w, 3, brand);
    cairo_restore(cr);
    strokeRect(cr, 0, 0, w, h, line, 1.5, kRadius);

    fillRect(cr, kPadDisplay.x, kPadDisplay.y, kPadDisplay.w, kPadDisplay.h, card, 6);
    strokeRect(cr, kPadDisplay.x, kPadDisplay.y, kPadDisplay.w, kPadDisplay.h, line, 1.5, 6);
    padKey(cr, kPadBackspace);  // carries its own label

    for (int d = 0; d < 10; ++d) {
        const Box& b = kPadDigits[d];
        padKey(cr, b);
        glyph(cr, std::to_string(d), b.x, b.y, b.w, b.h, 26, ink);
    }
    padKey(cr, kPadPoint);
    cairo_new_path(cr);
    cairo_arc(cr, kPadPoint.x + kPadPoint.w / 2, kPadPoint.y + kPadPoint.h / 2 + 6, 3.5, 0, 2 * M_PI);
    setColour(cr, ink);
    cairo_fill(cr);
    padKey(cr, kPadClear);
    backspaceSign(cr, kPadClear.x + kPadClear.w / 2, kPadClear.y + kPadClear.h / 2, 30, 20, ink, 2);

    quietButton(cr, kPadSign.x, kPadSign.y, kPadSign.w, kPadSign.h);
    glyph(cr, "+/−", kPadSign.x, kPadSign.y, kPadSign.w, kPadSign.h, 17, ink, true);
    // Cancel and OK carry white labels of their own.
    colourButton(cr, kPadCancel.x, kPadCancel.y, kPadCancel.w, kPadCancel.h, slate);
    colourButton(cr, kPadOk.x, kPadOk.y, kPadOk.w, kPadOk.h, green);
}

// ---- serving-mode badges (18 x 18) -----------------------------------------------------------

void badge(cairo_t* cr, double w, double h, Rgb c) {
    cairo_new_path(cr);
    cairo_arc(cr, w / 2, h / 2, std::min(w, h) / 2 - 0.5, 0, 2 * M_PI);
    setColour(cr, c);
    cairo_fill(cr);
    setColour(cr, card);
}

void fireNow(cairo_t* cr, double w, double h) {
    badge(cr, w, h, green);
    cairo_move_to(cr, w * 0.38, h * 0.27);
    cairo_line_to(cr, w * 0.74, h * 0.5);
    cairo_line_to(cr, w * 0.38, h * 0.73);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void hold(cairo_t* cr, double w, double h) {
    badge(cr, w, h, amber);
    cairo_rectangle(cr, w * 0.32, h * 0.28, w * 0.12, h * 0.44);
    cairo_rectangle(cr, w * 0.56, h * 0.28, w * 0.12, h * 0.44);
    cairo_fill(cr);
}

void hurry(cairo_t* cr, double w, double h) {
    badge(cr, w, h, red);
    cairo_rectangle(cr, w * 0.44, h * 0.2, w * 0.12, h * 0.4);
    cairo_fill(cr);
    cairo_arc(cr, w * 0.5, h * 0.76, w * 0.075, 0, 2 * M_PI);
    cairo_fill(cr);
}

void scheduled(cairo_t* cr, double w, double h) {
    badge(cr, w, h, blue);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, w / 2, h / 2, w * 0.3, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_move_to(cr, w / 2, h * 0.32);
    cairo_line_to(cr, w / 2, h / 2);
    cairo_line_to(cr, w * 0.64, h * 0.58);
    cairo_stroke(cr);
}

void leftOut(cairo_t* cr, double w, double h) {
    badge(cr, w, h, muted);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, w * 0.3, h * 0.7);
    cairo_line_to(cr, w * 0.7, h * 0.3);
    cairo_stroke(cr);
}

// ---- full-screen pictures ----------------------------------------------------------------------

// The welcome background: a plate with a bowl and chopsticks above the name, the lower part
// left calm for the buttons and the toolbar.
void welcome(cairo_t* cr, double w, double h) {
    fillRect(cr, 0, 0, w, h, paper);
    const double u = std::min(w, h * 0.765) / 768;  // one unit of the 768-wide design
    const double cx = w / 2, cy = h * 0.34, r = 210 * u;

    // A wide warm band behind the plate.
    fillRect(cr, 0, cy - 120 * u, w, 240 * u, paleBrand);
    // Plate with its shadow and rim.
    cairo_new_path(cr);
    cairo_arc(cr, cx + 6 * u, cy + 10 * u, r, 0, 2 * M_PI);
    setColour(cr, brandDark, 0.12);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setColour(cr, card);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * 0.78, 0, 2 * M_PI);
    setColour(cr, line);
    cairo_set_line_width(cr, 4 * u);
    cairo_stroke(cr);

    // Bowl: a half disc under its rim on a small foot, steam rising above it.
    const double bw = 190 * u, by = cy - 10 * u;
    cairo_new_path(cr);
    cairo_arc(cr, cx, by, bw / 2, 0, M_PI);
    cairo_close_path(cr);
    setColour(cr, brand);
    cairo_fill(cr);
    fillRect(cr, cx - 40 * u, by + bw / 2 - 8 * u, 80 * u, 14 * u, brandDark, 5 * u);
    fillRect(cr, cx - bw / 2 - 8 * u, by - 7 * u, bw + 16 * u, 14 * u, brandDark, 7 * u);
    cairo_set_line_width(cr, 7 * u);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, muted, 0.55);
    for (int i = -1; i <= 1; ++i) {
        const double sx = cx + i * 42 * u, sy = by - 30 * u;
        cairo_move_to(cr, sx, sy);
        cairo_curve_to(cr, sx - 18 * u, sy - 30 * u, sx + 18 * u, sy - 50 * u, sx, sy - 84 * u);
        cairo_stroke(cr);
    }
    // Chopsticks resting across the rim.
    setColour(cr, ink);
    cairo_set_line_width(cr, 9 * u);
    cairo_move_to(cr, cx + 70 * u, cy - 150 * u);
    cairo_line_to(cr, cx + 250 * u, cy + 40 * u);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + 100 * u, cy - 165 * u);
    cairo_line_to(cr, cx + 268 * u, cy + 20 * u);
    cairo_stroke(cr);

    // The name.
    const double ny = cy + r + 50 * u;
    glyph(cr, "Kovra", 0, ny, w, 110 * u, 92 * u, brand, true);
    fillRect(cr, cx - 60 * u, ny + 120 * u, 120 * u, 5 * u, amber, 2.5 * u);
}

// Header with a well for the title field, for the web page screen in either orientation.
void webBackground(cairo_t* cr, double w, double h, double headerHeight, double fieldX, double fieldY) {
    fillRect(cr, 0, 0, w, h, paper);
    fillRect(cr, 0, 0, w, headerHeight, bar);
    fillRect(cr, 0, headerHeight - 3, w, 3, brand);
    fillRect(cr, fieldX - 2, fieldY - 2, 467 + 4, 31 + 4, card, 6);
}

void backButton(cairo_t* cr, double w, double h) {
    colourButton(cr, 0, 0, w, h, brand);
    chevron(cr, 20, h / 2, 18, -1, card, 3.5);
}

// The strip across the welcome screen, like the other screens' title bars.
void toolbar(cairo_t* cr, double w, double h) {
    fillRect(cr, 0, 0, w, h, bar);
    fillRect(cr, 0, h - 3, w, 3, brand);
}

std::string typed(int type, int number) { return std::to_string(type) + "-" + std::to_string(number) + ".png"; }

}  // namespace

std::vector<Picture> pictures() {
    std::vector<Picture> out;
    // A name is made once: the typed family of type 2 and a fixed name may meet ("2-16.png").
    auto add = [&](std::string name, int w, int h, std::function<void(cairo_t*, double, double)> draw) {
        for (const auto& p : out)
            if (p.name == name) return;
        out.push_back({std::move(name), w, h, std::move(draw)});
    };
    auto welcomeButton = [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, brand); };

    // Pictures with a fixed name.
    add("2-100.png", 300, 1, [](cairo_t* cr, double w, double h) { fillRect(cr, 0, 0, w, h, line); });
    add("2-137.png", 70, 45, [](cairo_t* cr, double w, double h) { deskTile(cr, w, h, paleGreen, green); });
    add("2-138.png", 70, 45, [](cairo_t* cr, double w, double h) { deskTile(cr, w, h, paleAmber, amber); });
    add("2-139.png", 70, 45, [](cairo_t* cr, double w, double h) { deskTile(cr, w, h, paleBrand, brand); });
    add("2-140.png", 70, 45, [](cairo_t* cr, double w, double h) { deskTile(cr, w, h, paleBlue, blue); });
    add("1-21.png", 18, 18, fireNow);
    add("1-22.png", 18, 18, hold);
    add("F2_stLev3.png", 18, 18, scheduled);
    add("1-23.png", 18, 18, hurry);
    add("2-75.png", 18, 18, leftOut);
    add("Default.png", 768, 1004, welcome);
    add("Default-568h@2x.png", 640, 1136, welcome);

    // The family named after the interface type.
    for (int t : kInterfaceTypes) {
        add(typed(t, 2), 768, 60, toolbar);
        add(typed(t, 16), 160, 48, welcomeButton);
        add(typed(t, 4), 768, 1004, [](cairo_t* cr, double w, double h) { webBackground(cr, w, h, 110, 41, 55); });
        add(typed(t, 53), 1024, 748, [](cairo_t* cr, double w, double h) { webBackground(cr, w, h, 116, 53, 62); });
        add(typed(t, 17), 80, 44, backButton);
        add(typed(t, 119), 55, 40, [](cairo_t* cr, double w, double h) { quietButton(cr, 0, 0, w, h); });
        add(typed(t, 136), 320, 420, numberPad);
        add(typed(t, 7), 60, 40, [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, slateDark); });
        add(typed(t, 8), 60, 40, [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, greenDark); });
    }
    // The same button face also serves under a fixed name (the set-meal summary's small buttons).
    add("2-16.png", 160, 48, welcomeButton);
    return out;
}

cairo_surface_t* renderPicture(const Picture& picture) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
    cairo_t* cr = cairo_create(surface);
    picture.draw(cr, picture.width, picture.height);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

}  // namespace artgen
