#include "Pictures.h"

#include <algorithm>
#include <cmath>

#include "Dishes.h"
#include "Draw.h"
#include "LittleEndian.h"
#include "platform/render/Png.h"

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
constexpr Box kPadWholeZero{60, 301, 127, 45};  // a whole-number pad's zero, over the point's place
constexpr Box kPadClear{205, 301, 57, 45};
constexpr Box kPadSign{38, 362, 60, 40};
constexpr Box kPadCancel{101, 362, 60, 40};
constexpr Box kPadOk{169, 362, 60, 40};

void padKey(cairo_t* cr, const Box& b) { quietButton(cr, b.x, b.y, b.w, b.h, card); }

// A whole-number pad has no point key: its zero key spans the point's place.
void numberPad(cairo_t* cr, double w, double h, bool whole) {
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
        const Box& b = d == 0 && whole ? kPadWholeZero : kPadDigits[d];
        padKey(cr, b);
        glyph(cr, std::to_string(d), b.x, b.y, b.w, b.h, 26, ink);
    }
    if (!whole) {
        padKey(cr, kPadPoint);
        cairo_new_path(cr);
        cairo_arc(cr, kPadPoint.x + kPadPoint.w / 2, kPadPoint.y + kPadPoint.h / 2 + 6, 3.5, 0, 2 * M_PI);
        setColour(cr, ink);
        cairo_fill(cr);
    }
    padKey(cr, kPadClear);
    backspaceSign(cr, kPadClear.x + kPadClear.w / 2, kPadClear.y + kPadClear.h / 2, 30, 20, ink, 2);

    quietButton(cr, kPadSign.x, kPadSign.y, kPadSign.w, kPadSign.h);
    glyph(cr, "+/−", kPadSign.x, kPadSign.y, kPadSign.w, kPadSign.h, 17, ink, true);
    // Cancel and OK carry white labels of their own.
    colourButton(cr, kPadCancel.x, kPadCancel.y, kPadCancel.w, kPadCancel.h, slate);
    colourButton(cr, kPadOk.x, kPadOk.y, kPadOk.w, kPadOk.h, goPlate);
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

// ---- small marks and faces of the menu, order list and editors ---------------------------------

// A round mark with a white check, or a bare check where the mark lies on a button of its own.
void checkBadge(cairo_t* cr, double w, double h) {
    fillRect(cr, 1, 1, w - 2, h - 2, green, std::min(w, h) / 2 - 1);
    checkMark(cr, w * 0.2, h * 0.22, w * 0.6, h * 0.56, card, 2.4);
}

void deleteBadge(cairo_t* cr, double w, double h) {
    badge(cr, w, h, red);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double d = w * 0.2;
    cairo_move_to(cr, w / 2 - d, h / 2 - d);
    cairo_line_to(cr, w / 2 + d, h / 2 + d);
    cairo_move_to(cr, w / 2 + d, h / 2 - d);
    cairo_line_to(cr, w / 2 - d, h / 2 + d);
    cairo_stroke(cr);
}

// Plus and minus of a dish tile: the plus on the accent, the minus quiet.
void plusMinus(cairo_t* cr, double w, double h, bool plus) {
    if (plus) colourButton(cr, 0, 0, w, h, brand);
    else quietButton(cr, 0, 0, w, h);
    setColour(cr, plus ? card : ink);
    const double arm = std::min(w, h) * 0.26, t = std::max(2.0, std::min(w, h) * 0.1);
    cairo_rectangle(cr, w / 2 - arm, h / 2 - t / 2, 2 * arm, t);
    if (plus) cairo_rectangle(cr, w / 2 - t / 2, h / 2 - arm, t, 2 * arm);
    cairo_fill(cr);
}

// A chosen tab or item: pale accent with a bar of the accent along its lower edge.
void chosenFace(cairo_t* cr, double w, double h, Rgb pale, Rgb strong) {
    fillRect(cr, 0, 0, w, h, pale, kRadius);
    strokeRect(cr, 0, 0, w, h, strong, 1.5, kRadius);
}

// The category chooser's headers: a quiet face with a small chevron in the lower right corner
// (the name label covers the rest).
void categoryHeader(cairo_t* cr, double w, double h, bool open) {
    fillRect(cr, 0, 0, w, h, key);
    fillRect(cr, 0, h - 1, w, 1, line);
    chevron(cr, w - 8, h - 9, 7, open ? 2 : 1, muted, 1.8);
}

// The ordered-dish mark: a corner flag in the accent with a white check.
void orderedMark(cairo_t* cr, double w, double h) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, w, 0);
    cairo_line_to(cr, 0, h);
    cairo_close_path(cr);
    setColour(cr, brand);
    cairo_fill(cr);
    checkMark(cr, w * 0.08, h * 0.1, w * 0.42, h * 0.36, card, 2.6);
}

// The pull-to-refresh arrow, pointing down.
void refreshArrow(cairo_t* cr, double w, double h) {
    setColour(cr, blue);
    cairo_rectangle(cr, w / 2 - 3, 2, 6, h - 16);
    cairo_fill(cr);
    cairo_move_to(cr, 2, h - 20);
    cairo_line_to(cr, w - 2, h - 20);
    cairo_line_to(cr, w / 2, h - 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// The map callout: a white card under black labels.
void callout(cairo_t* cr, double w, double h) {
    fillRect(cr, 2, 3, w - 2, h - 3, bar, 10, 0.15);
    fillRect(cr, 0, 0, w - 2, h - 3, card, 10);
    strokeRect(cr, 0, 0, w - 2, h - 3, line, 1, 10);
    fillRect(cr, 0, 0, 5, h - 3, brand, 0);
}

// ---- dish pictures of the built-in demo menu ---------------------------------------------------

// A plated dish seen from above on a tablecloth; `seed` varies the food's colours and garnish,
// `soup` serves it in a bowl.
void demoDish(cairo_t* cr, double w, double h, int seed, bool soup) {
    drawDish(cr, w, h, {soup ? Vessel::SoupBowl : Vessel::Plate, seed, std::nullopt});
}

// The tile of a dish that has no picture: a plate outline on the background.
void noPicture(cairo_t* cr, double w, double h) {
    fillRect(cr, 0, 0, w, h, paper);
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) * 0.32;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setColour(cr, line);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r * 0.62, 0, 2 * M_PI);
    cairo_set_line_width(cr, 2);
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

// A quiet face with a left chevron at its left; the title (dark, as on every quiet button) sits
// right of the chevron.
void backButton(cairo_t* cr, double w, double h) {
    quietButton(cr, 0, 0, w, h);
    chevron(cr, 16, h / 2, 16, -1, ink, 3);
}

// The strip along the foot of the welcome screen under its two buttons, in the title bars' colour
// with the accent line on the side that faces the screen.
void toolbar(cairo_t* cr, double w, double h) {
    fillRect(cr, 0, 0, w, h, bar);
    fillRect(cr, 0, 0, w, 3, brand);
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

    // The order list, the dish menu and the line editors.
    add("1-24.png", 24, 23, checkBadge);
    add("2-144.png", 20, 20, deleteBadge);
    add("1-43.png", 51, 29, [](cairo_t* cr, double w, double h) { quietButton(cr, 0, 0, w, h); });
    add("1-46.png", 28, 18, [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, brand); });
    add("1-25.png", 40, 40, orderedMark);
    add("1-31.png", 60, 35, [](cairo_t* cr, double w, double h) { quietButton(cr, 0, 0, w, h, card); });
    add("2-82.png", 75, 40, [](cairo_t* cr, double w, double h) { quietButton(cr, 0, 0, w, h, card); });
    add("2-83.png", 21, 18, [](cairo_t* cr, double w, double h) { checkMark(cr, 1, 1, w - 2, h - 2, green, 3); });
    add("2-126.png", 94, 40, [](cairo_t* cr, double w, double h) { quietButton(cr, 0, 0, w, h, card); });
    add("2-130.png", 320, 30, [](cairo_t* cr, double w, double h) {
        fillRect(cr, 0, 0, w, h, paleBrand);
        fillRect(cr, 0, 0, 5, h, brand);
    });
    add("blueArrow.png", 30, 55, refreshArrow);

    // Dish pictures: the stand-in for a dish without one, and the built-in demo menu's dishes,
    // by dish id ("0%it.bmp": 4001-4011 the hot dishes, 9001-9004 the soups) and by picture
    // number ("t%it.bmp": the dish's number in the menu plus one, 2-12).
    // The same dishes large, for the detail view ("0%i.bmp"), with its own stand-in.
    struct DishSize {
        const char* suffix;
        const char* stand_in;
        int w, h;
    };
    for (const DishSize& size : {DishSize{"t.bmp", "nopic1.bmp", 210, 158}, DishSize{".bmp", "nopic2.bmp", 320, 240}}) {
        add(size.stand_in, size.w, size.h, noPicture);
        for (int i = 0; i < 15; ++i) {
            const bool soup = i >= 11;
            add("0" + std::to_string(soup ? 9001 + i - 11 : 4001 + i) + size.suffix, size.w, size.h,
                [i, soup](cairo_t* cr, double w, double h) { demoDish(cr, w, h, i, soup); });
        }
    }
    for (int n = 2; n <= 12; ++n)
        add("t" + std::to_string(n) + "t.bmp", 210, 158,
            [n](cairo_t* cr, double w, double h) { demoDish(cr, w, h, n - 2, false); });

    // The family named after the interface type.
    for (int t : kInterfaceTypes) {
        add(typed(t, 2), 768, 88, toolbar);
        add(typed(t, 16), 200, 56, welcomeButton);
        add(typed(t, 4), 768, 1004, [](cairo_t* cr, double w, double h) { webBackground(cr, w, h, 110, 41, 55); });
        add(typed(t, 53), 1024, 748, [](cairo_t* cr, double w, double h) { webBackground(cr, w, h, 116, 53, 62); });
        add(typed(t, 17), 110, 44, backButton);
        add(typed(t, 119), 55, 40, [](cairo_t* cr, double w, double h) { quietButton(cr, 0, 0, w, h); });
        add(typed(t, 136), 320, 420, [](cairo_t* cr, double w, double h) { numberPad(cr, w, h, false); });
        add(std::to_string(t) + "-136-whole.png", 320, 420,
            [](cairo_t* cr, double w, double h) { numberPad(cr, w, h, true); });
        add(typed(t, 7), 60, 40, [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, slateDark); });
        add(typed(t, 31), 60, 40, [](cairo_t* cr, double w, double h) { strokeRect(cr, 0, 0, w, h, brand, 3, kRadius); });
        add(typed(t, 48), 100, 44, [](cairo_t* cr, double w, double h) { chosenFace(cr, w, h, paleBrand, brand); });
        add(typed(t, 49), 98, 30, [](cairo_t* cr, double w, double h) { chosenFace(cr, w, h, paleGreen, green); });
        add(typed(t, 54), 942, 37, [](cairo_t* cr, double w, double h) {
            fillRect(cr, 0, 0, w, h, card);
            fillRect(cr, 0, h - 1, w, 1, line);
        });
        add(typed(t, 55), 942, 37, [](cairo_t* cr, double w, double h) {
            fillRect(cr, 0, 0, w, h, paper);
            fillRect(cr, 0, h - 1, w, 1, line);
        });
        add(typed(t, 108), 45, 30, [](cairo_t* cr, double w, double h) { plusMinus(cr, w, h, false); });
        add(typed(t, 109), 45, 30, [](cairo_t* cr, double w, double h) { plusMinus(cr, w, h, true); });
        add(typed(t, 110), 65, 40, [](cairo_t* cr, double w, double h) {
            fillRect(cr, 0, 0, w, h, paleBrand);
            fillRect(cr, 0, 0, 4, h, brand);
        });
        add(typed(t, 111), 65, 40, [](cairo_t* cr, double w, double h) {
            fillRect(cr, 0, 0, w, h, card);
            fillRect(cr, 0, h - 1, w, 1, line);
        });
        add(typed(t, 117), 60, 26, [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, red); });
        add(typed(t, 120), 65, 45, [](cairo_t* cr, double w, double h) { categoryHeader(cr, w, h, false); });
        add(typed(t, 121), 65, 45, [](cairo_t* cr, double w, double h) { categoryHeader(cr, w, h, true); });
        add(typed(t, 131), 250, 100, callout);
        add(typed(t, 8), 60, 40, [](cairo_t* cr, double w, double h) { colourButton(cr, 0, 0, w, h, greenDark); });
    }
    // The same button face also serves under a fixed name (the set-meal summary's small buttons).
    add("2-16.png", 200, 56, welcomeButton);
    return out;
}

namespace {

// A 24-bit bottom-up BMP of an opaque surface.
std::string encodeBmp(cairo_surface_t* surface) {
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const unsigned rowBytes = (static_cast<unsigned>(w) * 3 + 3) / 4 * 4;
    std::string out = "BM";
    put32(out, 54 + rowBytes * h);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, w);
    put32(out, h);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, rowBytes * h);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const unsigned char* row = data + y * stride;
        for (int x = 0; x < w; ++x) out.append(reinterpret_cast<const char*>(row + 4 * x), 3);  // B, G, R
        out.append(rowBytes - 3 * w, '\0');
    }
    return out;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::optional<std::string> encodePicture(const Picture& picture) {
    cairo_surface_t* surface = renderPicture(picture);
    std::optional<std::string> bytes;
    if (endsWith(picture.name, ".bmp")) bytes = encodeBmp(surface);
    else bytes = render::encodePng(surface);
    cairo_surface_destroy(surface);
    return bytes;
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
