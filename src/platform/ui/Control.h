#pragma once
// The base of buttons, switches and other controls: enabled, highlighted and selected states, and
// actions for control events (touch-down, touch-up-inside, value changed, ...).

#include <functional>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

enum class ControlEvent {
    TouchDown,
    TouchDownRepeat,
    TouchDragInside,
    TouchDragOutside,
    TouchUpInside,
    TouchUpOutside,
    TouchCancel,
    ValueChanged,
    EditingDidBegin,
    EditingChanged,
    EditingDidEnd,
    EditingDidEndOnExit,
};

// The state a control's per-state appearance is looked up by.
enum class ControlState { Normal, Highlighted, Disabled, Selected };

class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;

    using View::View;
    const char* className() const override { return "Control"; }

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    // Disabled before selected before highlighted before normal.
    ControlState state() const;

    // Actions run in the order they were added. An action may remove the control or its screen:
    // the control stays alive until the dispatch is over.
    void addTarget(ControlEvent event, Action action);
    void removeAllTargets();
    bool hasTargets(ControlEvent event) const;
    // Runs the actions of `event` as a touch would.
    void sendActions(ControlEvent event);

    // A disabled control still hides what lies beneath it but takes no touch.
    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesMoved(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;
    void touchesCancelled(const TouchSet& touches, const Event* event) override;

protected:
    // Called after a touch that began in the control ended inside it (before touch-up-inside).
    virtual void didTapInside() {}

private:
    bool tracking_ = false;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    std::vector<std::pair<ControlEvent, Action>> targets_;
};

}  // namespace ui
