// Bill printing: the server's discount for the desk, the discount panel with its template picker
// and amount, and the check or guest bill printed a second after the choice.
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/ui/TextView.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/orderlist/UIDishLViewController.h"

void UIDishLViewController::print(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    if (NSServer::getNowDesk()->m_strDeskName.empty()) return;
    if (word != kNoLogin && !NSServer::isWaiterUser()) {
        requestLogin(kLoginPrint);
        return;
    }
    NSServer().getRebate();
    rebateid = std::nullopt;
    rebatemoney = 0;
    auto discount = NSServer().getNowRebate(std::nullopt, 0);
    if (discount && discount->empty()) {
        platform::Timer::schedule(platform::RunLoop::main(), 1.0, false, [](platform::Timer&) { NSServer().XPrint(); });
        return;
    }
    NSServer::setIsShowAlert(true);
    showRebatePanel(true);
}

void UIDishLViewController::showRebatePanel(bool first) {
    if (first)
        showPanel(kPanelPrint, "打印账单，选择折扣模板:", word("cancel"), {word("dishl43"), "打印对账单", "打印客用单"});
    else
        showPanel(kPanelPrint, word("dishl41"), word("dishl42"), {word("dishl43"), word("dishl44")});
}

void UIDishLViewController::chooseRebate() {
    auto db = NSServer::getCaipDB();
    auto tree = db && db->m_rebate ? db->m_rebate : std::make_shared<NSATreeClass>();
    openPicker(tree, false, kPickRebate, word("dishl52"));
}

void UIDishLViewController::textFieldDidEndEditing(ui::TextField& field) {
    if (&field != tf_zhek.lock().get()) return;
    rebatemoney = static_cast<float>(platform::leadingInt(field.text()));
    auto text = NSServer().getNowRebate(rebateid, rebatemoney);
    if (auto view = tv_zhek.lock()) view->setText(text.value_or(""));
}

bool UIDishLViewController::textFieldShouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    return true;
}
