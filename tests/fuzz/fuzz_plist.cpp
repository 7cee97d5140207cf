// XML property lists (user defaults, pasteboards, picture indexes): read, and a dictionary that
// was read is written and must read back the same.
#include <cstdint>
#include <string>

#include "platform/foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto value = platform::plistFromXml(std::string(reinterpret_cast<const char*>(data), size));
    if (!value) return 0;
    auto again = platform::plistFromXml(platform::plistToXml(*value));
    if (!again) __builtin_trap();
    return 0;
}
