#include "Draw.h"

#include <algorithm>
#include <cmath>

#include "platform/render/Text.h"

namespace artgen {

void setColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double r, double alpha) {
    cairo_new_path(cr);
    roundedRect(cr, x, y, w, h, r);
    setColour(cr, c, alpha);
    cairo_fill(cr);
}

void strokeRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double width, double r,
                double alpha) {
    // Inset by half the line so the whole stroke lies inside the box.
    const double i = width / 2;
    cairo_new_path(cr);
    roundedRect(cr, x + i, y + i, w - width, h - width, std::max(0.0, r - i));
    setColour(cr, c, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void glyph(cairo_t* cr, const std::string& text, double x, double y, double w, double h, double size, Rgb c,
           bool bold) {
    render::TextStyle style;
    style.font = {kFontFamily, size, bold};
    style.align = render::TextAlign::Center;
    style.ellipsis = render::Ellipsis::None;
    render::drawText(cr, text, style, x, y, w, h, {c.r, c.g, c.b, 1.0});
}

void chevron(cairo_t* cr, double cx, double cy, double size, int direction, Rgb c, double width) {
    const double s = size / 2;
    cairo_new_path(cr);
    switch (direction) {
    case -1: cairo_move_to(cr, cx + s / 2, cy - s); cairo_line_to(cr, cx - s / 2, cy); cairo_line_to(cr, cx + s / 2, cy + s); break;
    case 1: cairo_move_to(cr, cx - s / 2, cy - s); cairo_line_to(cr, cx + s / 2, cy); cairo_line_to(cr, cx - s / 2, cy + s); break;
    case -2: cairo_move_to(cr, cx - s, cy + s / 2); cairo_line_to(cr, cx, cy - s / 2); cairo_line_to(cr, cx + s, cy + s / 2); break;
    default: cairo_move_to(cr, cx - s, cy - s / 2); cairo_line_to(cr, cx, cy + s / 2); cairo_line_to(cr, cx + s, cy - s / 2); break;
    }
    setColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void checkMark(cairo_t* cr, double x, double y, double w, double h, Rgb c, double width) {
    cairo_new_path(cr);
    cairo_move_to(cr, x + w * 0.12, y + h * 0.55);
    cairo_line_to(cr, x + w * 0.40, y + h * 0.82);
    cairo_line_to(cr, x + w * 0.88, y + h * 0.18);
    setColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void backspaceSign(cairo_t* cr, double cx, double cy, double w, double h, Rgb c, double width) {
    const double left = cx - w / 2, right = cx + w / 2, top = cy - h / 2, bottom = cy + h / 2;
    const double tip = left + h / 2;
    cairo_new_path(cr);
    cairo_move_to(cr, left, cy);
    cairo_line_to(cr, tip, top);
    cairo_line_to(cr, right, top);
    cairo_line_to(cr, right, bottom);
    cairo_line_to(cr, tip, bottom);
    cairo_close_path(cr);
    setColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    const double mx = (tip + right) / 2 + 1, d = h * 0.22;
    cairo_move_to(cr, mx - d, cy - d);
    cairo_line_to(cr, mx + d, cy + d);
    cairo_move_to(cr, mx + d, cy - d);
    cairo_line_to(cr, mx - d, cy + d);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

}  // namespace artgen
