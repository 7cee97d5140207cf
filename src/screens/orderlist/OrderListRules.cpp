#include "screens/orderlist/OrderListRules.h"

#include <algorithm>
#include <cmath>

#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSKouwClass.h"
#include "platform/foundation/Text.h"

namespace orderlist {

const char* servingModePicture(int mode) {
    switch (mode) {
    case 0: return "1-21.png";
    case 1: return "1-22.png";
    case 3: return "F2_stLev3.png";
    case 4: return "1-23.png";
    case 7: return "2-75.png";
    default: return nullptr;
    }
}

const char* stateWord(int state) {
    switch (state) {
    case NSDishClass::kUnsent:
    case NSDishClass::kSending: return "dishforsend";
    case 1: return "dishwait";
    case 3: return "dishcomplete";
    case NSDishClass::kVoid: return "dishvoid";
    default: return nullptr;
    }
}

std::optional<std::string> menuPrice(const NSDishClass& line) {
    auto db = NSServer::getCaipDB();
    auto dish = db ? db->GetCaipFromID(line.caipID()) : nullptr;
    if (!dish || dish->strID().empty()) return std::nullopt;
    // The units the editors offer for the dish, each with its price.
    NSDishClass fresh;
    fresh.CopyCaip(dish);
    for (std::size_t i = 0; i < fresh.m_muNameArray.size() && i < fresh.m_muPriceArray.size(); ++i)
        if (fresh.m_muNameArray[i] == line.m_strUnits && !fresh.m_muPriceArray[i].empty())
            return fresh.m_muPriceArray[i];
    if (dish->m_strDanw == "例" && (line.m_strUnits == "中" || line.m_strUnits == "大")) {
        const float scale = line.m_strUnits == "中" ? NSServer::getFMIDSTYLE() : NSServer::getFBIGSTYLE();
        return platform::fmt("%g", platform::leadingDouble(dish->m_strPrice) * scale);
    }
    return dish->m_strPrice;
}

std::vector<std::shared_ptr<NSDishClass>> linesToSend(const NSDeskClass& desk, int row) {
    std::vector<std::shared_ptr<NSDishClass>> marked;
    const auto& lines = desk.m_DishList;
    if (row >= 0) {
        if (static_cast<std::size_t>(row) < lines.size()) {
            const auto& line = lines[static_cast<std::size_t>(row)];
            if (line->isUnsent() && line->m_bisChoose) marked.push_back(line);
        }
        return marked;
    }
    int head = -1;
    for (const auto& line : lines) {
        if (!line->isUnsent()) continue;
        if (!(line->m_bisChoose || (head >= 0 && line->m_parentpos == head))) continue;
        marked.push_back(line);
        if (line->m_bisSet && line->m_bisExp) head = line->m_parentpos;
        else if (!line->m_bisExp) head = -1;
    }
    if (marked.empty())
        for (const auto& line : lines)
            if (line->isUnsent()) marked.push_back(line);
    return marked;
}

std::vector<std::shared_ptr<NSDishClass>> addOnChildren(const NSDeskClass& desk, const NSDishClass& line) {
    std::vector<std::shared_ptr<NSDishClass>> children;
    if (line.m_bisExp) return children;
    for (const auto& other : desk.m_DishList)
        if (other.get() != &line && other->m_bAddOn && !other->m_bisSet && other->m_parentpos == line.m_parentpos)
            children.push_back(other);
    return children;
}

std::shared_ptr<NSDishClass> addOnReturnLine(const NSDishClass& addOn, float returned, float ordered,
                                             const std::function<std::string()>& nextNumber) {
    auto line = NSDishClass::initWithDish(addOn);
    line->m_iState = NSDishClass::kSending;
    // The share is taken in single precision first, as the quantities are kept; without an
    // ordered quantity there is no share, and the add-on goes back whole.
    line->m_fQuantity = ordered == 0 ? -addOn.m_fQuantity : (returned / ordered) * addOn.m_fQuantity;
    if (addOn.m_struid.empty() || addOn.m_struid == "-1") line->m_struid = nextNumber();
    return line;
}

std::string materialText(const NSDishClass& line, const std::vector<std::shared_ptr<NSKouwClass>>& options) {
    std::vector<std::string> ids;
    const std::string list = line.GetKouwIDString();
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        ids.push_back(list.substr(from, comma - from));
        from = comma + 1;
    }
    // The options follow the menu's order; an id the line holds twice is taken twice.
    std::vector<const NSKouwClass*> chosen;
    for (const auto& option : options)
        for (const auto& id : ids)
            if (option && id == option->m_strKouwid) chosen.push_back(option.get());
    std::vector<std::vector<const NSKouwClass*>> groups;
    for (const auto* option : chosen) {
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [option](const auto& g) { return g.front()->m_strBZ == option->m_strBZ; });
        if (group == groups.end()) groups.push_back({option});
        else group->push_back(option);
    }
    std::string text;
    for (const auto& group : groups) {
        text += group.front()->m_strBZ;
        for (const auto* option : group) text += "?" + option->m_strKouw + "^" + option->m_strJiaj;
        text += "#";
    }
    if (!text.empty()) text.pop_back();
    return text;
}

}  // namespace orderlist
