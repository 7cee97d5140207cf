// The desk, order-line and bill operations of the hub: one request each, built, exchanged and read
// by NSTcpPacket, turned into one result.

#include <algorithm>
#include <cmath>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpPacket.h"
#include "net/RootServices.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

// A custom request for the logged-in user on the given desk.
std::shared_ptr<NSTcpPacket> customFor(const std::string& word, const std::string& param1,
                                       const std::string& param2, const NSDeskClass& desk,
                                       bool* filled = nullptr) {
    auto packet = NSTcpPacket::initWithCustom(word, param1, param2);
    bool ok = packet->SetCustom(NSServer::getNowUser()->m_strUserID, desk.m_strDeskID,
                                desk.m_strConsumeID);
    if (filled) *filled = ok;
    return packet;
}

// The common shape: a custom request on the current desk, answered by the plain exchange.
bool sendCustomOnNowDesk(const std::string& word, const std::string& param1,
                         const std::string& param2) {
    bool filled = false;
    auto packet = customFor(word, param1, param2, *NSServer::getNowDesk(), &filled);
    if (!filled) return false;
    return packet->sendPacketForNone(true);
}

const char* kMissingDishText =
    "接收的菜品在本地数据库菜品表中不存在，可能是菜品没有同步，请先同步然后选择桌台！";

}  // namespace

bool NSServer::XCall() { return sendCustomOnNowDesk("call", "", ""); }

bool NSServer::XPrint() { return sendCustomOnNowDesk("print", "", ""); }

bool NSServer::clearDesk() {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kClearDesk);
    if (!packet->setClearDesk(*getNowDesk())) return false;
    return packet->sendPacketForNone(true);
}

bool NSServer::changeDesk(const std::string& guests, const std::string& waiter,
                          const std::string& remark) {
    auto desk = getNowDesk();
    bool filled = false;
    auto packet = customFor("setdeskpeoples", platform::fmt("%i", desk->m_iClientNum), guests,
                            *desk, &filled);
    if (!filled) return false;
    if (!packet->addElement("param3", waiter) || !packet->addElement("param4", remark)) return false;
    return packet->sendPacketForNone(true);
}

bool NSServer::setDeskPeoples(int guests) {
    return sendCustomOnNowDesk("setdeskpeoples", platform::fmt("%i", getNowDesk()->m_iClientNum),
                               platform::fmt("%i", guests));
}

bool NSServer::XDeskChange(const NSDeskClass& target) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kChangeDesk);
    if (!packet->setChangeDesk(*getNowDesk(), target)) return false;
    return packet->sendPacketForNone(true);
}

bool NSServer::readipad() {
    auto desk = getNowDesk();
    if (desk->m_strDeskID.empty()) return false;
    // The id names a file of the data folder: one that could leave it is never written.
    if (!isSafeDeskFileName(desk->m_strDeskID)) return false;
    bool filled = false;
    auto packet = customFor("ipadload", "", "", *desk, &filled);
    // What is stored must read back: a copy larger than the reader takes is refused.
    packet->replyLimit = kMaxSavedOrderBytes;
    if (!filled || !packet->sendPacketForNone(true) || !packet->receiveMessage) return false;
    const std::string& reply = *packet->receiveMessage;
    // Only a saved-order document replaces the desk file: anything else would leave the desk
    // without its unsent lines the next time it is read.
    auto document = GDataXMLDocument::initWithDataOptionsError(reply, 0, nullptr);
    auto root = document ? document->rootElement() : nullptr;
    if (!root || root->name() != "morvane" || !firstElement(root, "desk")) return false;
    return platform::fs::writeAtomically(platform::fmt("%@/%@.ATD", getDataPath(), desk->m_strDeskID),
                                         reply);
}

bool NSServer::DownloadDeskState(bool offline) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kDeskState);
    if (!packet->setAllDeskState()) return false;
    return packet->sendPacketForDeskState(offline);
}

std::optional<std::string> NSServer::getNowRebate(const std::optional<std::string>& code,
                                                  float amount) {
    std::string param2 = amount == 0 ? std::string() : platform::fmt("%g", static_cast<double>(amount));
    // This request goes out whatever the filler answers.
    auto packet = customFor("rebatexiaof", code.value_or("get"), param2, *getNowDesk());
    packet->replyIsDocument = false;  // the text between <html> and </html> is read as it is
    if (!packet->sendPacketForNone(true) || !packet->receiveMessage) return std::nullopt;
    const std::string& reply = *packet->receiveMessage;
    auto open = reply.find("<html>");
    if (open == std::string::npos) return std::string();
    std::string rest = reply.substr(open + 6);
    auto close = rest.find("</html>");
    // Without a closing tag the whole rest is the text.
    return close == std::string::npos ? rest : rest.substr(0, close);
}

bool NSServer::getRebate() {
    auto db = getCaipDB();
    if (!db->m_rebate) db->m_rebate = std::make_shared<NSATreeClass>();
    db->m_rebate->RemoveAll();
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
    if (!packet->sendPacketForTreeData("rebate", db->m_rebate)) return false;
    db->m_rebate->AddItem("", "取消折扣", "/");
    return true;
}

bool NSServer::addDish(const NSDeskClass& desk) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kAddDish);
    if (!packet->setAddDish(desk)) return false;
    // The send ends the doubt once the desk's file no longer offers the accepted lines.
    packet->keepsNoteOnReply = true;
    return packet->sendPacketForNone(true);
}

bool NSServer::XHastenDish(const NSDishClass& line, const std::string& waiterID,
                           const std::string& type, const std::string& msg) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kHasten);
    if (!packet->setHasten(line, waiterID, type, msg)) return false;
    return packet->sendPacketForNone(true);
}

bool NSServer::XYuDingInfo(const NSDeskClass& desk, NSYuDingClass& reservation) {
    bool filled = false;
    auto packet = customFor("yudinfo", desk.m_strConsumeID, desk.m_strDeskID, desk, &filled);
    if (!filled) return false;
    return packet->sendPacketForYuDing(reservation);
}

bool NSServer::XPrint2() {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kPrintAllDish);
    if (!packet->SetPrintAllDish(*getNowDesk())) return false;
    return packet->sendPacketForNone(true);
}

bool NSServer::XRefreshDishList(NSDeskClass& desk, std::function<void()> whileWaiting) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu);
    if (!packet->setUpdateMenu(desk)) return false;
    packet->whileWaiting = std::move(whileWaiting);
    const bool read = packet->sendPacketForUpdateMenu(desk);
    desk.m_bStaleView = !read;
    return read;
}

bool NSServer::XDeskDetail(NSDeskClass& desk) {
    bool filled = false;
    auto packet = customFor("deskdetail", "", "", desk, &filled);
    if (!filled || !packet->sendPacketForDeskDetail(desk)) {
        desk.m_bStaleView = true;
        return false;
    }
    desk.m_bStaleView = false;
    // Complete the server's lines from the menu: the reply carries ids, not names or prices.
    auto db = getCaipDB();
    std::string lastUser, lastUserName, lastWaiter, lastWaiterName;
    bool haveUser = false, haveWaiter = false;
    for (const auto& line : desk.m_DishList) {
        auto caip = db->GetCaipFromID(*line->m_strCaipID);
        if (!caip || !caip->m_strID || caip->m_strID->empty()) {
            showAlertOrMessage("提示", kMissingDishText);
            return false;
        }
        line->m_strCaipName = caip->m_strName;
        if (line->m_strUnits.empty()) line->m_strUnits = caip->m_strDanw;
        line->m_iPrice = caip->m_iPrice;
        line->m_strZuofID = caip->m_strZuofID;
        line->m_strCost = caip->m_strCost;
        line->m_strMLL = caip->m_strMLL;
        if (!haveUser || line->m_strUserID != lastUser) {
            lastUser = line->m_strUserID;
            lastUserName = db->GetUserNameFromUserID(lastUser);
            haveUser = true;
        }
        line->m_strUserName = lastUserName;
        if (!haveWaiter || line->m_strWaiterID != lastWaiter) {
            lastWaiter = line->m_strWaiterID;
            lastWaiterName = db->GetUserNameFromUserID(lastWaiter);
            haveWaiter = true;
        }
        line->m_strWaiterName = lastWaiterName;
    }
    return true;
}

bool NSServer::OpenDesk(NSDeskClass& desk) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kOpenDesk);
    if (!packet->setOpenDesk(desk)) return false;
    return packet->sendPacketForOpenDesk(desk);
}

bool NSServer::OpenYudingDesk(const NSYuDingClass& reservation) {
    auto desk = getNowDesk();
    bool filled = false;
    auto packet = customFor("yudopen", desk->m_strConsumeID, desk->m_strDeskID, *desk, &filled);
    if (!filled || !packet->setYuDing(reservation)) return false;
    return packet->sendPacketForYuding(*desk);
}

bool NSServer::XDelDish(const NSDeskClass& desk) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kDelDish);
    if (!packet->setDelDish(desk)) return false;
    packet->keepsNoteOnReply = true;
    return packet->sendPacketForDelCaip();
}

bool NSServer::XModifyDishQty(const NSDishClass& line, const NSDeskClass& desk,
                              const std::string& quantity) {
    bool filled = false;
    auto packet = customFor("modifyqty", line.m_strXfmxID, quantity, desk, &filled);
    if (!filled) return false;
    return packet->sendPacketForNone(true);
}

bool NSServer::deleteCaip(const std::shared_ptr<NSDishClass>& line) {
    auto desk = getNowDesk();
    auto& list = desk->m_DishList;
    auto it = std::find(list.begin(), list.end(), line);
    if (it != list.end()) list.erase(it);
    saveSelectDish0();
    return true;
}

bool NSServer::selectCaip(const void*) { return false; }

bool NSServer::messageIsError(const std::optional<std::string>& text) {
    NSTcpPacket packet;
    return packet.messageIsError(text);
}
