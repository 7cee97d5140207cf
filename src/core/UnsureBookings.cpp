// Bookings in doubt: the requests whose reply never came, the lines they carried and the desks
// they touched, kept on disk until the server's own lines settle them.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "GData/GDataXML.h"
#include "core/NSServer.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"

namespace {

// A few desks at most are ever in doubt; a file larger than this is no file of ours.
constexpr std::size_t kMaxDoubtBytes = 4u << 20;
constexpr float kSameQuantity = 1e-4f;

struct Store {
    std::string path;  // the file the map was read from; another data folder reads its own
    std::map<std::string, NSServer::UnsureBooking> desks;
};

Store& store() {
    static Store s;
    return s;
}

std::string doubtPath() { return platform::fmt("%@/DOUBTS.XML", NSServer::getDataPath()); }

std::string gText(float value) { return platform::fmt("%g", static_cast<double>(value)); }

float floatOf(const std::shared_ptr<GDataXMLElement>& element, const char* name) {
    return static_cast<float>(platform::leadingDouble(attributeText(element, name)));
}

void setAttribute(const std::shared_ptr<GDataXMLElement>& element, const char* name, const std::string& value) {
    element->addAttribute(GDataXMLNode::attributeWithNameStringValue(name, value));
}

std::vector<std::shared_ptr<GDataXMLElement>> childrenOf(const std::shared_ptr<GDataXMLElement>& element,
                                                         const char* name) {
    return element->elementsForName(name).value_or(std::vector<std::shared_ptr<GDataXMLElement>>());
}

void read(Store& s) {
    s.desks.clear();
    if (!platform::fs::exists(s.path) || platform::fs::isFolder(s.path)) return;
    auto bytes = platform::fs::readAll(s.path, kMaxDoubtBytes);
    auto document = bytes ? GDataXMLDocument::initWithDataOptionsError(*bytes, 0, nullptr) : nullptr;
    auto root = document ? document->rootElement() : nullptr;
    if (!root) {
        // Kept aside, not overwritten: it may be the only word that some lines were booked.
        const std::string aside = s.path + ".damaged";
        if (std::rename(s.path.c_str(), aside.c_str()) == 0)
            platform::log(platform::fmt("bookings in doubt: %@ does not read, kept as %@", s.path, aside));
        return;
    }
    for (const auto& element : childrenOf(root, "desk")) {
        const std::string id = attributeText(element, "id");
        if (id.empty()) continue;
        NSServer::UnsureBooking booking;
        booking.command = attributeText(element, "cmd");
        booking.consumeID = attributeText(element, "bill");
        booking.waiterID = attributeText(element, "waiter");
        booking.otherDesk = attributeText(element, "other");
        booking.otherName = attributeText(element, "othername");
        booking.otherArea = attributeText(element, "otherarea");
        for (const auto& server : childrenOf(element, "server"))
            booking.serverLines[attributeText(server, "id")] = floatOf(server, "qty");
        for (const auto& l : childrenOf(element, "line")) {
            NSServer::UnsureLine line;
            line.uid = attributeText(l, "uid");
            line.caipID = attributeText(l, "gds");
            line.quantity = floatOf(l, "qty");
            line.kouw = attributeText(l, "kw");
            line.xfmxID = attributeText(l, "id");
            line.waiting = attributeText(l, "waiting") == "1";
            booking.lines.push_back(std::move(line));
        }
        s.desks[id] = std::move(booking);
    }
}

Store& loaded() {
    Store& s = store();
    const std::string path = doubtPath();
    if (s.path != path) {
        s.path = path;
        read(s);
    }
    return s;
}

void write(Store& s) {
    if (s.desks.empty()) {
        if (platform::fs::exists(s.path) && !platform::fs::isFolder(s.path)) platform::fs::remove(s.path);
        return;
    }
    auto root = GDataXMLNode::elementWithName("doubts");
    for (const auto& [id, booking] : s.desks) {
        auto desk = GDataXMLNode::elementWithName("desk");
        setAttribute(desk, "id", id);
        setAttribute(desk, "cmd", booking.command);
        setAttribute(desk, "bill", booking.consumeID);
        setAttribute(desk, "waiter", booking.waiterID);
        setAttribute(desk, "other", booking.otherDesk);
        setAttribute(desk, "othername", booking.otherName);
        setAttribute(desk, "otherarea", booking.otherArea);
        for (const auto& [lineID, quantity] : booking.serverLines) {
            auto server = GDataXMLNode::elementWithName("server");
            setAttribute(server, "id", lineID);
            setAttribute(server, "qty", gText(quantity));
            desk->addChild(server);
        }
        for (const auto& line : booking.lines) {
            auto l = GDataXMLNode::elementWithName("line");
            setAttribute(l, "uid", line.uid);
            setAttribute(l, "gds", line.caipID);
            setAttribute(l, "qty", gText(line.quantity));
            setAttribute(l, "kw", line.kouw);
            setAttribute(l, "id", line.xfmxID);
            setAttribute(l, "waiting", line.waiting ? "1" : "0");
            desk->addChild(l);
        }
        root->addChild(desk);
    }
    auto document = GDataXMLDocument::initWithRootElement(root);
    if (!document) return;
    document->setCharacterEncoding("UTF-8");
    auto bytes = document->XMLData();
    // A failed write keeps the doubt in memory for this run; the old file stays whole.
    if (bytes) platform::fs::writeAtomically(s.path, *bytes);
}

bool isUnsent(const NSDishClass& line) {
    return line.m_iState == NSDishClass::kUnsent || line.m_iState == NSDishClass::kSending;
}

// The unsent line of the desk that a carried line stands for: the same number and dish.
bool stands(const NSServer::UnsureLine& carried, const NSDishClass& line) {
    return isUnsent(line) && !carried.uid.empty() && line.m_struid == carried.uid && line.caipID() == carried.caipID;
}

// Taste and cooking-method lists compared by their non-empty parts, in order.
std::string kouwKey(const std::string& list) {
    std::string key;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        if (comma > from) key += list.substr(from, comma - from) + ',';
        from = comma + 1;
    }
    return key;
}

}  // namespace

void NSServer::forgetUnsureBookings() { store() = Store(); }

void NSServer::noteUnsureBooking(const std::string& deskID, UnsureBooking booking) {
    if (deskID.empty()) return;
    Store& s = loaded();
    auto it = s.desks.find(deskID);
    if (it != s.desks.end()) {
        // Lines that wait for the waiter's decision keep waiting beside the new request's.
        std::vector<UnsureLine> lines;
        for (auto& line : it->second.lines)
            if (line.waiting) lines.push_back(std::move(line));
        for (auto& line : booking.lines) lines.push_back(std::move(line));
        booking.lines = std::move(lines);
    }
    if (booking.command.empty()) booking.command = "?";
    s.desks[deskID] = std::move(booking);
    write(s);
}

const NSServer::UnsureBooking* NSServer::getUnsureBooking(const std::string& deskID) {
    if (deskID.empty()) return nullptr;
    Store& s = loaded();
    auto it = s.desks.find(deskID);
    return it == s.desks.end() ? nullptr : &it->second;
}

bool NSServer::needsUnsureRead(const std::string& deskID) {
    auto booking = getUnsureBooking(deskID);
    return booking && booking->needsRead();
}

void NSServer::clearUnsureBooking(const std::string& deskID) {
    Store& s = loaded();
    if (s.desks.erase(deskID) > 0) write(s);
}

NSServer::UnsureSettle NSServer::settleUnsureBooking(NSDeskClass& desk) {
    UnsureSettle result;
    Store& s = loaded();
    auto it = s.desks.find(desk.m_strDeskID);
    if (it == s.desks.end()) return result;
    UnsureBooking& booking = it->second;
    auto& lines = desk.m_DishList;

    if (booking.needsRead()) {
        std::vector<UnsureLine*> pending;
        for (auto& line : booking.lines)
            if (!line.waiting) pending.push_back(&line);
        if (!booking.otherDesk.empty()) {
            // A transfer: the bill is where the server shows it. While this desk still holds it,
            // the transfer did not happen.
            if (desk.m_strConsumeID != booking.consumeID || desk.m_strDeskState == "1") {
                result.kind = UnsureSettle::kMoved;
                result.otherDesk = booking.otherDesk;
                result.otherName = booking.otherName;
                result.otherArea = booking.otherArea;
                result.consumeID = booking.consumeID;
                for (const auto& [lineID, quantity] : booking.serverLines) result.lineIDs.push_back(lineID);
            } else {
                result.kind = UnsureSettle::kChecked;
            }
        } else if (pending.empty()) {
            result.kind = UnsureSettle::kChecked;
        } else {
            // The server's lines that are new since the request: each may answer for one line.
            std::vector<const NSDishClass*> fresh;
            for (const auto& line : lines)
                if (line && !isUnsent(*line) && !line->m_strXfmxID.empty() &&
                    !booking.serverLines.count(line->m_strXfmxID))
                    fresh.push_back(line.get());
            bool all = true;
            for (const UnsureLine* carried : pending) {
                if (carried->quantity >= 0) {
                    auto match = std::find_if(fresh.begin(), fresh.end(), [&](const NSDishClass* booked) {
                        return booked->caipID() == carried->caipID &&
                               std::fabs(booked->m_fQuantity - carried->quantity) < kSameQuantity &&
                               kouwKey(booked->GetKouwIDString()) == kouwKey(carried->kouw) &&
                               booked->m_strWaiterID == booking.waiterID;
                    });
                    if (match == fresh.end()) {
                        all = false;
                        continue;
                    }
                    fresh.erase(match);
                } else {
                    // A return shows only as its line's fall: exactly by it, or the line gone
                    // when it took the whole quantity.
                    auto before = booking.serverLines.find(carried->xfmxID);
                    auto now = std::find_if(lines.begin(), lines.end(), [&](const auto& l) {
                        return l && !isUnsent(*l) && l->m_strXfmxID == carried->xfmxID;
                    });
                    bool fell = false;
                    if (before != booking.serverLines.end()) {
                        const float expected = before->second + carried->quantity;
                        fell = now == lines.end() ? expected < kSameQuantity
                                                  : std::fabs((*now)->m_fQuantity - expected) < kSameQuantity;
                    }
                    if (!fell) all = false;
                }
            }
            if (all) {
                // The server holds every line of the request: its own lines stand for them.
                result.kind = UnsureSettle::kBooked;
                for (const UnsureLine* carried : pending) {
                    auto dropped = std::find_if(lines.begin(), lines.end(),
                                                [&](const auto& l) { return l && stands(*carried, *l); });
                    if (dropped == lines.end()) continue;
                    lines.erase(dropped);
                    ++result.lines;
                }
                std::erase_if(booking.lines, [](const UnsureLine& l) { return !l.waiting; });
            } else {
                result.kind = UnsureSettle::kUnsettled;
                for (UnsureLine* carried : pending) carried->waiting = true;
            }
        }
        booking.command.clear();
        booking.serverLines.clear();
        booking.otherDesk.clear();
        booking.otherName.clear();
        booking.otherArea.clear();
    }
    // Lines the waiter removed since are no longer in doubt.
    std::erase_if(booking.lines, [&lines](const UnsureLine& carried) {
        return std::none_of(lines.begin(), lines.end(), [&](const auto& l) { return l && stands(carried, *l); });
    });
    if (result.kind == UnsureSettle::kUnsettled) {
        result.lines = static_cast<int>(booking.lines.size());
        if (result.lines == 0) result.kind = UnsureSettle::kChecked;
    }
    if (booking.lines.empty()) s.desks.erase(it);
    write(s);
    return result;
}

std::vector<std::shared_ptr<NSDishClass>> NSServer::unsureLines(const NSDeskClass& desk) {
    std::vector<std::shared_ptr<NSDishClass>> found;
    auto booking = getUnsureBooking(desk.m_strDeskID);
    if (!booking) return found;
    for (const auto& line : desk.m_DishList)
        if (line && isUnsureLine(desk, *line)) found.push_back(line);
    return found;
}

bool NSServer::isUnsureLine(const NSDeskClass& desk, const NSDishClass& line) {
    auto booking = getUnsureBooking(desk.m_strDeskID);
    if (!booking) return false;
    return std::any_of(booking->lines.begin(), booking->lines.end(),
                       [&line](const UnsureLine& carried) { return stands(carried, line); });
}

void NSServer::releaseUnsureLines(const NSDeskClass& desk, const std::vector<std::shared_ptr<NSDishClass>>& lines) {
    Store& s = loaded();
    auto it = s.desks.find(desk.m_strDeskID);
    if (it == s.desks.end()) return;
    std::erase_if(it->second.lines, [&lines](const UnsureLine& carried) {
        return std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l && stands(carried, *l); });
    });
    if (it->second.lines.empty() && !it->second.needsRead()) s.desks.erase(it);
    write(s);
}

void NSServer::moveNowDesk(const NSDeskClass& target) {
    auto now = getNowDesk();
    // The target's saved unsent lines now belong to the desk the bill left, and the lines
    // waiting for the waiter's decision travel with the desk that holds them.
    auto targetLines = std::make_shared<NSDeskClass>();
    targetLines->m_strDeskID = target.m_strDeskID;
    loadSelectDish(targetLines);
    targetLines->m_strDeskID = now->m_strDeskID;
    targetLines->m_strDeskName = now->m_strDeskName;
    targetLines->m_kongjmc = now->m_kongjmc;
    saveSelectDish1(targetLines);
    Store& s = loaded();
    auto from = s.desks.find(now->m_strDeskID);
    auto to = s.desks.find(target.m_strDeskID);
    std::vector<UnsureLine> leaving, arriving;
    if (from != s.desks.end()) std::swap(leaving, from->second.lines);
    if (to != s.desks.end()) std::swap(arriving, to->second.lines);
    if (!leaving.empty()) s.desks[target.m_strDeskID].lines = std::move(leaving);
    if (!arriving.empty()) s.desks[now->m_strDeskID].lines = std::move(arriving);
    std::erase_if(s.desks, [](const auto& entry) { return entry.second.lines.empty() && !entry.second.needsRead(); });
    write(s);
    now->m_strDeskID = target.m_strDeskID;
    now->m_strDeskName = target.m_strDeskName;
    now->m_kongjmc = target.m_kongjmc;
    saveSelectDish0();
}
