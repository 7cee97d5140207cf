// backoffice-sim: the demo back-office server on 127.0.0.1 (TCP and UDP on one port).
//   backoffice-sim [--port N] [--quiet] [--tests-restaurant]     (port 7992 unless given)
// It serves the demo restaurant, or with --tests-restaurant the small generated one the tests use.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "backoffice/BackOfficeSim.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }
}  // namespace

int main(int argc, char** argv) {
    int port = 7992;
    bool quiet = false;
    auto restaurant = backoffice::Restaurant::Demo;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            long value = std::strtol(argv[++i], &end, 10);
            if (!end || *end || value < 0 || value > 65535) {
                std::fprintf(stderr, "backoffice-sim: bad port %s\n", argv[i]);
                return 2;
            }
            port = static_cast<int>(value);
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
        } else if (std::strcmp(argv[i], "--tests-restaurant") == 0) {
            restaurant = backoffice::Restaurant::Tests;
        } else {
            std::fprintf(stderr, "usage: backoffice-sim [--port N] [--quiet] [--tests-restaurant]\n");
            return 2;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    backoffice::BackOfficeSim sim(restaurant);
    sim.setLogging(!quiet);
    if (!sim.start(port)) {
        std::fprintf(stderr, "backoffice-sim: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    while (!stopRequested) ::usleep(100 * 1000);
    sim.stop();
    return 0;
}
