#include "platform/render/Text.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>

#include <glib.h>
#include <pango/pangocairo.h>

namespace render {

namespace {

constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";

TextObserver& textObserver() {
    static TextObserver observer;
    return observer;
}

// The glyphs' box of a layout placed at (x, y), in surface pixels and inside the current clip.
DrawnText drawnText(cairo_t* cr, PangoLayout* layout, const std::string& text, const Rgba& colour, double x,
                    double y) {
    PangoRectangle ink;
    pango_layout_get_extents(layout, &ink, nullptr);
    double ux0 = x + double(ink.x) / PANGO_SCALE, uy0 = y + double(ink.y) / PANGO_SCALE;
    double ux1 = ux0 + double(ink.width) / PANGO_SCALE, uy1 = uy0 + double(ink.height) / PANGO_SCALE;
    double cx0, cy0, cx1, cy1;
    cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
    ux0 = std::max(ux0, cx0), uy0 = std::max(uy0, cy0), ux1 = std::min(ux1, cx1), uy1 = std::min(uy1, cy1);
    DrawnText d{text, colour};
    if (ux1 <= ux0 || uy1 <= uy0) return d;
    cairo_user_to_device(cr, &ux0, &uy0);
    cairo_user_to_device(cr, &ux1, &uy1);
    d.x0 = std::min(ux0, ux1), d.x1 = std::max(ux0, ux1), d.y0 = std::min(uy0, uy1), d.y1 = std::max(uy0, uy1);
    return d;
}

// Grey antialiasing, no hinting and unhinted metrics: the same text looks the same at any
// position and on any machine with the same fonts, which keeps the screenshots comparable.
cairo_font_options_t* fontOptions() {
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        return o;
    }();
    return options;
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The installed families, read once from the font map.
const std::set<std::string>& installedFamilies() {
    static const std::set<std::string> families = [] {
        std::set<std::string> names;
        PangoFontFamily** list = nullptr;
        int count = 0;
        pango_font_map_list_families(pango_cairo_font_map_get_default(), &list, &count);
        for (int i = 0; i < count; ++i) names.insert(lower(pango_font_family_get_name(list[i])));
        g_free(list);
        return names;
    }();
    return families;
}

// The measuring context: the same font map and options as drawing on an image surface.
PangoContext* measuringContext() {
    static PangoContext* context = [] {
        PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
        pango_cairo_context_set_font_options(c, fontOptions());
        pango_cairo_context_set_resolution(c, 72.0);
        return c;
    }();
    return context;
}

std::string baseName(const std::string& name) {
    auto dash = name.find('-');
    return dash == std::string::npos ? name : name.substr(0, dash);
}

PangoFontDescription* description(const FontSpec& font) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, fontFamilies(font).c_str());
    pango_font_description_set_weight(d, isBold(font) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(d, std::max(1.0, font.size) * PANGO_SCALE);
    return d;
}

// Pango refuses text that is not UTF-8; anything read from a file may not be.
std::string validText(const std::string& text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return text;
    gchar* fixed = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string out(fixed);
    g_free(fixed);
    return out;
}

void configure(PangoLayout* layout, const std::string& text, const TextStyle& style, double maxWidth,
               double maxHeight) {
    PangoFontDescription* d = description(style.font);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    const std::string valid = validText(text);
    pango_layout_set_text(layout, valid.data(), static_cast<int>(valid.size()));
    pango_layout_set_alignment(layout, style.align == TextAlign::Center  ? PANGO_ALIGN_CENTER
                                       : style.align == TextAlign::Right ? PANGO_ALIGN_RIGHT
                                                                         : PANGO_ALIGN_LEFT);
    if (maxWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(maxWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    // Pango ellipsizes within a height: a negative one counts lines, a positive one is a size.
    // Without either limit an ellipsizing layout would keep to one line, so it does not ellipsize.
    const bool limited = style.maxLines > 0 || maxHeight > 0;
    if (style.ellipsis != Ellipsis::None && maxWidth > 0 && limited) {
        pango_layout_set_ellipsize(layout, style.ellipsis == Ellipsis::Start    ? PANGO_ELLIPSIZE_START
                                           : style.ellipsis == Ellipsis::Middle ? PANGO_ELLIPSIZE_MIDDLE
                                                                                : PANGO_ELLIPSIZE_END);
        pango_layout_set_height(layout, style.maxLines > 0 ? -style.maxLines
                                                           : static_cast<int>(maxHeight * PANGO_SCALE));
    }
}

}  // namespace

bool isBold(const FontSpec& font) {
    return font.bold || lower(font.name).find("bold") != std::string::npos;
}

std::string fontFamilies(const FontSpec& font) {
    std::string families;
    const std::string base = baseName(font.name);
    if (!base.empty() && installedFamilies().count(lower(base))) families = base + ",";
    return families + kCjkFamily + ",sans-serif";
}

TextExtent measureText(const std::string& text, const TextStyle& style, double maxWidth) {
    PangoLayout* layout = pango_layout_new(measuringContext());
    configure(layout, text, style, maxWidth, 0);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    TextExtent extent{double(logical.width) / PANGO_SCALE, double(logical.height) / PANGO_SCALE};
    // A text that is clipped rather than ellipsized still shows only its first lines.
    if (style.maxLines > 0 && pango_layout_get_line_count(layout) > style.maxLines) {
        PangoLayoutIter* it = pango_layout_get_iter(layout);
        for (int i = 1; i < style.maxLines; ++i) pango_layout_iter_next_line(it);
        int y0 = 0, y1 = 0;
        pango_layout_iter_get_line_yrange(it, &y0, &y1);
        pango_layout_iter_free(it);
        extent.height = double(y1 - logical.y) / PANGO_SCALE;
    }
    g_object_unref(layout);
    return extent;
}

double lineHeight(const FontSpec& font) {
    return measureText("Ag", TextStyle{font, TextAlign::Left, 1, Ellipsis::None}).height;
}

void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, double x, double y,
              double w, double h, Rgba colour) {
    if (text.empty() || w <= 0 || h <= 0) return;
    cairo_save(cr);
    // One context for every drawing, brought up to date with the target's transform; making a
    // context per text costs more than laying the text out.
    static PangoContext* context = [] {
        PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
        pango_cairo_context_set_font_options(c, fontOptions());
        return c;
    }();
    pango_cairo_update_context(cr, context);
    PangoLayout* layout = pango_layout_new(context);
    configure(layout, text, style, w, style.maxLines > 0 ? 0 : h);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    const double textHeight = double(logical.height) / PANGO_SCALE;
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    const double top = y + (h - textHeight) / 2;
    const std::optional<Rgba> ink =
        textObserver() ? textObserver()(drawnText(cr, layout, text, colour, x, top)) : colour;
    if (ink) {
        cairo_set_source_rgba(cr, ink->r, ink->g, ink->b, ink->a);
        cairo_move_to(cr, x, top);
        pango_cairo_show_layout(cr, layout);
    }
    g_object_unref(layout);
    cairo_restore(cr);
}

void setTextObserver(TextObserver observer) { textObserver() = std::move(observer); }

void warmUpText() {
    (void)measureText("中A", TextStyle{});
}

}  // namespace render
