// Feeds arbitrary bytes to every reply reading of the server client, as a hostile or broken
// back office would send them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzHome.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpPacket.h"

namespace {

void prepareHub() {
    auto db = std::make_shared<NSCaipDBClass>();
    auto dish = std::make_shared<NSCaipClass>();
    dish->m_strID = std::make_shared<const std::string>("101");
    dish->m_strName = "dish";
    db->m_CaipArray.push_back(dish);
    db->m_SellOut = std::make_shared<NSATreeClass>();
    NSServer::setCaipDB(db);
    auto desks = std::make_shared<NSATreeClass>();
    int room = desks->AddChild4(0, "", "room", "");
    desks->AddChild4(room, "A01", "desk", "1");
    NSServer::setDesks(desks);
    auto user = std::make_shared<NSUserClass>();
    user->m_strUserID = "0001";
    NSServer::setNowUser(user);
}

std::shared_ptr<NSDeskClass> deskWithLines() {
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = "A01";
    auto line = std::make_shared<NSDishClass>();
    line->m_strXfmxID = "H1";
    desk->m_DishList.push_back(line);
    return desk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        fuzzHome();
        prepareHub();
        return true;
    }();
    (void)ready;
    std::string text(reinterpret_cast<const char*>(data), size);

    NSTcpPacket::readUpdateMenu(text, *deskWithLines());
    auto desk = deskWithLines();
    NSTcpPacket::readDeskDetail(text, *desk);
    // Whatever the reply said, every group position stays inside the list.
    for (const auto& line : desk->m_DishList)
        if (line->m_parentpos < -1 || line->m_parentpos >= static_cast<int>(desk->m_DishList.size())) __builtin_trap();
    NSTcpPacket::readOpenDesk(text, *deskWithLines());
    NSTcpPacket::readYudingOpen(text, *deskWithLines());
    NSYuDingClass reservation;
    NSTcpPacket::readYuDingInfo(text, reservation);
    NSATreeClass tree;
    NSTcpPacket::readTreeData(text, tree);
    if (NSTcpPacket::readRecord(text).size() > text.size()) __builtin_trap();
    NSUserClass user;
    user.m_strUserID = "0001";
    int code = 0;
    NSTcpPacket::readLogin(text, &code, user);
    static NSTcpPacket* packet = new NSTcpPacket();  // kept for the whole run
    packet->messageIsError(text);
    return 0;
}
