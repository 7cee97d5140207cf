// Requests about the kitchen and the service: hasten or notify about sent lines, mark them
// served, weigh a line of estimated quantity, call the service, look at the sold-out list, and
// take the server's copy of the desk's order (tablet sync).
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

// Reasons offered when the reason table has no hasten notes of its own.
const std::pair<const char*, const char*> kBuiltInReasons[] = {
    {"2", "dishl28"}, {"9", "dishl29"}, {"5", "dishl30"}, {"6", "dishl31"},
    {"3", "dishl32"}, {"3", "dishl33"}, {"3", "dishl34"}, {"3", "dishl35"},
};

}  // namespace

void UIDishLViewController::onNote() {
    if (isSubViewShow(false)) return;
    if (!NSServer::isWaiterUser()) {
        ask(0, word("tishi"), word("dishl59"), word("onok"));
        return;
    }
    auto desk = NSServer::getNowDesk();
    std::string names;
    for (const auto& line : desk->m_DishList) {
        if (!line->m_bisChoose || line->m_iState == NSDishClass::kUnsent || line->m_fQuantity <= 0) continue;
        if (!names.empty()) names += ",";
        names += line->m_strCaipName;
    }
    auto tree = reasonTree({"03"});
    if (tree->m_length < 2)
        for (const auto& [code, key] : kBuiltInReasons) tree->AddItem(code, word(key), "");
    openPicker(tree, false, kPickHastenReason, wordFormat("dishl36", "%@ 催菜：%@", {desk->m_strDeskName, names}));
}

void UIDishLViewController::huacai() {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    const std::string waiter = NSServer::getNowUser()->m_strUserID;
    for (const auto& line : desk->m_DishList) {
        if (!line->m_bisChoose || line->m_iState == NSDishClass::kUnsent || line->m_iState == 0 ||
            line->m_fQuantity <= 0)
            continue;
        // A refused line does not stop the others: the refresh shows what the server recorded.
        NSServer().XHastenDish(*line, waiter, "2", "划菜");
    }
    updateMenu();
    reload();
}

void UIDishLViewController::chengZ(int row) {
    if (isSubViewShow(false)) return;
    if (!NSServer::isWaiterUser()) {
        ask(0, word("tishi"), word("dishl59"), word("onok"));
        return;
    }
    auto line = lineAt(row);
    if (!line) return;
    openPad(row * 10000 + kPadWeighSuffix, platform::fmt("%g", line->m_fQuantity),
            wordFormat("dishl23", "请输入%@的实际重量", {line->m_strCaipName}));
}

void UIDishLViewController::call() { NSServer().XCall(); }

void UIDishLViewController::flashSellOut() {
    if (isSubViewShow(false)) return;
    // The refresh of an empty desk brings the sold-out list and touches no desk of ours.
    NSDeskClass none;
    if (NSServer().XRefreshDishList(none) && rootController_) rootController_->showSellOutList();
}

void UIDishLViewController::readipad() {
    ask(kAskTabletSync, word("isok"), word("dishl63"), word("cancel"), {word("onok")});
}
