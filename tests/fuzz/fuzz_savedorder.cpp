// A saved-order file read as the offline file and as a desk's file, then written back: whatever
// it held, what is written must read again.
#include <cstdint>
#include <string>

#include "FuzzHome.h"
#include "GData/GDataXML.h"
#include "model/NSDeskClass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzHome();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string outDesk = NSServer::getDataPath() + "/OUTDESK.ATD";
    platform::fs::writeAtomically(outDesk, bytes);
    platform::fs::writeAtomically(NSServer::getDataPath() + "/D1.ATD", bytes);
    NSServer::loadOutDesk();
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = "D1";
    NSServer::loadSelectDish(desk);
    NSServer::saveOutDesk();
    auto written = platform::fs::readAll(outDesk);
    if (!written || !GDataXMLDocument::initWithDataOptionsError(*written, 0, nullptr)) __builtin_trap();
    // Unreadable inputs are moved aside; keep the scratch folder from filling up.
    for (const char* name : {"OUTDESK.ATD", "D1.ATD"})
        for (const char* suffix : {".damaged", ".damaged-2"})
            platform::fs::remove(NSServer::getDataPath() + "/" + name + suffix);
    return 0;
}
