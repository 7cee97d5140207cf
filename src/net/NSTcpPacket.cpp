// The request envelope, the command table, the fillers and the exchange of a packet.

#include "net/NSTcpPacket.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>

#include "GData/GDataXML.h"
#include "GData/GDataXMLWriter.h"
#include "core/NSEncDec.h"
#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpNet.h"
#include "net/RootServices.h"
#include "platform/foundation/Text.h"

namespace {

const char* const kConnectFailed = "网络连接失败";
// Both attempts reached the server and neither brought a whole reply back.
const char* const kNoReply = "服务器没有应答,请稍后再试";
// A request that books was written and never answered: it may stand on the server's bill.
const char* const kMaybeOrdered = "服务器没有应答:菜品可能已送到厨房,再次送单前将先与服务器核对桌台";
const char* const kMaybeBooked = "服务器没有应答:本次操作可能已被受理,再次操作前将先与服务器核对桌台";
const char* const kFileFailed = "接收图片数据异常,请检查网络";

// A text of the word table; a table without it (an older skin's) still says something.
std::string wordOr(const char* key, const char* fallback) {
    auto words = NSServer::getLangueManager();
    auto text = words ? words->word(key) : std::nullopt;
    return text && !text->empty() ? *text : std::string(fallback);
}

// The "%g" and "%i" of a line's numbers, written straight: a request of a few hundred lines
// would otherwise parse the same two formats once per line.
using platform::gText;
std::string iText(int value) { return std::to_string(value); }

std::string loggedInUserID() {
    auto user = NSServer::getNowUser();
    return user ? user->m_strUserID : std::string();
}

std::string cipherField(const std::string& value, const std::string& key) {
    NSEncDec cipher;
    return cipher.encodeBase64(cipher.Decrypt(value, key)).value_or("");
}

}  // namespace

// ---- command table ----

std::optional<std::string> NSTcpPacket::commandWord(int code) {
    switch (code) {
        case kQuery: return "query";
        case kTreeData: return "treedata";
        case kGetFile: return "getfile";
        case kDeskState: return "deskstate";
        case kOpenDesk: return "opendesk";
        case kAddDish: return "adddish";
        case kHasten: return "hasten";
        case kDelDish: return "deldish";
        case kUpdateMenu: return "updatemenu";
        case kDisconnect: return "disconnect";
        case kChangeDesk: return "changedesk";
        case kClearDesk: return "cleardesk";
        case kPrintAllDish: return "printalldish";
        case kLogin: return "login";
        default: return std::nullopt;
    }
}

std::string NSTcpPacket::encipherCommand(const std::string& word, const std::string& key) {
    return cipherField(word, key);
}

// ---- making a packet ----

NSTcpPacket::NSTcpPacket() {
    sharedLink_ = NSServer::getTcp();
    if (!sharedLink_) {
        sharedLink_ = std::make_shared<NSTcpNet>();
        NSServer::setTcp(sharedLink_);
    }
    link_ = sharedLink_.get();
    // On the local network the second address serves only when the first is missing; off it,
    // the second address (the outside one) is preferred whenever there is one.
    if (NSTcpNet::IsWIFIConnection())
        isUseIP2 = NSServer::getIp().empty();
    else
        isUseIP2 = !NSServer::getIp2().empty();
}

NSTcpPacket::NSTcpPacket(NSTcpNet& link) : link_(&link) {
    if (NSTcpNet::IsWIFIConnection())
        isUseIP2 = NSServer::getIp().empty();
    else
        isUseIP2 = !NSServer::getIp2().empty();
}

NSTcpPacket::~NSTcpPacket() = default;

std::shared_ptr<NSTcpPacket> NSTcpPacket::initWithType(int code) {
    auto packet = std::make_shared<NSTcpPacket>();
    packet->buildType(code);
    return packet;
}

std::shared_ptr<NSTcpPacket> NSTcpPacket::initWithCustom(const std::string& word, const std::string& param1,
                                                         const std::string& param2) {
    auto packet = std::make_shared<NSTcpPacket>();
    packet->type = kCustom;
    packet->customWord_ = word;
    const std::string& key = NSServer::getMacAdr();
    packet->envelope_ = {{"UID", key},
                         {"dev", "iphone"},
                         {"cmd", encipherCommand(word, key)},
                         {"seq", "0"},
                         {"dnt", NSServer::isLongSocket() ? "0" : "1"}};
    packet->fields_ = {{"waiterid", "", {}, {}}, {"deskid", "", {}, {}}, {"consumeid", "", {}, {}},
                       {"param1", param1, {}, {}}, {"param2", param2, {}, {}}};
    packet->hasDocument_ = true;
    packet->rebuild();
    return packet;
}

void NSTcpPacket::buildType(int code) {
    auto word = commandWord(code);
    if (!word) return;
    std::vector<std::string> names;
    switch (code) {
        case kQuery: break;
        case kTreeData:
        case kGetFile: names = {"waiterid", "deskid", "consumeid", "param1", "param2"}; break;
        case kDeskState: names = {"spaceid", "deskid"}; break;
        case kOpenDesk: break;
        case kAddDish:
        case kDelDish:
        case kPrintAllDish: names = {"deskid", "rens", "waiterid", "consumeid", "detail"}; break;
        case kHasten: names = {"waiterid", "xiaofmxid", "deskid", "caipid", "type", "msg"}; break;
        case kUpdateMenu: names = {"deskid", "rens", "waiterid", "consumeid"}; break;
        case kDisconnect: names = {"param1", "param2"}; break;
        case kChangeDesk: names = {"waiterid", "deskid", "consumeid", "tardeskid", "tarconsumeid"}; break;
        case kClearDesk: names = {"waiterid", "deskid", "deskstate", "consumeid"}; break;
        case kLogin: names = {"waiterid", "password", "lostdish", "maxdishid", "clientver"}; break;
    }
    type = code;
    const std::string& key = NSServer::getMacAdr();
    envelope_ = {{"UID", key},
                 {"dev", "iphone"},
                 {"cmd", code == kDisconnect ? *word : encipherCommand(*word, key)},
                 {"seq", "0"},
                 {"dnt", NSServer::isLongSocket() ? "0" : "1"}};
    fields_.clear();
    for (const auto& name : names) fields_.push_back({name, "", {}, {}});
    if (code == kQuery) fields_.push_back({"table", "", {{"field", ""}}, {}});
    if (code == kOpenDesk) {
        fields_.push_back({"type", "1", {}, {}});
        fields_.push_back({"desk", "", {}, {{"deskid", "", {}, {}}, {"rens", "", {}, {}}, {"waiterid", "", {}, {}}}});
    }
    if (code == kLogin) setText("clientver", kClientVersion);
    hasDocument_ = true;
    rebuild();
}

// ---- the document ----

std::shared_ptr<GDataXMLElement> NSTcpPacket::makeElement(const Field& f) {
    auto element = f.text.empty() ? GDataXMLNode::elementWithName(f.name)
                                  : GDataXMLNode::elementWithNameStringValue(f.name, f.text);
    for (const auto& [name, value] : f.attributes)
        element->addAttribute(GDataXMLNode::attributeWithNameStringValue(name, value));
    return element;
}

void NSTcpPacket::appendField(const std::shared_ptr<GDataXMLElement>& parent, const Field& f) {
    parent->addChild(makeElement(f));
    if (f.children.empty()) return;
    auto children = parent->children();
    auto added = children.empty() ? nullptr : std::dynamic_pointer_cast<GDataXMLElement>(children.back());
    if (!added) return;
    for (const auto& child : f.children) appendField(added, child);
}

void NSTcpPacket::rebuild() { stale_ = true; }

std::shared_ptr<GDataXMLDocument> NSTcpPacket::document() const {
    if (!hasDocument_) return nullptr;
    if (!stale_ && sendDocument_) return sendDocument_;
    auto root = GDataXMLNode::elementWithName("morvane");
    for (const auto& [name, value] : envelope_)
        root->addAttribute(GDataXMLNode::attributeWithNameStringValue(name, value));
    auto doc = GDataXMLDocument::initWithRootElement(root);
    if (doc && doc->rootElement()) appendField(doc->rootElement(), Field{"data", "", {}, {}});
    if (doc) {
        auto data = firstElement(doc->rootElement(), "data");
        if (data)
            for (const auto& f : fields_) appendField(data, f);
    }
    sendDocument_ = doc;
    stale_ = false;
    return sendDocument_;
}

NSTcpPacket::Field* NSTcpPacket::field(const std::string& name) {
    for (auto& f : fields_)
        if (f.name == name) return &f;
    return nullptr;
}

bool NSTcpPacket::setText(const std::string& name, const std::string& text) {
    Field* f = field(name);
    if (!f) return false;
    f->text = text;
    return true;
}

std::shared_ptr<GDataXMLElement> NSTcpPacket::data() const {
    auto doc = document();
    return doc ? firstElement(doc->rootElement(), "data") : nullptr;
}

std::shared_ptr<GDataXMLElement> NSTcpPacket::dataField(const std::string& name) const {
    return firstElement(data(), name);
}

// ---- fillers ----

bool NSTcpPacket::SetCustom(const std::string& userID, const std::string& deskID, const std::string& billID) {
    if (type != kCustom) return false;
    setText("waiterid", userID);
    setText("deskid", deskID);
    setText("consumeid", billID);
    unsure_.consumeID = billID;
    unsure_.waiterID = userID;
    rebuild();
    return true;
}

bool NSTcpPacket::addElement(const std::string& name, const std::string& value) {
    fields_.push_back({name, value, {}, {}});
    rebuild();
    return true;
}

bool NSTcpPacket::setAllDeskState() {
    if (type != kDeskState) return false;
    setText("deskid", "0");
    rebuild();
    return true;
}

bool NSTcpPacket::setOpenDesk(const NSDeskClass& desk) {
    if (type != kOpenDesk) return false;
    Field* d = field("desk");
    if (!d) return false;
    for (auto& c : d->children) {
        if (c.name == "deskid") c.text = desk.m_strDeskID;
        if (c.name == "rens") c.text = platform::fmt("%i", desk.m_iClientNum);
        if (c.name == "waiterid") c.text = loggedInUserID();
    }
    rebuild();
    return true;
}

bool NSTcpPacket::setUpdateMenu(const NSDeskClass& desk) {
    if (type != kUpdateMenu) return false;
    setText("deskid", desk.m_strDeskID);
    setText("consumeid", desk.m_strConsumeID);
    setText("waiterid", desk.m_strWaiterID);  // the desk's own waiter, not the logged-in one
    setText("rens", platform::fmt("%i", desk.m_iClientNum));
    rebuild();
    return true;
}

bool NSTcpPacket::setClearDesk(const NSDeskClass& desk) {
    if (type != kClearDesk) return false;
    setText("deskid", desk.m_strDeskID);
    setText("consumeid", desk.m_strConsumeID);
    setText("waiterid", loggedInUserID());
    setText("deskstate", desk.m_strDeskState);
    rebuild();
    return true;
}

bool NSTcpPacket::setChangeDesk(const NSDeskClass& desk, const NSDeskClass& target) {
    if (type != kChangeDesk) return false;
    setText("deskid", desk.m_strDeskID);
    if (Field* f = field("deskid")) f->attributes = {{"name", desk.m_strDeskName}};
    setText("consumeid", desk.m_strConsumeID);
    setText("waiterid", loggedInUserID());
    setText("tardeskid", target.m_strDeskID);
    if (Field* f = field("tardeskid")) f->attributes = {{"name", target.m_strDeskName}};
    setText("tarconsumeid", target.m_strConsumeID);
    noteDesk(desk);
    unsure_.otherDesk = target.m_strDeskID;
    unsure_.otherName = target.m_strDeskName;
    unsure_.otherArea = target.m_kongjmc;
    rebuild();
    return true;
}

bool NSTcpPacket::setHasten(const NSDishClass& line, const std::string& userID, const std::string& typeText,
                            const std::string& msg) {
    if (type != kHasten) return false;
    auto desk = NSServer::getNowDesk();
    setText("waiterid", userID);
    setText("xiaofmxid", line.m_strXfmxID);
    setText("deskid", desk ? desk->m_strDeskID : std::string());
    setText("caipid", line.caipID());
    setText("type", typeText);
    setText("msg", msg);
    rebuild();
    return true;
}

void NSTcpPacket::setDeskFields(const NSDeskClass& desk) {
    setText("deskid", desk.m_strDeskID);
    setText("consumeid", desk.m_strConsumeID);
    setText("waiterid", loggedInUserID());
    setText("rens", platform::fmt("%i", desk.m_iClientNum));
    noteDesk(desk);
}

void NSTcpPacket::noteDesk(const NSDeskClass& desk) {
    unsure_.consumeID = desk.m_strConsumeID;
    unsure_.waiterID = loggedInUserID();
    // The desk's server lines as last read: what is new there after a lost reply came with it.
    for (const auto& line : desk.m_DishList)
        if (line && line->m_iState != NSDishClass::kUnsent && line->m_iState != NSDishClass::kSending &&
            !line->m_strXfmxID.empty())
            unsure_.serverLines[line->m_strXfmxID] = line->m_fQuantity;
}

void NSTcpPacket::noteCarried(const NSDishClass& line) {
    unsure_.lines.push_back({line.m_struid, line.caipID(), line.m_fQuantity, line.GetKouwIDString(),
                             line.m_strXfmxID, false});
}

bool NSTcpPacket::setAddDish(const NSDeskClass& desk) {
    if (type != kAddDish || !desk.HaveAddDish()) return false;
    setDeskFields(desk);
    Field* detail = field("detail");
    const auto& list = desk.m_DishList;
    if (detail) detail->children.reserve(detail->children.size() + list.size());
    for (const auto& line : list) {
        if (!line || line->m_iState != NSDishClass::kSending || line->m_fQuantity < 0) continue;
        Field row{"row", line->m_strXfmxID, {}, {}};
        auto& a = row.attributes;
        a.reserve(16);
        if (line->m_bisSet) a.emplace_back("Set", "1");
        if (line->m_bAddOn) a.emplace_back("AddOn", "1");
        if (line->m_bisExp && line->m_parentpos >= 0 && static_cast<std::size_t>(line->m_parentpos) < list.size()) {
            const auto& head = list[static_cast<std::size_t>(line->m_parentpos)];
            std::string headID = head ? head->m_strXfmxID : std::string();
            a.emplace_back("Exp", headID.empty() ? "1" : headID);
        }
        a.emplace_back("uid", line->m_struid);
        a.emplace_back("gds", line->caipID());
        a.emplace_back("qty", gText(line->m_fQuantity));
        if (line->m_iVarQty != 0) a.emplace_back("VarQty", "1");
        a.emplace_back("tasteid", line->GetKouwIDString());
        a.emplace_back("taste", line->GetKouwShulString());
        a.emplace_back("dishremark", line->m_strRemark);
        a.emplace_back("chucfs", iText(line->m_iType));
        bool ownPrice = line->m_iPrice >= 1 || line->m_strUnits == "中" || line->m_strUnits == "大" || line->m_bisExp;
        a.emplace_back("price", ownPrice ? line->m_strPrice : std::string("-1"));
        if (line->m_fQuantity2 > 0) a.emplace_back("qty2", platform::fmt("%.2g", line->m_fQuantity2));
        a.emplace_back("danw", line->m_strUnits);
        if (line->m_fPrice2 != 0 || line->m_fPrice3 != 0)
            a.emplace_back("addamt", gText(line->GetAddPrice(0)));
        if (detail) detail->children.push_back(std::move(row));
        noteCarried(*line);
    }
    rebuild();
    return true;
}

// One line as the return and bill requests carry it. Only a price typed in at ordering is sent.
NSTcpPacket::Field NSTcpPacket::xiaofmxField(const NSDishClass& line) {
    return {"xiaofmx",
            "",
            {},
            {{"xiaofmxid", line.m_strXfmxID, {}, {}},
             {"uid", line.m_struid, {}, {}},
             {"dishid", line.caipID(), {}, {}},
             {"qty", gText(line.m_fQuantity), {}, {}},
             {"tasteid", line.GetKouwIDString(), {}, {}},
             {"dishremark", line.m_strRemark, {}, {}},
             {"chucfs", iText(line.m_iType), {}, {}},
             {"price", line.m_iPrice == 1 ? line.m_strPrice : std::string("-1"), {}, {}}}};
}

bool NSTcpPacket::setDelDish(const NSDeskClass& desk) {
    if (type != kDelDish) return false;
    setDeskFields(desk);
    Field* detail = field("detail");
    for (const auto& line : desk.m_DishList) {
        if (!line || line->m_iState != NSDishClass::kSending || line->m_fQuantity > 0) continue;
        if (detail) detail->children.push_back(xiaofmxField(*line));
        noteCarried(*line);
    }
    rebuild();
    return true;
}

bool NSTcpPacket::SetPrintAllDish(const NSDeskClass& desk) {
    if (type != kPrintAllDish) return false;
    setDeskFields(desk);
    Field* detail = field("detail");
    for (const auto& line : desk.m_DishList)
        if (line && detail) detail->children.push_back(xiaofmxField(*line));
    rebuild();
    return true;
}

bool NSTcpPacket::setYuDing(const NSYuDingClass& reservation) {
    Field desks{"desk", "", {}, {}};
    for (const auto& desk : reservation.m_DeskList) {
        if (!desk) continue;
        desks.children.push_back({"row",
                                  desk->m_strDeskID,
                                  {{"rens", platform::fmt("%i", reservation.clientNum)}, {"usr", desk->m_strWaiterID}},
                                  {}});
    }
    Field dishes{"caip", "", {}, {}};
    for (const auto& line : reservation.m_DishList) {
        if (!line) continue;
        Field row{"row",
                  line->m_struid,
                  {{"gds", line->caipID()},
                   {"qty", platform::fmt("%g", line->m_fQuantity)},
                   {"fs", platform::fmt("%i", line->m_iType)},
                   {"kw", line->m_strZuofShul},
                   {"var", platform::fmt("%i", line->m_iVarQty)}},
                  {}};
        if (line->m_bisSet) row.attributes.emplace_back("Set", "1");
        if (line->m_bisExp) row.attributes.emplace_back("Exp", "1");
        dishes.children.push_back(std::move(row));
    }
    fields_.push_back(std::move(desks));
    fields_.push_back(std::move(dishes));
    rebuild();
    return true;
}

bool NSTcpPacket::setUser(const NSUserClass& user) {
    if (type != kLogin) return false;
    std::string key = NSServer::getJtNO();
    setText("waiterid", cipherField(user.m_strUserID, key));
    setText("password", cipherField(user.m_strPassword, key));
    setText("maxdishid", platform::fmt("%i", user.m_iDishCount));
    rebuild();
    return true;
}

bool NSTcpPacket::setTableName(const std::string& table) {
    if (type != kQuery) return false;
    setText("table", table);
    rebuild();
    return true;
}

bool NSTcpPacket::addFieldName(const std::string& name) {
    if (type != kQuery) return false;
    Field* table = field("table");
    if (!table) return false;
    bool found = false;
    for (auto& [attr, value] : table->attributes) {
        if (attr != "field") continue;
        value = value.empty() ? name : value + "," + name;
        found = true;
    }
    if (!found) table->attributes.emplace_back("field", name);
    rebuild();
    return true;
}

void NSTcpPacket::reset() {
    auto empty = [this](std::initializer_list<const char*> names) {
        for (const char* name : names) setText(name, "");
    };
    switch (type) {
        case kQuery:
            if (Field* table = field("table")) {
                table->text.clear();
                for (auto& attr : table->attributes)
                    if (attr.first == "field") attr.second.clear();
            }
            sendMessage.reset();
            receiveMessage.reset();
            break;
        case kTreeData:
        case kGetFile:
            empty({"param1"});
            sendMessage.reset();
            receiveMessage.reset();
            break;
        case kLogin: empty({"waiterid", "password"}); break;
        case kDeskState: empty({"deskid", "spaceid"}); break;
        case kOpenDesk:
            if (Field* desk = field("desk"))
                for (auto& c : desk->children) c.text.clear();
            break;
        case kAddDish:
        case kDelDish:
            empty({"deskid", "rens", "waiterid", "consumeid"});
            if (Field* detail = field("detail")) detail->children.clear();
            break;
        case kHasten: empty({"waiterid", "xiaofmxid", "type", "msg"}); break;
        case kUpdateMenu: empty({"deskid", "rens", "waiterid", "consumeid"}); break;
        default: return;
    }
    rebuild();
}

bool NSTcpPacket::booksOnServer() const {
    switch (type) {
        case kAddDish:
        case kDelDish:
        case kOpenDesk:
        case kChangeDesk:
        case kClearDesk: return true;
        case kCustom:
            // Gifts, joins, guests, weighed quantities and opened reservations change the bill.
            for (const char* word : {"rebatedish", "deskunion", "setdeskpeoples", "modifyqty", "yudopen"})
                if (customWord_ == word) return true;
            return false;
        default: return false;
    }
}

std::string NSTcpPacket::requestDeskID() {
    if (Field* desk = field("deskid")) return desk->text;
    if (Field* desk = field("desk"))
        for (const auto& child : desk->children)
            if (child.name == "deskid") return child.text;
    return {};
}

// ---- the exchange ----

std::optional<std::string> NSTcpPacket::directText() const {
    if (!hasDocument_) return std::nullopt;
    std::function<bool(std::string&, const Field&)> field = [&](std::string& out, const Field& f) {
        return gdata::appendElement(out, f.name, f.text, f.attributes, [&](std::string& o) {
            for (const auto& child : f.children)
                if (!field(o, child)) return false;
            return true;
        }, !f.children.empty());
    };
    return gdata::documentText([&](std::string& out) {
        return gdata::appendElement(out, "morvane", "", envelope_, [&](std::string& o) {
            return gdata::appendElement(o, "data", "", {}, [&](std::string& d) {
                for (const auto& f : fields_)
                    if (!field(d, f)) return false;
                return true;
            }, !fields_.empty());
        }, true);
    });
}

void NSTcpPacket::serialise() {
    sendMessage.reset();
    // Writing the text straight from the fields spares building and freeing a document of every
    // line on each send; it gives the same bytes.
    if (auto text = directText()) {
        sendMessage = std::move(text);
        return;
    }
    auto doc = document();
    if (!doc) return;
    doc->setCharacterEncoding("UTF-8");
    sendMessage = doc->XMLData();
}

bool NSTcpPacket::connect() {
    NSTcpNet& link = *link_;
    const int port = NSServer::getPort();
    if (!isUseIP2) {
        if (link.openWithIpPort(NSServer::getIp(), port)) return true;
        link.close();
        if (link.openWithIpPort(NSServer::getIp2(), port)) {
            isUseIP2 = true;  // the first address failed: this packet stays on the second
            return true;
        }
        rootServices().showAyncStyle(kConnectFailed);
        link.close();
        return false;
    }
    if (link.openWithIpPort(NSServer::getIp2(), port)) return true;
    link.close();
    rootServices().showAyncStyle(kConnectFailed);
    return false;
}

bool NSTcpPacket::sendPacketForNone(bool wantsReply) {
    replyDocument_.reset();
    // A request that books is written a second time only when the first never reached the
    // server: once written, a lost reply leaves its outcome unknown, and writing it again could
    // book it twice.
    const bool once = booksOnServer();
    // Noted before anything is written: a kill, a crash or a power cut while the request waits
    // leaves the note on disk, and the desk is read back before anything of it books again. The
    // note reaches the disk while the request is serialised and the link connects.
    if (once) noteUnsure();
    serialise();
    if (!sendMessage) {
        withdrawNote();
        return false;
    }
    NSTcpNet& link = *link_;
    bool unanswered = false;
    for (int attempt = 0; attempt < 2 && !(once && unanswered); ++attempt) {
        if (!connect()) continue;
        if (once) NSServer::awaitUnsureNote();
        if (link.writeNSString(*sendMessage) < 0) {
            link.close();
            continue;
        }
        if (!wantsReply) {
            link.close();
            withdrawNote();
            return true;
        }
        if (whileWaiting) {
            auto work = std::move(whileWaiting);
            whileWaiting = nullptr;
            work();
        }
        receiveMessage = link.readNSString(replyLimit);
        if (!receiveMessage || receiveMessage->empty()) {
            link.close();
            unanswered = true;
            continue;
        }
        if (messageIsError(receiveMessage)) {
            // Refused: nothing was booked.
            link.close();
            withdrawNote();
            return false;
        }
        bool complete = receiveMessage->find(NSTcpNet::kReplyEnd) != std::string::npos;
        if (complete && replyIsDocument) {
            // A reply that is no document says nothing about what the server did: it counts
            // as a lost one, so nothing is taken as sent, stored or shown from it.
            bool isDocument = false;
            if (replyReader_) {
                isDocument = replyReader_(*receiveMessage);
            } else {
                int error = 0;
                replyDocument_ = GDataXMLDocument::initWithDataOptionsError(*receiveMessage, 0, &error);
                isDocument = replyDocument_ && replyDocument_->rootElement();
            }
            if (!isDocument) {
                replyDocument_.reset();
                receiveMessage.reset();
                link.closeForBreak();
                unanswered = true;
                continue;
            }
        }
        link.close();
        if (complete) {
            if (!keepsNoteOnReply) withdrawNote();
            return true;
        }
        unanswered = true;
    }
    if (once && unanswered) {
        // The note stands: the desks are read back from the server before anything of them goes
        // out again.
        notedDesks_.clear();
        rootServices().showAyncStyle(type == kAddDish ? wordOr("unsure1", kMaybeOrdered)
                                                      : wordOr("unsure2", kMaybeBooked));
        return false;
    }
    // The request never reached the server.
    withdrawNote();
    // A waiter who waited through both attempts is told why nothing happened.
    if (unanswered) rootServices().showAyncStyle(kNoReply);
    return false;
}

void NSTcpPacket::withdrawNote() {
    for (const auto& desk : notedDesks_) NSServer::withdrawUnsureBooking(desk);
    notedDesks_.clear();
}

void NSTcpPacket::noteUnsure() {
    unsure_.command = type == kCustom ? customWord_ : commandWord(type).value_or("?");
    const std::string desk = doubtfulDesk.value_or(requestDeskID());
    const std::string other = partnerDesk.value_or(unsure_.otherDesk);
    NSServer::UnsureBooking beside;
    beside.command = unsure_.command;
    if (type == kChangeDesk) {
        if (Field* bill = field("tarconsumeid")) beside.consumeID = bill->text;
    }
    // The booking gathered by the fillers stays with the packet: a second exchange of the same
    // packet notes it again.
    NSServer::noteUnsureBooking(desk, unsure_);
    notedDesks_ = {desk};
    if (!other.empty() && other != desk) {
        NSServer::noteUnsureBooking(other, std::move(beside));
        notedDesks_.push_back(other);
    }
}

bool NSTcpPacket::sendPacketForDelCaip() { return sendPacketForNone(true); }

bool NSTcpPacket::fileIsErrorReply(const std::string& bytes) {
    if (bytes.empty() || bytes.front() != '<') return false;
    auto end = bytes.find(NSTcpNet::kReplyEnd);
    if (end == std::string::npos) return false;
    return messageIsError(bytes.substr(0, end + std::string_view(NSTcpNet::kReplyEnd).size()));
}

bool NSTcpPacket::sendPacketForGetFile(const std::string& fileName, long long size, const std::string& kind,
                                       std::optional<std::string>& bytes) {
    setText("param1", fileName);
    setText("param2", kind);
    rebuild();
    serialise();
    if (!sendMessage) return false;
    NSTcpNet& link = *link_;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // File bytes carry no end mark: on a kept connection, a late rest of an earlier answer
        // would be read as the head of this file, and a late rest of this file as the head of the
        // next. So a file travels on a connection of its own, also in long-socket mode.
        link.closeForBreak();
        if (!connect()) continue;
        if (link.writeNSString(*sendMessage) < 0) {
            link.close();
            continue;
        }
        auto received = link.readPic(size, kFileReplyBytes);
        // The server refused the file with an error reply: shown, and not asked again.
        if (received && fileIsErrorReply(*received)) {
            link.closeForBreak();
            return false;
        }
        if (received && static_cast<long long>(received->size()) >= size) {
            bytes = std::move(received);
            link.closeForBreak();
            return true;
        }
        if (received) link.closeForBreak();  // a document that is no file nor error reply
        rootServices().showAyncStyle(kFileFailed);
    }
    return false;
}

bool NSTcpPacket::messageIsError(const std::optional<std::string>& reply) {
    if (!reply || reply->find("error") == std::string::npos) return false;
    // Only a reply that really is an error document counts: a stray "error" in table data of a
    // reply that does not parse, or one without data/describe, has nothing to show.
    int error = 0;
    auto doc = GDataXMLDocument::initWithDataOptionsError(*reply, 0, &error);
    if (!doc) return false;
    auto describe = firstElement(firstElement(doc->rootElement(), "data"), "describe");
    if (!describe) return false;
    showAlertOrMessage("提示", describe->stringValue().value_or(""), "确定");
    return true;
}

void NSTcpPacket::alertViewClickedButtonAtIndex(int) { NSServer::setIsShowAlert(false); }

void NSTcpPacket::showMsg() {
    if (!receiveMessage || receiveMessage->empty()) return;
    auto msg = dataField("msg");
    std::string text = msg ? msg->stringValue().value_or("") : std::string();
    if (text.empty()) return;
    showAlertOrMessage("退菜已发送", text, "确定");
}
