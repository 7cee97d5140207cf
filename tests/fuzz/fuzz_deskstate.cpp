// The desk replies: a desk-state reply building the desk tree over the demo floor plan (with the
// offline section), and the desk-line replies over a desk that holds unsent lines.
#include <cstdint>
#include <string>

#include "FuzzHome.h"
#include "model/NSATreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "net/NSTcpPacket.h"

namespace {

void prepareFloor() {
    const std::string key = NSServer::getMacAdr();
    NSServer().stringDataWriteToFile(NSServer::getDataPath() + "/ssdept.dat", key,
                                     "<morvane><data><record f1=\"R1\" f2=\"大厅\"/><record f1=\"R2\" f2=\"包间\"/></data></morvane>");
    NSServer().stringDataWriteToFile(NSServer::getDataPath() + "/zuot.dat", key,
                                     "<morvane><data><record f1=\"00000001\" f2=\"1\" f3=\"R1\" f4=\"4\"/>"
                                     "<record f1=\"00000002\" f2=\"2\" f3=\"R1\" f4=\"6\"/>"
                                     "<record f1=\"00000003\" f2=\"3\" f3=\"R2\" f4=\"8\"/></data></morvane>");
    NSServer::loadCaipXml();
    auto offline = std::make_shared<NSDeskList>();
    offline->push_back(std::make_shared<NSDeskClass>());
    NSServer::setOutDesk(offline);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        fuzzHome();
        prepareFloor();
        return true;
    }();
    (void)ready;
    const std::string text(reinterpret_cast<const char*>(data), size);
    NSServer::loadDesks(text, true);
    auto tree = NSServer::getDesks();
    if (!tree || tree->m_length < 1) __builtin_trap();

    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = "00000001";
    auto unsent = std::make_shared<NSDishClass>();
    unsent->m_strXfmxID = "H1";
    desk->m_DishList.push_back(unsent);
    NSTcpPacket::readUpdateMenu(text, *desk);
    NSTcpPacket::readDeskDetail(text, *desk);
    for (const auto& line : desk->m_DishList)
        if (line->m_parentpos < -1 || line->m_parentpos >= static_cast<int>(desk->m_DishList.size())) __builtin_trap();
    return 0;
}
