#include "screens/online/UIMyLabel.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animation.h"
#include "platform/ui/Font.h"
#include "platform/ui/ViewController.h"

namespace {

// The first view controller along the responder chain from `view`.
ui::ViewController* firstAvailableUIViewController(ui::View& view) {
    for (ui::Responder* r = view.nextResponder(); r; r = r->nextResponder()) {
        if (auto* vc = dynamic_cast<ui::ViewController*>(r)) return vc;
        if (!dynamic_cast<ui::View*>(r)) return nullptr;
    }
    return nullptr;
}

// Runs `changes` as one animation block; `done(finished)` when it ends.
void animate(double duration, double delay, ui::Animation::Curve curve, const std::function<void()>& changes,
             std::function<void(bool)> done) {
    ui::Animation::begin();
    ui::Animation::setDuration(duration);
    ui::Animation::setDelay(delay);
    ui::Animation::setCurve(curve);
    ui::Animation::setDidStop([done = std::move(done)](const auto&, bool finished, void*) {
        if (done) done(finished);
    });
    changes();
    ui::Animation::commit();
}

}  // namespace

MarqueeLabel::MarqueeLabel(const ui::Rect& frame, double duration, double fadeLength) : ui::View(frame) {
    setUp(fadeLength);
    lengthOfScroll_ = duration;
}

MarqueeLabel::MarqueeLabel(const ui::Rect& frame, RateMode, double rate, double fadeLength) : ui::View(frame) {
    setUp(fadeLength);
    rate_ = rate;
}

std::shared_ptr<MarqueeLabel> MarqueeLabel::withRate(const ui::Rect& frame, double rate, double fadeLength) {
    return std::shared_ptr<MarqueeLabel>(new MarqueeLabel(frame, RateMode{}, rate, fadeLength));
}

void MarqueeLabel::setUp(double fadeLength) {
    setClipsToBounds(true);
    subLabel_ = std::make_shared<ui::Label>(bounds());
    subLabel_->setBackgroundColor(ui::Color::clearColor());
    addSubview(subLabel_);
    auto& center = ui::NotificationCenter::defaultCenter();
    // The observers reach the label through a raw pointer: they are removed before it goes.
    observers_.push_back(center.addObserver(kNavigationDidShow, nullptr,
                                            [this](const ui::Notification& n) { observedViewControllerChange(n); }));
    for (const char* name : {ui::ApplicationWillEnterForegroundNotification, ui::ApplicationDidBecomeActiveNotification})
        observers_.push_back(center.addObserver(name, nullptr, [this](const ui::Notification&) { restartLabel(); }));
    for (const char* name : {ui::ApplicationWillResignActiveNotification, ui::ApplicationDidEnterBackgroundNotification})
        observers_.push_back(center.addObserver(name, nullptr, [this](const ui::Notification&) { shutdownLabel(); }));
    setFadeLength(std::min(fadeLength, frame().width() / 2));
}

MarqueeLabel::~MarqueeLabel() {
    for (auto token : observers_) ui::NotificationCenter::defaultCenter().removeObserver(token);
}

void MarqueeLabel::setBackgroundColor(const ui::Color& c) {
    if (!(subLabel_->backgroundColor() == c)) subLabel_->setBackgroundColor(c);
}

bool MarqueeLabel::labelShouldScroll() const {
    if (!labelText_) return false;
    const ui::Rect b = bounds();
    return homeLabelFrame_.x() < b.x() || homeLabelFrame_.y() < b.y() ||
           homeLabelFrame_.x() + homeLabelFrame_.width() > b.x() + b.width() ||
           homeLabelFrame_.y() + homeLabelFrame_.height() > b.y() + b.height();
}

void MarqueeLabel::setText(const std::optional<std::string>& text) {
    if (text == labelText_) return;
    labelText_ = text;
    const std::string t = text.value_or("");
    const double width = ui::measureText(t, subLabel_->font(), 9999).width;
    const double h = bounds().height();
    homeLabelFrame_ = {fadeLength_, 0, width + fadeLength_, h};
    awayLabelFrame_ = homeLabelFrame_;
    awayLabelFrame_.origin.x += bounds().width() - 2 * fadeLength_ - width;
    if (labelize_) {
        subLabel_->setFrame(homeLabelFrame_);
        subLabel_->setText(t);
        return;
    }
    animationDuration_ = rate_ == 0 ? lengthOfScroll_ : std::fabs(awayLabelFrame_.x()) / rate_;
    baseAlpha_ = subLabel_->alpha();
    std::weak_ptr<ui::View> weak = weak_from_this();
    animate(0.1, 0, ui::Animation::Curve::Linear, [&] { subLabel_->setAlpha(0); }, [weak, t](bool) {
        if (auto self = std::static_pointer_cast<MarqueeLabel>(weak.lock())) self->fadeInText(t);
    });
}

void MarqueeLabel::fadeInText(const std::string& text) {
    returnLabelToOriginImmediately();
    subLabel_->setFrame(homeLabelFrame_);
    subLabel_->setText(text);
    std::weak_ptr<ui::View> weak = weak_from_this();
    animate(0.1, 0, ui::Animation::Curve::Linear, [&] { subLabel_->setAlpha(baseAlpha_); }, [weak](bool) {
        auto self = std::static_pointer_cast<MarqueeLabel>(weak.lock());
        if (self && self->labelShouldScroll()) self->scrollLeftWithInterval(self->animationDuration_);
    });
}

void MarqueeLabel::scrollLeftWithInterval(double interval) {
    awayFromHome_ = true;
    std::weak_ptr<ui::View> weak = weak_from_this();
    animate(interval, 1.0, ui::Animation::Curve::EaseInOut, [&] { subLabel_->setFrame(awayLabelFrame_); },
            [weak, interval](bool finished) {
                auto self = std::static_pointer_cast<MarqueeLabel>(weak.lock());
                if (self && finished) self->scrollRightWithInterval(interval);
            });
}

void MarqueeLabel::scrollRightWithInterval(double interval) {
    std::weak_ptr<ui::View> weak = weak_from_this();
    animate(animationDuration_, 0.3, ui::Animation::Curve::EaseInOut, [&] { subLabel_->setFrame(homeLabelFrame_); },
            [weak, interval](bool finished) {
                auto self = std::static_pointer_cast<MarqueeLabel>(weak.lock());
                if (!self || !finished) return;
                self->awayFromHome_ = false;
                self->scrollLeftWithInterval(interval);
            });
}

void MarqueeLabel::returnLabelToOriginImmediately() {
    if (subLabel_->frame() == homeLabelFrame_) return;
    std::weak_ptr<ui::View> weak = weak_from_this();
    animate(0, 0, ui::Animation::Curve::EaseInOut, [&] { subLabel_->setFrame(homeLabelFrame_); }, [weak](bool) {
        if (auto self = std::static_pointer_cast<MarqueeLabel>(weak.lock())) self->awayFromHome_ = false;
    });
}

void MarqueeLabel::restartLabel() {
    returnLabelToOriginImmediately();
    if (labelShouldScroll()) scrollLeftWithInterval(animationDuration_);
}

void MarqueeLabel::shutdownLabel() { returnLabelToOriginImmediately(); }

void MarqueeLabel::setLabelize(bool labelize) {
    labelize_ = labelize;
    if (labelize) returnLabelToOriginImmediately();
    else restartLabel();
}

void MarqueeLabel::setFadeLength(double fade) {
    if (fade == fadeLength_) return;
    fadeLength_ = fade;
    applyGradientMask();
}

void MarqueeLabel::applyGradientMask() {
    returnLabelToOriginImmediately();
    // There are no layer masks here: the fade is kept as the fraction of each edge it covers.
    maskFraction_ = fadeLength_ == 0 || frame().width() == 0 ? 0 : fadeLength_ / frame().width();
    if (labelShouldScroll()) scrollLeftWithInterval(animationDuration_);
}

void MarqueeLabel::observedViewControllerChange(const ui::Notification& n) {
    auto controller = [&](const char* key) -> ui::ViewController* {
        auto it = n.userInfo.find(key);
        if (it == n.userInfo.end()) return nullptr;
        auto* vc = std::any_cast<ui::ViewController*>(&it->second);
        return vc ? *vc : nullptr;
    };
    ui::ViewController* own = firstAvailableUIViewController(*this);
    if (!own) return;
    if (own == controller("UINavigationControllerLastVisibleViewController")) shutdownLabel();
    else if (own == controller("UINavigationControllerNextVisibleViewController")) restartLabel();
}

UIMyLabel::UIMyLabel(const ui::Label& label) : MarqueeLabel(label.frame(), RateMode{}, 7.0, 10.0) {
    subLabel()->setNumberOfLines(1);
    setOpaque(false);
    subLabel()->setShadowOffset({0, -1});
    subLabel()->setTextAlignment(ui::TextAlignment::Left);
    subLabel()->setTextColor(label.textColor());
    setBackgroundColor(label.backgroundColor());
    subLabel()->setFont(label.font());
    setText(label.text());
}

std::shared_ptr<ui::View> UIMyLabel::labelScroll(ui::View& parent, const std::shared_ptr<ui::Label>& label) {
    const double needed = ui::measureText(label->text(), label->font(), 2000).width;
    if (label->frame().width() >= needed) return label;
    auto scrolling = std::make_shared<UIMyLabel>(*label);
    label->removeFromSuperview();
    parent.addSubview(scrolling);
    return scrolling;
}
