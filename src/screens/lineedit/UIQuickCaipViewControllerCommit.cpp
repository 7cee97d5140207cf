// The order-line editor's commit: what the editor shows goes into the line, which then becomes an
// item of the set meal being composed, a new line of the current desk (with its set-meal items
// and add-on lines), or stays in place in modify mode; the desk is saved and the editor closes.
//
// Every refusal is decided before anything changes: a refused OK leaves the line, the desk and the
// waiter's taste choice as they were, so a second OK after a correction finds them intact.

#include <algorithm>

#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/AlertView.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/lineedit/LineEditKit.h"
#include "screens/lineedit/SetMealTarget.h"
#include "screens/lineedit/UIQuickCaipViewController.h"

using lineedit::word;

bool UIQuickCaipViewController::becomesAddOn(int row) const {
    if (!m_dish_ || !m_zuofs_ || row < 1 || row >= lineedit::rowsOf(*m_zuofs_) || m_zuofs_->m_uint[row] != 1) return false;
    if (!(m_dish_->m_bAddOn || !m_dish_->m_bisExp)) return false;
    auto db = NSServer::getCaipDB();
    return db && db->GetCaipFromName(m_zuofs_->m_name[row]) != nullptr;
}

UIQuickCaipViewController::Refusal UIQuickCaipViewController::checkCommit(double quantity, bool methodTest) const {
    auto db = NSServer::getCaipDB();
    bool anyMarked = false, anyAddOn = false;
    for (int r = 1; m_zuofs_ && r < lineedit::rowsOf(*m_zuofs_); ++r) {
        anyMarked = anyMarked || m_zuofs_->m_uint[r] == 1;
        anyAddOn = anyAddOn || becomesAddOn(r);
    }
    // The free text the line will carry: the field's, or a custom dish's renamed name.
    const bool freeText = !tf_otherKouw->text().empty() ||
                          (isCustom() && tf_caipname->text() != m_dish_->m_strCaipName && !tf_caipname->text().empty());
    auto menuDish = db ? db->GetCaipFromID(m_dish_->caipID()) : nullptr;
    if (methodTest && !anyMarked && menuDish && !menuDish->m_strZuofID.empty() && !freeText && menuDish->m_iMustzuof != 0)
        return Refusal::MethodRequired;
    if (type_ != kSetMealItem && isModify_) return Refusal::None;
    if (type_ == kSetMealItem && (m_dish_->m_bisSet || anyAddOn)) return Refusal::SetMeal;
    if (m_dish_->m_strCaipName.empty()) return Refusal::NoName;
    if (!(quantity > 0)) return Refusal::NoQuantity;
    if (db && db->IsCaipSellOut(m_dish_->caipID())) return Refusal::SoldOut;
    return Refusal::None;
}

void UIQuickCaipViewController::onOk(const std::string& sender) {
    if (!m_dish_ || !isViewLoaded()) return;
    auto db = NSServer::getCaipDB();
    NSDishClass& line = *m_dish_;
    const float oldQuantity = line.m_fQuantity;
    const float quantity = static_cast<float>(platform::leadingDouble(tf_num->text()));

    const Refusal refusal = checkCommit(quantity, sender != kNoAlert);
    if (refusal == Refusal::MethodRequired) {
        // Raised even over another alert: a line without its required method must not slip by.
        auto alert = std::make_shared<ui::AlertView>(word("tishi"), word("quickcaip2"), this, word("onok"));
        alert->show();
        return;
    }
    if (refusal != Refusal::None) {
        const char* key = refusal == Refusal::SetMeal    ? "selectcaip1"
                          : refusal == Refusal::NoName   ? "selectcaip2"
                          : refusal == Refusal::NoQuantity ? "selectcaip3"
                                                          : "selectcaip4";
        lineedit::report(word(key));
        if (type_ == kSetMealItem) {
            // A refused set-meal item leaves add mode, as an accepted one does.
            onCancel();
            if (rootController_) rootController_->bom_backToSelectCaip(false);
        }
        return;
    }

    // Tastes: the taste tree's marks are the choice.
    if (db && db->m_kouws) {
        lineedit::takeMarks(line, *db->m_kouws);
        db->m_kouws->ClearAllCheck();
    }
    // Free text, and a custom dish's typed name, which travels as free text.
    line.DelKouwID(line.GetKouwDefine());
    const std::string freeText = tf_otherKouw->text();
    if (!freeText.empty()) {
        if (db) db->m_strSpec = freeText;
        line.AddKouwID(freeText + ",");
    }
    if (isCustom()) {
        if (tf_caipname->text() != line.m_strCaipName) {
            if (db) db->m_strSpec = tf_caipname->text();
            line.AddKouwID(tf_caipname->text() + ",");
        }
        line.m_strPrice = tf_price->text();
    } else if (m_caip_ && m_caip_->m_iPrice != -1) {
        line.m_strPrice = tf_price->text();
        line.m_iPrice = 1;
    }
    line.m_fQuantity = quantity;
    line.m_strZuofShul.clear();

    // The add-on lines of an earlier commit make way for the ones chosen now.
    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    if (line.m_bAddOn || !line.m_bisExp) {
        const int head = line.m_parentpos;
        std::erase_if(lines, [&](const std::shared_ptr<NSDishClass>& l) {
            return l.get() != &line && l->m_bisExp && !l->m_bisSet && l->m_parentpos == head;
        });
    }

    NSDishList addOns;
    float surcharge = 0;
    for (int r = 1; m_zuofs_ && r < lineedit::rowsOf(*m_zuofs_); ++r) {
        const std::string& id = m_zuofs_->m_code[r];
        const double q = platform::leadingDouble(m_zuofs_->m_str1[r]);
        if (becomesAddOn(r)) {
            line.m_bisSet = line.m_bAddOn = line.m_bisExp = true;
            auto child = std::make_shared<NSDishClass>();
            child->CopyCaip(db->GetCaipFromName(m_zuofs_->m_name[r]));
            child->m_bisExp = child->m_bAddOn = true;
            child->m_bisSet = false;
            child->m_struid = "-1";
            child->m_fQuantity = static_cast<float>(q * quantity);
            addOns.push_back(std::move(child));
        } else if (m_zuofs_->m_uint[r] == 1) {
            line.AddKouwID(id + ",");
            surcharge += static_cast<float>(lineedit::readSurcharge(m_zuofs_->m_state[r]).price() * q);
        } else {
            line.DelKouwID(id);
        }
        line.m_strZuofShul += m_zuofs_->m_str1[r];
        if (r + 1 < lineedit::rowsOf(*m_zuofs_)) line.m_strZuofShul += ",";
    }
    // A head with add-on lines keeps only the surcharge of its other methods: each add-on line
    // carries its own price.
    if (!addOns.empty()) line.m_fPrice2 = surcharge;
    line.CreateKouwString();

    if (addToBom(m_dish_)) {
        onCancel();
        if (rootController_) rootController_->bom_backToSelectCaip(false);
        return;
    }

    const auto self = m_dish_;
    if (!isModify_) {
        line.m_iState = NSDishClass::kUnsent;
        line.m_struid = "-1";
        line.m_parentpos = static_cast<int>(lines.size());
        lines.push_back(self);
        if (line.m_bisSet && line.m_bisExp) {
            for (auto& item : line.m_ExDishs) {
                item->m_struid = "-1";
                item->m_parentpos = line.m_parentpos;
                item->m_fQuantity *= line.m_fQuantity;
                lines.push_back(item);
            }
            if (line.m_bAddOn)
                for (auto& child : addOns) {
                    child->m_parentpos = line.m_parentpos;
                    lines.push_back(child);
                }
        }
    } else if (line.m_bisSet && line.m_bisExp) {
        const auto at = std::find(lines.begin(), lines.end(), self);
        const int i = at == lines.end() ? line.m_parentpos : static_cast<int>(at - lines.begin());
        if (line.m_ExDishs.empty())
            for (auto& l : lines)
                if (l != self && l->m_bisExp && l->m_parentpos == line.m_parentpos) line.m_ExDishs.push_back(l);
        line.m_parentpos = i;
        for (auto& item : line.m_ExDishs) {
            item->m_struid = "-1";
            // Without a quantity before, there is no proportion to keep: the items stay as they are.
            if (oldQuantity > 0) item->m_fQuantity = item->m_fQuantity / oldQuantity * quantity;
            item->m_parentpos = i;
        }
        if (line.m_bAddOn)
            for (auto& child : addOns) {
                child->m_parentpos = i;
                lines.push_back(child);
            }
    }
    NSServer::saveSelectDish0();
    onCancel();
}

bool UIQuickCaipViewController::addToBom(const std::shared_ptr<NSDishClass>& line) {
    if (type_ != kSetMealItem || !line) return false;
    if (line->m_bisSet) {
        lineedit::report(word("selectcaip1"));
        return true;
    }
    line->m_iState = NSDishClass::kUnsent;
    auto db = NSServer::getCaipDB();
    if (line->m_strCaipName.empty()) {
        lineedit::report(word("selectcaip2"));
        return true;
    }
    if (!(line->m_fQuantity > 0)) {
        lineedit::report(word("selectcaip3"));
        return true;
    }
    if (db && db->IsCaipSellOut(line->caipID())) {
        lineedit::report(word("selectcaip4"));
        return true;
    }
    auto* screen =
        rootController_ ? dynamic_cast<SetMealTarget*>(rootController_->taoCanViewController.controller()) : nullptr;
    std::shared_ptr<NSDishClass> setMeal = screen ? lineedit::setMealLine(*screen) : nullptr;
    if (!setMeal) return true;
    line->m_struid = "-1";
    line->m_fQuantity2 = 0;
    line->m_bisExp = true;
    line->m_parentpos = setMeal->m_parentpos;
    lineedit::addSetMealItem(*screen, line, db ? db->GetCaipFromID(line->caipID()) : nullptr);
    if (rootController_)
        rootController_->showAyncStyle(lineedit::wordFormat("selectcaip5", {line->m_strCaipName, setMeal->m_strCaipName}));
    return true;
}
