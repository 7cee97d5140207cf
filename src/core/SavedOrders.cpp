// The saved-order files: one ".ATD" file per opened desk with its unsent lines, and the offline
// file with every offline desk and all their lines. Plain XML in the data folder.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "GData/GDataXML.h"
#include "GData/GDataXMLWriter.h"
#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"

namespace {

constexpr const char* kOutDeskName = "OUTDESK";

std::string deskFilePath(const std::string& deskID) {
    return platform::fmt("%@/%@.ATD", NSServer::getDataPath(), deskID);
}

std::string outDeskPath() { return platform::fmt("%@/OUTDESK.ATD", NSServer::getDataPath()); }

std::string gText(float value) { return platform::gText(value); }
std::string iText(int value) { return std::to_string(value); }

void addText(const std::shared_ptr<GDataXMLElement>& parent, const char* name, const std::string& value) {
    parent->addChild(GDataXMLNode::elementWithNameStringValue(name, value));
}

// A line's fields in the order its file holds them, handed to `field(name, text)`; the flags
// only when set.
template <typename Field>
bool eachDishField(const NSDishClass& line, Field&& field) {
    return field("m_strCaipID", line.caipID()) && field("m_strCaipName", line.m_strCaipName) &&
           field("m_strXfmxID", line.m_strXfmxID) && (!line.m_bisSet || field("m_bisSet", "1")) &&
           (!line.m_bisExp || field("m_bisExp", "1")) && (!line.m_bAddOn || field("m_bAddOn", "1")) &&
           field("m_struid", line.m_struid) && field("m_fQuantity", gText(line.m_fQuantity)) &&
           field("m_iPrice", iText(line.m_iPrice)) && field("m_iType", iText(line.m_iType)) &&
           field("KouwIDString", line.GetKouwIDString()) && field("m_strZuofShul", line.m_strZuofShul) &&
           field("m_strPrice", line.m_strPrice) && field("m_strReason", line.m_strReason) &&
           field("m_strRemark", line.m_strRemark) && field("m_iVarQty", iText(line.m_iVarQty)) &&
           field("m_fQuantity2", gText(line.m_fQuantity2)) && field("m_strUnits", line.m_strUnits) &&
           field("m_strWaiterID", line.m_strWaiterID) && field("m_strWaiterName", line.m_strWaiterName) &&
           field("m_fPrice2", gText(line.m_fPrice2)) && field("m_fPrice3", gText(line.m_fPrice3));
}

gdata::XMLAttributes deskAttributes(const NSDeskClass& desk) {
    return {{"m_strDeskID", desk.m_strDeskID},
            {"m_iClientNum", iText(desk.m_iClientNum)},
            {"m_strWaiterID", desk.m_strWaiterID}};
}

bool isSaved(const std::shared_ptr<NSDishClass>& line, bool unsentOnly) {
    return line && (!unsentOnly || line->m_iState == NSDishClass::kUnsent);
}

std::shared_ptr<GDataXMLElement> dishElement(const NSDishClass& line) {
    auto dish = GDataXMLNode::elementWithName("dish");
    eachDishField(line, [&dish](const char* name, const std::string& value) {
        addText(dish, name, value);
        return true;
    });
    return dish;
}

std::shared_ptr<GDataXMLElement> deskElement(const NSDeskClass& desk, bool unsentOnly) {
    auto element = GDataXMLNode::elementWithName("desk");
    for (const auto& [name, value] : deskAttributes(desk))
        element->addAttribute(GDataXMLNode::attributeWithNameStringValue(name, value));
    for (const auto& line : desk.m_DishList)
        if (isSaved(line, unsentOnly)) element->addChild(dishElement(*line));
    return element;
}

// The desk's own file written straight, as its tree would write it: a send writes it with
// hundreds of lines on its way.
std::optional<std::string> directDeskText(const NSDeskClass& desk) {
    const bool any = std::any_of(desk.m_DishList.begin(), desk.m_DishList.end(),
                                 [](const auto& line) { return isSaved(line, true); });
    return gdata::documentText([&](std::string& out) {
        return gdata::appendElement(out, "morvane", "", {}, [&](std::string& root) {
            return gdata::appendElement(root, "desk", "", deskAttributes(desk), [&](std::string& lines) {
                for (const auto& line : desk.m_DishList) {
                    if (!isSaved(line, true)) continue;
                    lines += "<dish>";
                    const bool written = eachDishField(*line, [&lines](const char* name, const std::string& value) {
                        return gdata::appendTextElement(lines, name, value);
                    });
                    if (!written) return false;
                    lines += "</dish>";
                }
                return true;
            }, any);
        }, true);
    });
}

std::optional<std::string> documentText(const std::shared_ptr<GDataXMLElement>& root) {
    auto document = GDataXMLDocument::initWithRootElement(root);
    if (!document) return std::nullopt;
    document->setCharacterEncoding("UTF-8");
    return document->XMLData();
}

void writeDocument(const std::string& path, const std::shared_ptr<GDataXMLElement>& root) {
    auto bytes = documentText(root);
    // A failed write leaves the old file whole and is not reported: the order in memory stands.
    if (bytes) platform::fs::writeAtomically(path, *bytes);
}

// A saved-order file that cannot be read still holds the only copy of some order: it is moved
// aside under a name that says so (the next save would otherwise overwrite it) and kept.
void moveAside(const std::string& path) {
    for (int n = 1; n <= 100; ++n) {
        std::string aside = n == 1 ? path + ".damaged" : platform::fmt("%@.damaged-%i", path, n);
        if (platform::fs::exists(aside)) continue;
        if (std::rename(path.c_str(), aside.c_str()) == 0)
            platform::log(platform::fmt("saved orders: %@ does not read, kept as %@", path, aside));
        return;
    }
}

// The root of an existing saved-order file; null (and the file moved aside) when it does not
// read as a document.
std::shared_ptr<GDataXMLElement> readRoot(const std::string& path) {
    if (platform::fs::isFolder(path)) return nullptr;
    auto bytes = platform::fs::readAll(path, NSServer::kMaxSavedOrderBytes);
    std::shared_ptr<GDataXMLDocument> document;
    if (bytes) document = GDataXMLDocument::initWithDataOptionsError(*bytes, 0, nullptr);
    auto root = document ? document->rootElement() : nullptr;
    if (!root) moveAside(path);
    return root;
}

std::vector<std::shared_ptr<GDataXMLElement>> children(const std::shared_ptr<GDataXMLElement>& element,
                                                       const char* name) {
    if (!element) return {};
    return element->elementsForName(name).value_or(std::vector<std::shared_ptr<GDataXMLElement>>());
}

// "%i" written, read back as the leading number truncated, saturating instead of overflowing.
int truncatedInt(const std::string& text) {
    double value = platform::leadingDouble(text);
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

float floatOf(const std::shared_ptr<GDataXMLElement>& dish, const char* name) {
    return static_cast<float>(platform::leadingDouble(elementText(dish, name)));
}

// One line from its element; `headPos` is the position of the last group head of this desk.
std::shared_ptr<NSDishClass> restoreLine(const std::shared_ptr<GDataXMLElement>& dish, NSDeskClass& desk,
                                         int& headPos) {
    auto line = std::make_shared<NSDishClass>();
    auto idElement = firstElement(dish, "m_strCaipID");
    auto id = idElement ? idElement->sharedStringValue() : nullptr;
    line->setM_strCaipID(id);
    if (auto db = NSServer::getCaipDB()) line->CopyCaip(db->GetCaipFromID(line->caipID()));
    line->m_strCaipName = elementText(dish, "m_strCaipName");
    line->m_strXfmxID = elementText(dish, "m_strXfmxID");
    // An absent flag keeps what the menu dish gave.
    if (firstElement(dish, "m_bisSet")) line->m_bisSet = platform::leadingInt(elementText(dish, "m_bisSet")) != 0;
    if (firstElement(dish, "m_bisExp")) line->m_bisExp = platform::leadingInt(elementText(dish, "m_bisExp")) != 0;
    if (firstElement(dish, "m_bAddOn")) line->m_bAddOn = platform::leadingInt(elementText(dish, "m_bAddOn")) != 0;
    line->m_struid = elementText(dish, "m_struid");
    line->m_fQuantity = floatOf(dish, "m_fQuantity");
    line->m_iPrice = truncatedInt(elementText(dish, "m_iPrice"));
    line->m_iType = platform::leadingInt(elementText(dish, "m_iType"));
    line->GetKouwIDFromstrID(elementText(dish, "KouwIDString"));
    line->CreateKouwString();
    line->m_strZuofShul = elementText(dish, "m_strZuofShul");
    line->m_strPrice = elementText(dish, "m_strPrice");
    line->m_strReason = elementText(dish, "m_strReason");
    line->m_strRemark = elementText(dish, "m_strRemark");
    line->m_iVarQty = platform::leadingInt(elementText(dish, "m_iVarQty"));
    line->m_fQuantity2 = floatOf(dish, "m_fQuantity2");
    line->m_strUnits = elementText(dish, "m_strUnits");
    line->m_strWaiterID = elementText(dish, "m_strWaiterID");
    line->m_strWaiterName = elementText(dish, "m_strWaiterName");
    line->m_fPrice2 = floatOf(dish, "m_fPrice2");
    line->m_fPrice3 = floatOf(dish, "m_fPrice3");
    if (line->m_bisSet) {
        headPos = static_cast<int>(desk.m_DishList.size());
        line->m_parentpos = headPos;
    } else if (line->m_bisExp) {
        line->m_parentpos = headPos;
    }
    return line;
}

void restoreLines(const std::shared_ptr<GDataXMLElement>& deskElement, NSDeskClass& desk) {
    int headPos = -1;
    for (const auto& dish : children(deskElement, "dish")) desk.m_DishList.push_back(restoreLine(dish, desk, headPos));
}

void readDeskFile(NSDeskClass& desk) {
    if (!NSServer::isSafeDeskFileName(desk.m_strDeskID)) return;
    auto path = deskFilePath(desk.m_strDeskID);
    if (!platform::fs::exists(path)) return;
    auto desks = children(readRoot(path), "desk");
    if (desks.empty()) return;
    const auto& element = desks.front();
    if (element->attributeForName("m_strDeskID")) desk.m_strDeskID = attributeText(element, "m_strDeskID");
    desk.m_iClientNum = platform::leadingInt(attributeText(element, "m_iClientNum"));
    restoreLines(element, desk);
}

void writeDeskFile(const NSDeskClass& desk) {
    if (auto text = NSServer::deskFileText(desk)) {
        NSServer::writeDeskFileText(desk, *text);
    } else if (!NSServer::isSafeDeskFileName(desk.m_strDeskID)) {
        platform::log(platform::fmt("saved orders: desk id \"%@\" cannot name a file; its lines are not saved",
                                    platform::xmlText(desk.m_strDeskID)));
    }
}

}  // namespace

std::optional<std::string> NSServer::deskFileText(const NSDeskClass& desk) {
    if (!isSafeDeskFileName(desk.m_strDeskID)) return std::nullopt;
    // Text XML cannot hold as it is takes the tree's path, which repairs it.
    if (auto text = directDeskText(desk)) return text;
    auto root = GDataXMLNode::elementWithName("morvane");
    root->addChild(deskElement(desk, true));
    return documentText(root);
}

bool NSServer::writeDeskFileText(const NSDeskClass& desk, const std::string& text, bool durable) {
    // A save still waiting for a note is older than this one.
    awaitUnsureNote();
    // A failed write leaves the old file whole: the order in memory stands.
    return isSafeDeskFileName(desk.m_strDeskID) &&
           platform::fs::writeAtomically(deskFilePath(desk.m_strDeskID), text,
                                         durable ? platform::fs::Durability::Durable : platform::fs::Durability::Quick);
}

void NSServer::saveDeskWithNextNote(const NSDeskClass& desk) {
    if (auto text = deskFileText(desk)) writeWithNextNote(deskFilePath(desk.m_strDeskID), std::move(*text));
}

bool NSServer::isSafeDeskFileName(const std::string& deskID) {
    if (deskID == "." || deskID == ".." || deskID == kOutDeskName) return false;
    return platform::fs::isStorableFileName(deskID + ".ATD");
}

void NSServer::saveSelectDish0() {
    auto desk = getNowDesk();
    if (desk->m_strDeskID.empty())
        saveOutDesk();
    else
        saveNowDesk();
}

void NSServer::saveNowDesk() { writeDeskFile(*getNowDesk()); }

void NSServer::saveSelectDish1(const std::shared_ptr<NSDeskClass>& desk) {
    if (desk) writeDeskFile(*desk);
}

void NSServer::saveOutDesk() {
    auto root = GDataXMLNode::elementWithName("morvane");
    // A guest's cart ends with the guest's order: after a restart it would stand among the
    // waiter's offline orders with the shop's dishes.
    if (auto desks = getOutDesk())
        for (const auto& desk : *desks)
            if (desk && !desk->isGuestCart) root->addChild(deskElement(*desk, false));
    writeDocument(outDeskPath(), root);
}

void NSServer::loadNowDesk() {
    if (auto desk = getNowDesk()) readDeskFile(*desk);
}

void NSServer::loadSelectDish(const std::shared_ptr<NSDeskClass>& desk) {
    if (desk) readDeskFile(*desk);
}

void NSServer::loadSelectDish(NSDeskClass& desk) { readDeskFile(desk); }

void NSServer::loadOutDesk() {
    auto desks = std::make_shared<NSDeskList>();
    auto path = outDeskPath();
    if (platform::fs::exists(path)) {
        for (const auto& element : children(readRoot(path), "desk")) {
            auto desk = std::make_shared<NSDeskClass>();
            desk->m_strDeskID = attributeText(element, "m_strDeskID");
            desk->m_iClientNum = platform::leadingInt(attributeText(element, "m_iClientNum"));
            desk->m_strWaiterID = attributeText(element, "m_strWaiterID");
            restoreLines(element, *desk);
            desks->push_back(desk);
        }
    }
    setOutDesk(desks);
}

void NSServer::delSaveDish(const std::string& deskID) {
    if (!isSafeDeskFileName(deskID)) return;
    auto path = deskFilePath(deskID);
    // Only a file: a folder of that name is not a saved order and keeps its content.
    if (platform::fs::exists(path) && !platform::fs::isFolder(path)) platform::fs::remove(path);
}
