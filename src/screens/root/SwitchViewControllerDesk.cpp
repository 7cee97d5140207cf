// The desk flow of the root: choosing, opening and transferring desks, offline desks and their
// merge, reserved desks, fixed-desk mode, and the answers of the root's own alerts.
#include "screens/root/SwitchViewController.h"

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpNet.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "screens/kit/UILoginViewController.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/orderlist/UIDishLViewController.h"
#include "screens/root/UIYuDingViewController.h"
#include "screens/skin/UIWelcomeViewController.h"

namespace {

constexpr int kPickDesk = 980003;
constexpr int kPickTransferTarget = 980008;
constexpr int kGuestPad = 760004;
constexpr int kAskTransfer = 4;
constexpr int kAskMerge = 5;
constexpr int kAskDemoData = 6;
constexpr int kSendFromDeskButton = -2;
constexpr const char* kOfflineHead = "离线点菜";
constexpr const char* kOfflineDesk = "离线新建";
constexpr const char* kNoAlert = "NOALERT";
constexpr const char* kNoLogin = "NO_LOGIN";
const std::string kOpenState = "6";

// A desk as a row of the desk tree names it: ID, name, area (the parent row's name) and bill.
std::shared_ptr<NSDeskClass> deskOfRow(const NSATreeClass& tree, int row) {
    auto desk = std::make_shared<NSDeskClass>();
    desk->m_strDeskID = treeCell(tree.m_code, row);
    desk->m_strDeskName = treeCell(tree.m_name, row);
    desk->m_kongjmc = treeCell(tree.m_name, treeCell(tree.m_pid, row));
    desk->m_strConsumeID = treeCell(tree.m_str1, row);
    return desk;
}

// Unsent lines of a desk just opened take fresh numbers, except while a send waits: a line equal
// to one the server already has is then marked as its repeat. A line that may already be on the
// server keeps the number it went with, by which it is known.
void renumberOpened(NSDeskClass& desk, int sendIndex, bool fixedDesk) {
    for (auto& line : desk.m_DishList) {
        if (!line->isUnsent() || NSServer::isUnsureLine(desk, *line)) continue;
        if (sendIndex == kSendFromDeskButton) {
            line->m_struid = "-1";
            continue;
        }
        if (sendIndex < -1 || fixedDesk) continue;
        for (auto& sent : desk.m_DishList) {
            if (sent->isUnsent()) continue;
            if (*sent->m_strCaipID == *line->m_strCaipID && sent->m_strZuofID == line->m_strZuofID &&
                sent->m_fQuantity == line->m_fQuantity) {
                line->m_struid = "-2";
                break;
            }
        }
    }
}

// Makes `desk` current again as it is now. The hub reads a desk's saved unsent lines whenever
// it becomes current; a desk that was current before already holds them, and reading them a
// second time would double its unsent lines (which would then be sent twice).
void restoreNowDesk(const std::shared_ptr<NSDeskClass>& desk) {
    auto lines = desk->m_DishList;
    NSServer::setNowDesk(desk);
    desk->m_DishList = std::move(lines);
}

}  // namespace

// ---- Opening the desk picker -------------------------------------------------------------------

void SwitchViewController::chooseDesk(bool offlineSection) {
    // A failed refresh shows the tree as it was last built.
    NSServer().DownloadDeskState(offlineSection);
    openDeskPicker(kPickDesk, word("switch4"));
}

void SwitchViewController::trunDesk() {
    NSServer().DownloadDeskState(false);
    openDeskPicker(kPickTransferTarget, word("switch3"));
}

void SwitchViewController::openDeskPicker(int tag, const std::string& title) {
    auto picker = std::make_shared<UISelectViewController>();
    selectViewController = picker;
    picker->upViewController = this;
    picker->m_tree = NSServer::getDesks();
    picker->m_tag = tag;
    ui::View& dialog = *picker->view();
    picker->m_title->setText(title);
    fadeIn(dialog, frameRect());
}

void SwitchViewController::SelectDlgCancel() {
    if (auto* picker = selectViewController.controller()) fadeOut("selectback", *picker->view());
}

void SwitchViewController::SelectDlgOk() {
    if (!selectViewController) return;
    UISelectViewController& picker = *selectViewController;
    if (picker.m_tag == kPickTransferTarget) {
        chooseTransferTarget(picker.m_pos);
        return;
    }
    chooseDeskBuffer = NSServer::getNowDesk();
    openDeskRow(picker.m_pos, false);
}

// ---- Opening a desk ------------------------------------------------------------------------------

void SwitchViewController::reloadDishList() {
    if (!listViewController) return;
    if (const auto& table = listViewController->m_dishTable()) table->reloadData();
}

void SwitchViewController::openDeskRow(int row, bool fixedDesk) {
    auto tree = NSServer::getDesks();
    if (!tree || row < 0 || row >= tree->m_length) return;
    const std::string& name = treeCell(tree->m_name, row);
    const std::string state = treeCell(tree->m_state, row);

    if (name == kOfflineHead) {
        auto desk = std::make_shared<NSDeskClass>();
        NSServer::setNowDesk(desk);
        if (auto outDesks = NSServer::getOutDesk()) outDesks->push_back(desk);
        if (!fixedDesk) {
            SelectDlgCancel();
            reloadDishList();
        }
        return;
    }
    if (state == kOfflineDesk) {
        // The row carries the desk's index in the offline desks; a stale index opens nothing.
        auto outDesks = NSServer::getOutDesk();
        const int index = treeCell(tree->m_uint, row);
        if (!outDesks || index < 0 || static_cast<std::size_t>(index) >= outDesks->size()) return;
        NSServer::setNowDesk((*outDesks)[index]);
        if (!fixedDesk) {
            SelectDlgCancel();
            reloadDishList();
        }
        return;
    }
    if (treeCell(tree->m_code, row).empty()) return;  // an area: the picker stays open

    auto desk = deskOfRow(*tree, row);
    desk->m_strWaiterID = NSServer::getNowUser()->m_strUserID;
    const int sendIndex = listViewController ? listViewController->sendIndex() : kSendFromDeskButton;
    // The read settles a desk in doubt and follows a bill a transfer took. Its word goes to the
    // message panel when the tap goes on to a question of its own.
    auto now = NSServer::getNowDesk();
    const bool offlineOrder = now->m_strDeskID.empty() && !now->m_DishList.empty();
    NSServer::UnsureSettle settled;
    if (!NSServer().readDesk(*desk, NSServer::DeskRead::kOpen, sendIndex != kSendFromDeskButton || offlineOrder,
                             &settled))
        return;
    if (!fixedDesk) chooseDeskBuffer = now;
    restoreNowDesk(desk);
    renumberOpened(*desk, sendIndex, fixedDesk);
    const bool followed = settled.kind == NSServer::UnsureSettle::kMoved;
    if (!followed && desk->m_strDeskState != state && static_cast<std::size_t>(row) < tree->m_state.size())
        tree->m_state[row] = desk->m_strDeskState;
    if (!fixedDesk) SelectDlgCancel();
    deskOpened(desk, fixedDesk);
}

void SwitchViewController::deskOpened(const std::shared_ptr<NSDeskClass>& desk, bool fixedDesk) {
    if (desk->m_strDeskState == "1") {
        desk->m_iClientNum = 0;
        auto pad = std::make_shared<UINumViewController>();
        numViewController = pad;
        pad->upViewController = this;
        pad->m_tag = kGuestPad;
        pad->onlyWhole = true;
        pad->s_title = wordFormat("switch1", {desk->m_strDeskName});
        fadeIn(*pad->view(), frameRect());
        return;
    }
    if (fixedDesk) {
        // No reservation dialog and no merge on this path.
        if (selectCaipViewController) selectCaipViewController->flashCaip();
        if (!listViewController) return;
        const int index = listViewController->sendIndex();
        if (index >= -1) {
            listViewController->onSendCaip(std::string(kNoLogin), index);
        } else if (index == kSendFromDeskButton) {
            listViewController->addToolBar();
            reloadDishList();
        }
        return;
    }
    if (desk->m_strDeskState == "4" || desk->m_strDeskState == "5") {
        // After a failed reservation request the dialog shows an empty reservation.
        auto reservation = std::make_shared<NSYuDingClass>();
        NSServer().XYuDingInfo(*desk, *reservation);
        auto dialog = std::make_shared<UIYuDingViewController>();
        yudingViewController = dialog;
        dialog->m_selectDesk = desk;
        dialog->m_yuDing = reservation;
        dialog->rootController = std::static_pointer_cast<SwitchViewController>(shared_from_this());
        ui::View& v = *dialog->view();
        fadeIn(v, v.frame());
        return;
    }
    outDeskAddToDesk(std::nullopt);
}

// ---- Guests -------------------------------------------------------------------------------------

void SwitchViewController::NumDlgOk() {
    auto* padController = numViewController.controller();
    if (!padController) return;
    UINumViewController& pad = *numViewController;
    if (pad.m_tag != kGuestPad) {
        fadeOut("numback", *padController->view());
        return;
    }
    const int guests = platform::leadingInt(pad.m_strNum);
    if (pad.m_strNum.empty() || guests == 0) {
        showRootAlert(word("switch7"));
        return;
    }
    auto desk = NSServer::getNowDesk();
    if (NSServer::needsUnsureRead(desk->m_strDeskID)) {
        // The last opening went unanswered: the desk is read first, and one the server shows
        // open goes on as opened, without opening it a second time.
        if (!NSServer().readDesk(*desk, NSServer::DeskRead::kDetail, true)) return;
        if (desk->m_strDeskState != "1") {
            outDeskAddToDesk(std::nullopt);
            fadeOut("numback", *padController->view());
            return;
        }
    }
    desk->m_iClientNum = guests;
    if (!NSServer().OpenDesk(*desk)) return;  // the pad stays for another try
    desk->m_strDeskState = kOpenState;
    outDeskAddToDesk(std::nullopt);
    fadeOut("numback", *padController->view());
}

void SwitchViewController::NumDlgCancel() {
    auto* padController = numViewController.controller();
    if (!padController) return;
    // The free desk is left unopened: the desk before the choice is current again.
    if (chooseDeskBuffer) restoreNowDesk(chooseDeskBuffer);
    fadeOut("numback", *padController->view());
}

// ---- Merge and resume ----------------------------------------------------------------------------

void SwitchViewController::outDeskAddToDesk(const std::optional<std::string>& resumeWord) {
    auto now = NSServer::getNowDesk();
    const auto buffer = chooseDeskBuffer;
    std::optional<std::string> w = resumeWord;
    const bool offlineOrderWaits = buffer && !now->m_strDeskID.empty() && buffer->m_strDeskID.empty() &&
                                   !buffer->m_DishList.empty() && !buffer->isGuestCart;
    if (!offlineOrderWaits) w = std::string();
    if (!w) {
        askRoot(kAskMerge, word("isok"), wordFormat("switch6", {now->m_strDeskName}), word("no"), word("yes"));
        return;
    }
    if (*w == kNoAlert) {
        for (auto& line : buffer->m_DishList) now->m_DishList.push_back(line);
        if (auto outDesks = NSServer::getOutDesk())
            std::erase(*outDesks, buffer);
        chooseDeskBuffer = nullptr;
        NSServer::saveOutDesk();
        NSServer::saveNowDesk();
    }
    if (selectCaipViewController) selectCaipViewController->flashCaip();
    if (!listViewController) return;
    const int index = listViewController->sendIndex();
    if (index >= -1) listViewController->onSendCaip(std::string(kNoLogin), index);
    else if (index == kSendFromDeskButton) reloadDishList();
}

// ---- Reservations --------------------------------------------------------------------------------

void SwitchViewController::yudingBackOK() {
    auto* dialog = yudingViewController.controller();
    if (!dialog) return;
    yudingOpen(yudingViewController->m_yuDing);
    fadeOut("yudingback", *dialog->view());
}

void SwitchViewController::yudingBack() {
    if (auto* dialog = yudingViewController.controller()) fadeOut("yudingback", *dialog->view());
}

void SwitchViewController::yudingOpen(const std::shared_ptr<NSYuDingClass>& reservation) {
    NSServer hub;
    auto desk = NSServer::getNowDesk();
    // An opening that went unanswered ends there: picking the desk again reads it first, and a
    // desk the server shows open then opens as it is, without a second opening.
    if (!reservation || hub.OpenYudingDesk(*reservation) || !NSServer::needsUnsureRead(desk->m_strDeskID))
        hub.readDesk(*desk, NSServer::DeskRead::kDetail);
    reloadDishList();
}

// ---- Transfer -------------------------------------------------------------------------------------

void SwitchViewController::chooseTransferTarget(int row) {
    auto tree = NSServer::getDesks();
    // Only a desk can take the bill: an area row (or a stale row) leaves the picker open.
    if (!tree || row < 0 || row >= tree->m_length || treeCell(tree->m_code, row).empty()) return;
    SelectDlgCancel();
    chooseDeskBuffer = deskOfRow(*tree, row);
    NSServer::setIsShowAlert(true);
    askRoot(kAskTransfer, word("isok"),
            wordFormat("switch5", {NSServer::getNowDesk()->m_strDeskName, chooseDeskBuffer->m_strDeskName}),
            word("cancel"), word("onok"));
}

void SwitchViewController::transferToBuffer() {
    if (!chooseDeskBuffer) return;
    const NSDeskClass target = *chooseDeskBuffer;
    // Desks whose last booking went unanswered are read back before the bill moves.
    if (listViewController && (!listViewController->mayBook() || !listViewController->mayBookOn(target))) return;
    if (!NSServer().XDeskChange(target)) return;
    // The two desks swap their saved selections.
    NSServer::moveNowDesk(target);
    if (listViewController) {
        listViewController->updateMenu();
        reloadDishList();
    }
    after(1.0, [](SwitchViewController& root) { root.show1(); });
}

void SwitchViewController::show1() { showRootAlert(word("switch8")); }

// ---- The root's alerts ----------------------------------------------------------------------------

void SwitchViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
    // Every answer clears the flag, so that later failures are raised as alerts again.
    NSServer::setIsShowAlert(false);
    const int tag = alert.tag();
    if (buttonIndex == 1) {
        if (tag == kAskTransfer) transferToBuffer();
        else if (tag == kAskMerge) outDeskAddToDesk(std::string(kNoAlert));
        else if (tag == kAskDemoData) after(0.3, [](SwitchViewController& root) { root.downloadData(); });
    } else if (buttonIndex == 0 && tag == kAskMerge) {
        outDeskAddToDesk(std::string());
    }
}

// ---- Fixed-desk mode -----------------------------------------------------------------------------

void SwitchViewController::chooseSetDesk(const std::string& resumeWord) {
    if (!NSTcpNet::IsWIFIConnection()) return;
    const std::string& name = NSServer::getSetDeskName();
    auto tree = NSServer::getDesks();
    if (name.empty() || !tree) return;
    int row = -1;
    for (std::size_t i = 0; i < tree->m_name.size() && row < 0; ++i)
        if (tree->m_name[i] == name) row = static_cast<int>(i);
    if (row < 0) return;
    if (resumeWord != kNoLogin) {
        // The welcome screen hears the login and calls back with "NO_LOGIN".
        login(welcomeViewController.get(), UIWelcomeViewController::kLoginSetDesk);
        if (loginViewController) loginViewController->loginBySetUser();
        return;
    }
    openDeskRow(row, true);
}
