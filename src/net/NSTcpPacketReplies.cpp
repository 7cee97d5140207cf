// The reply forms: each runs the exchange of its request and reads the answer into the data
// model. Missing fields never fail a form; they read as no text, 0 and "not set".

#include <cstdint>
#include <utility>

#include "GData/GDataXML.h"
#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpNet.h"
#include "net/NSTcpPacket.h"
#include "platform/foundation/Text.h"

namespace {

using Element = std::shared_ptr<GDataXMLElement>;

// The reply document and its first `data` element (null when either is missing).
struct Reply {
    std::shared_ptr<GDataXMLDocument> doc;
    Element data;
};

Reply replyOf(std::shared_ptr<GDataXMLDocument> doc) {
    Reply r;
    r.doc = std::move(doc);
    if (r.doc) r.data = firstElement(r.doc->rootElement(), "data");
    return r;
}

Reply parseReply(const std::string& text) {
    int error = 0;
    return replyOf(GDataXMLDocument::initWithDataOptionsError(text, 0, &error));
}

// A reply that is no document changes nothing and fails its form.
bool isDocument(const Reply& r) { return r.doc && r.doc->rootElement(); }

// Text of the first child element of that name; none when it is missing.
std::optional<std::string> childText(const Element& parent, const std::string& name) {
    auto e = firstElement(parent, name);
    if (!e) return std::nullopt;
    return e->stringValue().value_or("");
}

std::optional<std::string> attr(const Element& e, const std::string& name) {
    if (!e) return std::nullopt;
    auto a = e->attributeForName(name);
    if (!a) return std::nullopt;
    return a->stringValue().value_or("");
}

std::string text(const std::optional<std::string>& t) { return t.value_or(""); }
int integer(const std::optional<std::string>& t) { return t ? platform::leadingInt(*t) : 0; }
float real(const std::optional<std::string>& t) {
    return t ? static_cast<float>(platform::leadingDouble(*t)) : 0.0f;
}
bool flag(const std::optional<std::string>& t) { return t && *t == "1"; }
// An option is on when the lowest 8 bits of its integer are not all zero.
bool option(const std::optional<std::string>& t) { return t && (static_cast<unsigned>(integer(t)) & 0xFFu) != 0; }

std::vector<Element> children(const Element& parent, const std::string& name) {
    if (!parent) return {};
    return parent->elementsForName(name).value_or(std::vector<Element>());
}

// The attributes a desk-line reply row can carry, read in one pass over the row: a reply of a
// few hundred lines would otherwise search every row once per name.
struct RowAttributes {
    std::optional<std::string> id, set, exp, addOn, qty, var, kw, stat, time, fs, prc, usr, cz, qty2, dw, pf, pare;
    std::shared_ptr<const std::string> gds;
};

RowAttributes rowAttributes(const Element& row) {
    RowAttributes r;
    for (const auto& a : row->attributes()) {
        const std::string name = a->name();
        if (name == "gds") {
            // The first of a name counts, as a lookup by name would find it.
            if (!r.gds) r.gds = a->sharedStringValue();
            continue;
        }
        std::optional<std::string>* slot = nullptr;
        if (name == "id") slot = &r.id;
        else if (name == "Set") slot = &r.set;
        else if (name == "Exp") slot = &r.exp;
        else if (name == "AddOn") slot = &r.addOn;
        else if (name == "qty") slot = &r.qty;
        else if (name == "Var") slot = &r.var;
        else if (name == "kw") slot = &r.kw;
        else if (name == "stat") slot = &r.stat;
        else if (name == "time") slot = &r.time;
        else if (name == "fs") slot = &r.fs;
        else if (name == "prc") slot = &r.prc;
        else if (name == "usr") slot = &r.usr;
        else if (name == "cz") slot = &r.cz;
        else if (name == "qty2") slot = &r.qty2;
        else if (name == "dw") slot = &r.dw;
        else if (name == "pf") slot = &r.pf;
        else if (name == "pare") slot = &r.pare;
        if (slot && !*slot) *slot = a->stringValue().value_or("");
    }
    return r;
}

// A new order line from one desk-line reply row.
std::shared_ptr<NSDishClass> lineFromRow(const RowAttributes& row, bool withRemark) {
    auto line = std::make_shared<NSDishClass>();
    line->m_strXfmxID = text(row.id);
    line->m_bisSet = flag(row.set);
    line->m_bisExp = flag(row.exp);
    line->m_bAddOn = flag(row.addOn);
    // The dish id is the document's shared text: lines of one reply with the same dish share it.
    line->setM_strCaipID(row.gds);
    line->m_fQuantity = real(row.qty);
    line->m_iVarQty = flag(row.var) ? 1 : 0;
    line->m_strKouw = text(row.kw);
    line->GetKouwIDFromstrID(line->m_strKouw);
    line->CreateKouwString();
    line->m_iState = integer(row.stat);
    line->m_strTime = text(row.time);
    line->m_iType = integer(row.fs);
    line->m_strPrice = text(row.prc);
    line->m_fPrice2 = 0;
    line->m_fPrice3 = 0;
    line->m_strWaiterID = text(row.usr);
    line->m_strUserID = text(row.cz);
    line->m_fQuantity2 = real(row.qty2);
    line->m_strUnits = text(row.dw);
    if (withRemark) line->m_strRemark = text(row.pf);
    if (!text(row.pare).empty()) line->m_bisExp = true;
    return line;
}

// Keeps the unsent lines, then appends the reply's rows with their group positions. With
// `byParent` (deskdetail) a row's `pare` names its head among the lines already in the list.
void replaceSentLines(NSDeskClass& desk, const Element& data, bool byParent) {
    auto& list = desk.m_DishList;
    std::erase_if(list, [](const auto& l) { return !l || l->m_iState != NSDishClass::kUnsent; });
    int remembered = 0;
    for (const auto& element : children(data, "row")) {
        const RowAttributes row = rowAttributes(element);
        auto line = lineFromRow(row, byParent);
        if (line->m_bisExp && !line->m_bisSet) {
            line->m_parentpos = remembered;
        } else {
            remembered = static_cast<int>(list.size());
            line->m_parentpos = remembered;
        }
        const std::string parent = byParent ? text(row.pare) : std::string();
        if (!parent.empty())
            for (std::size_t i = 0; i < list.size(); ++i)
                if (list[i]->m_strXfmxID == parent) line->m_parentpos = static_cast<int>(i);
        list.push_back(std::move(line));
    }
}

void refillSellOut(const Element& data) {
    auto db = NSServer::getCaipDB();
    if (!db) return;
    if (!db->m_SellOut) db->m_SellOut = std::make_shared<NSATreeClass>();
    NSATreeClass& sellOut = *db->m_SellOut;
    sellOut.RemoveAll();
    for (const auto& entry : children(firstElement(data, "sellout"), "gds")) {
        std::string id = entry->stringValue().value_or("");
        auto dish = db->GetCaipFromID(id);
        // A dish the menu lacks is still listed, without a name.
        std::string name = dish ? dish->m_strName : std::string();
        if (!text(attr(entry, "txt")).empty()) name = platform::fmt("%@-%@", name, text(attr(entry, "reason")));
        int row = sellOut.AddItem(id, name, text(attr(entry, "qty")));
        if (row >= 0) {
            if (sellOut.m_uint.size() <= static_cast<std::size_t>(row)) sellOut.m_uint.resize(static_cast<std::size_t>(row) + 1, 0);
            sellOut.m_uint[static_cast<std::size_t>(row)] = flag(attr(entry, "unit2")) ? 1 : 0;
        }
    }
}

// ---- the readings ----

bool readUpdateMenuFrom(const Reply& reply, NSDeskClass& desk) {
    if (!isDocument(reply)) return false;
    auto deskElement = firstElement(reply.data, "desk");
    auto deskID = childText(reply.data, "desk");
    if (deskID && *deskID == desk.m_strDeskID) {
        desk.m_iClientNum = integer(attr(deskElement, "rens"));
        desk.m_strConsumeID = text(attr(deskElement, "bill"));
        replaceSentLines(desk, reply.data, false);
    }
    refillSellOut(reply.data);
    return true;
}

bool readDeskDetailFrom(const Reply& reply, NSDeskClass& desk) {
    if (!isDocument(reply)) return false;
    auto deskElement = firstElement(reply.data, "desk");
    auto deskID = childText(reply.data, "desk");
    if (!deskID || *deskID != desk.m_strDeskID) return false;
    desk.m_strDeskState = text(attr(deskElement, "state"));
    if (desk.m_strDeskState == "1") return true;  // a free desk: nothing more to take
    desk.m_iClientNum = integer(attr(deskElement, "rens"));
    desk.m_strWaiterID = text(attr(deskElement, "waiter"));
    desk.m_strConsumeID = text(attr(deskElement, "bill"));
    desk.m_strBeginTime = text(attr(deskElement, "time"));
    desk.SetUpdate(true);
    replaceSentLines(desk, reply.data, true);
    refillSellOut(reply.data);
    return true;
}

bool readLoginFrom(const Reply& reply, int* code, NSUserClass& user) {
    if (!isDocument(reply)) return false;
    // The server echoes the user id enciphered with the company number: it must be ours.
    NSEncDec cipher;
    auto echoed = cipher.decodeBase64(text(childText(reply.data, "waiterid")));
    if (!echoed || cipher.Encrypt(*echoed, NSServer::getJtNO()) != user.m_strUserID) return false;
    if (code) *code = integer(childText(reply.data, "code"));
    int count = integer(childText(reply.data, "dishcount"));
    if (count > user.m_iDishCount) user.m_iDishCount = count;
    NSServer::setFMIDSTYLE(real(childText(reply.data, "ScaleMid")));
    NSServer::setFBIGSTYLE(real(childText(reply.data, "ScaleLarge")));
    auto opt = firstElement(reply.data, "opt");
    NSServer::setIsSendClose(option(attr(opt, "SendClose")));
    NSServer::setIsLongSocket(option(attr(opt, "LongSocket")));
    NSServer::writeINI();
    return true;
}

bool readOpenDeskFrom(const Reply& reply, NSDeskClass& desk) {
    if (!isDocument(reply)) return false;
    auto deskID = childText(reply.data, "deskid");
    if (!deskID || *deskID != desk.m_strDeskID) return false;
    auto state = childText(reply.data, "state");
    desk.m_bSale = !(state && state->empty());
    desk.m_strDeskState = text(state);
    desk.m_iClientNum = integer(childText(reply.data, "rens"));
    desk.m_strWaiterID = text(childText(reply.data, "waiter"));
    desk.m_strConsumeID = text(childText(reply.data, "consumeid"));
    desk.SetUpdate(true);
    return true;
}

bool readYudingOpenFrom(const Reply& reply, NSDeskClass& desk) {
    if (!isDocument(reply)) return false;
    auto deskID = childText(reply.data, "deskid");
    if (!deskID || *deskID != desk.m_strDeskID) return false;
    desk.m_iClientNum = integer(childText(reply.data, "rens"));
    desk.m_strWaiterID = text(childText(reply.data, "waiterid"));
    desk.m_strConsumeID = text(childText(reply.data, "xiaofid"));
    return true;
}

bool readYuDingInfoFrom(const Reply& reply, NSYuDingClass& reservation) {
    if (!isDocument(reply)) return false;
    auto yud = firstElement(reply.data, "yud");
    reservation.clientNum = integer(attr(yud, "rens"));
    reservation.CompanyName = text(attr(yud, "dwmc"));
    reservation.DiningTime = text(attr(yud, "jcsj"));
    reservation.GuestName = text(attr(yud, "grmc"));
    reservation.telephone = text(attr(yud, "lxdh"));
    reservation.YuDingTime = text(attr(yud, "ydsj"));
    reservation.consumeid = yud ? yud->stringValue().value_or("") : std::string();
    reservation.bz = text(childText(reply.data, "bz"));

    auto desks = NSServer::getDesks();
    auto user = NSServer::getNowUser();
    for (const auto& row : children(firstElement(reply.data, "desk"), "row")) {
        if (!desks) break;
        std::string id = row->stringValue().value_or("");
        const NSATreeClass& tree = *desks;
        std::size_t nodes = std::min(static_cast<std::size_t>(std::max(tree.m_length, 0)), tree.m_code.size());
        for (std::size_t i = 0; i < nodes; ++i) {
            if (tree.m_code[i] != id) continue;
            auto desk = std::make_shared<NSDeskClass>();
            desk->m_strDeskID = tree.m_code[i];
            desk->m_strDeskName = i < tree.m_name.size() ? tree.m_name[i] : std::string();
            int parent = i < tree.m_pid.size() ? tree.m_pid[i] : -1;
            if (parent >= 0 && static_cast<std::size_t>(parent) < tree.m_name.size())
                desk->m_kongjmc = tree.m_name[static_cast<std::size_t>(parent)];
            desk->m_strConsumeID = i < tree.m_str1.size() ? tree.m_str1[i] : std::string();
            desk->m_strWaiterID = user ? user->m_strUserID : std::string();
            desk->m_iClientNum = integer(attr(row, "rens"));
            reservation.m_DeskList.push_back(std::move(desk));
        }
    }

    auto db = NSServer::getCaipDB();
    for (const auto& row : children(firstElement(reply.data, "caip"), "row")) {
        std::string id = row->stringValue().value_or("");
        auto line = std::make_shared<NSDishClass>();
        if (db) line->CopyCaip(db->GetCaipFromID(id));
        line->m_fQuantity = real(attr(row, "qty"));
        line->m_strZuofShul = text(attr(row, "kw"));
        line->m_iType = integer(attr(row, "fs"));
        line->m_struid = id;
        line->m_bisSet = flag(attr(row, "Set"));
        line->m_bisExp = false;
        if (auto parent = attr(row, "pare")) {
            line->m_parentpos = integer(parent);
            line->m_bisExp = true;
        }
        if (flag(attr(row, "Exp"))) line->m_bisExp = true;
        reservation.m_DishList.push_back(std::move(line));
    }
    return true;
}

bool readTreeDataFrom(const Reply& reply, NSATreeClass& tree) {
    if (!isDocument(reply)) return false;
    for (const auto& row : children(reply.data, "row"))
        tree.AddItem(text(attr(row, "code")), row->stringValue().value_or(""), text(attr(row, "stat")));
    return true;
}

}  // namespace

bool NSTcpPacket::readUpdateMenu(const std::string& replyText, NSDeskClass& desk) {
    return readUpdateMenuFrom(parseReply(replyText), desk);
}

bool NSTcpPacket::readDeskDetail(const std::string& replyText, NSDeskClass& desk) {
    return readDeskDetailFrom(parseReply(replyText), desk);
}

bool NSTcpPacket::readLogin(const std::string& replyText, int* code, NSUserClass& user) {
    return readLoginFrom(parseReply(replyText), code, user);
}

bool NSTcpPacket::readOpenDesk(const std::string& replyText, NSDeskClass& desk) {
    return readOpenDeskFrom(parseReply(replyText), desk);
}

bool NSTcpPacket::readYudingOpen(const std::string& replyText, NSDeskClass& desk) {
    return readYudingOpenFrom(parseReply(replyText), desk);
}

bool NSTcpPacket::readYuDingInfo(const std::string& replyText, NSYuDingClass& reservation) {
    return readYuDingInfoFrom(parseReply(replyText), reservation);
}

bool NSTcpPacket::readTreeData(const std::string& replyText, NSATreeClass& tree) {
    return readTreeDataFrom(parseReply(replyText), tree);
}

std::string NSTcpPacket::readRecord(const std::string& reply) {
    auto end = reply.find(NSTcpNet::kReplyEnd);
    return end == std::string::npos ? reply : reply.substr(0, end);
}

// ---- the forms ----

bool NSTcpPacket::sendPacketForUpdateMenu(NSDeskClass& desk) {
    replyLimit = kDeskReplyBytes;
    if (!sendPacketForNone(true)) return false;
    return readUpdateMenuFrom(replyOf(std::move(replyDocument_)), desk);
}

bool NSTcpPacket::sendPacketForDeskDetail(NSDeskClass& desk) {
    replyLimit = kDeskReplyBytes;
    if (!sendPacketForNone(true)) return false;
    return readDeskDetailFrom(replyOf(std::move(replyDocument_)), desk);
}

bool NSTcpPacket::sendPacketForLogin(int* code, NSUserClass& user) {
    if (!sendPacketForNone(true)) return false;
    return readLoginFrom(replyOf(std::move(replyDocument_)), code, user);
}

bool NSTcpPacket::sendPacketForDeskState(bool offline) {
    replyLimit = kDeskReplyBytes;
    bool ok = sendPacketForNone(true);
    // The desk tree reads the text itself; only one document of it is held at a time.
    replyDocument_.reset();
    if (ok) NSServer::loadDesks(receiveMessage, offline);
    return ok;
}

bool NSTcpPacket::sendPacketForOpenDesk(NSDeskClass& desk) {
    if (!sendPacketForNone(true)) return false;
    return readOpenDeskFrom(replyOf(std::move(replyDocument_)), desk);
}

bool NSTcpPacket::sendPacketForYuding(NSDeskClass& desk) {
    if (!sendPacketForNone(true)) return false;
    return readYudingOpenFrom(replyOf(std::move(replyDocument_)), desk);
}

bool NSTcpPacket::sendPacketForYuDing(NSYuDingClass& reservation) {
    if (!sendPacketForNone(true)) return false;
    return readYuDingInfoFrom(replyOf(std::move(replyDocument_)), reservation);
}

bool NSTcpPacket::sendPacketForTreeData(const std::string& listName, std::shared_ptr<NSATreeClass>& tree) {
    if (!tree) tree = std::make_shared<NSATreeClass>();
    replyLimit = kListReplyBytes;
    if (setText("param1", listName)) rebuild();
    if (!sendPacketForNone(true)) return false;
    return readTreeDataFrom(replyOf(std::move(replyDocument_)), *tree);
}

bool NSTcpPacket::sendPacketForRecord() {
    // The table text is Base64, no document: the synchronisation checks what it holds.
    replyLimit = kTableReplyBytes;
    replyIsDocument = false;
    if (!sendPacketForNone(true)) return false;
    receiveMessage = readRecord(receiveMessage.value_or(""));
    return true;
}
