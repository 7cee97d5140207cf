// Operations that change the current desk's lines on the terminal alone: deleting unsent lines
// into the rubbish bin and restoring them, the serving mode of every unsent line, whole-desk
// tastes, copy and paste between desks, a new offline desk, and the line editor.
#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/OrderListRules.h"
#include "screens/orderlist/UIDishLViewController.h"

bool UIDishLViewController::askFirst(const std::optional<std::string>& sender, int tag,
                                     const std::string& messageWord) {
    if (!sender) return false;
    NSServer::setIsShowAlert(true);
    ask(tag, word("isok"), word(messageWord), word("cancel"), {word("onok")});
    return true;
}

void UIDishLViewController::delAllDish(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    if (askFirst(word, kAskDeleteAll, "dishl14")) return;
    NSServer::getRubbishs()->clear();
    auto& lines = NSServer::getNowDesk()->m_DishList;
    while (!lines.empty() && lines.back()->m_iState == NSDishClass::kUnsent) lines.pop_back();
    reload();
    save();
}

namespace {

void setServingMode(int mode) {
    for (auto& line : NSServer::getNowDesk()->m_DishList)
        if (line->m_iState == NSDishClass::kUnsent && line->m_fQuantity > 0) line->m_iType = mode;
}

}  // namespace

void UIDishLViewController::allJiQ(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    if (askFirst(word, kAskFire, "dishl15")) return;
    setServingMode(0);
    reload();
    save();
}

void UIDishLViewController::allJiaoQ(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    if (askFirst(word, kAskHold, "dishl16")) return;
    setServingMode(1);
    reload();
    save();
}

void UIDishLViewController::undelDishes() {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    auto bin = NSServer::getRubbishs();
    desk->m_DishList.insert(desk->m_DishList.end(), bin->begin(), bin->end());
    bin->clear();
    // The restored lines stand elsewhere now: their groups point at their new places.
    renumberGroups(desk->m_DishList);
    reload();
    save();
}

void UIDishLViewController::startOfflineDesk() {
    auto fresh = std::make_shared<NSDeskClass>();
    NSServer::setNowDesk(fresh);
    if (!NSServer::getOutDesk()) NSServer::setOutDesk(std::make_shared<NSDeskList>());
    NSServer::getOutDesk()->push_back(fresh);
}

void UIDishLViewController::newOutDesk() {
    if (isSubViewShow(false)) return;
    startOfflineDesk();
    SelectDlgCancel();
    reload();
}

void UIDishLViewController::copyDeskDishs() {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    auto copies = NSServer::getCaipCopys();
    copies->clear();
    const bool onlyChosen = desk->GetChooseQuantity() > 0;
    for (const auto& line : desk->m_DishList)
        if ((!onlyChosen || line->m_bisChoose) && line->m_fQuantity != 0) copies->push_back(line);
    NSServer::setCopyDeskId(desk->m_strDeskID);
}

void UIDishLViewController::pasteDeskDishs(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    if (NSServer::getCopyDeskId() == desk->m_strDeskID) {
        ask(0, UIDishLViewController::word("lost"), UIDishLViewController::word("dishl1"),
            UIDishLViewController::word("onok"));
        return;
    }
    auto copies = NSServer::getCaipCopys();
    if (word != kNoAlertPaste) {
        ask(kAskPaste, UIDishLViewController::word("isok"),
            wordFormat("dishl2", "确定将复制的菜品粘贴到%@吗？共%i个", {desk->m_strDeskName, static_cast<int>(copies->size())}),
            UIDishLViewController::word("cancel"), {UIDishLViewController::word("onok")});
        return;
    }
    const std::string waiter = NSServer::getNowUser()->m_strUserID;
    for (const auto& source : *copies) {
        // A copy of its own: the desk copied from keeps its line, and a later change or send of
        // one desk's line never touches the other's.
        auto line = NSDishClass::initWithDish(*source);
        if (line->m_iState != NSDishClass::kUnsent) {
            line->m_iState = NSDishClass::kUnsent;
            line->m_strWaiterID = waiter;
            line->m_strTime.clear();
            line->m_bisChoose = false;
            // Ordered afresh on this desk, without the gift or the return (and its reason) that
            // the other bill gave it: at its dish's menu price, unless the price was typed at
            // ordering (a market price), which the menu does not know. A gift left such a line
            // no typed price to keep: it takes the menu's like the others.
            const bool typedPrice = line->m_iPrice == 1 && platform::leadingDouble(line->m_strPrice) != 0;
            if (!typedPrice)
                if (auto price = orderlist::menuPrice(*line)) line->m_strPrice = *price;
            line->m_strRemark.clear();
        }
        desk->m_DishList.push_back(line);
    }
    copies->clear();
    renumberGroups(desk->m_DishList);
    reload();
    save();
}

void UIDishLViewController::delDishs(const std::optional<std::string>& word) {
    if (isSubViewShow(false)) return;
    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    int chosen = 0;
    int unsent = 0;
    int firstChosen = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i]->m_bisChoose) continue;
        if (firstChosen < 0) firstChosen = static_cast<int>(i);
        ++chosen;
        if (lines[i]->m_iState == NSDishClass::kUnsent) ++unsent;
    }
    if (chosen == 0) return;
    if (unsent == 0) {
        // Every chosen line is on the server: the first one goes to its return.
        sendIndex_ = firstChosen;
        if (NSServer::isWaiterUser()) delDishLogined();
        else requestLogin(kLoginReturn);
        return;
    }
    // A press of the delete button asks first; the answer comes back with "NO_ALERT".
    if (word != kNoAlert && askFirst(std::string("delete"), kAskDeleteChosen, "dishl7")) return;
    auto bin = NSServer::getRubbishs();
    bin->clear();
    renumberGroups(lines);  // the walk follows each head by its position
    int head = -1;
    for (std::size_t i = 0; i < lines.size();) {
        auto line = lines[i];
        const bool moves = line->m_iState == NSDishClass::kUnsent &&
                           (line->m_bisChoose || (head >= 0 && line->m_parentpos == head));
        if (!moves) {
            ++i;
            continue;
        }
        bin->push_back(line);
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        if (line->m_bisSet && line->m_bisExp) head = line->m_parentpos;
        else if (!line->m_bisExp) head = -1;
    }
    renumberGroups(lines);
    reload();
    save();
}

void UIDishLViewController::delDish(int row) {
    if (isSubViewShow(false)) return;
    auto line = lineAt(row);
    if (!line) return;
    sendIndex_ = row;
    if (line->m_iState == NSDishClass::kUnsent) {
        NSServer::setIsShowAlert(true);
        ask(kAskDeleteRow, word("isok"), wordFormat("dishl8", "确定删除%@吗？", {line->m_strCaipName}), word("cancel"),
            {word("onok")});
        return;
    }
    if (NSServer::isWaiterUser()) loginBack(kLoginReturn, true);
    else requestLogin(kLoginReturn);
}

void UIDishLViewController::commitEditingStyle(ui::TableView&, ui::EditingStyle style, const ui::IndexPath& path) {
    if (style != ui::EditingStyle::Delete) return;
    auto line = lineAt(path.row);
    if (!line) return;
    NSServer::getNowDesk()->clearAllChoose();
    line->m_bisChoose = true;
    delDishs(std::string(kNoAlert));
    reload();
    save();
}

void UIDishLViewController::modifyCaip(int row) {
    if (isSubViewShow(false)) return;
    auto line = lineAt(row);
    if (line && !refuseEditInDoubt(line) && rootController_) rootController_->modifyCaip(line);
}

void UIDishLViewController::allDishKouw() {
    if (isSubViewShow(false)) return;
    auto db = NSServer::getCaipDB();
    auto tree = db && db->m_kouws ? db->m_kouws : std::make_shared<NSATreeClass>();
    tree->ClearAllCheck();
    m_allKouws = std::make_shared<std::vector<std::string>>();
    const auto& lines = NSServer::getNowDesk()->m_DishList;
    for (int node = 0; node < tree->m_length && static_cast<std::size_t>(node) < tree->m_code.size(); ++node) {
        const std::string& code = tree->m_code[static_cast<std::size_t>(node)];
        const bool everyLine = std::all_of(lines.begin(), lines.end(), [&code](const auto& line) {
            return std::find(line->m_KouwArray.begin(), line->m_KouwArray.end(), code) != line->m_KouwArray.end();
        });
        if (!everyLine) continue;
        if (tree->m_uint.size() <= static_cast<std::size_t>(node)) tree->m_uint.resize(static_cast<std::size_t>(node) + 1);
        tree->m_uint[static_cast<std::size_t>(node)] = 1;
        m_allKouws->push_back(code);
    }
    openPicker(tree, true, kPickTastes, word("dishl51"));
}
