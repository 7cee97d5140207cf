// The cost of talking to the back office on loopback: one "adddish" exchange of 50 lines against a
// bare socket write and read of the same request and reply bytes, and a synchronisation of 1,000
// pictures of 50 KB against a bare transfer of the same files, both to the simulator in the same
// run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "backoffice/BackOfficeSim.h"
#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "net/NSTcpNet.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Network.h"
#include "platform/foundation/Text.h"

namespace {

using bench::bareExchange;
using bench::seconds;

bench::World& world() {
    static bench::World w("/tmp/kovra-bench-net-XXXXXX");
    return w;
}

void BM_AddDishExchange(benchmark::State& state) {
    bench::World& w = world();
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = "BENCH";
    backoffice::SimDesk sd;
    sd.id = desk->m_strDeskID;
    sd.name = "测试台";
    w.sim.setDesk(sd);
    desk->m_iClientNum = 4;
    if (!NSServer().OpenDesk(*desk)) {
        state.SkipWithError("the desk did not open");
        return;
    }
    NSServer::setNowDesk(desk);
    auto menu = NSServer::getCaipDB();
    for (int i = 0; i < 50; ++i) {
        auto line = std::make_shared<NSDishClass>();
        auto caip = menu->m_CaipArray.at(static_cast<size_t>(i) % menu->m_CaipArray.size());
        line->m_strCaipID = caip->m_strID;
        line->m_fQuantity = 1 + i % 3;
        line->m_iState = NSDishClass::kSending;
        line->m_struid = std::to_string(i + 1);
        line->m_strRemark = "少辣";
        line->m_strUnits = caip->m_strDanw;
        desk->m_DishList.push_back(line);
    }
    // The exact bytes of one exchange, for the bare client to send and wait for.
    w.sim.clearRecords();
    if (!NSServer().addDish(*desk)) {
        state.SkipWithError("adddish failed");
        return;
    }
    const std::string request = w.sim.requestsFor("adddish").at(0).raw;

    double exchange = 0, bare = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!NSServer().addDish(*desk)) std::abort();
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        exchange += t;
        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(bareExchange(w.sim.port(), request, "</morvane>", 0));
        bare += seconds(std::chrono::steady_clock::now() - start);
        // The server's bill must not grow without end.
        if (state.iterations() % 50 == 0) w.sim.setDesk([&] {
                auto d = *w.sim.desk("BENCH");
                d.lines.clear();
                return d;
            }());
    }
    state.counters["request_bytes"] = static_cast<double>(request.size());
    state.counters["bare_ms"] = 1000.0 * bare / static_cast<double>(state.iterations());
    state.counters["ratio_to_bare"] = bare > 0 ? exchange / bare : 0;
}

void BM_PictureSync(benchmark::State& state) {
    bench::World& w = world();
    const int count = static_cast<int>(state.range(0));
    const bool inMemory = state.range(1) != 0;
    const size_t size = 50 * 1024;
    w.sim.removeFiles("bmp");
    for (int i = 0; i < count; ++i) {
        std::string bytes(size, static_cast<char>('A' + i % 26));
        w.sim.setFile("bmp", {platform::fmt("P%04i.BMP", i), 1, bytes, std::nullopt});
    }
    // The bare transfer writes nothing: the run in memory (tmpfs) shows the client's own cost,
    // the run on disk adds what storing 1,000 files durably costs on this machine.
    const std::string diskFolder = NSServer::getCaippicPath();
    std::string folder = diskFolder;
    if (inMemory) {
        if (!platform::fs::isFolder("/dev/shm")) {
            state.SkipWithError("no /dev/shm here");
            return;
        }
        folder = "/dev/shm/kovra-bench-pics";
        NSServer::setCaippicPath(folder);
    }
    // On a kept connection the files still travel one connection each, like the bare baseline.
    NSServer::setIsLongSocket(state.range(2) != 0);
    double sync = 0, bare = 0;
    for (auto _ : state) {
        platform::fs::remove(folder);
        platform::fs::createFolder(folder);
        w.sim.clearRecords();
        auto start = std::chrono::steady_clock::now();
        if (!NSServer().ayncPic()) std::abort();
        const double t = seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(t);
        sync += t;
        // The same getfile requests, each answered by the same bytes, over bare sockets.
        auto requests = w.sim.requestsFor("getfile");
        start = std::chrono::steady_clock::now();
        for (const auto& r : requests)
            benchmark::DoNotOptimize(bareExchange(w.sim.port(), r.raw, "", size));
        bare += seconds(std::chrono::steady_clock::now() - start);
    }
    platform::fs::remove(folder);
    NSServer::setCaippicPath(diskFolder);
    NSServer::setIsLongSocket(false);
    NSServer::setTcp(nullptr);
    const double bytes = static_cast<double>(count) * static_cast<double>(size) *
                         static_cast<double>(state.iterations());
    state.counters["sync_MBps"] = sync > 0 ? bytes / sync / 1e6 : 0;
    state.counters["bare_MBps"] = bare > 0 ? bytes / bare / 1e6 : 0;
    state.counters["throughput_vs_bare"] = sync > 0 ? bare / sync : 0;
}

BENCHMARK(BM_AddDishExchange)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureSync)->Args({1000, 1, 0})->Args({1000, 0, 0})->Args({1000, 1, 1})->ArgNames({"pictures", "tmpfs", "longsocket"})->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
