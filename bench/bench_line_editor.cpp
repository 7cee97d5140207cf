// Opening the order-line editor on a dish with 200 cooking methods, in a menu of 200 tastes, and
// drawing it through the view tree, against cairo and pango drawing the same screen directly in
// the same run: the shade, the card with its title bar, the quantity row, the keypad, the fields,
// the unit row, the method rows a waiter sees (the rest lie scrolled away), and OK and cancel,
// with the same rounded, outlined buttons and fields.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"
#include "model/NSKouwClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "DirectDraw.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"
#include "screens/lineedit/UIQuickCaipViewController.h"

namespace {

using benchdraw::seconds;
using benchdraw::text;

constexpr int kOptions = 200;
// Where the editor's card lies on the 768 x 1004 screen (below the 20-point status bar).
constexpr double kCardX = (768 - 560) / 2.0, kCardY = 20 + (1004 - 600) / 2.0, kPanelY = kCardY + 53;

std::shared_ptr<NSCaipClass> menuOf200() {
    auto db = std::make_shared<NSCaipDBClass>();
    std::string ids, prices;
    for (int i = 1; i <= kOptions; ++i) {
        auto method = std::make_shared<NSKouwClass>();
        method->m_strKouwid = "M" + std::to_string(i);
        method->m_strKouw = "做法" + std::to_string(i);
        method->m_bZuof = true;
        db->m_KwzfArray.push_back(method);
        auto taste = std::make_shared<NSKouwClass>();
        taste->m_strKouwid = "T" + std::to_string(i);
        taste->m_strKouw = "口味" + std::to_string(i);
        db->m_KwzfArray.push_back(taste);
        db->m_kouws->AddItem(taste->m_strKouwid, taste->m_strKouw, "");
        ids += method->m_strKouwid + ",";
        prices += std::to_string(i % 9) + ";1,";
    }
    auto dish = std::make_shared<NSCaipClass>();
    dish->Clear();
    dish->setM_strID("D1");
    dish->m_strName = "清蒸鲈鱼";
    dish->m_strPrice = "38";
    dish->m_strDanw = "份";
    dish->m_strZuofID = ids;
    dish->m_strZfjiag = prices;
    dish->m_iMultizuof = 1;
    db->m_CaipArray.push_back(dish);
    NSServer::setCaipDB(db);
    return dish;
}

void box(cairo_t* cr, double x, double y, double w, double h, double r, double g, double b) {
    cairo_set_source_rgb(cr, r, g, b);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

// A rounded rectangle filled and outlined, as the buttons and fields are drawn.
void rounded(cairo_t* cr, double x, double y, double w, double h, double r, double g, double b, bool outline) {
    const double rad = outline ? 7 : 8;
    x += 0.5;
    y += 0.5;
    w -= 1;
    h -= 1;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - rad, y + rad, rad, -G_PI / 2, 0);
    cairo_arc(cr, x + w - rad, y + h - rad, rad, 0, G_PI / 2);
    cairo_arc(cr, x + rad, y + h - rad, rad, G_PI / 2, G_PI);
    cairo_arc(cr, x + rad, y + rad, rad, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 214 / 255.0, 204 / 255.0, 190 / 255.0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A labelled button of the palette: quiet with an outline, or the accent.
void button(cairo_t* cr, PangoFontDescription* f, const char* title, double x, double y, double w, double h,
            bool primary = false) {
    if (primary)
        rounded(cr, x, y, w, h, 196 / 255.0, 84 / 255.0, 44 / 255.0, false);
    else
        rounded(cr, x, y, w, h, 226 / 255.0, 218 / 255.0, 206 / 255.0, true);
    text(cr, f, title, x, y, w, h);
}

PangoFontDescription* font(const char* family, double size) {
    PangoFontDescription* f = pango_font_description_from_string(family);
    pango_font_description_set_absolute_size(f, size * PANGO_SCALE);
    return f;
}

// The editor's screen, drawn directly.
void drawDirect(cairo_t* cr, cairo_surface_t* option, const std::vector<std::string>& methodTitles) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_rgba(cr, 20 / 255.0, 16 / 255.0, 14 / 255.0, 0.45);
    cairo_rectangle(cr, 0, 20, 768, 1004);
    cairo_fill(cr);
    box(cr, kCardX, kCardY, 560, 600, 1, 1, 1);
    box(cr, kCardX, kCardY, 560, 60, 58 / 255.0, 46 / 255.0, 40 / 255.0);
    PangoFontDescription* title = font("WenQuanYi Micro Hei Bold", 22);
    PangoFontDescription* body = font("WenQuanYi Micro Hei", 18);
    PangoFontDescription* big = font("WenQuanYi Micro Hei Bold", 30);
    PangoFontDescription* small = font("WenQuanYi Micro Hei Bold", 14);
    text(cr, title, "清蒸鲈鱼", kCardX + 120, kCardY, 320, 60);
    const double px = kCardX, py = kPanelY;
    text(cr, body, "数量", px + 20, py + 14, 70, 44, PANGO_ALIGN_LEFT);
    rounded(cr, px + 90, py + 14, 170, 44, 1, 1, 1, true);
    text(cr, big, "1", px + 95, py + 14, 160, 44, PANGO_ALIGN_LEFT);
    const char* steps[] = {"-1", "+1", "条/只"};
    const double stepX[] = {270, 338, 406}, stepW[] = {60, 60, 134};
    for (int i = 0; i < 3; ++i) button(cr, body, steps[i], px + stepX[i], py + 14, stepW[i], 44);
    const char* keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "0", "删除"};
    for (int i = 0; i < 12; ++i) {
        const double x = px + 20 + (i % 3) * 92.0, y = py + 68 + (i / 3) * 60.0;
        button(cr, big, keys[i], x, y, 86, 54);
    }
    const char* fields[] = {"清蒸鲈鱼", "38", nullptr, "请输入特殊要求"};
    for (int i = 0; i < 4; ++i) {
        const double y = py + 68 + 52.0 * i;
        if (!fields[i]) {
            button(cr, body, "口味", px + 310, y, 110, 44);
            button(cr, body, "加价", px + 430, y, 110, 44);
            continue;
        }
        rounded(cr, px + 310, y, 230, 44, 1, 1, 1, true);
        text(cr, body, fields[i], px + 316, y, 220, 44, PANGO_ALIGN_LEFT);
    }
    text(cr, body, "规格", px + 20, py + 320, 70, 40, PANGO_ALIGN_LEFT);
    cairo_set_source_surface(cr, option, px + 90, py + 320);
    cairo_paint(cr);
    text(cr, small, "份", px + 90, py + 320, 75, 40);
    text(cr, body, "做法", px + 20, py + 372, 70, 40, PANGO_ALIGN_LEFT);
    // The method rows in sight: six columns of two in the 450-point strip.
    for (std::size_t i = 0; i < methodTitles.size() && i < 12; ++i) {
        const double x = px + 90 + (i / 2) * 80.0, y = py + 372 + (i % 2) * 45.0;
        cairo_save(cr);
        cairo_rectangle(cr, px + 90, py + 372, 450, 85);
        cairo_clip(cr);
        cairo_set_source_surface(cr, option, x, y);
        cairo_paint(cr);
        text(cr, small, methodTitles[i], x, y, 75, 40);
        cairo_restore(cr);
    }
    button(cr, body, "确定", px + 20, py + 475, 250, 56, true);
    button(cr, body, "取消", px + 290, py + 475, 250, 56);
    for (auto* f : {title, body, big, small}) pango_font_description_free(f);
}

void BM_OpenLineEditor(benchmark::State& state) {
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
    platform::Bundle::setResourceFolder(KOVRA_RESOURCES);
    render::installUiHooks();
    auto dish = menuOf200();
    auto window = std::make_shared<ui::Window>();
    cairo_surface_t* option = benchdraw::scaled("2-82.png", 75, 40);
    std::vector<std::string> titles;
    for (int i = 1; i <= 12; ++i) titles.push_back("做法" + std::to_string(i) + " " + std::to_string(i % 9) + "元");
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 768, 1024);

    benchdraw::Sides sides;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(dish);
        line->m_fQuantity = 1;
        auto editor = std::make_shared<UIQuickCaipViewController>();
        editor->setM_caip(dish);
        editor->setM_dish(line);
        ui::View& page = *editor->view();
        page.setFrame(window->applicationFrame());
        window->addSubview(page.shared_from_this());
        sides.treeDrawn(state, target, *window, start);
        page.removeFromSuperview();
        sides.directDrawn(target, [&](cairo_t* cr) { drawDirect(cr, option, titles); });
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(option);
    sides.report(state);
}

BENCHMARK(BM_OpenLineEditor)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
