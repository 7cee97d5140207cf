#include "platform/ui/Switch.h"

namespace ui {

Switch::Switch(const Rect& frame) : Control(Rect{frame.origin, {kWidth, kHeight}}) {}

void Switch::setFrame(const Rect& frame) { Control::setFrame({frame.origin, {kWidth, kHeight}}); }

void Switch::setOn(bool on, bool) {
    if (on == on_) return;
    on_ = on;
    setNeedsDisplay();
}

void Switch::didTapInside() {
    setOn(!on_);
    sendActions(ControlEvent::ValueChanged);
}

}  // namespace ui
