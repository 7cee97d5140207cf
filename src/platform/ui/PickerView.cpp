#include "platform/ui/PickerView.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
constexpr int kMaxComponents = 16;
constexpr double kTapSlop = 5;
}  // namespace

PickerView::PickerView(const Rect& frame) : View(frame) { setBackgroundColor(Color::whiteColor()); }

void PickerView::setDataSource(PickerViewDataSource* d) {
    dataSource_ = d;
    reloadAllComponents();
}

void PickerView::setDelegate(PickerViewDelegate* d) {
    delegate_ = d;
    setNeedsDisplay();
}

int PickerView::numberOfComponents() const {
    if (!dataSource_) return 0;
    return std::clamp(const_cast<PickerView*>(this)->dataSource_->numberOfComponents(*const_cast<PickerView*>(this)), 0, kMaxComponents);
}

int PickerView::numberOfRowsInComponent(int component) const {
    if (!dataSource_ || component < 0 || component >= numberOfComponents()) return 0;
    return std::max(0, dataSource_->numberOfRows(*const_cast<PickerView*>(this), component));
}

std::string PickerView::titleForRow(int row, int component) const {
    if (!delegate_ || row < 0 || row >= numberOfRowsInComponent(component)) return "";
    return delegate_->titleForRow(*const_cast<PickerView*>(this), row, component);
}

void PickerView::clampSelection() {
    int n = numberOfComponents();
    selected_.resize(static_cast<std::size_t>(n), 0);
    for (int c = 0; c < n; ++c) {
        int rows = numberOfRowsInComponent(c);
        int& s = selected_[static_cast<std::size_t>(c)];
        s = rows == 0 ? -1 : std::clamp(s, 0, rows - 1);
    }
}

int PickerView::selectedRowInComponent(int component) const {
    if (component < 0 || component >= static_cast<int>(selected_.size())) return -1;
    return selected_[static_cast<std::size_t>(component)];
}

void PickerView::selectRow(int row, int component, bool) {
    clampSelection();
    if (component < 0 || component >= static_cast<int>(selected_.size())) return;
    int rows = numberOfRowsInComponent(component);
    if (rows == 0) return;
    selected_[static_cast<std::size_t>(component)] = std::clamp(row, 0, rows - 1);
    setNeedsDisplay();
}

void PickerView::reloadAllComponents() {
    clampSelection();
    setNeedsDisplay();
}

void PickerView::reloadComponent(int) { reloadAllComponents(); }

double PickerView::rowHeight(int component) const {
    double h = delegate_ ? delegate_->rowHeightForComponent(*const_cast<PickerView*>(this), component) : 0;
    return h > 0 && std::isfinite(h) ? h : kDefaultRowHeight;
}

Rect PickerView::rectForComponent(int component) const {
    int n = numberOfComponents();
    if (component < 0 || component >= n) return {};
    std::vector<double> widths(static_cast<std::size_t>(n));
    double fixed = 0;
    int flexible = 0;
    for (int c = 0; c < n; ++c) {
        double w = delegate_ ? delegate_->widthForComponent(*const_cast<PickerView*>(this), c) : 0;
        widths[static_cast<std::size_t>(c)] = w > 0 && std::isfinite(w) ? w : 0;
        if (widths[static_cast<std::size_t>(c)] > 0) fixed += widths[static_cast<std::size_t>(c)];
        else ++flexible;
    }
    double rest = flexible ? std::max(0.0, bounds().width() - fixed) / flexible : 0;
    double x = 0;
    for (int c = 0; c < component; ++c) x += widths[static_cast<std::size_t>(c)] > 0 ? widths[static_cast<std::size_t>(c)] : rest;
    double w = widths[static_cast<std::size_t>(component)] > 0 ? widths[static_cast<std::size_t>(component)] : rest;
    return {x, 0, w, bounds().height()};
}

int PickerView::componentAt(Point p) const {
    for (int c = 0; c < numberOfComponents(); ++c)
        if (rectForComponent(c).contains(p)) return c;
    return -1;
}

void PickerView::touchesBegan(const TouchSet& touches, const Event*) {
    if (Touch* t = touches.anyObject()) {
        touchStart_ = t->locationInView(this);
        tracking_ = true;
    }
}

void PickerView::touchesMoved(const TouchSet&, const Event*) {}

void PickerView::touchesEnded(const TouchSet& touches, const Event*) {
    Touch* t = touches.anyObject();
    if (!t || !tracking_) return;
    tracking_ = false;
    clampSelection();
    int c = componentAt(touchStart_);
    if (c < 0) return;
    int rows = numberOfRowsInComponent(c);
    if (rows == 0) return;
    Point end = t->locationInView(this);
    double h = rowHeight(c);
    int steps;
    if (std::abs(end.y - touchStart_.y) < kTapSlop) {
        // A tap on a row above or below the centre line turns that row to the centre.
        steps = static_cast<int>(std::lround((end.y - bounds().height() / 2) / h));
    } else {
        // A drag turns the wheel with the finger: upwards shows later rows.
        steps = static_cast<int>(std::lround((touchStart_.y - end.y) / h));
    }
    int& sel = selected_[static_cast<std::size_t>(c)];
    int next = std::clamp(sel + steps, 0, rows - 1);
    if (next == sel) return;
    sel = next;
    setNeedsDisplay();
    std::shared_ptr<View> keep = shared_from_this();
    if (delegate_) delegate_->didSelectRow(*this, next, c);
}

void PickerView::touchesCancelled(const TouchSet&, const Event*) { tracking_ = false; }

}  // namespace ui
