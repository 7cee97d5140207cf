// Sending the order with its login, desk and confirmation turns, the login continuation of the
// list, and the refresh of the current desk from the server.
#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/orderlist/OrderListRules.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

constexpr const char* kAdminDesc = "*系统管理员";
constexpr const char* kAdminName = "4062";
// A line the server accepted while a later step of its send failed. It is on the server's bill,
// so it may not go again; it waits, shown as ordered, until the next refresh replaces it.
constexpr int kAccepted = 1;

}  // namespace

void UIDishLViewController::sendAllDish() {
    if (isSubViewShow(false)) return;
    onSendCaip(std::nullopt, -1);
}

void UIDishLViewController::sendOneDish(int row) {
    if (isSubViewShow(false)) return;
    onSendCaip(std::nullopt, row);
}

void UIDishLViewController::backToUnsent(NSDeskClass& desk) {
    for (auto& line : desk.m_DishList)
        if (line->m_iState == NSDishClass::kSending) line->m_iState = NSDishClass::kUnsent;
}

void UIDishLViewController::holdAccepted(NSDeskClass& desk) {
    for (auto& line : desk.m_DishList)
        if (line->m_iState == NSDishClass::kSending) line->m_iState = kAccepted;
}

void UIDishLViewController::keepDoubt(const NSDeskClass& desk) {
    if (auto doubt = NSServer::getUnsureBooking(desk.m_strDeskID)) *doubt = orderlist::unsureBookingOf(desk);
}

bool UIDishLViewController::mayBook() {
    auto desk = NSServer::getNowDesk();
    if (!NSServer::getUnsureBooking(desk->m_strDeskID)) return true;
    settledLines_ = 0;
    if (updateMenu()) {
        reload();
        save();
        tell(settledLines_ > 0
                 ? platform::fmt("服务器已收到上次未应答的%i个菜品,已显示为已下单,不会再次发送", settledLines_)
                 : std::string("已与服务器核对桌台,请查看后再操作"));
    }
    return false;
}

void UIDishLViewController::markSending(NSDeskClass& desk) {
    // Lines may have been removed, restored or merged since they were grouped.
    renumberGroups(desk.m_DishList);
    auto user = NSServer::getNowUser();
    for (auto& line : orderlist::linesToSend(desk, sendIndex_)) {
        line->m_iState = NSDishClass::kSending;
        if (line->m_struid == "-1") line->m_struid = user->GetDishCount();
    }
}

bool UIDishLViewController::onSendCaip(const std::optional<std::string>& word, int row) {
    if (row < -1) return false;
    auto desk = NSServer::getNowDesk();
    // A send whose outcome was left unknown is settled first: what the server booked of it shows
    // as sent and is not offered again.
    if (!mayBook()) return false;
    if (word != kNoLogin) {
        sendIndex_ = row;
        int unsent = 0;
        int chosen = 0;
        for (const auto& line : desk->m_DishList) {
            if (!orderlist::isUnsent(*line)) continue;
            ++unsent;
            if (line->m_bisChoose) ++chosen;
        }
        if (unsent == 0) {
            if (updateMenu()) reload();
            return false;
        }
        if (!NSServer::isWaiterUser()) {
            requestLogin(kLoginSend);
            return false;
        }
        if (!desk->m_strDeskID.empty()) {
            NSServer::setIsShowAlert(true);
            const std::string message = chosen > 0 ? wordFormat("dishl24", "确定发送选中的%i个菜品吗？", {chosen})
                                                   : wordFormat("dishl25", "确定发送全部%i个菜品吗？", {unsent});
            ask(kAskSend, UIDishLViewController::word("isok"), message, UIDishLViewController::word("cancel"),
                {UIDishLViewController::word("onok")});
            return false;
        }
    }
    if (desk->m_strDeskID.empty()) {
        bufferoutDesk = desk;
        if (rootController_) rootController_->chooseDesk(false);
        return false;
    }

    markSending(*desk);
    NSServer().playSound("SEND");
    NSServer::getRubbishs()->clear();
    if (!NSServer().addDish(*desk)) {
        keepDoubt(*desk);
        backToUnsent(*desk);
        save();
        reload();
        return false;
    }
    if (desk->HaveDelDish()) {
        // The added lines are on the server now: only the returns wait for this request.
        std::vector<std::shared_ptr<NSDishClass>> added;
        for (auto& line : desk->m_DishList)
            if (line->m_iState == NSDishClass::kSending && line->m_fQuantity >= 0) added.push_back(line);
        for (auto& line : desk->m_DishList)
            if (line->m_iState == NSDishClass::kUnsent && line->m_fQuantity < 0) line->m_iState = NSDishClass::kSending;
        // Lines of the add request are not carried again as returns of quantity 0.
        for (auto& line : added) line->m_iState = kAccepted;
        const bool returned = NSServer().XDelDish(*desk);
        if (!returned) {
            keepDoubt(*desk);
            backToUnsent(*desk);
            save();
            reload();
            return false;
        }
    }
    // The accepted lines are on the server's bill now: the desk's file is written without them
    // while the server answers the refresh (a crash from here on cannot offer them again), and
    // written again afterwards only if the refresh changed what it holds (or that write failed).
    std::optional<std::string> written;
    auto saveAccepted = [&written, &desk] {
        auto text = NSServer::deskFileText(*desk);
        if (text && NSServer::writeDeskFileText(*desk, *text)) written = std::move(text);
    };
    if (!updateMenu(saveAccepted)) {
        holdAccepted(*desk);
        save();
        reload();
        tell(UIDishLViewController::word("dishl26"));
        return false;
    }
    reload();
    if (!written || NSServer::deskFileText(*desk) != written) save();
    if (NSServer::isSendClose()) {
        startOfflineDesk();
        reload();
    }
    return true;
}

void UIDishLViewController::loginBack(int loginType, bool ok) {
    if (!ok) return;
    switch (loginType) {
    case kLoginSend:
    case kLoginReturn: {
        auto user = NSServer::getNowUser();
        if (user->m_strUserDesc == kAdminDesc && user->m_strUserName == kAdminName) {
            // The administrator code opens the settings; it does not stand for a waiter.
            user->m_strUserDesc.clear();
            user->m_strUserName.clear();
            tell(word("dishl27"));
            return;
        }
        if (loginType == kLoginSend) onSendCaip(std::string(kNoLogin), sendIndex_);
        else delDishLogined();
        return;
    }
    case kLoginChooseDesk: chooseDesk(std::string(kNoLogin)); return;
    case kLoginPrint: print(std::string(kNoLogin)); return;
    case kLoginGive: giving(std::string(kNoLogin)); return;
    case kLoginWaiterMode: changefwykr(std::string(kNoLogin)); return;
    default: return;
    }
}

bool UIDishLViewController::updateMenu(std::function<void()> whileWaiting) {
    auto desk = NSServer::getNowDesk();
    if (!NSServer().XRefreshDishList(*desk, std::move(whileWaiting))) return false;
    if (auto doubt = NSServer::getUnsureBooking(desk->m_strDeskID)) {
        settledLines_ = orderlist::settleUnsureBooking(*desk, *doubt);
        NSServer::clearUnsureBooking(desk->m_strDeskID);
    }
    desk->OrderDish();
    renumberGroups(desk->m_DishList);
    auto db = NSServer::getCaipDB();
    // Lines of one waiter come in runs: one name looked up per run.
    std::string userID, userName, waiterID, waiterName;
    auto nameOf = [&db](const std::string& id, std::string& cachedID, std::string& cachedName) {
        if (id != cachedID) {
            cachedID = id;
            cachedName = db->GetUserNameFromUserID(id);
        }
        return cachedName;
    };
    for (auto& line : desk->m_DishList) {
        auto dish = db ? db->GetCaipFromID(line->caipID()) : nullptr;
        if (!dish || !dish->m_strID || dish->m_strID->empty()) {
            tell(word("dishl49"));
            return false;
        }
        line->m_strCaipName = dish->m_strName;
        if (line->m_strUnits.empty()) line->m_strUnits = dish->m_strDanw;
        line->m_iPrice = dish->m_iPrice;
        line->m_strZuofID = dish->m_strZuofID;
        line->m_strCost = dish->m_strCost;
        line->m_strMLL = dish->m_strMLL;
        line->m_strUserName = nameOf(line->m_strUserID, userID, userName);
        line->m_strWaiterName = nameOf(line->m_strWaiterID, waiterID, waiterName);
        if (orderlist::isUnsent(*line)) {
            line->m_strWaiterName.clear();
            line->m_strWaiterID.clear();
        }
    }
    return true;
}
