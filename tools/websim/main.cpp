// websim: the demo ordering web service on 127.0.0.1.
//   websim [--port N] [--quiet]        (port 7993 unless given)

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "websim/WebSim.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }
}  // namespace

int main(int argc, char** argv) {
    int port = 7993;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (!end || *end || value <= 0 || value > 65535) {
                std::fprintf(stderr, "websim: bad port %s\n", argv[i]);
                return 2;
            }
            port = static_cast<int>(value);
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
        } else {
            std::fprintf(stderr, "usage: websim [--port N] [--quiet]\n");
            return 2;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    websim::WebSim sim;
    sim.setLogging(!quiet);
    if (!sim.start(port)) {
        std::fprintf(stderr, "websim: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    while (!stopRequested) ::usleep(100 * 1000);
    sim.stop();
    return 0;
}
