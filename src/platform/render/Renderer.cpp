#include "platform/render/Renderer.h"

#include <cmath>

#include "platform/foundation/FileSystem.h"
#include "platform/render/Painters.h"
#include "platform/render/Png.h"
#include "platform/ui/Animation.h"

namespace render {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The transition of a view, drawn as a change of its coordinates: a flip turns the view about its
// vertical axis (it narrows to an edge halfway, when its new content is already in place); a page
// curl lifts the view away from one edge, showing the page's pale back along the fold.
struct TransitionDraw {
    bool clip = false;
    ui::Rect visible;
    bool fold = false;
    ui::Rect foldBand;
};

TransitionDraw applyTransition(cairo_t* cr, const ui::View& view, const ui::Rect& frame) {
    TransitionDraw t;
    const auto state = ui::Animation::transitionOf(view);
    const double p = std::clamp(state.progress, 0.0, 1.0);
    const double w = frame.width(), h = frame.height();
    switch (state.transition) {
    case ui::Animation::Transition::FlipFromLeft:
    case ui::Animation::Transition::FlipFromRight: {
        const double sx = std::max(0.02, std::fabs(std::cos(kPi * p)));
        cairo_translate(cr, w / 2, h / 2);
        cairo_scale(cr, sx, 1);
        cairo_translate(cr, -w / 2, -h / 2);
        break;
    }
    case ui::Animation::Transition::CurlUp: {
        // The bottom edge lifts towards the top.
        const double rest = h * (1 - p);
        t.clip = true;
        t.visible = {0, 0, w, rest};
        t.fold = p > 0 && p < 1;
        t.foldBand = {0, std::max(0.0, rest - h * 0.08), w, std::min(rest, h * 0.08)};
        break;
    }
    case ui::Animation::Transition::CurlDown: {
        const double gone = h * (1 - p);
        t.clip = true;
        t.visible = {0, h - gone, w, gone};
        t.fold = p > 0 && p < 1;
        t.foldBand = {0, h - gone, w, std::min(gone, h * 0.08)};
        break;
    }
    case ui::Animation::Transition::None: break;
    }
    return t;
}

void drawTree(cairo_t* cr, const ui::View& view) {
    if (view.isHidden()) return;
    const double alpha = std::clamp(view.presentationAlpha(), 0.0, 1.0);
    if (alpha <= 0.0) return;
    const ui::Rect frame = view.presentationFrame();

    cairo_save(cr);
    cairo_translate(cr, frame.x(), frame.y());
    const ui::Transform tr = view.transform();
    if (!tr.isIdentity()) {
        // The transform applies about the centre of the frame.
        const double cx = frame.width() / 2, cy = frame.height() / 2;
        cairo_translate(cr, cx, cy);
        cairo_matrix_t m;
        cairo_matrix_init(&m, tr.a, tr.b, tr.c, tr.d, tr.tx, tr.ty);
        cairo_transform(cr, &m);
        cairo_translate(cr, -cx, -cy);
    }
    const TransitionDraw transition = applyTransition(cr, view, frame);
    if (transition.clip) {
        cairo_rectangle(cr, transition.visible.x(), transition.visible.y(), transition.visible.width(),
                        transition.visible.height());
        cairo_clip(cr);
    }
    // Translucent views are drawn whole into a group, so overlapping children do not show
    // through each other.
    const bool group = alpha < 1.0;
    if (group) cairo_push_group(cr);

    const ui::Rect local{0, 0, frame.width(), frame.height()};
    const double radius = view.cornerRadius();
    if (view.clipsToBounds()) {
        paint::roundedRect(cr, local, radius);
        cairo_clip(cr);
    }
    const ui::Color bg = view.backgroundColor();
    if (!bg.isClear()) paint::fill(cr, local, bg, radius);
    paint::content(cr, view);

    if (!view.subviews().empty()) {
        const ui::Point origin = view.bounds().origin;
        cairo_save(cr);
        cairo_translate(cr, -origin.x, -origin.y);
        for (const auto& sub : view.subviews()) drawTree(cr, *sub);
        cairo_restore(cr);
    }
    paint::overlay(cr, view);
    if (view.borderWidth() > 0)
        paint::stroke(cr, local.insetBy(view.borderWidth() / 2, view.borderWidth() / 2), view.borderColor(),
                      view.borderWidth(), radius);
    if (transition.fold) paint::gradient(cr, transition.foldBand, ui::Color::white(0.97), ui::Color::white(0.75));

    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
    cairo_restore(cr);
}

}  // namespace

void drawView(cairo_t* cr, const ui::View& view) {
    drawTree(cr, view);
}

cairo_surface_t* drawWindow(const ui::Window& window, double scale) {
    const ui::Rect f = window.frame();
    const int w = std::max(1, static_cast<int>(std::lround(f.width() * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(f.height() * scale)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -f.x(), -f.y());
    drawTree(cr, window);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

bool saveScreenshot(const ui::Window& window, const std::string& path) {
    cairo_surface_t* surface = drawWindow(window, 1.0);
    const bool ok = writePng(surface, path);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace render
