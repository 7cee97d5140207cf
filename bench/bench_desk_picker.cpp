// Opening the desk picker on a floor of 1,000 desks (50 rooms of 20) and drawing its first page
// through the view tree, against cairo and pango drawing the same page directly in the same run:
// the shade, the panel, the title, twenty slots with their state pictures and two-line labels,
// and the five buttons with their pictures and labels. Pictures are decoded once on both sides
// (the package keeps them cached) and scaled once for the direct drawing.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "DirectDraw.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/root/SwitchViewController.h"
#include "screens/kit/UISelectViewController.h"

namespace {

using benchdraw::seconds;
using benchdraw::text;

constexpr double kPanelX = (768 - UISelectViewController::kPanelWidth) / 2;
constexpr double kPanelY = 20 + (1004 - UISelectViewController::kPanelHeight) / 2;

std::shared_ptr<NSATreeClass> floorOf1000() {
    const char* states[] = {"1", "6", "4", "5", "1"};
    auto tree = std::make_shared<NSATreeClass>();
    for (int r = 0; r < 50; ++r) {
        const int room = tree->AddChild4(0, "", std::to_string(r + 1) + "楼大厅", "");
        for (int d = 0; d < 20; ++d) {
            const int n = r * 20 + d;
            tree->AddChild4(room, std::to_string(n), std::to_string(n + 1) + "号桌", states[n % 5]);
        }
    }
    return tree;
}

// The picker's first page (the rooms), drawn directly.
void drawDirect(cairo_t* cr, const NSATreeClass& tree, cairo_surface_t* slot, cairo_surface_t* button,
                const std::vector<std::string>& buttonTitles) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_rgba(cr, 20 / 255.0, 16 / 255.0, 14 / 255.0, 0.45);
    cairo_rectangle(cr, 0, 20, 768, 1004);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, kPanelX, kPanelY, UISelectViewController::kPanelWidth, UISelectViewController::kPanelHeight);
    cairo_fill(cr);
    PangoFontDescription* title = pango_font_description_from_string("WenQuanYi Micro Hei Bold");
    pango_font_description_set_absolute_size(title, 22 * PANGO_SCALE);
    text(cr, title, "请选择桌台", kPanelX + 16, kPanelY + 16, 288, 40);
    PangoFontDescription* font = pango_font_description_from_string("WenQuanYi Micro Hei");
    pango_font_description_set_absolute_size(font, 13 * PANGO_SCALE);
    int shown = 0;
    for (int row = 1; row < tree.m_length && shown < 20; ++row) {
        if (tree.m_pid[row] != 0) continue;
        const double x = kPanelX + 14 + 73 * (shown % 4), y = kPanelY + 110 + 50 * (shown / 4);
        cairo_set_source_surface(cr, slot, x, y);
        cairo_paint(cr);
        text(cr, font, tree.m_name[row] + "\r\n" + tree.m_str2[row], x, y, 70, 45);
        ++shown;
    }
    PangoFontDescription* bold = pango_font_description_from_string("WenQuanYi Micro Hei Bold");
    pango_font_description_set_absolute_size(bold, 13 * PANGO_SCALE);
    for (std::size_t i = 0; i < buttonTitles.size(); ++i) {
        const double x = kPanelX + 16 + 57 * i, y = kPanelY + UISelectViewController::kPanelHeight - 92;
        cairo_set_source_surface(cr, button, x, y);
        cairo_paint(cr);
        text(cr, bold, buttonTitles[i], x, y, 55, kit::kTouch);
    }
    pango_font_description_free(bold);
    pango_font_description_free(font);
    pango_font_description_free(title);
}

void BM_OpenDeskPicker(benchmark::State& state) {
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
    platform::Bundle::setResourceFolder(KOVRA_RESOURCES);
    NSServer::setInterfaceType(2);  // the configuration's default
    render::installUiHooks();
    auto tree = floorOf1000();
    auto window = std::make_shared<ui::Window>();
    cairo_surface_t* slot = benchdraw::scaled("2-137.png", 70, 45);
    cairo_surface_t* button = benchdraw::scaled(kit::interfacePicture(119), 55, kit::kTouch);
    std::vector<std::string> titles;
    for (const char* key : {"write", "onback", "lastpage2", "nextpage2", "onok"})
        titles.push_back(SwitchViewController::word(key));
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 768, 1024);

    benchdraw::Sides sides;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto picker = std::make_shared<UISelectViewController>();
        picker->m_tree = tree;
        picker->m_tag = 980003;
        ui::View& page = *picker->view();
        picker->m_title->setText("请选择桌台");
        page.setFrame(window->applicationFrame());
        window->addSubview(page.shared_from_this());
        sides.treeDrawn(state, target, *window, start);
        page.removeFromSuperview();
        sides.directDrawn(target, [&](cairo_t* cr) { drawDirect(cr, *tree, slot, button, titles); });
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(slot);
    cairo_surface_destroy(button);
    sides.report(state);
}

BENCHMARK(BM_OpenDeskPicker)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
