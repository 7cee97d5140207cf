#pragma once
// A scrolling list of rows in sections. The data source gives the counts and makes a new cell for
// each row as it comes into view; the delegate gives heights and header views and hears of
// display, selection and scrolling. Also: section header titles, a section index strip along the
// right edge, swipe-to-delete, reloading with or without a fade, and scrolling to a row.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"

namespace ui {

class TableView;

struct IndexPath {
    int section = 0;
    int row = 0;
    auto operator<=>(const IndexPath&) const = default;
};

enum class TableViewStyle { Plain, Grouped };
enum class RowAnimation { None, Fade, Right, Left, Top, Bottom, Middle };
enum class ScrollPosition { None, Top, Middle, Bottom };
enum class EditingStyle { None, Delete, Insert };

// An observer pointer the data source clears before it goes away.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSections(TableView&) { return 1; }
    virtual int numberOfRows(TableView&, int section) = 0;
    // Called each time a row comes into view; a null cell stands as an empty row.
    virtual std::shared_ptr<TableViewCell> cellForRow(TableView&, const IndexPath&) = 0;
    virtual std::optional<std::string> titleForHeader(TableView&, int /*section*/) { return std::nullopt; }
    virtual std::optional<std::string> titleForFooter(TableView&, int /*section*/) { return std::nullopt; }
    // The index strip's titles; empty = no strip.
    virtual std::vector<std::string> sectionIndexTitles(TableView&) { return {}; }
    // The section a tap on index title `index` scrolls to (default: the same number).
    virtual int sectionForSectionIndexTitle(TableView&, const std::string& /*title*/, int index) { return index; }
    // Swipe-to-delete is offered on rows whose data source answers true here.
    virtual bool canEditRow(TableView&, const IndexPath&) { return false; }
    virtual void commitEditingStyle(TableView&, EditingStyle, const IndexPath&) {}
};

// All optional; an observer pointer the delegate clears before it goes away.
class TableViewDelegate : public ScrollViewDelegate {
public:
    // Negative = the table's rowHeight.
    virtual double heightForRow(TableView&, const IndexPath&) { return -1; }
    // Negative = the table's default (22 with a header title or view, else 0).
    virtual double heightForHeader(TableView&, int /*section*/) { return -1; }
    virtual double heightForFooter(TableView&, int /*section*/) { return -1; }
    virtual std::shared_ptr<View> viewForHeader(TableView&, int /*section*/) { return nullptr; }
    virtual std::shared_ptr<View> viewForFooter(TableView&, int /*section*/) { return nullptr; }
    virtual void willDisplayCell(TableView&, TableViewCell&, const IndexPath&) {}
    // Return the row to select instead, or nothing to refuse the selection.
    virtual std::optional<IndexPath> willSelectRow(TableView&, const IndexPath& p) { return p; }
    virtual void didSelectRow(TableView&, const IndexPath&) {}
    virtual void didDeselectRow(TableView&, const IndexPath&) {}
    virtual EditingStyle editingStyleForRow(TableView&, const IndexPath&) { return EditingStyle::Delete; }
    virtual std::optional<std::string> titleForDeleteConfirmationButton(TableView&, const IndexPath&) { return std::nullopt; }
    virtual void accessoryButtonTapped(TableView&, const IndexPath&) {}
};

class TableView : public ScrollView {
public:
    explicit TableView(const Rect& frame = {}, TableViewStyle style = TableViewStyle::Plain);
    ~TableView() override;
    const char* className() const override { return "TableView"; }

    TableViewStyle style() const { return style_; }
    TableViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TableViewDataSource* d);
    TableViewDelegate* tableDelegate() const { return tableDelegate_; }
    // Also the scroll view's delegate.
    void setTableDelegate(TableViewDelegate* d);

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double h);
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double h) { sectionHeaderHeight_ = h; }
    Color separatorColor() const { return separatorColor_; }
    void setSeparatorColor(const Color& c) { separatorColor_ = c; }
    enum class SeparatorStyle { None, SingleLine, SingleLineEtched };
    SeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(SeparatorStyle s) { separatorStyle_ = s; }
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool a) { allowsSelection_ = a; }
    // A view above the first section (scrolls with the rows).
    const std::shared_ptr<View>& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(std::shared_ptr<View> v);
    const std::shared_ptr<View>& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(std::shared_ptr<View> v);

    // Asks the data source again for everything; visible cells are made anew.
    void reloadData();
    // Same for some sections; with RowAnimation::Fade the new cells fade in over 0.3 s.
    void reloadSections(const std::vector<int>& sections, RowAnimation animation);
    void reloadRows(const std::vector<IndexPath>& rows, RowAnimation animation);
    // After the data source removed or added the rows: the table reloads its layout.
    void deleteRows(const std::vector<IndexPath>& rows, RowAnimation animation);
    void insertRows(const std::vector<IndexPath>& rows, RowAnimation animation);

    int numberOfSections() const;
    int numberOfRows(int section) const;
    // In the table's content coordinates.
    Rect rectForRow(const IndexPath& p) const;
    Rect rectForSection(int section) const;
    Rect rectForHeader(int section) const;
    // The row under a point of the content, or nothing.
    std::optional<IndexPath> indexPathForRowAt(Point contentPoint) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;
    // The cell shown for a row now, or null when the row is not in view.
    std::shared_ptr<TableViewCell> cellForRow(const IndexPath& p) const;
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    // The header view shown for a section (made from the title when there is no view).
    std::shared_ptr<View> headerViewForSection(int section) const;
    std::vector<std::string> sectionIndexTitles() const { return indexTitles_; }
    // The index strip's rectangle in the table's frame coordinates (empty when none).
    Rect sectionIndexRect() const;

    void scrollToRow(const IndexPath& p, ScrollPosition position, bool animated);
    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    // Selecting in code tells no delegate: it hears only of the rows a person taps.
    void selectRow(const std::optional<IndexPath>& p, bool animated, ScrollPosition position);
    void deselectRow(const IndexPath& p, bool animated);

    bool isEditing() const { return editing_; }
    void setEditing(bool editing, bool animated = false);
    // The row whose delete button shows after a swipe, if any.
    std::optional<IndexPath> deleteConfirmationRow() const { return deleteRow_; }
    // What a swipe across a row does: shows that row's delete button (false when the row cannot
    // be edited).
    bool swipeToDelete(const IndexPath& p);

    void setFrame(const Rect& frame) override;
    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesMoved(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;
    void touchesCancelled(const TouchSet& touches, const Event* event) override;

protected:
    void contentOffsetDidChange() override;
    void didMoveToWindow() override;

private:
    struct Section {
        double headerHeight = 0;
        double footerHeight = 0;
        std::optional<std::string> headerTitle;
        std::optional<std::string> footerTitle;
        std::vector<double> rowHeights;
        double top = 0;  // content y of the section's header
    };
    void computeLayout();
    void updateVisibleCells(bool rebuildAll, const std::vector<int>& fadeSections = {});
    void hideDeleteConfirmation();
    void selectFromTouch(const IndexPath& p);

    TableViewStyle style_;
    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* tableDelegate_ = nullptr;
    double rowHeight_ = 44;
    double sectionHeaderHeight_ = 22;
    Color separatorColor_ = Color::rgb(224, 224, 224);
    SeparatorStyle separatorStyle_ = SeparatorStyle::SingleLine;
    bool allowsSelection_ = true;
    std::shared_ptr<View> tableHeaderView_;
    std::shared_ptr<View> tableFooterView_;
    bool loaded_ = false;
    std::vector<Section> sections_;
    std::vector<std::string> indexTitles_;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> cells_;
    std::map<int, std::shared_ptr<View>> headers_;
    std::optional<IndexPath> selected_;
    std::optional<IndexPath> highlighted_;
    std::optional<IndexPath> deleteRow_;
    bool editing_ = false;
    bool inIndexStrip_ = false;
    Point touchStart_;
    bool swiped_ = false;
    std::shared_ptr<View> deleteButton_;
};

}  // namespace ui
