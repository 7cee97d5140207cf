// An enciphered table file: Base64, deciphered with the device key, then parsed as XML.
#include <cstdint>
#include <string>

#include "FuzzHome.h"
#include "GData/GDataXML.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzHome();
    const std::string path = NSServer::getDataPath() + "/caip.dat";
    platform::fs::writeAtomically(path, std::string(reinterpret_cast<const char*>(data), size));
    std::string xml = NSServer().stringDataReadFromFile(path);
    if (auto doc = GDataXMLDocument::initWithDataOptionsError(xml, 0, nullptr)) {
        if (auto root = doc->rootElement()) {
            if (auto rows = firstElement(root, "data")) rows->stringValue();
        }
    }
    return 0;
}
