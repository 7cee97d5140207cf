// Start-up loading of a large menu: the menu database (`loadCaipXml`) and the desk tree
// (`loadDesks`) read from enciphered table files, against parsing the same deciphered XML texts
// with libxml2 alone in the same run. Reports the time of the load, the ratio to the bare parse
// and the process's peak resident memory.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>

#include "../tools/restaurantgen/RestaurantGen.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "platform/foundation/FileSystem.h"

namespace {

struct Restaurant {
    std::string folder;
    restaurantgen::Tables texts;  // as the terminal parses them
};

// The generated folders go away with the program.
struct Restaurants : std::map<int, Restaurant> {
    ~Restaurants() {
        for (auto& [dishes, r] : *this) platform::fs::remove(r.folder);
    }
};

const Restaurant& restaurant(int dishes) {
    static Restaurants made;
    auto it = made.find(dishes);
    if (it != made.end()) return it->second;
    char folderTemplate[] = "/tmp/kovra-bench-menu-XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (!folder) std::abort();
    restaurantgen::Options o;
    o.dishes = dishes;
    Restaurant r{folder, restaurantgen::makeTables(o)};
    if (!restaurantgen::writeTables(r.texts, r.folder, o.key)) std::abort();
    // The wrapper reads a GBK-declared text of UTF-8 bytes as UTF-8; the bare parse is given the
    // same bytes declared as what they are.
    for (auto& [file, text] : r.texts) {
        auto at = text.find("encoding=\"GBK\"");
        if (at != std::string::npos) text.replace(at, 14, "encoding=\"UTF-8\"");
    }
    return made.emplace(dishes, std::move(r)).first->second;
}

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double bareParse(const Restaurant& r) {
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [file, text] : r.texts) {
        xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, XML_PARSE_NONET);
        if (!doc) std::abort();
        xmlFreeDoc(doc);
    }
    return seconds(std::chrono::steady_clock::now() - start);
}

double peakMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_StartupLoad(benchmark::State& state) {
    const int dishes = static_cast<int>(state.range(0));
    const Restaurant& r = restaurant(dishes);
    NSServer::setDataPath(r.folder);
    NSServer::setMacAdr("null");
    double load = 0, parse = 0;
    for (auto _ : state) {
        // A start-up has no previous menu or floor to let go of.
        NSServer::setCaipDB(nullptr);
        NSServer::setDesks(nullptr);
        const auto start = std::chrono::steady_clock::now();
        NSServer::loadCaipXml();
        NSServer::loadDesks(std::nullopt, false);
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        load += t;
        parse += bareParse(r);
    }
    if (static_cast<int>(NSServer::getCaipDB()->m_CaipArray.size()) != dishes) {
        state.SkipWithError("the generated menu did not load whole");
        return;
    }
    state.counters["dishes"] = dishes;
    state.counters["desks"] = NSServer::getDesks() ? NSServer::getDesks()->m_length : 0;
    state.counters["bare_parse_ms"] = 1000.0 * parse / static_cast<double>(state.iterations());
    state.counters["ratio_to_bare_parse"] = parse > 0 ? load / parse : 0;
    state.counters["peak_rss_MB"] = peakMB();
}

BENCHMARK(BM_StartupLoad)->Arg(5000)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
