#include "platform/foundation/Log.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace platform {

namespace {
std::atomic<bool> gQuiet{false};
}

void log(std::string_view line) {
    if (gQuiet.load()) return;
    // One write per line, so lines from several threads do not interleave.
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void setLogQuiet(bool quiet) { gQuiet.store(quiet); }

}  // namespace platform
