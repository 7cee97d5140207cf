// Drawing a full screen (768 x 1024) of 20 picture buttons with Chinese titles through the view
// tree, against cairo and pango drawing the same pictures (scaled once beforehand, as the tree
// keeps its scaled copies) and texts directly in the same run. Reports the time of one frame through the tree, the ratio to the direct drawing, and the share
// of a 60 Hz frame it takes.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include "platform/foundation/RunLoop.h"
#include "platform/render/Png.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Button.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kColumns = 4;
constexpr int kRows = 5;
constexpr double kCellW = 768.0 / kColumns;
constexpr double kCellH = 1004.0 / kRows;
const char* kNames[] = {"红烧肉", "清蒸鲈鱼", "宫保鸡丁", "麻婆豆腐", "糖醋排骨", "鱼香肉丝", "回锅肉",
                        "水煮牛肉", "干煸四季豆", "蒜蓉西兰花", "酸辣土豆丝", "东坡肘子", "北京烤鸭",
                        "小笼包", "扬州炒饭", "西湖牛肉羹", "拍黄瓜", "皮蛋豆腐", "凉拌木耳", "杨枝甘露"};

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A dish photo stand-in: a 240 x 180 gradient, decoded from PNG bytes as the program's pictures are.
std::string pictureBytes() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 240, 180);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 240, 180);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.9, 0.5, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.3, 0.1, 0.05);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_destroy(cr);
    auto bytes = render::encodePng(s);
    cairo_surface_destroy(s);
    return bytes.value_or("");
}

ui::Rect buttonFrame(int i) {
    return {(i % kColumns) * kCellW + 6, 20 + (i / kColumns) * kCellH + 6, kCellW - 12, kCellH - 12};
}

struct Screen {
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::Image> picture;
};

Screen makeScreen() {
    render::installUiHooks();
    Screen s;
    s.picture = ui::Image::withData(pictureBytes());
    if (!s.picture) std::abort();
    s.window = std::make_shared<ui::Window>();
    auto root = std::make_shared<ui::View>(s.window->applicationFrame());
    root->setBackgroundColor(ui::Color::whiteColor());
    s.window->addSubview(root);
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto b = std::make_shared<ui::Button>(ui::Button::Type::Custom, buttonFrame(i).offsetBy(0, -20));
        b->setBackgroundImage(s.picture);
        b->setTitle(kNames[i]);
        b->setTitleFont(ui::Font::boldSystemFont(18));
        b->setTitleColor(ui::Color::whiteColor());
        root->addSubview(b);
    }
    return s;
}

// The picture scaled once to a button's size, as a careful direct drawer would keep it.
cairo_surface_t* prescaled(cairo_surface_t* picture, const ui::Rect& r) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(r.width()), int(r.height()));
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, r.width() / 240.0, r.height() / 180.0);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

// The same frame, written directly against cairo and pango.
void drawDirect(cairo_t* cr, cairo_surface_t* picture) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 20, 768, 1004);
    cairo_fill(cr);
    PangoFontDescription* font = pango_font_description_from_string("WenQuanYi Micro Hei Bold");
    pango_font_description_set_absolute_size(font, 18 * PANGO_SCALE);
    for (int i = 0; i < kColumns * kRows; ++i) {
        const ui::Rect r = buttonFrame(i);
        cairo_save(cr);
        cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
        cairo_clip(cr);
        cairo_set_source_surface(cr, picture, r.x(), r.y());
        cairo_paint(cr);
        cairo_restore(cr);

        PangoLayout* layout = pango_cairo_create_layout(cr);
        pango_layout_set_font_description(layout, font);
        pango_layout_set_text(layout, kNames[i], -1);
        pango_layout_set_width(layout, static_cast<int>(r.width() * PANGO_SCALE));
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_MIDDLE);
        int w = 0, h = 0;
        pango_layout_get_pixel_size(layout, &w, &h);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, r.x(), r.y() + (r.height() - h) / 2);
        pango_cairo_show_layout(cr, layout);
        g_object_unref(layout);
    }
    pango_font_description_free(font);
}

void BM_DrawScreen(benchmark::State& state) {
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
    Screen screen = makeScreen();
    // Every button has the same size, so one scaled picture serves the direct drawing.
    cairo_surface_t* pictureSurface = prescaled(render::surfaceOf(*screen.picture), buttonFrame(0));
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 768, 1024);
    double tree = 0, direct = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        cairo_t* cr = cairo_create(target);
        render::drawView(cr, *screen.window);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        tree += t;

        start = std::chrono::steady_clock::now();
        cr = cairo_create(target);
        drawDirect(cr, pictureSurface);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        direct += seconds(std::chrono::steady_clock::now() - start);
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(pictureSurface);
    const double n = static_cast<double>(state.iterations());
    state.counters["direct_ms"] = 1000.0 * direct / n;
    state.counters["ratio_to_direct"] = direct > 0 ? tree / direct : 0;
    state.counters["share_of_60Hz_frame"] = (tree / n) / (1.0 / 60);
}

BENCHMARK(BM_DrawScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
