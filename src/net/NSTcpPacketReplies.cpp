// The reply forms: each runs the exchange of its request and reads the answer into the data
// model. Missing fields never fail a form; they read as no text, 0 and "not set".

#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <utility>

#include "GData/GDataXML.h"
#include "GData/GDataXMLStream.h"
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

// The attributes a desk-line reply row is read for.
enum RowKey { kId, kSet, kExp, kAddOn, kGds, kQty, kVar, kKw, kStat, kTime, kFs, kPrc, kUsr, kCz, kQty2, kDw, kPf, kPare, kRowKeys };

// A name of up to eight characters as one number (names hold no NUL, so equal numbers are equal
// names): a row's attributes are told apart without comparing texts.
constexpr std::uint64_t packedName(std::string_view n) {
    std::uint64_t v = 0;
    for (char c : n) v = v << 8 | static_cast<unsigned char>(c);
    return v;
}

int rowKey(std::string_view n) {
    if (n.empty() || n.size() > 8) return -1;
    switch (packedName(n)) {
    case packedName("id"): return kId;
    case packedName("Set"): return kSet;
    case packedName("Exp"): return kExp;
    case packedName("AddOn"): return kAddOn;
    case packedName("gds"): return kGds;
    case packedName("qty"): return kQty;
    case packedName("Var"): return kVar;
    case packedName("kw"): return kKw;
    case packedName("stat"): return kStat;
    case packedName("time"): return kTime;
    case packedName("fs"): return kFs;
    case packedName("prc"): return kPrc;
    case packedName("usr"): return kUsr;
    case packedName("cz"): return kCz;
    case packedName("qty2"): return kQty2;
    case packedName("dw"): return kDw;
    case packedName("pf"): return kPf;
    case packedName("pare"): return kPare;
    default: return -1;
    }
}

// The values of one row, read in one pass over its attributes: the first of a name counts, and a
// missing one reads as no text, 0 and "not set".
struct RowValues {
    std::string_view value[kRowKeys];
    unsigned seen = 0;

    explicit RowValues(std::span<const GDataXMLStreamAttribute> attributes) {
        for (const auto& a : attributes) {
            const int key = rowKey(a.name);
            if (key < 0 || (seen >> key & 1u)) continue;
            seen |= 1u << key;
            value[key] = a.value;
        }
    }
    bool has(int key) const { return (seen >> key & 1u) != 0; }
    std::string text(int key) const { return std::string(value[key]); }
    bool flag(int key) const { return value[key] == "1"; }
    int integer(int key) const { return has(key) ? platform::leadingInt(value[key]) : 0; }
    float real(int key) const { return has(key) ? static_cast<float>(platform::leadingDouble(value[key])) : 0.0f; }
};

// A new order line from one desk-line reply row; `caipID` is the row's dish id as the reply's
// shared text (lines of one reply with the same dish share it).
std::shared_ptr<NSDishClass> lineFromRow(const RowValues& row, std::shared_ptr<const std::string> caipID,
                                         bool withRemark) {
    auto line = std::make_shared<NSDishClass>();
    line->m_strXfmxID = row.text(kId);
    line->m_bisSet = row.flag(kSet);
    line->m_bisExp = row.flag(kExp) || !row.value[kPare].empty();
    line->m_bAddOn = row.flag(kAddOn);
    line->setM_strCaipID(std::move(caipID));
    line->m_fQuantity = row.real(kQty);
    line->m_iVarQty = row.flag(kVar) ? 1 : 0;
    line->m_strKouw = row.text(kKw);
    line->GetKouwIDFromstrID(line->m_strKouw);
    line->CreateKouwString();
    line->m_iState = row.integer(kStat);
    line->m_strTime = row.text(kTime);
    line->m_iType = row.integer(kFs);
    line->m_strPrice = row.text(kPrc);
    line->m_fPrice2 = 0;
    line->m_fPrice3 = 0;
    line->m_strWaiterID = row.text(kUsr);
    line->m_strUserID = row.text(kCz);
    line->m_fQuantity2 = row.real(kQty2);
    line->m_strUnits = row.text(kDw);
    if (withRemark) line->m_strRemark = row.text(kPf);
    return line;
}

// A desk-line reply (the refresh and the desk detail) as its readers use it: the first `data`
// element's first desk with its text and attributes, its rows, and its sold-out list. Read
// without a tree: such a reply can hold thousands of rows and is read once.
struct DeskLinesReply {
    struct Entry {
        std::string id;
        std::optional<std::string> txt, reason, qty, unit2;
    };
    bool detail = false;  // read for the desk detail
    bool data = false;
    std::optional<std::string> deskText;  // none without a desk element
    std::optional<std::string> rens, bill, state, waiter, time;
    // The rows as order lines, made as they are read; with a remark and the head each names
    // (`pare`) when read for the desk detail.
    std::vector<std::shared_ptr<NSDishClass>> lines;
    std::vector<std::string> parents;
    std::vector<Entry> sellOut;
};

class DeskLinesReader : public GDataXMLStreamHandler {
public:
    explicit DeskLinesReader(DeskLinesReply& reply) : reply_(reply) {}

    void startElement(int depth, std::string_view name, std::span<const GDataXMLStreamAttribute> attributes) override {
        if (depth == 1 && name == "data" && !reply_.data) {
            reply_.data = inData_ = true;
            return;
        }
        if (depth != 2 || !inData_) {
            if (depth == 3 && inSellOut_ && name == "gds") startEntry(attributes);
            return;
        }
        if (name == "row") {
            const RowValues row(attributes);
            reply_.lines.push_back(lineFromRow(row, row.has(kGds) ? shared(row.value[kGds]) : nullptr, reply_.detail));
            if (reply_.detail) reply_.parents.push_back(row.text(kPare));
        } else if (name == "desk" && !reply_.deskText) {
            reply_.deskText.emplace();
            inDesk_ = true;
            for (const auto& a : attributes) {
                std::optional<std::string>* slot = a.name == "rens" ? &reply_.rens
                                                   : a.name == "bill" ? &reply_.bill
                                                   : a.name == "state" ? &reply_.state
                                                   : a.name == "waiter" ? &reply_.waiter
                                                   : a.name == "time" ? &reply_.time
                                                                      : nullptr;
                if (slot && !*slot) *slot = std::string(a.value);
            }
        } else if (name == "sellout" && !sellOutSeen_) {
            sellOutSeen_ = inSellOut_ = true;
        }
    }

    void text(int /*depth*/, std::string_view text) override {
        if (inDesk_) *reply_.deskText += text;
        if (inEntry_) reply_.sellOut.back().id += text;
    }

    void endElement(int depth) override {
        if (depth == 1) inData_ = false;
        if (depth == 2) inDesk_ = inSellOut_ = false;
        if (depth == 3) inEntry_ = false;
    }

private:
    void startEntry(std::span<const GDataXMLStreamAttribute> attributes) {
        auto& entry = reply_.sellOut.emplace_back();
        inEntry_ = true;
        for (const auto& a : attributes) {
            std::optional<std::string>* slot = a.name == "txt" ? &entry.txt
                                               : a.name == "reason" ? &entry.reason
                                               : a.name == "qty" ? &entry.qty
                                               : a.name == "unit2" ? &entry.unit2
                                                                   : nullptr;
            if (slot && !*slot) *slot = std::string(a.value);
        }
    }

    std::shared_ptr<const std::string> shared(std::string_view text) {
        auto it = texts_.find(text);
        if (it != texts_.end()) return it->second;
        auto made = std::make_shared<const std::string>(text);
        texts_.emplace(*made, made);
        return made;
    }

    DeskLinesReply& reply_;
    bool inData_ = false, inDesk_ = false, inSellOut_ = false, sellOutSeen_ = false, inEntry_ = false;
    std::map<std::string, std::shared_ptr<const std::string>, std::less<>> texts_;
};

// Reads the text into `reply` (emptied first), for the desk detail or the refresh; false when
// it is no document.
bool readDeskLines(const std::string& text, DeskLinesReply& reply, bool detail) {
    reply = DeskLinesReply();
    reply.detail = detail;
    DeskLinesReader reader(reply);
    return GDataXMLStreamRead(text, reader);
}

// Keeps the unsent lines, then appends the reply's rows with their group positions. In a desk
// detail a row's `pare` names its head among the lines already in the list.
void replaceSentLines(NSDeskClass& desk, DeskLinesReply& reply) {
    auto& list = desk.m_DishList;
    std::erase_if(list, [](const auto& l) { return !l || l->m_iState != NSDishClass::kUnsent; });
    list.reserve(list.size() + reply.lines.size());
    int remembered = 0;
    for (std::size_t r = 0; r < reply.lines.size(); ++r) {
        auto& line = reply.lines[r];
        if (line->m_bisExp && !line->m_bisSet) {
            line->m_parentpos = remembered;
        } else {
            remembered = static_cast<int>(list.size());
            line->m_parentpos = remembered;
        }
        if (reply.detail && !reply.parents[r].empty())
            for (std::size_t i = 0; i < list.size(); ++i)
                if (list[i]->m_strXfmxID == reply.parents[r]) line->m_parentpos = static_cast<int>(i);
        list.push_back(std::move(line));
    }
    reply.lines.clear();
}

void refillSellOut(const DeskLinesReply& reply) {
    auto db = NSServer::getCaipDB();
    if (!db) return;
    if (!db->m_SellOut) db->m_SellOut = std::make_shared<NSATreeClass>();
    NSATreeClass& sellOut = *db->m_SellOut;
    sellOut.RemoveAll();
    for (const auto& entry : reply.sellOut) {
        auto dish = db->GetCaipFromID(entry.id);
        // A dish the menu lacks is still listed, without a name.
        std::string name = dish ? dish->m_strName : std::string();
        if (!text(entry.txt).empty()) name = platform::fmt("%@-%@", name, text(entry.reason));
        int row = sellOut.AddItem(entry.id, name, text(entry.qty));
        if (row >= 0) {
            if (sellOut.m_uint.size() <= static_cast<std::size_t>(row)) sellOut.m_uint.resize(static_cast<std::size_t>(row) + 1, 0);
            sellOut.m_uint[static_cast<std::size_t>(row)] = flag(entry.unit2) ? 1 : 0;
        }
    }
}

// ---- the readings ----

bool readUpdateMenuFrom(DeskLinesReply& reply, NSDeskClass& desk) {
    if (reply.deskText && *reply.deskText == desk.m_strDeskID) {
        desk.m_iClientNum = integer(reply.rens);
        desk.m_strConsumeID = text(reply.bill);
        replaceSentLines(desk, reply);
    }
    refillSellOut(reply);
    return true;
}

bool readDeskDetailFrom(DeskLinesReply& reply, NSDeskClass& desk) {
    if (!reply.deskText || *reply.deskText != desk.m_strDeskID) return false;
    desk.m_strDeskState = text(reply.state);
    if (desk.m_strDeskState == "1") return true;  // a free desk: nothing more to take
    desk.m_iClientNum = integer(reply.rens);
    desk.m_strWaiterID = text(reply.waiter);
    desk.m_strConsumeID = text(reply.bill);
    desk.m_strBeginTime = text(reply.time);
    desk.SetUpdate(true);
    replaceSentLines(desk, reply);
    refillSellOut(reply);
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
    // A number this device sent never comes again, even one the server never saw (its request
    // lost on the way): the server's count would hand it out a second time.
    if (const int sent = NSServer::lastUnsureLineNumber(); sent >= 0) user.CheckDishUid(std::to_string(sent));
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
    DeskLinesReply reply;
    return readDeskLines(replyText, reply, false) && readUpdateMenuFrom(reply, desk);
}

bool NSTcpPacket::readDeskDetail(const std::string& replyText, NSDeskClass& desk) {
    DeskLinesReply reply;
    return readDeskLines(replyText, reply, true) && readDeskDetailFrom(reply, desk);
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
    DeskLinesReply reply;
    replyReader_ = [&reply](const std::string& text) { return readDeskLines(text, reply, false); };
    const bool answered = sendPacketForNone(true);
    replyReader_ = nullptr;
    return answered && readUpdateMenuFrom(reply, desk);
}

bool NSTcpPacket::sendPacketForDeskDetail(NSDeskClass& desk) {
    replyLimit = kDeskReplyBytes;
    DeskLinesReply reply;
    replyReader_ = [&reply](const std::string& text) { return readDeskLines(text, reply, true); };
    const bool answered = sendPacketForNone(true);
    replyReader_ = nullptr;
    return answered && readDeskDetailFrom(reply, desk);
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
