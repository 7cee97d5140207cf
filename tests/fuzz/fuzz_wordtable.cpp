// CHINESE.TXT as the word table reads it (UTF-8 or GB18030 JSON).
#include <cstdint>
#include <string>

#include "FuzzHome.h"
#include "core/NSLangueManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzHome();
    platform::fs::writeAtomically(NSServer::getSkinsPath() + "/FUZZ.TXT",
                                  std::string(reinterpret_cast<const char*>(data), size));
    NSLangueManager words;
    if (words.loadLangue("FUZZ.TXT")) words.word("onok");
    return 0;
}
