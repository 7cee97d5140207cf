// Bookings in doubt: every request that books is noted before it is written; a note whose request
// got no whole reply stays, with the lines it carried and the desks it touched, on disk until the
// server's own lines settle it.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <future>

#include "GData/GDataXML.h"
#include "GData/GDataXMLWriter.h"
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
    // Each desk as it was before the request now on the wire was noted (none: not in doubt), so
    // that its whole reply puts it back exactly. Memory only: after a restart the note stands.
    std::map<std::string, std::optional<NSServer::UnsureBooking>> before;
    int lastUid = -1;  // the highest line number a noted request carried
    // The durable write of a note, running on a thread of its own while the request is made
    // ready; every later use of the file waits for it first, so writes land in their order.
    std::future<void> flushing;
    // Files to be written just before the next note (a desk's saved order with the numbers its
    // lines go with), in the same flush.
    std::vector<std::pair<std::string, std::string>> filesFirst;
    void awaitFlush() {
        if (flushing.valid()) flushing.get();
        // No note came to take them: written now, before anything else is.
        for (const auto& [path, text] : filesFirst) platform::fs::writeAtomically(path, text, platform::fs::Durability::Quick);
        filesFirst.clear();
    }
};

Store& store() {
    static Store s;
    return s;
}

std::string doubtPath() { return platform::fmt("%@/DOUBTS.XML", NSServer::getDataPath()); }

std::string gText(float value) { return platform::gText(value); }

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
    s.before.clear();
    s.lastUid = -1;
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
    s.lastUid = std::max(-1, platform::leadingInt(attributeText(root, "lastuid")));
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
            line.consumeID = attributeText(l, "bill");
            booking.lines.push_back(std::move(line));
        }
        s.desks[id] = std::move(booking);
    }
}

Store& loaded() {
    Store& s = store();
    const std::string path = doubtPath();
    if (s.path != path) {
        s.awaitFlush();
        s.path = path;
        read(s);
    }
    return s;
}

// The file's elements as attribute lists, written straight or, for text XML cannot hold as it
// is, through the tree, which repairs it.
gdata::XMLAttributes rootAttributes(const Store& s) {
    // The line numbers stay known with nothing in doubt: the file then holds only them.
    if (s.lastUid < 0) return {};
    return {{"lastuid", platform::fmt("%i", s.lastUid)}};
}

gdata::XMLAttributes deskAttributes(const std::string& id, const NSServer::UnsureBooking& booking) {
    return {{"id", id},
            {"cmd", booking.command},
            {"bill", booking.consumeID},
            {"waiter", booking.waiterID},
            {"other", booking.otherDesk},
            {"othername", booking.otherName},
            {"otherarea", booking.otherArea}};
}

gdata::XMLAttributes serverAttributes(const std::string& lineID, float quantity) {
    return {{"id", lineID}, {"qty", gText(quantity)}};
}

gdata::XMLAttributes lineAttributes(const NSServer::UnsureLine& line) {
    return {{"uid", line.uid},       {"gds", line.caipID},
            {"qty", gText(line.quantity)}, {"kw", line.kouw},
            {"id", line.xfmxID},     {"waiting", line.waiting ? "1" : "0"},
            {"bill", line.consumeID}};
}

std::optional<std::string> directText(const Store& s) {
    return gdata::documentText([&](std::string& out) {
        return gdata::appendElement(out, "doubts", "", rootAttributes(s), [&](std::string& desks) {
            for (const auto& entry : s.desks) {
                const NSServer::UnsureBooking& booking = entry.second;
                const bool written = gdata::appendElement(desks, "desk", "", deskAttributes(entry.first, booking), [&](std::string& d) {
                    for (const auto& [lineID, quantity] : booking.serverLines)
                        if (!gdata::appendElement(d, "server", "", serverAttributes(lineID, quantity))) return false;
                    for (const auto& line : booking.lines)
                        if (!gdata::appendElement(d, "line", "", lineAttributes(line))) return false;
                    return true;
                }, !booking.serverLines.empty() || !booking.lines.empty());
                if (!written) return false;
            }
            return true;
        }, !s.desks.empty());
    });
}

std::shared_ptr<GDataXMLElement> treeElement(const char* name, const gdata::XMLAttributes& attributes) {
    auto element = GDataXMLNode::elementWithName(name);
    for (const auto& [attr, value] : attributes) setAttribute(element, attr.c_str(), value);
    return element;
}

std::optional<std::string> treeText(const Store& s) {
    auto root = treeElement("doubts", rootAttributes(s));
    for (const auto& [id, booking] : s.desks) {
        auto desk = treeElement("desk", deskAttributes(id, booking));
        for (const auto& [lineID, quantity] : booking.serverLines)
            desk->addChild(treeElement("server", serverAttributes(lineID, quantity)));
        for (const auto& line : booking.lines) desk->addChild(treeElement("line", lineAttributes(line)));
        root->addChild(desk);
    }
    auto document = GDataXMLDocument::initWithRootElement(root);
    if (!document) return std::nullopt;
    document->setCharacterEncoding("UTF-8");
    return document->XMLData();
}

// A note is durable before its request goes out. Everything else may be written quickly: a
// change lost with the power leaves an older note, which the next read of the desk weighs again
// and finds settled.
void write(Store& s, platform::fs::Durability durability = platform::fs::Durability::Quick) {
    s.awaitFlush();
    if (s.desks.empty() && s.lastUid < 0) {
        if (platform::fs::exists(s.path) && !platform::fs::isFolder(s.path)) platform::fs::remove(s.path);
        return;
    }
    auto bytes = directText(s);
    if (!bytes) bytes = treeText(s);
    // A failed write keeps the doubt in memory for this run; the old file stays whole.
    if (!bytes) return;
    if (durability == platform::fs::Durability::Quick) {
        platform::fs::writeAtomically(s.path, *bytes, durability);
        return;
    }
    // The flush to the disk is the long part: it goes on while the request is made ready, and
    // the request waits for it before a byte goes out (NSServer::awaitUnsureNote). The files
    // that must be there first go in the same flush: the folder's is the last.
    s.flushing = std::async(std::launch::async, [path = s.path, text = std::move(*bytes), first = std::move(s.filesFirst)] {
        for (const auto& [file, bytes] : first) platform::fs::writeAtomically(file, bytes, platform::fs::Durability::Quick);
        platform::fs::writeAtomically(path, text, platform::fs::Durability::Durable);
    });
    s.filesFirst.clear();
}

// The unsent line of the desk that a carried line stands for: the same number and dish.
bool stands(const NSServer::UnsureLine& carried, const NSDishClass& line) {
    return line.isUnsent() && !carried.uid.empty() && line.m_struid == carried.uid && line.caipID() == carried.caipID;
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

// The request is no longer in doubt; the lines that wait for the waiter stay.
void endRequest(NSServer::UnsureBooking& booking) {
    booking.command.clear();
    booking.serverLines.clear();
    booking.otherDesk.clear();
    booking.otherName.clear();
    booking.otherArea.clear();
}

void eraseIfDone(Store& s, std::map<std::string, NSServer::UnsureBooking>::iterator it) {
    if (it != s.desks.end() && it->second.lines.empty() && !it->second.needsRead()) s.desks.erase(it);
}

// Weighs the carried lines against the server's lines new since the request: all must show.
bool allShow(const NSServer::UnsureBooking& booking, const std::vector<NSServer::UnsureLine*>& pending,
             const std::vector<std::shared_ptr<NSDishClass>>& lines) {
    std::vector<const NSDishClass*> fresh;
    for (const auto& line : lines)
        if (line && !line->isUnsent() && !line->m_strXfmxID.empty() && !booking.serverLines.count(line->m_strXfmxID))
            fresh.push_back(line.get());
    for (const NSServer::UnsureLine* carried : pending) {
        if (carried->quantity >= 0) {
            auto match = std::find_if(fresh.begin(), fresh.end(), [&](const NSDishClass* booked) {
                return booked->caipID() == carried->caipID &&
                       std::fabs(booked->m_fQuantity - carried->quantity) < kSameQuantity &&
                       kouwKey(booked->GetKouwIDString()) == kouwKey(carried->kouw) &&
                       booked->m_strWaiterID == booking.waiterID;
            });
            if (match == fresh.end()) return false;
            fresh.erase(match);
            continue;
        }
        // A return shows only as its line's fall: exactly by it, or the line gone when it took
        // the whole quantity.
        auto before = booking.serverLines.find(carried->xfmxID);
        if (before == booking.serverLines.end()) return false;
        auto now = std::find_if(lines.begin(), lines.end(), [&](const auto& l) {
            return l && !l->isUnsent() && l->m_strXfmxID == carried->xfmxID;
        });
        const float expected = before->second + carried->quantity;
        const bool fell = now == lines.end() ? expected < kSameQuantity
                                             : std::fabs((*now)->m_fQuantity - expected) < kSameQuantity;
        if (!fell) return false;
    }
    return true;
}

}  // namespace

void NSServer::forgetUnsureBookings() {
    store().awaitFlush();
    store() = Store();
}

void NSServer::awaitUnsureNote() { store().awaitFlush(); }

void NSServer::writeWithNextNote(std::string path, std::string text) {
    Store& s = store();
    if (s.flushing.valid()) s.flushing.get();
    std::erase_if(s.filesFirst, [&path](const auto& file) { return file.first == path; });
    s.filesFirst.emplace_back(std::move(path), std::move(text));
}

void NSServer::noteUnsureBooking(const std::string& deskID, UnsureBooking booking) {
    if (deskID.empty()) return;
    Store& s = loaded();
    auto it = s.desks.find(deskID);
    if (!s.before.count(deskID))
        s.before[deskID] = it == s.desks.end() ? std::nullopt : std::optional<UnsureBooking>(it->second);
    for (auto& line : booking.lines) {
        if (line.consumeID.empty()) line.consumeID = booking.consumeID;
        const int uid = platform::leadingInt(line.uid);
        if (!line.uid.empty() && uid > s.lastUid) s.lastUid = uid;
    }
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
    write(s, platform::fs::Durability::Durable);
}

void NSServer::withdrawUnsureBooking(const std::string& deskID) {
    Store& s = loaded();
    auto was = s.before.find(deskID);
    if (was == s.before.end()) return;
    if (was->second) s.desks[deskID] = std::move(*was->second);
    else s.desks.erase(deskID);
    s.before.erase(was);
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
    s.before.erase(deskID);
    if (s.desks.erase(deskID) > 0) write(s);
}

int NSServer::lastUnsureLineNumber() { return loaded().lastUid; }

NSServer::UnsureSettle NSServer::settleUnsureBooking(NSDeskClass& desk, const std::function<void()>& saveDesk) {
    UnsureSettle result;
    Store& s = loaded();
    auto it = s.desks.find(desk.m_strDeskID);
    if (it == s.desks.end()) return result;
    s.before.erase(desk.m_strDeskID);
    UnsureBooking& booking = it->second;
    auto& lines = desk.m_DishList;
    const std::size_t linesBefore = booking.lines.size();
    bool changed = false;

    if (booking.needsRead()) {
        changed = true;
        std::vector<UnsureLine*> pending;
        for (auto& line : booking.lines)
            if (!line.waiting) pending.push_back(&line);
        if (!booking.otherDesk.empty()) {
            // A transfer: the bill is where the server shows it. While this desk still holds it,
            // the transfer did not happen; when it left, the doubt lasts until it is found.
            if (desk.m_strConsumeID != booking.consumeID || desk.m_strDeskState == "1") {
                result.kind = UnsureSettle::kMoved;
                result.otherDesk = booking.otherDesk;
                result.otherName = booking.otherName;
                result.otherArea = booking.otherArea;
                result.consumeID = booking.consumeID;
                for (const auto& [lineID, quantity] : booking.serverLines) result.lineIDs.push_back(lineID);
                return result;
            }
            result.kind = UnsureSettle::kChecked;
        } else if (pending.empty()) {
            result.kind = UnsureSettle::kChecked;
        } else if (allShow(booking, pending, lines)) {
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
        endRequest(booking);
    }
    // Lines the waiter removed since are no longer in doubt.
    std::erase_if(booking.lines, [&lines](const UnsureLine& carried) {
        return std::none_of(lines.begin(), lines.end(), [&](const auto& l) { return l && stands(carried, *l); });
    });
    if (result.kind == UnsureSettle::kUnsettled) {
        result.lines = static_cast<int>(booking.lines.size());
        if (result.lines == 0) result.kind = UnsureSettle::kChecked;
    }
    changed = changed || booking.lines.size() != linesBefore;
    if (!changed) return result;
    eraseIfDone(s, it);
    // The desk's file first: once the doubt is gone from disk, what it settled must be there.
    if (saveDesk) saveDesk();
    write(s);
    return result;
}

bool NSServer::followUnsureBill(NSDeskClass& desk, const NSDeskClass& there, const UnsureSettle& moved) {
    Store& s = loaded();
    const std::string from = desk.m_strDeskID;
    bool holds = !moved.consumeID.empty() && there.m_strConsumeID == moved.consumeID;
    for (const auto& line : there.m_DishList)
        holds = holds || std::find(moved.lineIDs.begin(), moved.lineIDs.end(), line->m_strXfmxID) != moved.lineIDs.end();
    if (holds) {
        // The target keeps its own saved lines; what was left unsent here joins them there.
        auto target = std::make_shared<NSDeskClass>();
        target->m_strDeskID = moved.otherDesk;
        loadSelectDish(target);
        std::vector<std::shared_ptr<NSDishClass>> unsent;
        for (const auto& line : desk.m_DishList)
            if (line && line->isUnsent()) unsent.push_back(line);
        desk.m_DishList.clear();
        for (const auto& line : there.m_DishList)
            if (line && !line->isUnsent()) desk.m_DishList.push_back(line);
        for (const auto& line : target->m_DishList) desk.m_DishList.push_back(line);
        for (const auto& line : unsent) desk.m_DishList.push_back(line);
        desk.m_strDeskID = moved.otherDesk;
        desk.m_strDeskName = moved.otherName;
        desk.m_kongjmc = moved.otherArea;
        desk.m_strConsumeID = there.m_strConsumeID;
        desk.m_iClientNum = there.m_iClientNum;
        desk.m_strDeskState = there.m_strDeskState;
        desk.m_bStaleView = false;
        if (auto text = deskFileText(desk)) writeDeskFileText(desk, *text);
        delSaveDish(from);
        // The lines waiting for the waiter travel with the bill, beside the target's own.
        auto left = s.desks.find(from);
        if (left != s.desks.end()) {
            auto& arriving = s.desks[desk.m_strDeskID];
            for (auto& line : left->second.lines) arriving.lines.push_back(std::move(line));
            s.desks.erase(from);
        }
    } else {
        auto it = s.desks.find(from);
        if (it != s.desks.end()) {
            endRequest(it->second);
            eraseIfDone(s, it);
        }
    }
    s.before.erase(from);
    write(s);
    return holds;
}

std::vector<std::shared_ptr<NSDishClass>> NSServer::unsureLines(const NSDeskClass& desk) {
    std::vector<std::shared_ptr<NSDishClass>> found;
    auto booking = getUnsureBooking(desk.m_strDeskID);
    if (!booking) return found;
    for (const auto& line : desk.m_DishList)
        if (line && isUnsureLine(desk, *line)) found.push_back(line);
    return found;
}

const NSServer::UnsureLine* NSServer::unsureLineOf(const NSDeskClass& desk, const NSDishClass& line) {
    auto booking = getUnsureBooking(desk.m_strDeskID);
    if (!booking) return nullptr;
    auto it = std::find_if(booking->lines.begin(), booking->lines.end(),
                           [&line](const UnsureLine& carried) { return stands(carried, line); });
    return it == booking->lines.end() ? nullptr : &*it;
}

bool NSServer::isUnsureLine(const NSDeskClass& desk, const NSDishClass& line) { return unsureLineOf(desk, line); }

void NSServer::releaseUnsureLines(const NSDeskClass& desk, const std::vector<std::shared_ptr<NSDishClass>>& lines) {
    Store& s = loaded();
    auto it = s.desks.find(desk.m_strDeskID);
    if (it == s.desks.end()) return;
    std::erase_if(it->second.lines, [&lines](const UnsureLine& carried) {
        return std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l && stands(carried, *l); });
    });
    eraseIfDone(s, it);
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
    now->m_strDeskID = target.m_strDeskID;
    now->m_strDeskName = target.m_strDeskName;
    now->m_kongjmc = target.m_kongjmc;
    saveSelectDish0();
    write(s);
}
