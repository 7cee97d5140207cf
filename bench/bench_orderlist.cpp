// The order list's costly paths, each against a bare baseline in the same run:
// - the visible rows of the list holding 300 lines (set meals with items, tastes) drawn through the
//   view tree, against cairo and pango drawing the same rows directly (the whole frame's time, with
//   the header and toolbar, is reported beside them);
// - sending 300 new lines (numbering, "adddish", the refresh "updatemenu", saving the desk)
//   against a bare socket exchange of the same request and reply bytes.

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include "BenchSupport.h"
#include "backoffice/BackOfficeSim.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "net/NSTcpNet.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Network.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

constexpr int kLines = 300;

using bench::seconds;

// The list's run loop, pictures and words, set before the device home is made.
struct ListSetup {
    ListSetup() {
        platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
        platform::Bundle::setResourceFolder(KOVRA_SOURCE_DIR "/resources");
    }
};

// One device home with the demo menu and one simulator for the whole program, in waiter mode.
struct ListWorld : ListSetup {
    bench::World world{"/tmp/kovra-bench-list-XXXXXX"};
    ListWorld() {
        NSServer::getNowUser()->m_strUserName = "0001";
        NSServer::setIsWaiterUser(true);
    }
};

bench::World& world() {
    static ListWorld w;
    return w.world;
}

// 300 unsent lines of the menu: every tenth heads a set meal of the next two, some with tastes.
std::vector<std::shared_ptr<NSDishClass>> newLines() {
    auto db = NSServer::getCaipDB();
    std::vector<std::shared_ptr<NSDishClass>> lines;
    for (int i = 0; i < kLines; ++i) {
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(db->m_CaipArray.at(static_cast<std::size_t>(i) % db->m_CaipArray.size()));
        line->m_fQuantity = static_cast<float>(1 + i % 3);
        line->m_struid = "-1";
        line->m_bisSet = line->m_bisExp = i % 10 == 0;
        line->m_bisExp = line->m_bisExp || i % 10 == 1 || i % 10 == 2;
        line->m_iType = i % 7 == 0 ? 1 : 0;
        if (db->m_kouws && db->m_kouws->m_length > 2 && i % 3 == 0)
            line->AddKouwID(db->m_kouws->m_code[1] + "," + db->m_kouws->m_code[2] + ",");
        line->m_parentpos = i;
        lines.push_back(line);
    }
    return lines;
}

// ---- Drawing ----------------------------------------------------------------------------------------

// The visible rows, drawn straight with cairo and pango: the even-row band, the serving-mode
// icon and the delete picture, and the row's texts in their columns.
void drawRowsDirect(cairo_t* cr, const std::vector<std::shared_ptr<NSDishClass>>& lines, double top,
                    double height, cairo_surface_t* icon, cairo_surface_t* del) {
    PangoFontDescription* bold = pango_font_description_from_string("WenQuanYi Micro Hei Bold");
    pango_font_description_set_absolute_size(bold, 16 * PANGO_SCALE);
    auto text = [&](const std::string& s, double x, double y, double w, double h, PangoAlignment align) {
        PangoLayout* layout = pango_cairo_create_layout(cr);
        pango_layout_set_font_description(layout, bold);
        pango_layout_set_text(layout, s.c_str(), -1);
        pango_layout_set_width(layout, static_cast<int>(w * PANGO_SCALE));
        pango_layout_set_alignment(layout, align);
        int pw = 0, ph = 0;
        pango_layout_get_pixel_size(layout, &pw, &ph);
        cairo_move_to(cr, x, y + (h - ph) / 2);
        pango_cairo_show_layout(cr, layout);
        g_object_unref(layout);
    };
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, top, 768, height);
    cairo_fill(cr);
    const double row = UIDishLViewController::kRowHeight;
    for (int r = 0; r < kLines && r * row < height; ++r) {
        const NSDishClass& line = *lines[static_cast<std::size_t>(r)];
        const double y = top + r * row;
        if (r % 2 == 0) {
            cairo_set_source_rgb(cr, 1.0, 236 / 255.0, 204 / 255.0);
            cairo_rectangle(cr, 0, y, 768, row);
            cairo_fill(cr);
        }
        cairo_set_source_surface(cr, icon, 44, y + 13);
        cairo_paint(cr);
        cairo_set_source_surface(cr, del, 726, y + 12);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 100 / 255.0, 100 / 255.0, 100 / 255.0);
        text(line.m_bisExp && !line.m_bisSet ? "--" : std::to_string(r + 1), 0, y, 40, row, PANGO_ALIGN_CENTER);
        const std::string tastes = line.GetKouwShulString();
        if (tastes.empty()) {
            text(line.m_strCaipName, 88, y, 300, row, PANGO_ALIGN_LEFT);
        } else {
            text(line.m_strCaipName, 88, y + 2, 300, 22, PANGO_ALIGN_LEFT);
            text(tastes, 88, y + 24, 300, 18, PANGO_ALIGN_LEFT);
        }
        text(platform::fmt("%g%@", line.m_fQuantity, line.m_strUnits), 390, y, 110, row, PANGO_ALIGN_RIGHT);
        text(platform::fmt("%g", line.GetPrice()), 500, y, 100, row, PANGO_ALIGN_RIGHT);
        text("未下单", 600, y, 100, row, PANGO_ALIGN_RIGHT);
    }
    pango_font_description_free(bold);
}

void BM_DrawOrderList(benchmark::State& state) {
    world();
    render::installUiHooks();
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_DishList = newLines();
    NSServer::setNowDesk(desk);
    auto window = std::make_shared<ui::Window>();
    auto list = std::make_shared<UIDishLViewController>();
    list->view()->setFrame({0, 20, 768, 1004});
    window->addSubview(list->view());
    list->m_dishTable()->reloadData();
    const ui::Rect table = list->m_dishTable()->frame();

    auto image = [](const char* name) {
        auto picture = ui::Image::named(name);
        if (!picture) std::abort();
        return render::surfaceOf(*picture);
    };
    cairo_surface_t* icon = image("1-21.png");
    cairo_surface_t* del = image("2-144.png");
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 768, 1024);
    double tree = 0, frame = 0, direct = 0;
    for (auto _ : state) {
        // The rows as the list's table draws them (its part of the frame), then the whole frame.
        auto start = std::chrono::steady_clock::now();
        cairo_t* cr = cairo_create(target);
        cairo_translate(cr, table.x(), 20 + table.y());
        render::drawView(cr, *list->m_dishTable());
        cairo_destroy(cr);
        cairo_surface_flush(target);
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        tree += t;

        start = std::chrono::steady_clock::now();
        cr = cairo_create(target);
        render::drawView(cr, *window);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        frame += seconds(std::chrono::steady_clock::now() - start);

        start = std::chrono::steady_clock::now();
        cr = cairo_create(target);
        drawRowsDirect(cr, desk->m_DishList, 20 + table.y(), table.height(), icon, del);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        direct += seconds(std::chrono::steady_clock::now() - start);
    }
    cairo_surface_destroy(target);
    const double n = static_cast<double>(state.iterations());
    state.counters["direct_ms"] = 1000.0 * direct / n;
    state.counters["frame_ms"] = 1000.0 * frame / n;
    state.counters["ratio_to_direct"] = direct > 0 ? tree / direct : 0;
}

// ---- Sending ------------------------------------------------------------------------------------------

void BM_SendOrder(benchmark::State& state) {
    bench::World& w = world();
    backoffice::SimDesk empty;
    empty.id = "BENCH";
    empty.name = "测试台";
    w.sim.setDesk(empty);
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = "BENCH";
    desk->m_iClientNum = 4;
    if (!NSServer().OpenDesk(*desk)) {
        state.SkipWithError("the desk did not open");
        return;
    }
    const backoffice::SimDesk opened = *w.sim.desk("BENCH");
    NSServer::setNowDesk(desk);
    auto list = std::make_shared<UIDishLViewController>();
    double send = 0, bare = 0, saving = 0;
    for (auto _ : state) {
        w.sim.setDesk(opened);
        desk->m_DishList = newLines();
        w.sim.clearRecords();
        list->setSendIndex(-1);
        auto start = std::chrono::steady_clock::now();
        if (!list->onSendCaip(std::string(UIDishLViewController::kNoLogin), -1)) std::abort();
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        send += t;

        // The desk's file alone, written as the send ends (durably, as every saved order is).
        start = std::chrono::steady_clock::now();
        NSServer::saveSelectDish0();
        saving += seconds(std::chrono::steady_clock::now() - start);

        // The same two requests, answered with the same bytes, over bare sockets.
        const std::string add = w.sim.requestsFor("adddish").at(0).raw;
        const std::string refresh = w.sim.requestsFor("updatemenu").at(0).raw;
        w.sim.setDesk(opened);
        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(bench::bareExchange(w.sim.port(), add, "</morvane>"));
        benchmark::DoNotOptimize(bench::bareExchange(w.sim.port(), refresh, "</morvane>"));
        bare += seconds(std::chrono::steady_clock::now() - start);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["bare_ms"] = 1000.0 * bare / n;
    state.counters["save_ms"] = 1000.0 * saving / n;
    state.counters["ratio_to_bare"] = bare > 0 ? send / bare : 0;
}

BENCHMARK(BM_DrawOrderList)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SendOrder)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
