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
    if (updateMenu()) reload();
    return false;
}

bool UIDishLViewController::mayBookOn(const NSDeskClass& other) {
    if (!NSServer::needsUnsureRead(other.m_strDeskID)) return true;
    // Read with its saved unsent lines beside, as if it were opened.
    NSDeskClass desk;
    desk.m_strDeskID = other.m_strDeskID;
    desk.m_strDeskName = other.m_strDeskName;
    desk.m_kongjmc = other.m_kongjmc;
    NSServer::UnsureSettle settled;
    return NSServer().readDesk(desk, NSServer::DeskRead::kOpen, false, &settled) &&
           settled.kind == NSServer::UnsureSettle::kNone;
}

bool UIDishLViewController::refuseEditInDoubt(const std::shared_ptr<NSDishClass>& line) {
    if (!line || !NSServer::isUnsureLine(*NSServer::getNowDesk(), *line)) return false;
    // The server may hold it as it went: an edit now would be lost when a read shows it booked.
    tell(wordFormat("unsure17", "这个菜品可能已经下单,在与服务器核对或送单时决定之前不能修改", {}));
    return true;
}

bool UIDishLViewController::askAboutUnsure(const NSDeskClass& desk, int row) {
    auto doubtful = NSServer::unsureLines(desk);
    auto going = orderlist::linesToSend(desk, row);
    std::erase_if(doubtful, [&going](const auto& line) {
        return std::find(going.begin(), going.end(), line) == going.end();
    });
    if (doubtful.empty()) return false;
    std::string ordered, returned, serverHolds;
    std::vector<std::string> dishes;
    bool billChanged = false;
    for (const auto& line : doubtful) {
        (line->m_fQuantity < 0 ? returned : ordered) +=
            platform::fmt("%@ %g%@\n", line->m_strCaipName, line->m_fQuantity, line->m_strUnits);
        if (std::find(dishes.begin(), dishes.end(), line->caipID()) == dishes.end()) dishes.push_back(line->caipID());
        auto noted = NSServer::unsureLineOf(desk, *line);
        billChanged = billChanged || (noted && !noted->consumeID.empty() && noted->consumeID != desk.m_strConsumeID);
    }
    for (const auto& line : desk.m_DishList)
        if (line && !line->isUnsent() &&
            std::find(dishes.begin(), dishes.end(), line->caipID()) != dishes.end())
            serverHolds += platform::fmt("%@ %g%@ (%@)\n", line->m_strCaipName, line->m_fQuantity, line->m_strUnits,
                                         line->m_strWaiterName.empty() ? line->m_strWaiterID : line->m_strWaiterName);
    if (serverHolds.empty()) serverHolds = wordFormat("unsure12", "没有", {}) + "\n";
    std::string message;
    if (billChanged)
        message += wordFormat("unsure16", "本桌已换了账单(上次送单后已结账或清台),现在送出的菜品记在新的账单上。\n", {});
    if (!ordered.empty())
        message += wordFormat("unsure6", "上次送单没有收到服务器的应答,这些菜品可能已经下单:\n%@服务器上本桌现有这些菜品:\n%@",
                              {ordered, serverHolds});
    if (!returned.empty())
        message += wordFormat("unsure15", "上次退菜没有收到服务器的应答,这些退菜可能已经生效:\n%@", {returned});
    unsureAsked_ = doubtful;
    unsureChoice_ = std::any_of(desk.m_DishList.begin(), desk.m_DishList.end(),
                                [](const auto& line) { return line && line->isUnsent() && line->m_bisChoose; });
    NSServer::setIsShowAlert(true);
    ask(kAskUnsure, word("tishi"), message, word("cancel"),
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
    if (buttonIndex == 1) {
        // Sent anyway: those lines and no others. The rest of a choice stays chosen for its own
        // send, with its own confirmation.
        std::vector<std::shared_ptr<NSDishClass>> others;
        if (sendIndex_ == -1)
            for (auto& line : desk->m_DishList) {
                if (!line->isUnsent()) continue;
                const bool isAsked = std::find(asked.begin(), asked.end(), line) != asked.end();
                if (line->m_bisChoose && !isAsked) others.push_back(line);
                line->m_bisChoose = isAsked;
            }
        onSendCaip(std::string(kNoLogin), sendIndex_);
        for (auto& line : others) line->m_bisChoose = true;
        reload();
        return;
    }
    std::erase_if(desk->m_DishList, [&asked](const auto& line) {
        return std::find(asked.begin(), asked.end(), line) != asked.end();
    });
    renumberGroups(desk->m_DishList);
    save();
    reload();
    // Only the rest of what was chosen goes, after the usual confirmation: a send of a single
    // line, or of a choice that held only lines in doubt, has nothing left.
    if (sendIndex_ != -1) return;
    const bool rest = std::any_of(desk->m_DishList.begin(), desk->m_DishList.end(), [this](const auto& line) {
        return line->isUnsent() && (line->m_bisChoose || !unsureChoice_);
    });
    if (rest) onSendCaip(std::nullopt, -1);
}

void UIDishLViewController::markSending(NSDeskClass& desk) {
    // Lines may have been removed, restored or merged since they were grouped.
    renumberGroups(desk.m_DishList);
    auto user = NSServer::getNowUser();
    auto going = orderlist::linesToSend(desk, sendIndex_);
    bool numbered = false;
    for (auto& line : going) {
        if (line->m_struid != "-1") continue;
        line->m_struid = user->GetDishCount();
        numbered = true;
    }
    // The desk's file knows the lines by the numbers they go with before they go: the request's
    // note names them by these, and a kill while it waits must find them. It is written in the
    // note's own flush.
    if (numbered) NSServer::saveDeskWithNextNote(desk);
    for (auto& line : going) line->m_iState = NSDishClass::kSending;
}

bool UIDishLViewController::askToSend(NSDeskClass& desk, int row) {
    sendIndex_ = row;
    int unsent = 0;
    int chosen = 0;
    for (const auto& line : desk.m_DishList) {
        if (!line->isUnsent()) continue;
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
    if (desk.m_strDeskID.empty()) return true;
    // Lines that may already be on the server are asked about instead.
    if (askAboutUnsure(desk, row)) return false;
    NSServer::setIsShowAlert(true);
    const std::string message = chosen > 0 ? wordFormat("dishl24", "确定发送选中的%i个菜品吗？", {chosen})
                                           : wordFormat("dishl25", "确定发送全部%i个菜品吗？", {unsent});
    ask(kAskSend, word("isok"), message, word("cancel"), {word("onok")});
    return false;
}

bool UIDishLViewController::readIfStale(const std::shared_ptr<NSDeskClass>& desk) {
    // What is new on the server after a lost reply is told apart from what was there only when
    // the lines shown are the server's: a desk whose last read failed, or with lines accepted
    // and not yet read back, is read first.
    const bool stale = desk->m_bStaleView || std::any_of(desk->m_DishList.begin(), desk->m_DishList.end(), [](const auto& l) {
        return l && l->m_iState == kAccepted && l->m_strXfmxID.empty();
    });
    if (!stale) return true;
    const bool read = updateMenu(true);
    reload();
    if (!read) return false;
    save();
    return NSServer::getNowDesk() == desk;
}

void UIDishLViewController::accepted(NSDeskClass& desk, std::optional<std::string>& written) {
    // The note of the request is durable, so this save needs no flush of its own: the desk's
    // file first, and only then the note goes.
    auto text = NSServer::deskFileText(desk);
    written.reset();
    if (text && NSServer::writeDeskFileText(desk, *text, false)) written = std::move(text);
    NSServer::withdrawUnsureBooking(desk.m_strDeskID);
}

bool UIDishLViewController::book(NSDeskClass& desk) {
    if (!NSServer().addDish(desk)) {
        backToUnsent(desk);
        save();
        reload();
        return false;
    }
    if (!desk.HaveDelDish()) return true;
    // The added lines are on the server now: only the returns wait for the next request, and the
    // lines of the add request are not carried again as returns of quantity 0.
    std::vector<std::shared_ptr<NSDishClass>> added;
    for (auto& line : desk.m_DishList)
        if (line->m_iState == NSDishClass::kSending && line->m_fQuantity >= 0) added.push_back(line);
    for (auto& line : desk.m_DishList)
        if (line->m_iState == NSDishClass::kUnsent && line->m_fQuantity < 0) line->m_iState = NSDishClass::kSending;
    for (auto& line : added) line->m_iState = kAccepted;
    std::optional<std::string> written;
    accepted(desk, written);
    if (!NSServer().XDelDish(desk)) {
        backToUnsent(desk);
        save();
        reload();
        return false;
    }
    return true;
}

bool UIDishLViewController::refuseGuestCart() {
    if (!NSServer::getNowDesk()->isGuestCart) return false;
    tell(wordFormat("guestcart1", "这是在线订单的菜品,请点“提交订单”提交", {}));
    return true;
}

bool UIDishLViewController::onSendCaip(const std::optional<std::string>& word, int row) {
    if (row < -1 || refuseGuestCart()) return false;
    auto desk = NSServer::getNowDesk();
    // A send whose outcome was left unknown is settled first: what the server booked of it shows
    // as sent and is not offered again.
    if (!mayBook()) return false;
    if (word != kNoLogin && !askToSend(*desk, row)) return false;
    if (desk->m_strDeskID.empty()) {
        bufferoutDesk = desk;
        if (rootController_) rootController_->chooseDesk(false);
        return false;
    }
    if (!readIfStale(desk) || askAboutUnsure(*desk, row)) return false;

    markSending(*desk);
    NSServer().playSound("SEND");
    NSServer::getRubbishs()->clear();
    if (!book(*desk)) return false;
    // The desk's file stops offering the accepted lines, then the last request's note ends: while
    // the server answers the refresh, or right after a refresh that was never written. A crash
    // from here on cannot offer those lines again.
    std::optional<std::string> written;
    bool ended = false;
    auto endBooking = [&] {
        if (ended) return;
        ended = true;
        accepted(*desk, written);
    };
    const bool read = updateMenu(false, endBooking);
    endBooking();
    if (!read) {
        holdAccepted(*desk);
        save();
        reload();
        tell(UIDishLViewController::word("dishl26"));
        return false;
    }
    reload();
    // Written again only if the refresh changed what the file holds (or the last write failed).
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

bool UIDishLViewController::updateMenu(bool quietly, std::function<void()> whileWaiting) {
    auto desk = NSServer::getNowDesk();
    if (!NSServer().readDesk(*desk, NSServer::DeskRead::kRefresh, quietly, nullptr, std::move(whileWaiting)))
        return false;
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
        if (line->isUnsent()) {
            line->m_strWaiterName.clear();
            line->m_strWaiterID.clear();
        }
    }
    return true;
}
