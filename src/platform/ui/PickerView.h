#pragma once
// Spinning wheels of rows in one or more components; the row under the centre line of each
// component is selected. A tap above or below the centre, or a vertical drag, turns a wheel.

#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

class PickerView;

// An observer pointer the data source clears before it goes away.
class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponents(PickerView&) = 0;
    virtual int numberOfRows(PickerView&, int component) = 0;
};

class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    virtual std::string titleForRow(PickerView&, int /*row*/, int /*component*/) { return ""; }
    virtual void didSelectRow(PickerView&, int /*row*/, int /*component*/) {}
    // Non-positive = share the width equally.
    virtual double widthForComponent(PickerView&, int /*component*/) { return 0; }
    virtual double rowHeightForComponent(PickerView&, int /*component*/) { return 0; }
};

class PickerView : public View {
public:
    static constexpr double kDefaultRowHeight = 40;

    explicit PickerView(const Rect& frame = {});
    const char* className() const override { return "PickerView"; }

    PickerViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(PickerViewDataSource* d);
    PickerViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PickerViewDelegate* d);
    bool showsSelectionIndicator() const { return showsIndicator_; }
    void setShowsSelectionIndicator(bool s) { showsIndicator_ = s; }

    int numberOfComponents() const;
    int numberOfRowsInComponent(int component) const;
    std::string titleForRow(int row, int component) const;
    // -1 when the component has no rows.
    int selectedRowInComponent(int component) const;
    // In code: tells no delegate.
    void selectRow(int row, int component, bool animated);
    void reloadAllComponents();
    void reloadComponent(int component);
    double rowHeight(int component) const;
    // Columns in the picker's coordinates.
    Rect rectForComponent(int component) const;

    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesMoved(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;
    void touchesCancelled(const TouchSet& touches, const Event* event) override;

private:
    void clampSelection();
    int componentAt(Point p) const;

    PickerViewDataSource* dataSource_ = nullptr;
    PickerViewDelegate* delegate_ = nullptr;
    bool showsIndicator_ = false;
    std::vector<int> selected_;
    Point touchStart_;
    bool tracking_ = false;
};

}  // namespace ui
