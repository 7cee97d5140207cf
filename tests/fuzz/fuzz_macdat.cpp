// The stored device key (mac.dat): Base64, deciphered with the device identifier.
#include <cstdint>
#include <string>

#include "FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzHome();
    platform::fs::writeAtomically(NSServer::getDataPath() + "/mac.dat",
                                  std::string(reinterpret_cast<const char*>(data), size));
    NSServer::loadMacAdr();
    return 0;
}
