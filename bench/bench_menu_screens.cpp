// The dish menu's costly paths on a menu of 20,000 dishes, each against a bare baseline run in
// the same process:
//   - changing category and drawing the first page of picture tiles, against making and drawing
//     the same tiles' views directly;
//   - the quick search over every dish (result listed and its first rows built), against a plain
//     substring scan of the same names;
//   - a page turn of the detail view in a category of 500 pictured dishes (reading, deciphering
//     and decoding the picture included), against reading, deciphering, decoding and drawing the
//     same picture directly.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>

#include "../tools/restaurantgen/RestaurantGen.h"
#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UICplbViewController.h"
#include "screens/menu/UISelectCaipViewController.h"

namespace {

using Clock = std::chrono::steady_clock;
double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Setup {
    std::string folder;
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    ~Setup() {
        if (cr) cairo_destroy(cr);
        if (surface) cairo_surface_destroy(surface);
        if (!folder.empty()) platform::fs::remove(folder);
    }
};

// The terminal's state for the benchmarks: a generated menu of 20,000 dishes in its data folder,
// the package's pictures, the picture decoder, a manual clock and a surface to draw on.
Setup& setup() {
    static Setup s;
    if (!s.folder.empty()) return s;
    char folderTemplate[] = "/tmp/kovra-bench-menu-screens-XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (!folder) std::abort();
    s.folder = folder;
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
    platform::Bundle::setResourceFolder(KOVRA_RESOURCES);
    render::installUiHooks();
    NSServer::setInterfaceType(2);
    NSServer::setDataPath(s.folder + "/data");
    NSServer::setCaippicPath(s.folder + "/caippic");
    NSServer::setTemPath(s.folder + "/tmp");
    for (auto* f : {"/data", "/caippic", "/tmp"}) platform::fs::createFolder(s.folder + f);
    NSServer::setMacAdr("null");
    restaurantgen::Options o;
    o.dishes = 20000;
    if (!restaurantgen::writeTables(restaurantgen::makeTables(o), NSServer::getDataPath(), o.key)) std::abort();
    NSServer::loadCaipXml();
    NSServer::setNowDesk(std::make_shared<NSDeskClass>());
    s.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 768, 1004);
    s.cr = cairo_create(s.surface);
    return s;
}

void draw(const ui::View& view) {
    auto& s = setup();
    cairo_save(s.cr);
    render::drawView(s.cr, view);
    cairo_restore(s.cr);
    cairo_surface_flush(s.surface);
}

// The categories with the most dishes, where a page is full.
std::vector<std::pair<int, int>> fullCategories() {
    std::vector<std::pair<int, int>> out;
    const auto& tops = NSServer::getCaipDB()->rootCplbTrees;
    for (int t = 0; t < static_cast<int>(tops.size()) && out.size() < 4; ++t)
        for (int k = 0; k < static_cast<int>(tops[t]->subCplbTrees.size()) && out.size() < 4; ++k)
            if (tops[t]->subCplbTrees[k]->caips.size() >= 20) out.emplace_back(t, k);
    return out;
}

void BM_CategoryChangeFirstPage(benchmark::State& state) {
    auto& s = setup();
    auto menu = std::make_shared<UISelectCaipViewController>();
    menu->view()->setFrame({0, 20, 768, 1004});
    s.window->addSubview(menu->view());
    const auto categories = fullCategories();
    if (categories.size() < 2) {
        state.SkipWithError("no full categories");
        return;
    }
    auto& chooser = *menu->cplbController();
    double screen = 0, bare = 0;
    std::size_t turn = 0;
    for (auto _ : state) {
        const auto [sup, sub] = categories[turn++ % categories.size()];
        auto start = Clock::now();
        chooser.setSupCplbCount(sup);
        chooser.setSubCplbCount(sub);
        menu->setCanTouch(true);
        menu->changeCplbFlash();
        draw(*menu->caipTable());
        const double t = seconds(Clock::now() - start);
        state.SetIterationTime(t);
        screen += t;
        platform::RunLoop::main().advanceBy(1.0);

        // The same tiles made and drawn directly: a picture, a name, a price and the pictures of
        // the add and remove buttons per dish.
        start = Clock::now();
        auto page = std::make_shared<ui::View>(menu->caipTable()->frame());
        const auto& dishes = menu->nowCplb()->caips;
        const std::size_t shown = std::min<std::size_t>(dishes.size(), menu->caipViewCells().size());
        for (std::size_t i = 0; i < shown; ++i) {
            const double x = (i % 2) ? 128 : 1, y = 136.0 * static_cast<double>(i / 2);
            auto image = kit::picture("nopic1.bmp");
            auto picture = std::make_shared<ui::ImageView>(image);
            picture->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, {x, y, 126, 94}));
            page->addSubview(picture);
            auto name = std::make_shared<ui::Label>(ui::Rect{x, y + 94, 125, 20});
            name->setText(dishes[i]->m_strName);
            page->addSubview(name);
            auto price = std::make_shared<ui::Label>(ui::Rect{x, y + 115, 100, 20});
            price->setText(dishes[i]->m_strPrice + "元/" + dishes[i]->m_strDanw);
            page->addSubview(price);
            auto add = std::make_shared<ui::ImageView>(kit::picture(kit::interfacePicture(109)));
            add->setFrame({x + 95, y + 115, 30, 20});
            page->addSubview(add);
            auto remove = std::make_shared<ui::ImageView>(kit::picture(kit::interfacePicture(108)));
            remove->setFrame({x + 65, y + 115, 30, 20});
            page->addSubview(remove);
        }
        draw(*page);
        bare += seconds(Clock::now() - start);
    }
    state.counters["dishes"] = static_cast<double>(NSServer::getCaipDB()->m_CaipArray.size());
    state.counters["bare_ms"] = 1000.0 * bare / static_cast<double>(state.iterations());
    state.counters["ratio_to_bare"] = bare > 0 ? screen / bare : 0;
    menu->view()->removeFromSuperview();
}

void BM_QuickSearch(benchmark::State& state) {
    auto& s = setup();
    auto menu = std::make_shared<UISelectCaipViewController>();
    menu->view()->setFrame({0, 20, 768, 1004});
    s.window->addSubview(menu->view());
    menu->showNoPig();  // the search lists in the text list; switch once, as the first letter does
    platform::RunLoop::main().advanceBy(1.0);
    const auto& all = NSServer::getCaipDB()->m_CaipArray;
    const std::vector<std::string> queries = {all[777]->m_strCXDM.substr(0, 2), all[4321]->m_strName.substr(0, 6), "ZZQ"};
    double screen = 0, bare = 0;
    std::size_t turn = 0, found = 0;
    for (auto _ : state) {
        const std::string& q = queries[turn++ % queries.size()];
        auto start = Clock::now();
        menu->searchBarTextDidChange(*menu->caipSearchBar(), q);
        const double t = seconds(Clock::now() - start);
        state.SetIterationTime(t);
        screen += t;

        start = Clock::now();
        std::size_t hits = 0;
        for (const auto& dish : all) hits += dish->m_strName.find(q) != std::string::npos;
        benchmark::DoNotOptimize(hits);
        bare += seconds(Clock::now() - start);
        found += menu->nowCplb()->caips.size();
    }
    state.counters["dishes"] = static_cast<double>(all.size());
    state.counters["found_per_search"] = static_cast<double>(found) / static_cast<double>(state.iterations());
    state.counters["bare_ms"] = 1000.0 * bare / static_cast<double>(state.iterations());
    state.counters["ratio_to_bare"] = bare > 0 ? screen / bare : 0;
    menu->view()->removeFromSuperview();
}

// A dish picture as the synchronisation stores it: the first 1024 bytes enciphered.
void writePicture(const std::string& path, const std::string& bytes) {
    const std::string head = bytes.substr(0, 1024);
    platform::fs::writeAtomically(path, NSEncDec().Decrypt(head, NSServer::getMacAdr()) + bytes.substr(head.size()),
                                  platform::fs::Durability::Quick);
}

void BM_DetailPageTurn(benchmark::State& state) {
    auto& s = setup();
    // A menu of one category of 500 dishes, each with its large picture.
    auto db = NSServer::getCaipDB();
    auto saved = db->m_CaipArray;
    auto node = std::make_shared<NSCplbTreeClass>();
    auto pictureBytes = platform::fs::readAll(std::string(KOVRA_RESOURCES) + "/04001.bmp");
    if (!pictureBytes) {
        state.SkipWithError("no package picture");
        return;
    }
    db->m_CaipArray.clear();
    for (int i = 0; i < 500; ++i) {
        auto dish = std::make_shared<NSCaipClass>();
        dish->Clear();
        dish->setM_strID(platform::fmt("P%05i", i));
        dish->m_strName = platform::fmt("图菜%i", i);
        dish->m_strCategory = "PIC";
        db->m_CaipArray.push_back(dish);
        writePicture(NSServer::getCaippicPath() + "/" + dish->strID() + ".BMP", *pictureBytes);
    }
    auto detail = std::make_shared<UICaipViewController>();
    detail->getSelectCaip(db->m_CaipArray[0]);
    detail->view()->setFrame({0, 20, 768, 1004});
    s.window->addSubview(detail->view());
    double screen = 0, bare = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        detail->nextCaip();
        draw(*detail->caiView());
        const double t = seconds(Clock::now() - start);
        state.SetIterationTime(t);
        screen += t;
        platform::RunLoop::main().advanceBy(1.0);

        start = Clock::now();
        auto image = NSServer().readCaipImage(NSServer::getCaippicPath() + "/" + detail->m_dish()->caipID() + ".BMP");
        auto view = std::make_shared<ui::ImageView>(image);
        view->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, {0, 0, 720, 540}));
        auto area = std::make_shared<ui::View>(UICaipViewController::kPictureArea);
        area->addSubview(view);
        draw(*area);
        bare += seconds(Clock::now() - start);
    }
    state.counters["bare_ms"] = 1000.0 * bare / static_cast<double>(state.iterations());
    state.counters["ratio_to_bare"] = bare > 0 ? screen / bare : 0;
    detail->view()->removeFromSuperview();
    db->m_CaipArray = saved;
}

BENCHMARK(BM_CategoryChangeFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSearch)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetailPageTurn)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
