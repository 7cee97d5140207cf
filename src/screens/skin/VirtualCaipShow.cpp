#include "screens/skin/VirtualCaipShow.h"

#include <algorithm>

#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/skin/SkinLayout.h"
#include "screens/skin/VirtualForm.h"

namespace {

constexpr const char* kGroupItemRefused = "套餐子项无法快速删除，请在已点列表操作";
constexpr const char* kRestored = "从垃圾箱还原菜品“%@”";
constexpr const char* kSoldOut = "该菜品已沽清，请选择其他菜品！";
constexpr const char* kDemoMark = "测试^";

bool empty(const ui::Rect& r) { return !(r.width() > 0 && r.height() > 0); }

std::shared_ptr<ui::Label> slotLabel(const ui::Rect& frame) {
    auto label = std::make_shared<ui::Label>(frame);
    label->setTextColor(ui::Color::blackColor());
    label->setFont(ui::Font::systemFont(20));
    label->setBackgroundColor(ui::Color::clearColor());
    return label;
}

bool sameDish(const NSDishClass& line, const NSCaipClass& dish) {
    return line.m_strCaipID && dish.m_strID && *line.m_strCaipID == *dish.m_strID;
}

bool isGroupItem(const NSDishClass& line) { return line.m_bisExp && !line.m_bisSet; }

void save() { NSServer::saveSelectDish0(); }

}  // namespace

std::shared_ptr<ui::Image> dishThumbnail(const NSCaipClass& dish, bool demoFallback) {
    const std::string id = dish.m_strID ? *dish.m_strID : std::string();
    if (auto path = skin::fileInFolder(NSServer::getCaippicPath(), id + "T.BMP"); path && platform::fs::exists(*path))
        return NSServer().readCaipImage(*path);
    if (demoFallback && dish.m_strName3.find(kDemoMark) != std::string::npos)
        return ui::Image::named(platform::fmt("0%it.bmp", platform::leadingInt(id)));
    return nullptr;
}

bool orderToggle(const std::shared_ptr<NSCaipClass>& dish, const std::function<void(bool adding)>& beforeChange) {
    if (!dish) return false;
    auto root = ScreenRoot::current();
    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    auto& bin = *NSServer::getRubbishs();

    // Remove: the first unsent line of the dish, with its group when it heads one.
    auto first = std::find_if(lines.begin(), lines.end(), [&](const auto& line) {
        return sameDish(*line, *dish) && line->m_iState == NSDishClass::kUnsent;
    });
    if (first != lines.end()) {
        if (isGroupItem(**first)) {
            if (root) root->showMessage(kGroupItemRefused);
            return false;
        }
        if (beforeChange) beforeChange(false);
        auto line = *first;
        lines.erase(first);
        bin.push_back(line);
        if (line->m_bisSet) {
            for (auto it = lines.begin(); it != lines.end();) {
                if ((*it)->m_parentpos == line->m_parentpos) {
                    bin.push_back(*it);
                    it = lines.erase(it);
                } else {
                    ++it;
                }
            }
        }
        renumberGroups(lines);
        save();
        return false;
    }
    if (beforeChange) beforeChange(true);
    if (dish->m_strName.empty()) return false;

    // Restore: the first line of the dish in the bin that is not a group item, with its items.
    auto kept = std::find_if(bin.begin(), bin.end(),
                             [&](const auto& line) { return sameDish(*line, *dish) && !isGroupItem(*line); });
    if (kept != bin.end()) {
        auto line = *kept;
        bin.erase(kept);
        lines.push_back(line);
        const int old = line->m_parentpos;
        // The group names its head's position in the order, as everywhere else.
        line->m_parentpos = static_cast<int>(lines.size()) - 1;
        for (auto it = bin.begin(); it != bin.end();) {
            if ((*it)->m_parentpos == old && (*it)->m_bisExp) {
                (*it)->m_parentpos = line->m_parentpos;
                lines.push_back(*it);
                it = bin.erase(it);
            } else {
                ++it;
            }
        }
        save();
        if (root) root->showMessage(platform::fmt(kRestored, line->m_strCaipName));
        return true;
    }

    // Add a new line of quantity 1.
    auto line = std::make_shared<NSDishClass>();
    line->CopyCaip(dish);
    line->m_fQuantity = 1.0f;
    line->m_iState = NSDishClass::kUnsent;
    if (NSServer::getCaipDB()->IsCaipSellOut(*line->m_strCaipID)) {
        if (root) root->showRootAlert(kSoldOut);
        return false;
    }
    line->m_struid = "-1";
    line->m_fQuantity2 = 0;
    lines.push_back(line);
    save();
    return true;
}

VirtualCaipShow::~VirtualCaipShow() { destroy(); }

void VirtualCaipShow::createAndShow(ui::View& view) {
    if (!caipQuickSel && !empty(locationS)) {
        caipQuickSel = std::make_shared<ui::Button>(ui::Button::Type::Custom);
        caipQuickSel->setFrame(locationS);
        view.addSubview(caipQuickSel);
    }
    if (!caipName && !empty(locationN)) {
        caipName = slotLabel(locationN);
        view.addSubview(caipName);
    }
    if (!caipPrice && !empty(locationP)) {
        caipPrice = slotLabel(locationP);
        view.addSubview(caipPrice);
    }
    if (!caipImage && !empty(locationI)) {
        caipImage = std::make_shared<ui::Button>(ui::Button::Type::Custom);
        caipImage->setFrame(locationI);
        view.addSubview(caipImage);
    }
}

void VirtualCaipShow::destroy() {
    for (std::shared_ptr<ui::View> part :
         {quickCaipView, std::shared_ptr<ui::View>(caipQuickSel), std::shared_ptr<ui::View>(caipName),
          std::shared_ptr<ui::View>(caipPrice), std::shared_ptr<ui::View>(caipImage)})
        if (part) part->removeFromSuperview();
    quickCaipView.reset();
    caipQuickSel.reset();
    caipName.reset();
    caipPrice.reset();
    caipImage.reset();
}

void VirtualCaipShow::showCaip(const std::shared_ptr<NSCaipClass>& dish) {
    nowcaip = dish;
    if (!dish) return;
    if (caipName) caipName->setText(dish->m_strName);
    if (caipPrice)
        caipPrice->setText(platform::fmt("%@%@/%@", dish->m_strPrice, ScreenRoot::word("yuan"),
                                         dish->m_strDanw));
    if (!caipImage) return;

    auto picture = NSStaticUnit::createRoundedRectImage(dishThumbnail(*dish, true), {});
    caipImage->setBackgroundImage(picture);
    caipImage->setFrame(picture ? NSStaticUnit::getCaipICGRect(picture->size(), locationI) : locationI);
    // Both buttons reach the slot weakly: their views may outlive it for a moment.
    std::weak_ptr<VirtualCaipShow> weak = weak_from_this();
    caipImage->removeAllTargets();
    caipImage->addTarget(ui::ControlEvent::TouchUpInside, [weak, big = isShowBig](ui::Control&) {
        if (auto slot = weak.lock()) big ? slot->showBigCaip() : slot->selCaip();
    });
    if (caipQuickSel) {
        if (auto path = skin::fileInFolder(NSServer::getSkinsPath(), quickSelSkinPath);
            path && platform::fs::exists(*path))
            if (auto face = ui::Image::withContentsOfFile(*path)) caipQuickSel->setBackgroundImage(face);
        caipQuickSel->removeAllTargets();
        caipQuickSel->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
            if (auto slot = weak.lock()) slot->selCaip();
        });
    }
}

void VirtualCaipShow::clean() {
    nowcaip.reset();
    if (caipName) caipName->setText("");
    if (caipPrice) caipPrice->setText("");
    if (caipImage) caipImage->setBackgroundImage(nullptr);
    if (caipQuickSel) caipQuickSel->setBackgroundImage(nullptr);
    if (quickCaipView) quickCaipView->removeFromSuperview();
    quickCaipView.reset();
}

void VirtualCaipShow::selCaip() {
    selCaipOK();
    auto root = ScreenRoot::current();
    if (supForm && root && root->welcomeViewController) supForm->flashCaip(*root->welcomeViewController);
}

bool VirtualCaipShow::selCaipOK() {
    if (!nowcaip) return false;
    return orderToggle(nowcaip, nullptr);
}

void VirtualCaipShow::showBigCaip() {
    if (!nowcaip) return;
    if (auto root = ScreenRoot::current()) root->welShowBigCaip(nowcaip);
}
