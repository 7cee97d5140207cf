// The tree picker's search by name and pinyin initials over a menu of 10,000 dishes in 100
// categories, against a plain substring scan of the same names in the same run. Reports the
// time of one search as the picker runs it (results collected and their first page shown), the
// ratio to the plain scan, and the first search of a picker, which also reads the initials.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/render/UiHooks.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/TextField.h"
#include "screens/kit/UISelectViewController.h"

namespace {

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Names made of common dish syllables, so initials and substrings match now and then.
std::shared_ptr<NSATreeClass> menu() {
    const char* parts[] = {"红烧", "清蒸", "宫保", "麻婆", "糖醋", "鱼香", "干煸", "水煮", "酸辣", "蒜蓉",
                           "鸡丁", "豆腐", "排骨", "肉丝", "牛肉", "鲈鱼", "土豆", "茄子", "虾仁", "时蔬"};
    auto tree = std::make_shared<NSATreeClass>();
    for (int c = 0; c < 100; ++c) {
        const int category = tree->AddChild4(0, "", "类" + std::to_string(c), "");
        for (int d = 0; d < 100; ++d) {
            const int n = c * 100 + d;
            tree->AddChild4(category, std::to_string(n), std::string(parts[n % 10]) + parts[10 + (n / 10) % 10] +
                                                             std::to_string(n % 7), "");
        }
    }
    return tree;
}

const char* kQueries[] = {"hs", "鸡丁", "tdz", "牛肉3", "qzly"};

void BM_PickerSearch(benchmark::State& state) {
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
    // The results are shown with the package's pictures, as in the program.
    platform::Bundle::setResourceFolder(KOVRA_RESOURCES);
    render::installUiHooks();
    NSServer::setInterfaceType(2);
    auto tree = menu();
    auto picker = std::make_shared<UISelectViewController>();
    picker->m_tree = tree;
    picker->m_tag = 980002;
    picker->view();
    picker->BeginWrite();

    auto start = std::chrono::steady_clock::now();
    picker->m_writer->setText(kQueries[0]);
    picker->FlashSeachBtn();
    const double first = seconds(std::chrono::steady_clock::now() - start);

    double search = 0, scan = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (const char* q : kQueries) {
            picker->m_writer->setText(q);
            start = std::chrono::steady_clock::now();
            picker->FlashSeachBtn();
            const double t = seconds(std::chrono::steady_clock::now() - start);
            iteration += t;
            search += t;
            benchmark::DoNotOptimize(picker->m_searchTree->m_length);

            start = std::chrono::steady_clock::now();
            const std::string text = q;
            for (const std::string& name : tree->m_name) found += name.find(text) != std::string::npos;
            scan += seconds(std::chrono::steady_clock::now() - start);
            benchmark::DoNotOptimize(found);
        }
        state.SetIterationTime(iteration);
    }
    const double n = static_cast<double>(state.iterations()) * std::size(kQueries);
    state.counters["search_us"] = 1e6 * search / n;
    state.counters["plain_scan_us"] = 1e6 * scan / n;
    state.counters["ratio_to_scan"] = scan > 0 ? search / scan : 0;
    state.counters["first_search_us"] = 1e6 * first;
}

BENCHMARK(BM_PickerSearch)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
