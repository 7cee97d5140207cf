// Sending the order with its login, desk and confirmation turns, the login continuation of the
// list, and the refresh of the current desk from the server.
#include <algorithm>

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

bool UIDishLViewController::leftInDoubt() { return NSServer::needsUnsureRead(NSServer::getNowDesk()->m_strDeskID); }

bool UIDishLViewController::mayBook() {
    auto desk = NSServer::getNowDesk();
    if (!NSServer::needsUnsureRead(desk->m_strDeskID)) return true;
    // The refresh weighs the request in doubt and tells the waiter what it found.
    if (updateMenu()) {
        reload();
        save();
    }
    return false;
}

bool UIDishLViewController::mayBookOn(const NSDeskClass& other) {
    if (!NSServer::needsUnsureRead(other.m_strDeskID)) return true;
    // Read with its saved unsent lines beside, as if it were opened, and saved as settled.
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = other.m_strDeskID;
    desk->m_strDeskName = other.m_strDeskName;
    desk->m_kongjmc = other.m_kongjmc;
    NSServer::loadSelectDish(desk);
    if (!NSServer().XDeskDetail(*desk)) return false;
    auto settled = NSServer::settleUnsureBooking(*desk);
    NSServer::saveSelectDish1(desk);
    if (settled.kind == NSServer::UnsureSettle::kNone) return true;
    tell(wordFormat("unsure11", "已与服务器核对桌台%@,请查看后再操作", {other.m_strDeskName}));
    return false;
}

void UIDishLViewController::tellSettled(const NSServer::UnsureSettle& settled) {
    switch (settled.kind) {
    case NSServer::UnsureSettle::kNone: return;
    case NSServer::UnsureSettle::kBooked:
        tell(settled.lines > 0 ? wordFormat("unsure3", "服务器已收到上次未应答的%i个菜品,已显示为已下单,不会再次发送",
                                            {settled.lines})
                               : wordFormat("unsure4", "已与服务器核对桌台,请查看后再操作", {}));
        return;
    case NSServer::UnsureSettle::kUnsettled:
        tell(wordFormat("unsure10", "服务器上没有找到上次未应答的%i个菜品,已标为可能已下单,送单前会再次询问",
                        {settled.lines}));
        return;
    case NSServer::UnsureSettle::kChecked:
        tell(wordFormat("unsure4", "已与服务器核对桌台,请查看后再操作", {}));
        return;
    case NSServer::UnsureSettle::kMoved:
        tell(wordFormat("unsure9", "本桌账单已在%@,已转到该桌台", {settled.otherName}));
        return;
    }
}

bool UIDishLViewController::followBill(NSDeskClass& desk, const NSServer::UnsureSettle& moved) {
    NSDeskClass there;
    there.m_strDeskID = moved.otherDesk;
    if (!NSServer().XRefreshDishList(there)) return false;
    bool holds = !moved.consumeID.empty() && there.m_strConsumeID == moved.consumeID;
    for (const auto& line : there.m_DishList)
        holds = holds || std::find(moved.lineIDs.begin(), moved.lineIDs.end(), line->m_strXfmxID) != moved.lineIDs.end();
    if (!holds) return false;
    NSDeskClass target;
    target.m_strDeskID = moved.otherDesk;
    target.m_strDeskName = moved.otherName;
    target.m_kongjmc = moved.otherArea;
    NSServer::moveNowDesk(target);
    // The desk stands for the target now: its server lines are those just read.
    std::erase_if(desk.m_DishList, [](const auto& line) { return !orderlist::isUnsent(*line); });
    for (auto& line : there.m_DishList) desk.m_DishList.push_back(line);
    desk.m_strConsumeID = there.m_strConsumeID;
    desk.m_iClientNum = there.m_iClientNum;
    desk.m_bStaleView = false;
    // The target was in doubt beside: this read settles it too.
    NSServer::settleUnsureBooking(desk);
    return true;
}

bool UIDishLViewController::askAboutUnsure(const NSDeskClass& desk, int row) {
    auto doubtful = NSServer::unsureLines(desk);
    auto going = orderlist::linesToSend(desk, row);
    std::erase_if(doubtful, [&going](const auto& line) {
        return std::find(going.begin(), going.end(), line) == going.end();
    });
    if (doubtful.empty()) return false;
    std::string mayBeThere, serverHolds;
    std::vector<std::string> dishes;
    for (const auto& line : doubtful) {
        mayBeThere += platform::fmt("%@ %g%@\n", line->m_strCaipName, line->m_fQuantity, line->m_strUnits);
        if (std::find(dishes.begin(), dishes.end(), line->caipID()) == dishes.end()) dishes.push_back(line->caipID());
    }
    for (const auto& line : desk.m_DishList)
        if (line && !orderlist::isUnsent(*line) &&
            std::find(dishes.begin(), dishes.end(), line->caipID()) != dishes.end())
            serverHolds += platform::fmt("%@ %g%@ (%@)\n", line->m_strCaipName, line->m_fQuantity, line->m_strUnits,
                                         line->m_strWaiterName.empty() ? line->m_strWaiterID : line->m_strWaiterName);
    if (serverHolds.empty()) serverHolds = wordFormat("unsure12", "没有", {}) + "\n";
    unsureAsked_ = doubtful;
    NSServer::setIsShowAlert(true);
    ask(kAskUnsure, word("tishi"),
        wordFormat("unsure6", "上次送单没有收到服务器的应答,这些菜品可能已经下单:\n%@服务器上本桌现有这些菜品:\n%@",
                   {mayBeThere, serverHolds}),
        word("cancel"),
        {wordFormat("unsure7", "仍然送出", {}), wordFormat("unsure8", "删除它们,只送其余", {})});
    return true;
}

void UIDishLViewController::answerUnsure(int buttonIndex) {
    auto desk = NSServer::getNowDesk();
    auto asked = std::move(unsureAsked_);
    unsureAsked_.clear();
    // The desk may have changed under the question: only its own lines count.
    std::erase_if(asked, [&desk](const auto& line) {
        return std::find(desk->m_DishList.begin(), desk->m_DishList.end(), line) == desk->m_DishList.end();
    });
    if (asked.empty() || (buttonIndex != 1 && buttonIndex != 2)) return;
    NSServer::releaseUnsureLines(*desk, asked);
    if (buttonIndex == 2) {
        std::erase_if(desk->m_DishList, [&asked](const auto& line) {
            return std::find(asked.begin(), asked.end(), line) != asked.end();
        });
        renumberGroups(desk->m_DishList);
        save();
        reload();
        // A send of a single line that was in doubt has nothing left to send.
        if (sendIndex_ != -1) return;
        bool unsent = false;
        for (const auto& line : desk->m_DishList) unsent = unsent || orderlist::isUnsent(*line);
        if (!unsent) return;
    }
    onSendCaip(std::string(kNoLogin), sendIndex_);
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
            // Lines that may already be on the server are asked about instead.
            if (askAboutUnsure(*desk, row)) return false;
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

    // What is new on the server after a lost reply is told apart from what was there only when
    // the lines shown are the server's: a desk whose last read failed, or with lines accepted
    // and not yet read back, is read first.
    const bool stale = desk->m_bStaleView || std::any_of(desk->m_DishList.begin(), desk->m_DishList.end(), [](const auto& l) {
        return l && l->m_iState == kAccepted && l->m_strXfmxID.empty();
    });
    if (stale) {
        const bool read = updateMenu();
        reload();
        if (!read) return false;
        save();
        if (NSServer::getNowDesk() != desk) return false;
    }
    if (askAboutUnsure(*desk, row)) return false;

    markSending(*desk);
    NSServer().playSound("SEND");
    NSServer::getRubbishs()->clear();
    if (!NSServer().addDish(*desk)) {
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
    auto settled = NSServer::settleUnsureBooking(*desk);
    if (settled.kind == NSServer::UnsureSettle::kMoved && !followBill(*desk, settled)) {
        settled.kind = NSServer::UnsureSettle::kChecked;
    }
    tellSettled(settled);
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
