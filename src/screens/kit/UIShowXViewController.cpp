#include "screens/kit/UIShowXViewController.h"

#include "screens/kit/ScreenKit.h"

namespace {

// One variant: the panel with its label, the arrow strip above (upper variant, pointing up at the
// row) or below.
std::shared_ptr<ui::View> variant(bool up, std::shared_ptr<ui::Label>& label) {
    using C = UIShowXViewController;
    auto v = std::make_shared<ui::View>(ui::Rect{0, 0, C::kWidth, C::kHeight});
    v->setBackgroundColor(kit::kBar);
    v->setCornerRadius(8);
    label = kit::label(*v, {12, up ? 16.0 : 8.0, C::kWidth - 24, C::kHeight - 24}, "", kit::smallFont(),
                       ui::TextAlignment::Left, kit::kOnDark);
    label->setNumberOfLines(4);
    return v;
}

}  // namespace

UIShowXViewController::UIShowXViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

void UIShowXViewController::loadView() {
    if (!view1_) view1_ = variant(true, label1_);
    if (!view2_) view2_ = variant(false, label2_);
    setView(m_isup_ ? view1_ : view2_);
}

void UIShowXViewController::setUpDowm(bool up) {
    m_isup_ = up;
    if (!view1_ || !view2_) loadView();
    setView(up ? view1_ : view2_);
}

void UIShowXViewController::setMessage(const std::string& text) {
    if (!label1_) loadView();
    (m_isup_ ? label1_ : label2_)->setText(text);
}

void UIShowXViewController::touchesEnded(const ui::TouchSet&, const ui::Event*) {
    if (lastViewController_) lastViewController_->clearShow();
}

void UIShowXViewController::viewDidUnload() {
    view1_.reset();
    view2_.reset();
    label1_.reset();
    label2_.reset();
}
