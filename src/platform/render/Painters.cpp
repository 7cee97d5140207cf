#include "platform/render/Painters.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/render/UiHooks.h"

namespace render::paint {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

void roundedRect(cairo_t* cr, const ui::Rect& r, double radius) {
    radius = std::min({radius, r.width() / 2, r.height() / 2});
    if (radius <= 0) {
        cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.maxX() - radius, r.minY() + radius, radius, -kPi / 2, 0);
    cairo_arc(cr, r.maxX() - radius, r.maxY() - radius, radius, 0, kPi / 2);
    cairo_arc(cr, r.minX() + radius, r.maxY() - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, r.minX() + radius, r.minY() + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void fill(cairo_t* cr, const ui::Rect& r, const ui::Color& c, double radius) {
    if (c.isClear() || r.isEmpty()) return;
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
    roundedRect(cr, r, radius);
    cairo_fill(cr);
}

void stroke(cairo_t* cr, const ui::Rect& r, const ui::Color& c, double width, double radius) {
    if (c.isClear() || width <= 0) return;
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
    cairo_set_line_width(cr, width);
    roundedRect(cr, r, radius);
    cairo_stroke(cr);
}

void gradient(cairo_t* cr, const ui::Rect& r, const ui::Color& top, const ui::Color& bottom, double radius) {
    if (r.isEmpty()) return;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, r.minY(), 0, r.maxY());
    cairo_pattern_add_color_stop_rgba(p, 0, top.red, top.green, top.blue, top.alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.red, bottom.green, bottom.blue, bottom.alpha);
    cairo_set_source(cr, p);
    roundedRect(cr, r, radius);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

namespace {

// Scaled copies of a picture, kept with the picture's surface (and freed with it): a screen
// draws the same pictures at the same sizes frame after frame, and scaling with a good filter
// costs far more than copying.
struct ScaledCopies {
    struct Copy {
        int width, height;
        cairo_surface_t* surface;
    };
    std::vector<Copy> copies;
    ~ScaledCopies() {
        for (auto& c : copies) cairo_surface_destroy(c.surface);
    }
};
const cairo_user_data_key_t kScaledKey{};
constexpr std::size_t kMaxCopiesPerPicture = 4;

cairo_surface_t* scaledCopy(cairo_surface_t* s, int width, int height) {
    auto* cache = static_cast<ScaledCopies*>(cairo_surface_get_user_data(s, &kScaledKey));
    if (!cache) {
        cache = new ScaledCopies;
        if (cairo_surface_set_user_data(s, &kScaledKey, cache, [](void* p) { delete static_cast<ScaledCopies*>(p); }) !=
            CAIRO_STATUS_SUCCESS) {
            delete cache;
            return nullptr;
        }
    }
    for (auto& c : cache->copies)
        if (c.width == width && c.height == height) return c.surface;
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(copy);
    cairo_scale(cr, double(width) / cairo_image_surface_get_width(s), double(height) / cairo_image_surface_get_height(s));
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (cache->copies.size() >= kMaxCopiesPerPicture) {
        cairo_surface_destroy(cache->copies.front().surface);
        cache->copies.erase(cache->copies.begin());
    }
    cache->copies.push_back({width, height, copy});
    return copy;
}

// One piece of a picture (source rectangle in pixels) scaled onto a target rectangle.
void imagePiece(cairo_t* cr, cairo_surface_t* s, double sx, double sy, double sw, double sh, const ui::Rect& to,
                double alpha) {
    if (sw <= 0 || sh <= 0 || to.isEmpty()) return;
    cairo_save(cr);
    cairo_rectangle(cr, to.x(), to.y(), to.width(), to.height());
    cairo_clip(cr);
    cairo_translate(cr, to.x(), to.y());

    // A whole picture drawn without rotation goes through a copy at its size on the target.
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    const bool whole = sx == 0 && sy == 0 && sw == cairo_image_surface_get_width(s) && sh == cairo_image_surface_get_height(s);
    const double dw = std::round(to.width() * m.xx), dh = std::round(to.height() * m.yy);
    cairo_surface_t* copy = nullptr;
    if (whole && m.xy == 0 && m.yx == 0 && dw >= 1 && dh >= 1 && dw <= 4096 && dh <= 4096 && (dw != sw || dh != sh))
        copy = scaledCopy(s, static_cast<int>(dw), static_cast<int>(dh));
    if (copy) {
        cairo_scale(cr, to.width() / dw, to.height() / dh);
        cairo_set_source_surface(cr, copy, 0, 0);
    } else {
        cairo_scale(cr, to.width() / sw, to.height() / sh);
        cairo_set_source_surface(cr, s, -sx, -sy);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    }
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    if (alpha < 1)
        cairo_paint_with_alpha(cr, alpha);
    else
        cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace

void image(cairo_t* cr, const ui::Image& img, const ui::Rect& r, double alpha) {
    cairo_surface_t* s = surfaceOf(img);
    if (!s || r.isEmpty()) return;
    const double w = img.width(), h = img.height();
    const double l = std::min<double>(img.leftCapWidth(), w / 2), t = std::min<double>(img.topCapHeight(), h / 2);
    if (l <= 0 && t <= 0) {
        imagePiece(cr, s, 0, 0, w, h, r, alpha);
        return;
    }
    // Caps keep their size (squeezed only when the target is smaller than both caps); the
    // one-pixel middle stretches, as stretchable pictures are made.
    const double cl = std::min(l, r.width() / 2), ct = std::min(t, r.height() / 2);
    const double cr_ = std::min(l > 0 ? w - l - 1 : 0.0, r.width() / 2);
    const double cb = std::min(t > 0 ? h - t - 1 : 0.0, r.height() / 2);
    const double xs[4] = {0, l, l > 0 ? l + 1 : w, w};
    const double ys[4] = {0, t, t > 0 ? t + 1 : h, h};
    const double xd[4] = {r.x(), r.x() + cl, r.maxX() - cr_, r.maxX()};
    const double yd[4] = {r.y(), r.y() + ct, r.maxY() - cb, r.maxY()};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            imagePiece(cr, s, xs[i], ys[j], xs[i + 1] - xs[i], ys[j + 1] - ys[j],
                       ui::Rect{xd[i], yd[j], xd[i + 1] - xd[i], yd[j + 1] - yd[j]}, alpha);
}

void text(cairo_t* cr, const std::string& s, const ui::Font& font, const ui::Color& colour, const ui::Rect& r,
          ui::TextAlignment align, int lines, Ellipsis ellipsis) {
    if (s.empty() || colour.isClear()) return;
    TextStyle style;
    style.font = fontSpec(font);
    style.align = textAlign(align);
    style.maxLines = lines;
    style.ellipsis = ellipsis;
    drawText(cr, s, style, r.x(), r.y(), r.width(), r.height(), rgba(colour));
}

}  // namespace render::paint
