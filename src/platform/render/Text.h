#pragma once
// Text through pango: the screens' font names on the installed fonts (WenQuanYi Micro Hei
// carries the Chinese and Latin letters alike), measuring a text, and drawing it into a box.
// Measuring and drawing share one set of font options, so a measured text fits where it is drawn.

#include <functional>
#include <optional>
#include <string>

#include <cairo.h>

namespace render {

struct FontSpec {
    std::string name;   // empty: the system font
    double size = 17;   // points; one point is one pixel of the screen surface
    bool bold = false;
};

enum class TextAlign { Left, Center, Right };
// Where "..." replaces what does not fit; None breaks or clips.
enum class Ellipsis { None, Start, Middle, End };

struct TextStyle {
    FontSpec font;
    TextAlign align = TextAlign::Left;
    int maxLines = 1;          // 0: as many as the box holds
    Ellipsis ellipsis = Ellipsis::End;
};

struct TextExtent {
    double width = 0;
    double height = 0;
};

// The pango family list for a font: the named family when it is installed, then the CJK font,
// then any sans. Names such as "Helvetica-Bold" carry their weight in the name.
std::string fontFamilies(const FontSpec& font);
bool isBold(const FontSpec& font);

// The size of the text laid out in lines no wider than maxWidth (<= 0: one unbroken line per
// paragraph), at most style.maxLines lines.
TextExtent measureText(const std::string& text, const TextStyle& style, double maxWidth = 0);
// The height of one line of the font.
double lineHeight(const FontSpec& font);

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

// Draws the text inside the box (x, y, w, h): lines broken at the box width, vertically centred
// as a label does, clipped to the box; text that does not fit gets "..." as style.ellipsis says.
void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, double x, double y,
              double w, double h, Rgba colour);

// A text as drawText is about to draw it: what it says, its colour, and the box its glyphs cover
// on the target surface (surface pixels, already cut to the clip; empty when nothing shows).
struct DrawnText {
    std::string text;
    Rgba colour;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
// While one is set (on the drawing thread), every text drawn is shown to the observer first,
// which answers the colour to draw it in, or nothing to leave it out: the readability check draws
// a screen without its texts to see what lies under each, and with each text in a colour of its
// own to see which texts show. Null removes it.
using TextObserver = std::function<std::optional<Rgba>(const DrawnText&)>;
void setTextObserver(TextObserver observer);

// Makes sure the fonts are loaded once (the first layout is slow: fontconfig reads its cache).
void warmUpText();

}  // namespace render
