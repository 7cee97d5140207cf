#include "platform/ui/SegmentedControl.h"

#include <algorithm>

namespace ui {

SegmentedControl::SegmentedControl(std::vector<std::string> items, const Rect& frame)
    : Control(frame), items_(std::move(items)) {}

std::string SegmentedControl::titleForSegment(int i) const {
    if (i < 0 || i >= numberOfSegments()) return "";
    return items_[static_cast<std::size_t>(i)];
}

void SegmentedControl::setTitle(std::string title, int i) {
    if (i < 0 || i >= numberOfSegments()) return;
    items_[static_cast<std::size_t>(i)] = std::move(title);
    setNeedsDisplay();
}

void SegmentedControl::insertSegment(std::string title, int i) {
    i = std::clamp(i, 0, numberOfSegments());
    items_.insert(items_.begin() + i, std::move(title));
    if (selected_ >= i) ++selected_;
    setNeedsDisplay();
}

void SegmentedControl::removeAllSegments() {
    items_.clear();
    selected_ = -1;
    setNeedsDisplay();
}

void SegmentedControl::setSelectedSegmentIndex(int i) {
    selected_ = i >= 0 && i < numberOfSegments() ? i : -1;
    setNeedsDisplay();
}

Rect SegmentedControl::rectForSegment(int i) const {
    if (i < 0 || i >= numberOfSegments()) return {};
    double w = bounds().width() / numberOfSegments();
    return {w * i, 0, w, bounds().height()};
}

void SegmentedControl::touchesEnded(const TouchSet& touches, const Event* event) {
    Touch* t = touches.anyObject();
    bool enabled = isEnabled();
    Control::touchesEnded(touches, event);
    if (!t || !enabled || numberOfSegments() == 0) return;
    Point p = t->locationInView(this);
    if (!bounds().contains(p)) return;
    int i = std::clamp(static_cast<int>(p.x / (bounds().width() / numberOfSegments())), 0, numberOfSegments() - 1);
    if (i == selected_) return;
    selected_ = i;
    setNeedsDisplay();
    sendActions(ControlEvent::ValueChanged);
}

}  // namespace ui
