// The online part's cost per request: 200 shop-list requests with their JSON answers through the
// web-service client (worker thread, delivery on the main loop, NSJsonResolver) against the same
// requests made with plain libcurl calls and parsed with nlohmann-json alone, both to the
// web-service simulator in the same run.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "core/NSServer.h"
#include "online/NSHTTPServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSWebPages.h"
#include "platform/foundation/RunLoop.h"
#include "websim/WebSim.h"

namespace {

constexpr int kRequests = 200;

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct World {
    websim::WebSim sim;
    World() {
        if (!sim.start(0)) std::abort();
        NSHTTPServer::setHTTPAddress(sim.baseURL());
        NSServer::setOutTime(20);
        curl_global_init(CURL_GLOBAL_DEFAULT);
    }
    ~World() { sim.stop(); }
};

World& world() {
    static World w;
    return w;
}

// The i-th request: the position search near the demo shops, by distance, one of two pages.
std::string shopListURL(int i) {
    return webpages::shopListByLocation(31.2364f, 121.4802f, 300000, "0", "distance", 1, 1,
                                        i % 2 ? std::optional<int>(2) : std::nullopt);
}

// Through the client: one request at a time, as a screen pages through the list.
std::size_t clientRun() {
    std::size_t shops = 0;
    for (int i = 0; i < kRequests; ++i) {
        bool done = false;
        auto receiver = std::make_shared<int>(0);
        NSHTTPServer::getText(shopListURL(i), receiver, [&](const std::string& answer, NSHTTPServer&) {
            NSJsonResolver resolver;
            if (auto json = resolver.resolveJson(answer)) shops += json_read::list(*json, "list").size();
            done = true;
        });
        while (!done) platform::RunLoop::main().runFor(0.05);
    }
    return shops;
}

size_t collect(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

// Plain libcurl and nlohmann-json: a handle per request, the body parsed whole.
std::size_t bareRun() {
    std::size_t shops = 0;
    for (int i = 0; i < kRequests; ++i) {
        const std::string url = NSHTTPServer::escapeURL(shopListURL(i));
        std::string body;
        CURL* easy = curl_easy_init();
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        if (curl_easy_perform(easy) == CURLE_OK) {
            const auto json = nlohmann::json::parse(body, nullptr, false);
            if (json.is_object() && json.contains("list")) shops += json["list"].size();
        }
        curl_easy_cleanup(easy);
    }
    return shops;
}

void BM_ShopListRequests(benchmark::State& state) {
    world();
    double client = 0, bare = 0;
    std::size_t clientShops = 0, bareShops = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        clientShops = clientRun();
        auto t1 = std::chrono::steady_clock::now();
        bareShops = bareRun();
        auto t2 = std::chrono::steady_clock::now();
        client += seconds(t1 - t0);
        bare += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    if (clientShops != bareShops || clientShops == 0) state.SkipWithError("the two runs read different answers");
    const double n = static_cast<double>(state.iterations());
    state.counters["client_ms"] = 1000.0 * client / n;
    state.counters["bare_ms"] = 1000.0 * bare / n;
    state.counters["ratio_to_bare"] = bare > 0 ? client / bare : 0;
}

}  // namespace

BENCHMARK(BM_ShopListRequests)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
