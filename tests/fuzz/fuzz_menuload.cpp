// The table files through the menu load and the desk tree: the first byte picks the table, the
// rest is its document, stored enciphered as the synchronisation stores it.
#include <cstdint>
#include <string>

#include "FuzzHome.h"

namespace {
const char* const kTables[] = {"yonghxx.dat", "caip.dat",  "stCategory.dat", "ssdept.dat",
                               "tuidyy.dat",  "zuot.dat",  "zuotzt.dat",     "caipu.dat",
                               "stBom.dat",   "stUnits.dat", "kouw.dat"};
constexpr std::size_t kTableCount = sizeof(kTables) / sizeof(kTables[0]);
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzHome();
    if (size < 1) return 0;
    const std::string file = kTables[data[0] % kTableCount];
    const std::string path = NSServer::getDataPath() + "/" + file;
    NSServer().stringDataWriteToFile(path, std::nullopt, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    NSServer::loadCaipXml();
    NSServer::loadDesks(std::nullopt, false);
    // The next input starts from the demo menu again.
    platform::fs::remove(path);
    return 0;
}
