#include "screens/orderlist/UIDishLViewController.h"

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "net/RootServices.h"
#include "screens/host/ScreenKit.h"
#include "screens/host/SwitchViewController.h"

namespace {

constexpr const char* kAdminDesc = "*系统管理员";
constexpr const char* kAdminName = "4062";

bool isUnsent(const NSDishClass& line) { return line.m_iState == NSDishClass::kUnsent; }

// The lines a send takes: for row -1 the chosen unsent lines with the items that follow a chosen
// set-meal head, or every unsent line when none is chosen; for a row, that row when it is unsent
// and chosen.
std::vector<std::shared_ptr<NSDishClass>> linesToSend(const NSDeskClass& desk, int row) {
    std::vector<std::shared_ptr<NSDishClass>> lines;
    const auto& all = desk.m_DishList;
    if (row >= 0) {
        if (row < static_cast<int>(all.size()) && isUnsent(*all[row]) && all[row]->m_bisChoose)
            lines.push_back(all[row]);
        return lines;
    }
    const bool anyChosen = std::any_of(all.begin(), all.end(), [](const auto& l) { return isUnsent(*l) && l->m_bisChoose; });
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!isUnsent(*all[i])) continue;
        if (!anyChosen) {
            lines.push_back(all[i]);
            continue;
        }
        if (!all[i]->m_bisChoose) continue;
        lines.push_back(all[i]);
        if (!all[i]->m_bisSet) continue;
        for (std::size_t j = i + 1; j < all.size() && all[j]->m_bisExp; ++j)
            if (isUnsent(*all[j]) && !all[j]->m_bisChoose) lines.push_back(all[j]);
    }
    return lines;
}

void backToUnsent(NSDeskClass& desk) {
    for (auto& line : desk.m_DishList)
        if (line->m_iState == NSDishClass::kSending) line->m_iState = NSDishClass::kUnsent;
}

}  // namespace

UIDishLViewController::UIDishLViewController(std::string nibName)
    : StandInViewController(std::move(nibName), "已点菜单") {}

void UIDishLViewController::buildContent(ui::View& view) {
    kit::button(view, {24, kContentTop, 160, 60}, "选台", [this] { chooseDesk(std::nullopt); });
    kit::button(view, {200, kContentTop, 160, 60}, "送单",
                [this] { onSendCaip(std::nullopt, -1); }, kit::ButtonKind::Primary);
    addLineTable(view, kContentTop + 80);
}

const std::shared_ptr<ui::TableView>& UIDishLViewController::m_dishTable() {
    view();
    return lineTable_;
}

const std::vector<std::shared_ptr<NSDishClass>>& UIDishLViewController::tableLines() {
    deskShown_ = NSServer::getNowDesk();
    return deskShown_->m_DishList;
}

void UIDishLViewController::reload() {
    refreshDesk();
    if (lineTable_) lineTable_->reloadData();
}

bool UIDishLViewController::closeRootDialog() {
    if (!rootController_) return false;
    if (rootController_->loginViewController) {
        rootController_->loginBack();
        return true;
    }
    if (rootController_->selectViewController) {
        rootController_->SelectDlgCancel();
        return true;
    }
    if (rootController_->numViewController) {
        rootController_->NumDlgCancel();
        return true;
    }
    return false;
}

void UIDishLViewController::back() {
    if (!rootController_ || closeRootDialog()) return;
    if (isBackToWel_) rootController_->welDishListBack();
    else rootController_->dishlistBackToSelectCaip();
}

void UIDishLViewController::loginBack(int loginType, bool ok) {
    if (!ok) return;
    if (loginType == kLoginChooseDesk) {
        chooseDesk(std::string(kNoLogin));
    } else if (loginType == kLoginSend) {
        auto user = NSServer::getNowUser();
        if (user->m_strUserDesc == kAdminDesc && user->m_strUserName == kAdminName) {
            // The administrator code opens the settings, it does not stand for a waiter.
            user->m_strUserDesc.clear();
            user->m_strUserName.clear();
            showAlertOrMessage(SwitchViewController::word("tishi"), SwitchViewController::word("dishl27"),
                               SwitchViewController::word("onok"));
            return;
        }
        onSendCaip(std::string(kNoLogin), sendIndex_);
    }
}

void UIDishLViewController::chooseDesk(const std::optional<std::string>& word) {
    if (!rootController_ || closeRootDialog()) return;
    if (word != kNoLogin) {
        rootController_->login(std::dynamic_pointer_cast<NSLoginDlg>(shared_from_this()), kLoginChooseDesk);
        return;
    }
    sendIndex_ = kFromDeskButton;
    rootController_->chooseDesk(true);
}

bool UIDishLViewController::onSendCaip(const std::optional<std::string>& word, int row) {
    if (row < -1) return false;
    if (word != kNoLogin) {
        if (!rootController_ || closeRootDialog()) return false;
        sendIndex_ = row;
        rootController_->login(std::dynamic_pointer_cast<NSLoginDlg>(shared_from_this()), kLoginSend);
        return false;
    }
    auto desk = NSServer::getNowDesk();
    if (desk->m_strDeskID.empty()) {
        // An offline desk: a desk must be opened first; the desk flow resumes the send.
        sendIndex_ = row;
        if (rootController_) rootController_->chooseDesk(false);
        return false;
    }
    auto user = NSServer::getNowUser();
    for (auto& line : linesToSend(*desk, row)) {
        line->m_iState = NSDishClass::kSending;
        if (line->m_struid == "-1") line->m_struid = user->GetDishCount();
    }
    NSServer().playSound("SEND");
    NSServer::getRubbishs()->clear();
    if (!NSServer().addDish(*desk)) {
        backToUnsent(*desk);
        NSServer::saveSelectDish0();
        reload();
        return false;
    }
    if (desk->HaveDelDish()) {
        for (auto& line : desk->m_DishList)
            if (line->m_iState == NSDishClass::kUnsent) line->m_iState = NSDishClass::kSending;
        if (!NSServer().XDelDish(*desk)) return false;
    }
    if (!updateMenu()) {
        backToUnsent(*desk);
        NSServer::saveSelectDish0();
        reload();
        showAlertOrMessage(SwitchViewController::word("tishi"), SwitchViewController::word("dishl26"),
                           SwitchViewController::word("onok"));
        return false;
    }
    reload();
    NSServer::saveSelectDish0();
    if (NSServer::isSendClose()) {
        auto fresh = std::make_shared<NSDeskClass>();
        if (!NSServer::getOutDesk()) NSServer::setOutDesk(std::make_shared<NSDeskList>());
        NSServer::getOutDesk()->push_back(fresh);
        NSServer::setNowDesk(fresh);
        reload();
    }
    return true;
}

bool UIDishLViewController::updateMenu() {
    auto desk = NSServer::getNowDesk();
    if (!NSServer().XRefreshDishList(*desk)) return false;
    desk->OrderDish();
    auto db = NSServer::getCaipDB();
    bool complete = true;
    for (auto& line : desk->m_DishList) {
        auto dish = db ? db->GetCaipFromID(line->caipID()) : nullptr;
        if (!dish) {
            complete = false;
            continue;
        }
        if (line->m_strCaipName.empty()) line->m_strCaipName = dish->m_strName;
        if (line->m_strUnits.empty()) line->m_strUnits = dish->m_strDanw;
        line->m_iPrice = dish->m_iPrice;
        line->m_strCost = dish->m_strCost;
        line->m_strMLL = dish->m_strMLL;
    }
    return complete;
}
