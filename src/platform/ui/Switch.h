#pragma once
// An on/off switch: a tap flips it and sends value-changed.

#include "platform/ui/Control.h"

namespace ui {

class Switch : public Control {
public:
    static constexpr double kWidth = 94;
    static constexpr double kHeight = 27;

    // The size is always kWidth x kHeight: only the frame's origin is taken.
    explicit Switch(const Rect& frame = {});
    const char* className() const override { return "Switch"; }
    bool isOn() const { return on_; }
    // In code: sends nothing.
    void setOn(bool on, bool animated = false);
    void setFrame(const Rect& frame) override;

protected:
    void didTapInside() override;

private:
    bool on_ = false;
};

}  // namespace ui
