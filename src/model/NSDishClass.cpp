#include "model/NSDishClass.h"

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "platform/foundation/Text.h"

namespace {

// Every part of a ","-list, empty parts included.
std::vector<std::string> splitKeepingEmpty(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        auto comma = text.find(',', start);
        if (comma == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

std::vector<std::string> nonEmptyParts(const std::string& text) {
    auto parts = splitKeepingEmpty(text);
    parts.erase(std::remove(parts.begin(), parts.end(), std::string()), parts.end());
    return parts;
}

// Taste and cooking-method names come from the menu database the hub holds; without one every
// entry reads as the free text it is.
std::string kouwName(const std::string& id) {
    auto db = NSServer::getCaipDB();
    return db ? db->GetKouwNameByID(id) : id;
}

bool isKnownKouw(const std::string& id) {
    auto db = NSServer::getCaipDB();
    return db && db->FindKouwid(id);
}

std::shared_ptr<const std::string> newText(const std::string& text = {}) {
    return std::make_shared<const std::string>(text);
}

}  // namespace

NSDishClass::NSDishClass() { Release(); }

std::shared_ptr<NSDishClass> NSDishClass::initWithDish(const NSDishClass& source) {
    auto line = std::make_shared<NSDishClass>();
    line->CopyDish(&source);
    return line;
}

const std::string& NSDishClass::caipID() const {
    static const std::string empty;
    return m_strCaipID ? *m_strCaipID : empty;
}

void NSDishClass::setM_strCaipID(std::shared_ptr<const std::string> id) {
    m_strCaipID = id ? std::move(id) : newText();
}

void NSDishClass::setM_strCaipID(const std::string& id) { m_strCaipID = newText(id); }

bool NSDishClass::sharesCaipID(const NSDishClass& other) const {
    return m_strCaipID && m_strCaipID == other.m_strCaipID;
}

void NSDishClass::Release() {
    m_ExDishs.clear();
    m_KouwArray.clear();
    m_muNameArray.clear();
    m_muPriceArray.clear();
    m_parentpos = -1;
    m_strCaipName.clear();
    m_strCaipID = newText();
    m_strKouw.clear();
    m_strReason.clear();
    m_strRemark.clear();
    m_strPrice.clear();
    m_fPrice2 = 0;
    m_fPrice3 = 0;
    m_iPrice2Type = 0;
    m_iType = 0;
    m_strTime.clear();
    m_iState = kUnsent;
    m_strXfmxID.clear();
    m_fQuantity = 0;
    m_iPrice = -1;
    m_iMultizuof = 1;
    m_iMustzuof = 0;
    m_bisSet = false;
    m_bisExp = false;
    m_strZuofID.clear();
    m_strZfjiag.clear();
    m_strUserID.clear();
    m_strWaiterID.clear();
    m_strWaiterName.clear();
    m_strUnits.clear();
    m_struid.clear();
    m_strCost.clear();
    m_strMLL.clear();
}

void NSDishClass::CopyDish(const NSDishClass* s) {
    if (!s) return;
    pCaip = s->pCaip;
    m_fQuantity = s->m_fQuantity;
    // Copied before anything is assigned, so copying a line onto itself stays sound.
    NSDishList items;
    for (const auto& item : s->m_ExDishs)
        if (item) items.push_back(initWithDish(*item));
    m_ExDishs.insert(m_ExDishs.end(), items.begin(), items.end());
    m_fQuantity2 = s->m_fQuantity2;
    m_iState = s->m_iState;
    m_strCaipID = s->m_strCaipID;
    m_strCaipName = s->m_strCaipName;
    m_strKouw = s->m_strKouw;
    m_strReason = s->m_strReason;
    m_strRemark = s->m_strRemark;
    m_strXfmxID = s->m_strXfmxID;
    m_strPrice = s->m_strPrice;
    m_strTime = s->m_strTime;
    m_iType = s->m_iType;
    m_iPrice = s->m_iPrice;
    m_KouwArray = s->m_KouwArray;
    m_iMultizuof = s->m_iMultizuof;
    m_iMustzuof = s->m_iMustzuof;
    m_bisSet = s->m_bisSet;
    m_bisExp = s->m_bisExp;
    m_bAddOn = s->m_bAddOn;
    m_Digits = s->m_Digits;
    m_strZuofID = s->m_strZuofID;
    m_strZfjiag = s->m_strZfjiag;
    m_strZuofShul = s->m_strZuofShul;
    m_fPrice3 = s->m_fPrice3;
    m_fPrice2 = s->m_fPrice2;
    m_iPrice2Type = s->m_iPrice2Type;
    m_strCost = s->m_strCost;
    m_strMLL = s->m_strMLL;
    m_strUserID = s->m_strUserID;
    m_strUserName = s->m_strUserName;
    m_strWaiterID = s->m_strWaiterID;
    m_strWaiterName = s->m_strWaiterName;
    m_strUnits = s->m_strUnits;
    m_struid = s->m_struid;
    m_iVarQty = s->m_iVarQty;
    m_parentpos = s->m_parentpos;
    // Unit names and prices go pairwise, so a longer name list never outruns its prices.
    auto names = s->m_muNameArray;
    auto prices = s->m_muPriceArray;
    auto pairs = std::min(names.size(), prices.size());
    names.resize(pairs);
    prices.resize(pairs);
    m_muNameArray = std::move(names);
    m_muPriceArray = std::move(prices);
}

void NSDishClass::CopyCaip(const std::shared_ptr<NSCaipClass>& d) {
    if (!d) return;
    pCaip = d;
    setM_strCaipID(d->m_strID);
    m_strCaipName = d->m_strName;
    m_strPrice = d->m_strPrice;
    m_iPrice = d->m_iPrice;
    m_KouwArray.clear();
    m_iMultizuof = d->m_iMultizuof;
    m_iMustzuof = d->m_iMustzuof;
    m_bisSet = d->m_bisSet;
    m_bAddOn = d->m_bAddOn;
    m_strZuofID = d->m_strZuofID;
    m_strZfjiag = d->m_strZfjiag;
    m_fPrice2 = 0;
    m_fPrice3 = 0;
    m_strCost = d->m_strCost;
    m_strMLL = d->m_strMLL;
    m_strUnits = d->m_strDanw;
    m_iVarQty = d->m_bVarQty ? 4 : 0;
    m_Digits = d->m_Digits;
    m_muNameArray.assign(1, d->m_strDanw);
    m_muPriceArray.assign(1, d->m_strPrice);
    auto db = NSServer::getCaipDB();
    if (!db || !db->m_Units) return;
    const auto& units = *db->m_Units;
    for (int i = 1; i < units.m_length; ++i) {
        auto row = static_cast<std::size_t>(i);
        if (row >= units.m_code.size() || row >= units.m_name.size() || row >= units.m_state.size())
            break;
        if (d->m_bCustom) {
            // A custom dish may be sold in any unit, at a price typed when it is ordered.
            m_muNameArray.push_back(units.m_name[row]);
            m_muPriceArray.emplace_back();
        } else if (units.m_code[row] == d->strID()) {
            m_muNameArray.push_back(units.m_name[row]);
            m_muPriceArray.push_back(units.m_state[row]);
        }
    }
}

bool NSDishClass::isEqual(const NSDishClass& other) const {
    return caipID() == other.caipID() && m_struid == other.m_struid;
}

bool NSDishClass::AddKouwID(const std::string& ids) {
    if (ids.empty()) return true;
    for (auto& part : nonEmptyParts(ids))
        if (!FindKouwID(part)) m_KouwArray.push_back(part);
    return true;
}

bool NSDishClass::GetKouwIDFromstrID(const std::string& ids) {
    if (ids.empty()) {
        m_KouwArray.clear();
        return true;
    }
    m_KouwArray = nonEmptyParts(ids);
    return true;
}

bool NSDishClass::GetKouwIDFromString(const std::string& ids) {
    m_KouwArray.clear();
    return AddKouwID(ids);
}

bool NSDishClass::AddKouwIDFromString(const std::string& names) {
    m_KouwArray.clear();
    auto db = NSServer::getCaipDB();
    for (auto& part : nonEmptyParts(names)) m_KouwArray.push_back(db ? db->GetKouwIDByName(part) : part);
    return true;
}

bool NSDishClass::DelKouwID(const std::string& ids) {
    if (ids.empty()) return true;
    // A known id goes only with an equal part: removing "12" must not take tastes "1" and "2"
    // with it. Free text has no parts of its own and goes when the text contains it.
    auto parts = splitKeepingEmpty(ids);
    for (auto i = m_KouwArray.size(); i-- > 0;) {
        const auto& entry = m_KouwArray[i];
        bool remove = isKnownKouw(entry)
                          ? std::find(parts.begin(), parts.end(), entry) != parts.end()
                          : ids.find(entry) != std::string::npos;
        if (remove) m_KouwArray.erase(m_KouwArray.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return true;
}

bool NSDishClass::FindKouwID(const std::string& id) const {
    return std::find(m_KouwArray.begin(), m_KouwArray.end(), id) != m_KouwArray.end();
}

std::string NSDishClass::GetKouwIDString() const {
    std::string joined;
    for (std::size_t i = 0; i < m_KouwArray.size(); ++i) {
        if (i) joined += ',';
        joined += m_KouwArray[i];
    }
    return joined;
}

std::string NSDishClass::CreateKouwString() {
    std::string names;
    for (std::size_t i = 0; i < m_KouwArray.size(); ++i) {
        if (i) names += ',';
        names += kouwName(m_KouwArray[i]);
    }
    m_strKouw = names;
    return names;
}

std::string NSDishClass::GetKouwShulString() const {
    if (m_KouwArray.empty()) return std::string();
    auto quantities = m_strZuofShul.empty() ? std::vector<std::string>() : splitKeepingEmpty(m_strZuofShul);
    auto ids = splitKeepingEmpty(m_strZuofID);
    std::string text;
    for (std::size_t i = 0; i < m_KouwArray.size(); ++i) {
        const auto& entry = m_KouwArray[i];
        if (i) text += ',';
        text += kouwName(entry);
        for (std::size_t j = 0; j < ids.size(); ++j)
            if (ids[j] == entry && j < quantities.size() && !quantities[j].empty())
                text += "×" + quantities[j];
    }
    return text;
}

std::string NSDishClass::GetKouwDefine() const {
    std::string text;
    for (const auto& entry : m_KouwArray)
        if (!isKnownKouw(entry)) text += entry;
    return text;
}

float NSDishClass::GetPrice() const {
    float unit = static_cast<float>(platform::leadingDouble(m_strPrice));
    return GetAddPrice(unit * m_fQuantity);
}

float NSDishClass::GetAddPrice(float amount) const {
    float total = amount;
    if (m_iPrice2Type == 0 || m_iPrice2Type == 1) total += m_fPrice2;
    return total + m_fPrice3;
}

void renumberGroups(NSDishList& lines) {
    int head = -1;    // the last set-meal head, until a plain line ends its group
    int anchor = -1;  // the last head or plain line: what an add-on belongs to
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i]) continue;
        NSDishClass& line = *lines[i];
        const int pos = static_cast<int>(i);
        if (line.m_bisSet) {
            line.m_parentpos = head = anchor = pos;
        } else if (line.m_bAddOn && anchor >= 0) {
            // With or without the group flag: the server lists a plain line's add-ons as group
            // members right after it, and they belong to that line, not to an earlier set meal.
            line.m_parentpos = anchor;
        } else if (line.m_bisExp) {
            line.m_parentpos = head;
        } else {
            line.m_parentpos = anchor = pos;
            head = -1;
        }
    }
}
