// Kovra.ini as the configuration loader reads it.
#include <cstdint>
#include <string>

#include "FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzHome();
    platform::fs::writeAtomically(NSServer::getDataPath() + "/Kovra.ini",
                                  std::string(reinterpret_cast<const char*>(data), size));
    NSServer::loadIni();
    if (NSServer::getOutTime() <= 0) __builtin_trap();  // never a time-out that cannot wait
    return 0;
}
