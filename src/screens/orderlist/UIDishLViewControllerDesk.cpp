// Requests on the current desk as a whole: choosing a desk, guests and a manual total, transfer,
// clearing, joining another desk's bill, and the opened-desk panel (waiter, guests, remark).
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSUserClass.h"
#include "net/NSTcpPacket.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/orderlist/UIDishLViewController.h"

void UIDishLViewController::chooseDesk(const std::optional<std::string>& word) {
    if (isSubViewShow(false) || refuseGuestCart()) return;
    sendIndex_ = kFromDeskButton;
    if (word == kNoLogin || NSServer::isWaiterUser()) {
        if (rootController_) rootController_->chooseDesk(true);
        if (auto db = NSServer::getCaipDB()) db->m_strSpec.clear();
    } else {
        requestLogin(kLoginChooseDesk);
    }
}

void UIDishLViewController::changeRens() {
    if (isSubViewShow(false)) return;
    openPad(kPadGuests, "", wordFormat("dishl17", "请输入%@的人数", {NSServer::getNowDesk()->m_strDeskName}), false);
}

void UIDishLViewController::changeMoney() {
    openPad(kPadTotal, platform::fmt("%g", NSServer::getNowDesk()->GetAllDishPrice()), word("dishl18"));
}

void UIDishLViewController::turnDesk() {
    if (isSubViewShow(false)) return;
    if (rootController_) rootController_->trunDesk();
}

void UIDishLViewController::clearDesk(bool confirmed) {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    if (desk->m_strDeskID.empty()) return;
    // Clearing cancels the whole bill on the server: one tap beside the other entries must not do it.
    if (!confirmed) {
        NSServer::setIsShowAlert(true);
        ask(kAskClearDesk, word("isok"), platform::fmt("确定清空桌台%@吗？点过的菜品将全部取消。", desk->m_strDeskName),
            word("cancel"), {word("onok")});
        return;
    }
    if (!mayBook()) return;
    if (NSServer().clearDesk()) {
        startOfflineDesk();
        chooseDesk(std::nullopt);
    }
    reload();
}

void UIDishLViewController::addDeskXiaoF() {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    if (desk->m_strDeskName.empty()) {
        ask(0, word("tishi"), word("adddeskNo"), word("onok"));
        return;
    }
    NSServer().DownloadDeskState(false);
    auto tree = NSServer::getDesks();
    openPicker(tree ? tree : std::make_shared<NSATreeClass>(), false, kPickJoinDesk,
               wordFormat("dishl54", "请选择与%@并台的桌台", {desk->m_strDeskName}));
}

bool UIDishLViewController::addDeskXiaoFOk(const std::optional<std::string>& guests) {
    if (!bufferoutDesk) return false;
    // Both desks of the join are read back first when either is in doubt.
    if (!mayBook() || !mayBookOn(*bufferoutDesk)) return false;
    auto desk = NSServer::getNowDesk();
    auto packet = NSTcpPacket::initWithCustom("deskunion", bufferoutDesk->m_strDeskID, desk->m_strConsumeID);
    // A free target is opened for the typed guests; an open one joins by its bill.
    packet->SetCustom(NSServer::getNowUser()->m_strUserID, guests ? "" : bufferoutDesk->m_strConsumeID,
                      guests ? *guests : "");
    // The request names the other desk's bill, not this desk: this desk is the one in doubt.
    packet->doubtfulDesk = desk->m_strDeskID;
    packet->partnerDesk = bufferoutDesk->m_strDeskID;
    if (!packet->sendPacketForNone(true)) return false;
    // The joined desk's lines are on this bill now: the list shows them before the waiter acts on
    // the desk again (clearing it, say), whatever the refresh's own failure.
    updateMenu();
    reload();
    ask(0, word("tishi"), word("dishl57"), word("onok"));
    return true;
}

void UIDishLViewController::changeDeskTit() {
    if (isSubViewShow(false)) return;
    if (NSServer::getNowDesk()->m_strDeskID.empty()) {
        ask(kAskPaste, word("tishi"), "请先选择桌台，然后进行操作", word("onok"));
        return;
    }
    showOpenedDeskPanel();
}

void UIDishLViewController::showOpenedDeskPanel() {
    showPanel(kPanelOpenedDesk, platform::fmt("修改开台，桌台:[%@]", NSServer::getNowDesk()->m_strDeskName),
              word("cancel"), {"选择服务员", word("onok")});
}
