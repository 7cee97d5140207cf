#include "platform/ui/Control.h"

#include <algorithm>

namespace ui {

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) highlighted_ = false;
    setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_) return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void Control::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    setNeedsDisplay();
}

ControlState Control::state() const {
    if (!enabled_) return ControlState::Disabled;
    if (selected_) return ControlState::Selected;
    if (highlighted_) return ControlState::Highlighted;
    return ControlState::Normal;
}

void Control::addTarget(ControlEvent event, Action action) {
    if (action) targets_.emplace_back(event, std::move(action));
}

void Control::removeAllTargets() { targets_.clear(); }

bool Control::hasTargets(ControlEvent event) const {
    return std::any_of(targets_.begin(), targets_.end(), [event](auto& t) { return t.first == event; });
}

void Control::sendActions(ControlEvent event) {
    // An action may let go of this control (its screen closes): hold it, and run a copy of the
    // list, which an action may change.
    std::shared_ptr<View> keep = weak_from_this().lock();
    auto targets = targets_;
    for (auto& [e, action] : targets)
        if (e == event) action(*this);
}

void Control::touchesBegan(const TouchSet& touches, const Event*) {
    if (!enabled_) return;
    tracking_ = true;
    setHighlighted(true);
    Touch* t = touches.anyObject();
    sendActions(t && t->tapCount() > 1 ? ControlEvent::TouchDownRepeat : ControlEvent::TouchDown);
    if (t && t->tapCount() > 1) sendActions(ControlEvent::TouchDown);
}

void Control::touchesMoved(const TouchSet& touches, const Event*) {
    if (!tracking_) return;
    Touch* t = touches.anyObject();
    bool inside = t && bounds().contains(t->locationInView(this));
    setHighlighted(inside);
    sendActions(inside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside);
}

void Control::touchesEnded(const TouchSet& touches, const Event*) {
    if (!tracking_) return;
    tracking_ = false;
    setHighlighted(false);
    if (!enabled_) return;
    Touch* t = touches.anyObject();
    bool inside = t && bounds().contains(t->locationInView(this));
    std::shared_ptr<View> keep = weak_from_this().lock();
    if (inside) {
        didTapInside();
        sendActions(ControlEvent::TouchUpInside);
    } else {
        sendActions(ControlEvent::TouchUpOutside);
    }
}

void Control::touchesCancelled(const TouchSet&, const Event*) {
    if (!tracking_) return;
    tracking_ = false;
    setHighlighted(false);
    sendActions(ControlEvent::TouchCancel);
}

}  // namespace ui
