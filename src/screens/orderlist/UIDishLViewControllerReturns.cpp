// Returns of sent lines (one line in part or whole, or every chosen line whole) with their
// add-on lines, and gifts of sent lines, each with a reason from the reason table.
#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "net/NSTcpPacket.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/OrderListRules.h"
#include "screens/orderlist/UIDishLViewController.h"

std::shared_ptr<NSATreeClass> UIDishLViewController::reasonTree(const std::vector<std::string>& kinds) {
    auto tree = std::make_shared<NSATreeClass>();
    auto db = NSServer::getCaipDB();
    if (!db || !db->m_Tuidyy) return tree;
    const NSATreeClass& reasons = *db->m_Tuidyy;
    for (int row = 1; row < reasons.m_length; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (r >= reasons.m_code.size() || reasons.m_code[r].empty()) continue;
        const std::string kind = r < reasons.m_state.size() ? reasons.m_state[r] : "";
        if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) continue;
        tree->AddItem(reasons.m_code[r], r < reasons.m_name.size() ? reasons.m_name[r] : "", "");
    }
    return tree;
}

void UIDishLViewController::delDishLogined() {
    auto line = lineAt(sendIndex_);
    if (!line) return;
    if (line->m_iState == 0) {
        // A line the server keeps without a state goes back whole, without a reason.
        buffertuiCai = NSDishClass::initWithDish(*line);
        buffertuiCai->m_iState = NSDishClass::kUnsent;
        buffertuiCai->m_fQuantity = 0.0f - line->m_fQuantity;  // never a negative zero
        tuiCai();
        return;
    }
    const int chosen = NSServer::getNowDesk()->GetChooseQuantity();
    const std::string title = chosen >= 2 ? wordFormat("dishl3", "退菜：已选%i个菜品，请选择退菜原因", {chosen})
                                          : wordFormat("dishl4", "退菜：%@ ×%g，请选择退菜原因", {line->m_strCaipName, line->m_fQuantity});
    openPicker(reasonTree({"", "01"}), false, kPickReturnReason, title);
}

void UIDishLViewController::tuiCai() {
    if (!buffertuiCai) return;
    auto desk = NSServer::getNowDesk();
    auto user = NSServer::getNowUser();
    buffertuiCai->m_iState = NSDishClass::kSending;
    buffertuiCai->m_struid = user->GetDishCount();
    std::vector<std::shared_ptr<NSDishClass>> lines{buffertuiCai};
    auto returned = lineAt(sendIndex_);
    auto next = [&user] { return user->GetDishCount(); };
    const auto addOns = returned ? orderlist::addOnChildren(*desk, *returned) : decltype(desk->m_DishList){};
    for (const auto& line : desk->m_DishList) {
        if (std::find(addOns.begin(), addOns.end(), line) != addOns.end())
            lines.push_back(orderlist::addOnReturnLine(*line, buffertuiCai->m_fQuantity, returned->m_fQuantity, next));
        if (line->m_iState == NSDishClass::kUnsent) lines.push_back(line);
    }
    sendReturnList(std::move(lines));
    save();
}

void UIDishLViewController::tuiCais(const std::string& reason) {
    auto desk = NSServer::getNowDesk();
    auto user = NSServer::getNowUser();
    auto next = [&user] { return user->GetDishCount(); };
    std::vector<std::shared_ptr<NSDishClass>> lines;
    for (const auto& line : desk->m_DishList) {
        // Unsent lines stay as they are, chosen or not: the server has nothing of them to return.
        if (line->m_iState == NSDishClass::kUnsent) {
            lines.push_back(line);
            continue;
        }
        if (!line->m_bisChoose || line->m_iState == NSDishClass::kSending) continue;
        auto back = NSDishClass::initWithDish(*line);
        back->m_iState = NSDishClass::kSending;
        back->m_strRemark = reason;
        back->m_fQuantity = -line->m_fQuantity;
        for (const auto& addOn : orderlist::addOnChildren(*desk, *line))
                lines.push_back(orderlist::addOnReturnLine(*addOn, back->m_fQuantity, line->m_fQuantity, next));
        back->m_struid = user->GetDishCount();
        lines.push_back(back);
    }
    sendReturnList(std::move(lines));
}

void UIDishLViewController::sendReturnList(std::vector<std::shared_ptr<NSDishClass>> lines) {
    if (!mayBook()) return;
    auto desk = NSServer::getNowDesk();
    auto kept = std::move(desk->m_DishList);
    desk->m_DishList = std::move(lines);
    if (!NSServer().XDelDish(*desk)) {
        desk->m_DishList = std::move(kept);
        reload();
        return;
    }
    std::optional<std::string> written;
    accepted(*desk, written);
    if (!updateMenu()) {
        // The server took the return: it must never go a second time with the next send.
        holdAccepted(*desk);
    }
    reload();
}

void UIDishLViewController::giving(const std::optional<std::string>& word) {
    const bool answered = word == kNoReason;
    if (!answered && isSubViewShow(false)) return;
    if (!answered && word != kNoLogin && !NSServer::isWaiterUser()) {
        requestLogin(kLoginGive);
        return;
    }
    if (!answered) {
        openPicker(reasonTree({"", "02"}), false, kPickGiftReason, UIDishLViewController::word("dishl5"));
        return;
    }
    auto row = pickedRow();
    if (!row) return;
    const std::string reason = selectViewController->m_tree->m_code[static_cast<std::size_t>(*row)];
    if (!mayBook()) return;
    auto desk = NSServer::getNowDesk();
    auto user = NSServer::getNowUser();
    bool given = true;
    for (std::size_t i = 0; i < desk->m_DishList.size(); ++i) {
        auto line = desk->m_DishList[i];
        if (!line->m_bisChoose || line->m_iState == NSDishClass::kUnsent || line->m_iState == 0 ||
            line->m_fQuantity <= 0)
            continue;
        auto packet = NSTcpPacket::initWithCustom("rebatedish", line->m_strXfmxID, reason);
        packet->SetCustom(user->m_strUserID, desk->m_strDeskID, desk->m_strConsumeID);
        if (!packet->sendPacketForNone(true)) {
            given = false;
            break;
        }
    }
    // A gift that went unanswered ends the tap: the desk is read before its next booking.
    if (!given && leftInDoubt()) return;
    updateMenu();
    reload();
    save();
    if (given) tell(UIDishLViewController::word("dishl6"));
}
