#include "model/NSDeskClass.h"

#include <algorithm>

#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"

std::shared_ptr<NSDeskClass> NSDeskClass::initWithCopy(const NSDeskClass& other) {
    auto desk = std::make_shared<NSDeskClass>();
    desk->CopyDesk(other);
    return desk;
}

void NSDeskClass::Init() {
    m_iDeskConfirm = 0;
    m_iRes = 0;
    m_bOffLine = false;
    m_strDeskID.clear();
    m_strDeskName.clear();
    m_strDeskState.assign(1, '1');  // a free desk (assigning the literal trips a GCC 12 -Wrestrict false alarm)
    m_strConsumeID.clear();
    m_strWaiterID.clear();
    m_iClientNum = 0;
    m_strBeginTime.clear();
    m_strKongjID.clear();
    m_DishList.clear();
}

float NSDeskClass::GetAllDishPrice() {
    if (m_strAllDishPrice > 0) return m_strAllDishPrice;
    float total = 0;
    int count = 0;
    // Items of a set meal are priced only after a head priced 0, until the next line outside
    // any group; under a priced head (or a dish with add-ons) the head's price covers them.
    bool freeRun = false;
    for (const auto& line : m_DishList) {
        if (!line) continue;
        if (line->m_iType != 7) {
            float price = line->GetPrice();
            if (line->m_bisSet && price == 0) {
                freeRun = true;
            } else if (freeRun || !line->m_bisExp || line->m_bisSet) {
                total += price;
                if (!line->m_bisExp) freeRun = false;
            }
        }
        if (line->m_iState != NSDishClass::kVoid) {
            bool set = line->m_bisSet, group = line->m_bisExp, addOn = line->m_bAddOn;
            bool counted = (!set && !group && !addOn) || (!set && group && !addOn) ||
                           (set && !group && !addOn) || (set && group && addOn);
            if (counted) ++count;
        }
    }
    m_iCaipCount = count;
    return total;
}

void NSDeskClass::OrderDish() {
    std::stable_partition(m_DishList.begin(), m_DishList.end(), [](const auto& line) {
        return line && line->m_iState != NSDishClass::kUnsent;
    });
}

bool NSDeskClass::HaveAddDish() const {
    return std::any_of(m_DishList.begin(), m_DishList.end(),
                       [](const auto& l) { return l && l->isUnsent() && l->m_fQuantity > 0; });
}

bool NSDeskClass::HaveDelDish() const {
    return std::any_of(m_DishList.begin(), m_DishList.end(),
                       [](const auto& l) { return l && l->isUnsent() && l->m_fQuantity < 0; });
}

float NSDeskClass::GetDelDishQty(const NSDishClass& line) const {
    float sum = 0;
    for (const auto& l : m_DishList)
        if (l && l->sharesCaipID(line)) sum += l->m_fQuantity;
    return sum;
}

bool NSDeskClass::HasDishRemain(const NSDishClass& line) const { return GetDelDishQty(line) > 0.001; }

int NSDeskClass::GetChooseQuantity() const {
    return static_cast<int>(std::count_if(m_DishList.begin(), m_DishList.end(),
                                          [](const auto& l) { return l && l->m_bisChoose; }));
}

void NSDeskClass::clearAllChoose() {
    for (auto& l : m_DishList)
        if (l) l->m_bisChoose = false;
}

float NSDeskClass::GetAllCost() const {
    float cost = 0;
    for (const auto& l : m_DishList)
        if (l && (l->m_bisSet || !l->m_bisExp))
            cost += static_cast<float>(platform::leadingDouble(l->m_strCost)) * l->m_fQuantity;
    return cost;
}

bool NSDeskClass::DelDelDish() {
    std::erase_if(m_DishList, [](const auto& l) {
        return l && l->m_iState == NSDishClass::kSending && !(l->m_fQuantity > 0);
    });
    return true;
}

bool NSDeskClass::DelAddDish() {
    std::erase_if(m_DishList, [](const auto& l) {
        return l && l->m_iState == NSDishClass::kSending && !(l->m_fQuantity < 0);
    });
    return true;
}

void NSDeskClass::Adddesk(const NSDeskClass& other, const std::string&) {
    // A copy of the list first: the other desk may be this desk.
    auto lines = other.m_DishList;
    for (auto& l : lines) {
        if (!l) continue;
        if (l->m_iState != NSDishClass::kUnsent) {
            l->m_iState = NSDishClass::kUnsent;
            l->m_strWaiterID = other.m_strWaiterID;
            l->m_strTime.clear();
        }
        m_DishList.push_back(l);
    }
}

void NSDeskClass::CopyDesk(const NSDeskClass& other) {
    m_bSale = other.m_bSale;
    m_bOffLine = other.m_bOffLine;
    m_iRes = other.m_iRes;
    m_iClientNum = other.m_iClientNum;
    m_strBeginTime = other.m_strBeginTime;
    m_strConsumeID = other.m_strConsumeID;
    m_strDeskID = other.m_strDeskID;
    m_strDeskName = other.m_strDeskName;
    m_strDeskState = other.m_strDeskState;
    m_strKongjID = other.m_strKongjID;
    m_strWaiterID = other.m_strWaiterID;
    m_iDeskConfirm = other.m_iDeskConfirm;
    m_strResName = other.m_strResName;
    m_DishList = other.m_DishList;
}
