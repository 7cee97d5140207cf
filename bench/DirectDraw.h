#pragma once
// What the drawing benchmarks share on their direct side: a package picture scaled once to the
// size it is drawn at, a text laid out with pango in a box, and the clock.

#include <chrono>
#include <cstdlib>
#include <string>

#include <cairo.h>
#include <pango/pangocairo.h>

#include <benchmark/benchmark.h>

#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"

namespace benchdraw {

inline double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The package picture scaled to w x h (the caller destroys it); a missing picture ends the run.
inline cairo_surface_t* scaled(const std::string& name, double w, double h) {
    auto image = ui::Image::named(name);
    if (!image) std::abort();
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(w), int(h));
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, w / image->width(), h / image->height());
    cairo_set_source_surface(cr, render::surfaceOf(*image), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

// The text in black, centred upright in the box and aligned across it as asked.
inline void text(cairo_t* cr, PangoFontDescription* font, const std::string& s, double x, double y, double w, double h,
                 PangoAlignment align = PANGO_ALIGN_CENTER) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, s.c_str(), -1);
    pango_layout_set_width(layout, static_cast<int>(w * PANGO_SCALE));
    pango_layout_set_alignment(layout, align);
    int tw = 0, th = 0;
    pango_layout_get_pixel_size(layout, &tw, &th);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, x, y + (h - th) / 2);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

// The two sides of a drawing benchmark, summed over its iterations.
struct Sides {
    double tree = 0, direct = 0;

    // Ends the tree side begun at `start` by drawing the window into the target; the iteration's
    // time is that side's.
    void treeDrawn(benchmark::State& state, cairo_surface_t* target, const ui::View& window,
                   std::chrono::steady_clock::time_point start) {
        cairo_t* cr = cairo_create(target);
        render::drawView(cr, window);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        tree += t;
    }
    // Times the direct side drawing into the target.
    template <class Draw>
    void directDrawn(cairo_surface_t* target, Draw&& draw) {
        const auto start = std::chrono::steady_clock::now();
        cairo_t* cr = cairo_create(target);
        draw(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        direct += seconds(std::chrono::steady_clock::now() - start);
    }
    // The direct side's time per iteration and the ratio of the two.
    void report(benchmark::State& state) const {
        const double n = static_cast<double>(state.iterations());
        state.counters["direct_ms"] = 1000.0 * direct / n;
        state.counters["ratio_to_direct"] = direct > 0 ? tree / direct : 0;
    }
};

}  // namespace benchdraw
