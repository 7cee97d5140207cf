// Reading a desk back from the server: the one place where a desk in doubt is settled, a bill a
// transfer took is followed, the desk's file is saved before the doubt changes, and the waiter is
// told what the read found. The desk picker and the order list both read through it.

#include <algorithm>

#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "net/RootServices.h"
#include "platform/foundation/Text.h"

namespace {

// A text of the word table filled with its values; a table without it (an older skin's) still
// says something.
std::string wordFormat(const char* key, const char* fallback, const std::vector<platform::FormatArg>& args = {}) {
    auto words = NSServer::getLangueManager();
    auto text = words ? words->word(key) : std::nullopt;
    return platform::format(text && !text->empty() ? *text : std::string(fallback), args);
}

bool readOnce(NSDeskClass& desk, NSServer::DeskRead how, std::function<void()> whileWaiting = {}) {
    if (how == NSServer::DeskRead::kRefresh) return NSServer().XRefreshDishList(desk, std::move(whileWaiting));
    if (!NSServer().XDeskDetail(desk)) return false;
    // After the server's lines, as the desk shows them when it becomes current.
    if (how == NSServer::DeskRead::kOpen) NSServer::loadSelectDish(desk);
    return true;
}

// Whether every line still in doubt on the desk is a return.
bool onlyReturnsWait(const NSDeskClass& desk) {
    auto waiting = NSServer::unsureLines(desk);
    return !waiting.empty() &&
           std::all_of(waiting.begin(), waiting.end(), [](const auto& line) { return line->m_fQuantity < 0; });
}

std::string checkedText(const NSDeskClass& desk) {
    // Another desk than the one shown is named.
    if (desk.m_strDeskID != NSServer::getNowDesk()->m_strDeskID)
        return wordFormat("unsure11", "已与服务器核对桌台%@,请查看后再操作", {desk.m_strDeskName});
    return wordFormat("unsure4", "已与服务器核对桌台,请查看后再操作");
}

std::string toldText(const NSDeskClass& desk, const NSServer::UnsureSettle& settled) {
    using S = NSServer::UnsureSettle;
    switch (settled.kind) {
    case S::kNone: return {};
    case S::kBooked:
        if (settled.lines > 0)
            return wordFormat("unsure3", "服务器已收到上次未应答的%i个菜品,已显示为已下单,不会再次发送", {settled.lines});
        return checkedText(desk);
    case S::kUnsettled:
        if (onlyReturnsWait(desk))
            return wordFormat("unsure18", "服务器上没有找到上次未应答的%i个退菜,已标为可能已退菜,送单前会再次询问",
                              {settled.lines});
        return wordFormat("unsure10", "服务器上没有找到上次未应答的%i个菜品,已标为可能已下单,送单前会再次询问",
                          {settled.lines});
    case S::kChecked: return checkedText(desk);
    case S::kMoved: return wordFormat("unsure9", "本桌账单已在%@,已转到该桌台", {settled.otherName});
    }
    return {};
}

// A tap that goes on to a question of its own keeps this on the message panel: one alert at a
// time.
void tell(const std::string& text, bool quietly) {
    if (text.empty()) return;
    if (quietly) rootServices().showAyncStyle(text);
    else showAlertOrMessage(wordFormat("tishi", "提示"), text, wordFormat("onok", "确定"));
}

}  // namespace

bool NSServer::readDesk(NSDeskClass& desk, DeskRead how, bool quietly, UnsureSettle* out,
                        std::function<void()> whileWaiting) {
    if (out) *out = UnsureSettle();
    if (!readOnce(desk, how, std::move(whileWaiting))) return false;
    auto saveDesk = [&desk] {
        if (auto text = deskFileText(desk)) writeDeskFileText(desk, *text);
    };
    auto settled = settleUnsureBooking(desk, saveDesk);
    if (settled.kind == UnsureSettle::kMoved) {
        // The bill left the desk: it is followed only to a desk that shows it, read the same way.
        NSDeskClass there;
        there.m_strDeskID = settled.otherDesk;
        there.m_strDeskName = settled.otherName;
        there.m_kongjmc = settled.otherArea;
        // Its own saved lines join it in the follow, not here.
        if (!readOnce(there, how == NSServer::DeskRead::kRefresh ? how : NSServer::DeskRead::kDetail)) {
            // The doubt stays until the target can be read; until then nobody knows where the
            // desk's bill is, so the read counts as failed.
            tell(wordFormat("unsure13", "本桌账单可能已转到%@,暂时无法核对,请稍后再试", {settled.otherName}), quietly);
            return false;
        } else if (followUnsureBill(desk, there, settled)) {
            if (!there.m_strWaiterID.empty()) desk.m_strWaiterID = there.m_strWaiterID;
            if (!there.m_strBeginTime.empty()) desk.m_strBeginTime = there.m_strBeginTime;
            // The target may have been in doubt beside the transfer: this read of it weighs that.
            settleUnsureBooking(desk, saveDesk);
        } else {
            settled.kind = UnsureSettle::kChecked;
        }
    }
    tell(toldText(desk, settled), quietly);
    if (out) *out = settled;
    return true;
}
