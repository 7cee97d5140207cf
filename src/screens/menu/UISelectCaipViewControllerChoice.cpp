// Adding and removing a dish from its tile: merging into an unsent line, bringing a removed line
// back from the rubbish bin with its group, handing a dish that needs more choices to the
// order-line editor, the set-meal add mode, and the picture that flies between tile and list.

#include <algorithm>

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/ui/Animation.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/menu/MenuKit.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/menu/UITaoCanViewController.h"

namespace {

// Moves the line at `k` of `from` to the end of `to`.
void moveLine(NSDishList& from, std::size_t k, NSDishList& to) {
    to.push_back(from[k]);
    from.erase(from.begin() + static_cast<std::ptrdiff_t>(k));
}

}  // namespace

void UISelectCaipViewController::selCaip(int tag) {
    auto* list = dishes();
    if (!list || tag < 0 || tag >= static_cast<int>(list->size())) return;
    auto dish = (*list)[tag];
    if (menu::refuseCustomDish(*dish, this)) {
        canTouch_ = true;
        return;
    }
    if (dish->m_bisSet) {
        showBigCai(tag);
        return;
    }
    bufferButtonTag_ = tag;
    auto tile = tileAt(tag);
    const std::string shown = tile ? tile->shul_l->text() : "?";
    if (shown.empty() || shown == "0") {
        selCaip(tag, tile->cappicIV);
        return;
    }
    auto alert = std::make_shared<ui::AlertView>(menu::word("tishi"), menu::word("caipv1"), this, menu::word("cancel"),
                                                 std::vector<std::string>{menu::word("onok")});
    alert->setTag(kReAddTag);
    alert->show();
}

void UISelectCaipViewController::selCaip(int index, const std::shared_ptr<ui::ImageView>& picture) {
    auto* list = dishes();
    if (!list || index < 0 || index >= static_cast<int>(list->size())) return;
    auto dish = (*list)[index];
    if (addToBom(dish)) return;
    if (ShowType_ != kTextList) flyPicture(index, picture, true);
    if (dish->m_strName.empty()) return;

    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    auto bin = NSServer::getRubbishs();

    // A line of the dish that the minus button removed comes back with its group.
    for (std::size_t k = 0; k < bin->size(); ++k) {
        auto removed = (*bin)[k];
        if (removed->caipID() != dish->strID() || menu::isGroupItem(*removed)) continue;
        const int old = removed->m_parentpos;
        removed->m_parentpos = static_cast<int>(lines.size());
        moveLine(*bin, k, lines);
        for (std::size_t j = 0; j < bin->size();) {
            if ((*bin)[j]->m_bisExp && (*bin)[j]->m_parentpos == old) {
                (*bin)[j]->m_parentpos = removed->m_parentpos;
                moveLine(*bin, j, lines);
            } else {
                ++j;
            }
        }
        flashCaip();
        NSServer::saveSelectDish0();
        if (rootController_) rootController_->showMessage(menu::wordFormat("selectcaip7", {removed->m_strCaipName}));
        return;
    }

    auto line = std::make_shared<NSDishClass>();
    line->CopyCaip(dish);
    line->m_fQuantity = 1;
    line->m_iState = NSDishClass::kUnsent;
    if (NSServer::getCaipDB()->IsCaipSellOut(line->caipID())) {
        menu::refuse("selectcaip4");
        return;
    }
    line->m_struid = "-1";
    line->m_fQuantity2 = 0;
    line->m_parentpos = static_cast<int>(lines.size());
    if (line->m_iMustzuof != 0 || line->m_strUnits == "位" || line->m_muNameArray.size() >= 2 || dish->m_bCustom) {
        if (rootController_) rootController_->showQuickCaip(dish, line, false);
        return;
    }
    // Only a plain unsent line takes the unit: an item of a set meal or of a dish's add-ons
    // belongs to its group and is never merged into.
    // Nor is a line that may already be on the server: it stays as it went.
    auto same = std::find_if(lines.begin(), lines.end(), [&](const std::shared_ptr<NSDishClass>& l) {
        return l->caipID() == line->caipID() && l->m_iState == NSDishClass::kUnsent && !l->m_bisExp &&
               !NSServer::isUnsureLine(*desk, *l);
    });
    if (same != lines.end()) (*same)->m_fQuantity += 1;
    else lines.push_back(line);
    caipSearchBar_->setText("");
    flashCaip();
    NSServer::saveSelectDish0();
}

bool UISelectCaipViewController::addToBom(const std::shared_ptr<NSCaipClass>& dish) {
    if (type_ != kSetMealAdd) return false;
    if (dish->m_bisSet) {
        menu::refuse("selectcaip1");
        return true;
    }
    auto line = std::make_shared<NSDishClass>();
    line->CopyCaip(dish);
    line->m_fQuantity = 1;
    line->m_iState = NSDishClass::kUnsent;
    if (line->m_strCaipName.empty()) {
        menu::refuse("selectcaip2");
        return true;
    }
    if (NSServer::getCaipDB()->IsCaipSellOut(line->caipID())) {
        menu::refuse("selectcaip10");
        return true;
    }
    auto setMeal = rootController_ ? rootController_->taoCanViewController.get() : nullptr;
    if (!setMeal || !setMeal->m_dish()) return true;
    line->m_struid = "-1";
    line->m_fQuantity2 = 0;
    line->m_bisExp = true;
    line->m_parentpos = setMeal->m_dish()->m_parentpos;
    setMeal->addItem(line, dish);
    rootController_->showMessage(menu::wordFormat("selectcaip5", {line->m_strCaipName, setMeal->m_dish()->m_strCaipName}));
    return true;
}

void UISelectCaipViewController::cancelCaip(int tag) {
    auto tile = tileAt(tag);
    cancelCaip(tag, tile ? tile->cappicIV : nullptr);
}

void UISelectCaipViewController::cancelCaip(int index, const std::shared_ptr<ui::ImageView>& picture) {
    auto* list = dishes();
    if (!list || index < 0 || index >= static_cast<int>(list->size())) return;
    // Minus takes away: in set-meal add mode there is nothing of the menu's to take away here.
    if (type_ == kSetMealAdd) return;
    auto dish = (*list)[index];
    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    auto found = std::find_if(lines.begin(), lines.end(), [&](const std::shared_ptr<NSDishClass>& l) {
        return l->caipID() == dish->strID() && l->m_iState == NSDishClass::kUnsent && !NSServer::isUnsureLine(*desk, *l);
    });
    if (found == lines.end()) return;
    auto line = *found;
    if (menu::isGroupItem(*line)) {
        if (rootController_) rootController_->showMessage(menu::word("selectcaip6"));
        return;
    }
    if (ShowType_ != kTextList) flyPicture(index, picture, false);
    if (line->m_fQuantity > 1) {
        line->m_fQuantity -= 1;
        NSServer::saveSelectDish0();
        flashCaip();
        return;
    }
    auto bin = NSServer::getRubbishs();
    moveLine(lines, static_cast<std::size_t>(found - lines.begin()), *bin);
    if (menu::isGroupHead(*line)) {
        for (std::size_t k = 0; k < lines.size();) {
            if (lines[k]->m_parentpos == line->m_parentpos) moveLine(lines, k, *bin);
            else ++k;
        }
    }
    renumberGroups(lines);
    NSServer::saveSelectDish0();
    flashCaip();
}

void UISelectCaipViewController::flyPicture(int index, const std::shared_ptr<ui::ImageView>& picture, bool toList) {
    const ui::Rect tileBox = picture ? tilePictureRect(index, picture->frame()) : ui::Rect{};
    const ui::Rect listBox = bt_dishl_->frame();
    const auto image = picture ? picture->image() : nullptr;
    const ui::Size size = image ? image->size() : ui::Size{};
    const ui::Rect tileFit = NSStaticUnit::getCaipICGRect(size, tileBox);
    const ui::Rect listFit = NSStaticUnit::getCaipICGRect(size, listBox);
    const ui::Rect listSmall{listFit.x(), listFit.y(), listFit.width() / 2, listFit.height() / 2};

    ++bufferImageInt_;
    auto flying = std::make_shared<ui::ImageView>(image);
    flying->setTag(bufferImageInt_);
    flying->setUserInteractionEnabled(false);
    bufferImageVS_[bufferImageInt_] = flying;
    flying->setFrame(toList ? tileFit : listSmall);
    view()->addSubview(flying);
    menu::beginAnimation(*this, std::to_string(bufferImageInt_), 0.5);
    flying->setFrame(toList ? listSmall : tileFit);
    flying->setAlpha(0);
    ui::Animation::commit();
}
