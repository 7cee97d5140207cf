#pragma once
// A row of segments with titles; a tap selects a segment and sends value-changed.

#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace ui {

class SegmentedControl : public Control {
public:
    explicit SegmentedControl(std::vector<std::string> items = {}, const Rect& frame = {});
    const char* className() const override { return "SegmentedControl"; }

    int numberOfSegments() const { return static_cast<int>(items_.size()); }
    std::string titleForSegment(int index) const;
    void setTitle(std::string title, int index);
    void insertSegment(std::string title, int index);
    void removeAllSegments();
    // -1 = none. In code: sends nothing.
    int selectedSegmentIndex() const { return selected_; }
    void setSelectedSegmentIndex(int index);
    Rect rectForSegment(int index) const;

    void touchesEnded(const TouchSet& touches, const Event* event) override;

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace ui
