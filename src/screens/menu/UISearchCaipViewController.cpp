#include "screens/menu/UISearchCaipViewController.h"

#include <algorithm>
#include <cmath>

#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/ui/Animation.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/menu/MenuKit.h"

namespace {

constexpr double kSwipeLength = 25;
constexpr double kSwipeDrift = 20;
// The enlarged picture fills about the whole screen.
constexpr ui::Rect kEnlarged{0, 0, 768, 960};

std::string slotText(const NSCaipClass& dish) {
    return platform::fmt(" %@\n %@元/%@", dish.m_strName, dish.m_strPrice, dish.m_strDanw);
}

bool strictlyInside(const ui::Rect& r, ui::Point p) {
    return p.x > r.x() && p.x < r.x() + r.width() && p.y > r.y() && p.y < r.y() + r.height();
}

}  // namespace

UISearchCaipViewController::UISearchCaipViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

UISearchCaipViewController::~UISearchCaipViewController() {
    if (searchBar_) searchBar_->setDelegate(nullptr);
}

ui::Rect UISearchCaipViewController::pictureBox(int slot) {
    return {55.0 + 240 * (slot % 3), 51.0 + 318 * (slot / 3), 177, 236};
}

void UISearchCaipViewController::loadView() {
    const ui::Rect frame = menu::screenRect(rootController_);
    setView(kit::screenView(frame));
    auto& v = *view();
    for (int s = 0; s < kSlots; ++s) {
        const ui::Rect box = pictureBox(s);
        caippic_[s] = std::make_shared<ui::ImageView>(box);
        v.addSubview(caippic_[s]);
        text_[s] = kit::label(v, {box.x(), box.y() + box.height() + 4, box.width(), 56}, "");
        text_[s]->setNumberOfLines(2);
    }
    searchBar_ = std::make_shared<ui::SearchBar>(ui::Rect{55, 2, 560, 44});
    searchBar_->setPlaceholder("简码或菜名");
    searchBar_->setDelegate(this);
    v.addSubview(searchBar_);
    kit::button(v, {628, 2, 120, 44}, "返回", menu::action(*this, &UISearchCaipViewController::back));
}

void UISearchCaipViewController::viewDidLoad() {
    ui::ViewController::viewDidLoad();
    searchBar_->becomeFirstResponder();
    search("");
}

void UISearchCaipViewController::viewDidUnload() {
    searchBar_.reset();
    for (auto& p : caippic_) p.reset();
    for (auto& t : text_) t.reset();
}

// ---- Search and page -------------------------------------------------------------------------

void UISearchCaipViewController::search(const std::string& text) {
    m_caips_.clear();
    firstCaiCount_ = 0;
    if (auto db = NSServer::getCaipDB()) db->GetCaipArrayBySQCode(text, m_caips_);
    flashCaip();
}

void UISearchCaipViewController::searchBarTextDidChange(ui::SearchBar&, const std::string& text) { search(text); }
void UISearchCaipViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) { search(bar.text()); }

void UISearchCaipViewController::flashCaip() {
    view();
    for (int s = 0; s < kSlots; ++s) {
        const int i = firstCaiCount_ + s;
        if (i >= 0 && i < static_cast<int>(m_caips_.size())) {
            const NSCaipClass& dish = *m_caips_[i];
            auto image = menu::folderPicture(dish.strID(), "T.BMP");
            caippic_[s]->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, pictureBox(s)));
            caippic_[s]->setImage(image);
            text_[s]->setText(slotText(dish));
        } else {
            caippic_[s]->setImage(nullptr);
            text_[s]->setText("");
        }
    }
    flashSelCaip();
}

void UISearchCaipViewController::flashSelCaip() {
    auto mark = kit::picture("1-24.png");
    const auto& lines = NSServer::getNowDesk()->m_DishList;
    for (int s = 0; s < kSlots; ++s) {
        if (static_cast<int>(selCaipTb_.size()) < s + 1) {
            const ui::Rect box = pictureBox(s);
            auto v = std::make_shared<ui::ImageView>(ui::Rect{box.x(), box.y(), 24, 23});
            selCaipTb_.push_back(v);
            view()->addSubview(v);
        }
        auto& markView = *selCaipTb_[s];
        const int i = firstCaiCount_ + s;
        if (i < 0 || i >= static_cast<int>(m_caips_.size())) {
            markView.setImage(nullptr);
            continue;
        }
        const NSCaipClass& dish = *m_caips_[i];
        std::string text = slotText(dish);
        for (const auto& state : menu::soldOutStates(dish.strID()))
            text = state == "0" ? platform::fmt("%@ (已沽清)", text) : platform::fmt("%@ 剩余%@", text, state);
        text_[s]->setText(text);
        const bool ordered = std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l->caipID() == dish.strID(); });
        markView.setImage(ordered ? mark : nullptr);
    }
}

void UISearchCaipViewController::turn(bool forward) {
    canTouch_ = false;
    firstCaiCount_ += forward ? kSlots : -kSlots;
    flashCaip();
    menu::beginAnimation(*this, "page", 0.75);
    ui::Animation::setCurve(ui::Animation::Curve::EaseInOut);
    ui::Animation::setTransition(forward ? ui::Animation::Transition::CurlUp : ui::Animation::Transition::CurlDown, *view(), true);
    ui::Animation::commit();
    if (!forward) flashCaip();
}

void UISearchCaipViewController::nextPage() {
    if (firstCaiCount_ + kSlots < static_cast<int>(m_caips_.size())) turn(true);
}

void UISearchCaipViewController::lastPage() {
    if (firstCaiCount_ - kSlots >= 0) turn(false);
}

// ---- Touches ---------------------------------------------------------------------------------

void UISearchCaipViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    if (!canTouch_ || !touches.anyObject()) return;
    gestureStartPoint_ = touches.anyObject()->locationInView(view().get());
}

void UISearchCaipViewController::touchesMoved(const ui::TouchSet& touches, const ui::Event*) {
    if (!canTouch_ || !touches.anyObject()) return;
    const ui::Point now = touches.anyObject()->locationInView(view().get());
    const double dx = gestureStartPoint_.x - now.x, dy = std::fabs(gestureStartPoint_.y - now.y);
    if (dx >= kSwipeLength && dy <= kSwipeDrift) nextPage();
    else if (-dx >= kSwipeLength && dy <= kSwipeDrift) lastPage();
}

void UISearchCaipViewController::touchesEnded(const ui::TouchSet& touches, const ui::Event*) {
    if (!touches.anyObject()) return;
    const ui::Point end = touches.anyObject()->locationInView(view().get());
    const double dx = gestureStartPoint_.x - end.x, dy = gestureStartPoint_.y - end.y;
    if (std::fabs(dx) >= kSwipeLength || std::fabs(dy) >= kSwipeDrift) return;
    for (int s = 0; s < kSlots; ++s)
        if (strictlyInside(caippic_[s]->frame(), end)) {
            showBigCai(s + 1, caippic_[s]);
            return;
        }
    for (int s = 0; s < kSlots; ++s)
        if (strictlyInside(text_[s]->frame(), end)) {
            selCaip(s + 1);
            return;
        }
}

// ---- Ordering --------------------------------------------------------------------------------

void UISearchCaipViewController::selCaip(int k) {
    const int i = firstCaiCount_ + k - 1;
    if (i < 0 || i >= static_cast<int>(m_caips_.size())) return;
    auto dish = m_caips_[i];
    auto desk = NSServer::getNowDesk();
    auto& lines = desk->m_DishList;
    auto first = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l->caipID() == dish->strID(); });
    if (first != lines.end()) {
        // Only a plain unsent line comes off here: a line of a group goes with its group, which
        // the order list handles.
        if ((*first)->m_iState == NSDishClass::kUnsent && !(*first)->m_bisExp && !(*first)->m_bisSet) {
            lines.erase(first);
            renumberGroups(lines);
            NSServer::saveSelectDish0();
            flashSelCaip();
        }
        return;
    }
    if (dish->m_strName.empty()) return;
    auto line = std::make_shared<NSDishClass>();
    line->CopyCaip(dish);
    line->m_fQuantity = 1;
    line->m_iState = NSDishClass::kUnsent;
    if (NSServer::getCaipDB()->IsCaipSellOut(line->caipID())) {
        auto alert = std::make_shared<ui::AlertView>(std::string("失败"), std::string("该菜品已沽清，请选择其他菜品！"), nullptr,
                                                     std::string("确定"));
        alert->show();
        return;
    }
    line->m_struid = "-1";
    line->m_fQuantity2 = 0;
    lines.push_back(line);
    NSServer::saveSelectDish0();
    flashSelCaip();
}

// ---- Enlarging -------------------------------------------------------------------------------

void UISearchCaipViewController::setPageAlpha(double alpha, bool withMarks) {
    for (auto& p : caippic_)
        if (p != nowCaippic_.caippic) p->setAlpha(alpha);
    for (auto& t : text_) t->setAlpha(alpha);
    searchBar_->setAlpha(alpha);
    if (withMarks)
        for (auto& m : selCaipTb_) m->setAlpha(alpha);
}

void UISearchCaipViewController::showBigCai(int k, const std::shared_ptr<ui::ImageView>& picture) {
    const int i = firstCaiCount_ + k - 1;
    if (i < 0 || i >= static_cast<int>(m_caips_.size()) || !picture) return;
    bigShowCaip_ = m_caips_[i];
    if (!canTouch_) return;
    canTouch_ = false;
    nowCaippic_ = {picture, picture->frame()};
    setPageAlpha(0, true);
    const auto image = picture->image();
    menu::beginAnimation(*this, "removeView", 0.5);
    picture->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, kEnlarged));
    ui::Animation::commit();
    if (rootController_) rootController_->showBigCaipForSearch(bigShowCaip_);
}

void UISearchCaipViewController::bigCaiBack() {
    if (!nowCaippic_.caippic || !canTouch_) return;
    canTouch_ = false;
    setPageAlpha(0, false);
    const auto image = nowCaippic_.caippic->image();
    nowCaippic_.caippic->setFrame(NSStaticUnit::getCaipICGRect(image ? image->size() : ui::Size{}, kEnlarged));
    menu::beginAnimation(*this, "backFromBigCai", 0.5);
    nowCaippic_.caippic->setFrame(nowCaippic_.frame);
    ui::Animation::commit();
}

void UISearchCaipViewController::animationFinish(const std::optional<std::string>& name, bool) {
    const std::string n = name.value_or("");
    if (n == "removeView") {
        view()->removeFromSuperview();
    } else if (n == "backFromBigCai") {
        setPageAlpha(1, true);
        searchBar_->becomeFirstResponder();
    }
    canTouch_ = true;
}

void UISearchCaipViewController::back() {
    searchBar_->resignFirstResponder();
    if (rootController_) rootController_->searchCaipBack();
}
