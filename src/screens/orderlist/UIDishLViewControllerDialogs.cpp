// The answers of the list's tree picker and number pad: each routes by the dialog's tag to the
// operation that asked, and closes the dialog where that operation needs it.
#include <cmath>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Text.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

const std::string& column(const std::vector<std::string>& values, int row) {
    static const std::string none;
    return row >= 0 && static_cast<std::size_t>(row) < values.size() ? values[static_cast<std::size_t>(row)] : none;
}

}  // namespace

void UIDishLViewController::SelectDlgOk() {
    if (!selectViewController) return;
    UISelectViewController& picker = *selectViewController;
    const int tag = picker.m_tag;
    if (tag == kPickTastes) {
        auto db = NSServer::getCaipDB();
        auto tree = picker.m_tree;
        const std::string written = picker.m_writeText;
        auto desk = NSServer::getNowDesk();
        for (auto& line : desk->m_DishList) {
            // A line that may already be on the server keeps the tastes it went with.
            if (line->m_iState != NSDishClass::kUnsent || NSServer::isUnsureLine(*desk, *line)) continue;
            if (m_allKouws)
                std::erase_if(line->m_KouwArray, [this](const std::string& id) {
                    return std::find(m_allKouws->begin(), m_allKouws->end(), id) != m_allKouws->end();
                });
            for (int node = 1; tree && node < tree->m_length; ++node)
                if (static_cast<std::size_t>(node) < tree->m_uint.size() && tree->m_uint[static_cast<std::size_t>(node)] == 1)
                    line->AddKouwID(column(tree->m_code, node) + ",");
            if (db) {
                db->m_strSpec = written;
                // One space typed alone clears the free text the lines had.
                if (written == " ") {
                    line->DelKouwID(line->GetKouwDefine());
                    db->m_strSpec.clear();
                }
                line->AddKouwID(db->m_strSpec + ",");
            }
            line->CreateKouwString();
        }
        reload();
        save();
        SelectDlgCancel();
        return;
    }
    // The other arms read the chosen row; a picker with no row to choose waits for cancel.
    const std::vector<int> readsRow = {kPickHastenReason, kPickReturnReason, kPickGiftReason, kPickRebate,
                                       kPickJoinDesk, kPickWaiter};
    if (std::find(readsRow.begin(), readsRow.end(), tag) == readsRow.end()) return;
    auto row = pickedRow();
    if (!row) return;
    const NSATreeClass& tree = *picker.m_tree;
    const std::string code = column(tree.m_code, *row);
    switch (tag) {
    case kPickHastenReason: {
        const std::string reason = column(tree.m_name, *row);
        auto desk = NSServer::getNowDesk();
        const std::string waiter = NSServer::getNowUser()->m_strUserID;
        for (const auto& line : desk->m_DishList) {
            if (!line->m_bisChoose || line->m_iState == NSDishClass::kUnsent || line->m_fQuantity <= 0) continue;
            if (!desk->HasDishRemain(*line) || !NSServer().XHastenDish(*line, waiter, code, reason)) {
                SelectDlgCancel();
                return;
            }
        }
        updateMenu();
        reload();
        SelectDlgCancel();
        const bool hastened = code == "3";
        tell(wordFormat(hastened ? "dishl37" : "dishl38", hastened ? "%@ 催菜已发送：%@" : "%@ 已通知厨房：%@",
                        {desk->m_strDeskName, reason}),
             "dishl39");
        return;
    }
    case kPickReturnReason:
        if (NSServer::getNowDesk()->GetChooseQuantity() >= 2) {
            tuiCais(code);
        } else if (auto line = lineAt(sendIndex_)) {
            buffertuiCai = NSDishClass::initWithDish(*line);
            buffertuiCai->m_iState = NSDishClass::kUnsent;
            buffertuiCai->m_strRemark = code;
            openPad(kPadReturnQty, platform::fmt("%g", line->m_fQuantity),
                    wordFormat("dishl40", "%@ 已点%g，请输入退菜数量", {line->m_strCaipName, line->m_fQuantity}));
        }
        SelectDlgCancel();
        return;
    case kPickGiftReason:
        giving(std::string(kNoReason));
        SelectDlgCancel();
        return;
    case kPickRebate:
        rebateid = code;
        SelectDlgCancel();
        NSServer::setIsShowAlert(true);
        showRebatePanel(false);
        return;
    case kPickJoinDesk: {
        SelectDlgCancel();
        auto target = std::make_shared<NSDeskClass>();
        target->Init();
        target->m_strDeskID = code;
        target->m_strDeskName = column(tree.m_name, *row);
        const int parent = static_cast<std::size_t>(*row) < tree.m_pid.size() ? tree.m_pid[static_cast<std::size_t>(*row)] : 0;
        target->m_kongjmc = column(tree.m_name, parent);
        const std::string treeState = column(tree.m_state, *row);
        target->m_strWaiterID = NSServer::getNowUser()->m_strUserID;
        // Read as if it were opened, with its saved lines: a doubt on it is settled here.
        if (!NSServer().readDesk(*target, NSServer::DeskRead::kOpen, true)) return;
        const std::string message =
            target->m_strDeskState == treeState
                ? wordFormat("dishl56", "确定与%@并台吗？", {target->m_strDeskName})
                : wordFormat("dishl55", "桌台状态已改变(现为%@，原为%@)，确定并台吗？", {target->m_strDeskState, treeState});
        bufferoutDesk = target;
        ask(kAskJoin, word("tishi"), message, word("cancel"), {word("onok")});
        return;
    }
    case kPickWaiter:
        SelectDlgCancel();
        if (tf_fwy) tf_fwy->setText(code);
        showOpenedDeskPanel();
        return;
    default: return;
    }
}

void UIDishLViewController::NumDlgOk() {
    if (!numViewController) return;
    const int tag = numViewController->m_tag;
    const std::string text = numViewController->m_strNum;
    auto desk = NSServer::getNowDesk();
    if (tag == kPadTotal) {
        desk->m_strAllDishPrice = static_cast<float>(platform::leadingDouble(text));
        NumDlgCancel();
        reload();
    } else if (tag == kPadReturnQty) {
        if (!buffertuiCai) return;
        auto line = lineAt(sendIndex_);
        const float typed = static_cast<float>(platform::leadingDouble(text));
        buffertuiCai->m_fQuantity = -typed;
        const bool within = line && line->m_fQuantity + buffertuiCai->m_fQuantity >= 0.0f;
        const bool positive = buffertuiCai->m_fQuantity < 0;
        const float left = desk->GetDelDishQty(*buffertuiCai) + buffertuiCai->m_fQuantity;
        if (within && positive && static_cast<double>(left) >= -1e-6) {
            NumDlgCancel();
            tuiCai();
        } else {
            tell(word("dishl45"));
        }
    } else if (tag == kPadGuests) {
        const int guests = platform::leadingInt(text);
        if (guests == 0) {
            tell(word("dishl46"));
            return;
        }
        if (!desk->m_strDeskID.empty() && !mayBook()) {
            NumDlgCancel();
            return;
        }
        if (!desk->m_strDeskID.empty() && !NSServer().setDeskPeoples(guests) && leftInDoubt()) {
            // Unanswered: the guests shown stay as they were until the desk is read back.
            NumDlgCancel();
            return;
        }
        desk->m_iClientNum = guests;
        NumDlgCancel();
        reload();
        save();
    } else if (tag % 100 == kPadWeighSuffix) {
        weighAnswer(tag / 10000);
    } else if (tag == kPadJoinGuests) {
        // A join opens the free desk for these guests: a whole number of at least one.
        auto guests = UINumViewController::numberIn(text);
        if (!guests || *guests < 1 || *guests != std::floor(*guests)) {
            tell(word("dishl46"));
            return;
        }
        NumDlgCancel();
        addDeskXiaoFOk(text);
    }
}

void UIDishLViewController::weighAnswer(int row) {
    auto line = lineAt(row);
    if (!line || line->m_iState == NSDishClass::kUnsent || line->m_iState == 0) return;
    const std::string text = numViewController->m_strNum;
    auto amount = UINumViewController::numberIn(text);
    // An empty or unreadable weight is no weight: refused like a negative one.
    if (!amount || *amount < 0) {
        ask(0, word("lost"), word("dishl47"), word("onok"));
        return;
    }
    buffertuiCai = std::make_shared<NSDishClass>();
    buffertuiCai->CopyDish(line.get());
    buffertuiCai->m_fQuantity = static_cast<float>(*amount);
    buffertuiCai->m_parentpos = row;
    ask(kAskWeigh, word("isok"), wordFormat("dishl48", "确定将%@的数量改为%@吗？", {line->m_strCaipName, text}), word("cancel"),
        {word("onok")});
    NumDlgCancel();
}
