#include "platform/ui/TableView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace ui {

namespace {
constexpr double kIndexStripWidth = 30;
constexpr double kSwipeDistance = 30;
constexpr double kFadeSeconds = 0.3;
// A table never asks for more than this many rows of a section: a damaged count from a data
// source must not make the table allocate without end.
constexpr int kMaxRows = 1000000;
constexpr int kMaxSections = 100000;
}  // namespace

TableView::TableView(const Rect& frame, TableViewStyle style) : ScrollView(frame), style_(style) {
    setAlwaysBounceVertical(true);
    setBackgroundColor(style == TableViewStyle::Plain ? Color::whiteColor() : Color(0.77, 0.80, 0.84));
    if (style == TableViewStyle::Grouped) sectionHeaderHeight_ = 44;
}

TableView::~TableView() = default;

void TableView::setDataSource(TableViewDataSource* d) {
    dataSource_ = d;
    loaded_ = false;
    if (window()) reloadData();
}

void TableView::setTableDelegate(TableViewDelegate* d) {
    tableDelegate_ = d;
    setDelegate(d);
    if (loaded_) reloadData();
}

void TableView::setRowHeight(double h) {
    if (!std::isfinite(h) || h < 0) return;
    rowHeight_ = h;
    if (loaded_) reloadData();
}

void TableView::setTableHeaderView(std::shared_ptr<View> v) {
    if (tableHeaderView_) tableHeaderView_->removeFromSuperview();
    tableHeaderView_ = std::move(v);
    if (tableHeaderView_) addSubview(tableHeaderView_);
    if (loaded_) reloadData();
}

void TableView::setTableFooterView(std::shared_ptr<View> v) {
    if (tableFooterView_) tableFooterView_->removeFromSuperview();
    tableFooterView_ = std::move(v);
    if (tableFooterView_) addSubview(tableFooterView_);
    if (loaded_) reloadData();
}

// --- Layout ----------------------------------------------------------------------------------------

void TableView::computeLayout() {
    sections_.clear();
    indexTitles_.clear();
    loaded_ = true;
    double y = 0;
    double width = bounds().width();
    if (tableHeaderView_) {
        Rect f = tableHeaderView_->frame();
        tableHeaderView_->setFrame({0, 0, width, f.height()});
        y += f.height();
    }
    if (dataSource_) {
        int n = std::clamp(dataSource_->numberOfSections(*this), 0, kMaxSections);
        sections_.resize(static_cast<std::size_t>(n));
        for (int s = 0; s < n; ++s) {
            Section& sec = sections_[static_cast<std::size_t>(s)];
            sec.headerTitle = dataSource_->titleForHeader(*this, s);
            sec.footerTitle = dataSource_->titleForFooter(*this, s);
            double hh = tableDelegate_ ? tableDelegate_->heightForHeader(*this, s) : -1;
            if (!(hh >= 0)) hh = sec.headerTitle ? sectionHeaderHeight_ : 0;
            double fh = tableDelegate_ ? tableDelegate_->heightForFooter(*this, s) : -1;
            if (!(fh >= 0)) fh = sec.footerTitle ? sectionHeaderHeight_ : 0;
            sec.headerHeight = hh;
            sec.footerHeight = fh;
            sec.top = y;
            y += hh;
            int rows = std::clamp(dataSource_->numberOfRows(*this, s), 0, kMaxRows);
            sec.rowHeights.resize(static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) {
                double h = tableDelegate_ ? tableDelegate_->heightForRow(*this, {s, r}) : -1;
                if (!(h >= 0) || !std::isfinite(h)) h = rowHeight_;
                sec.rowHeights[static_cast<std::size_t>(r)] = h;
                y += h;
            }
            y += fh;
        }
        indexTitles_ = dataSource_->sectionIndexTitles(*this);
    }
    if (tableFooterView_) {
        Rect f = tableFooterView_->frame();
        tableFooterView_->setFrame({0, y, width, f.height()});
        y += f.height();
    }
    setContentSize({width, y});
}

int TableView::numberOfSections() const { return static_cast<int>(sections_.size()); }

int TableView::numberOfRows(int section) const {
    if (section < 0 || section >= numberOfSections()) return 0;
    return static_cast<int>(sections_[static_cast<std::size_t>(section)].rowHeights.size());
}

Rect TableView::rectForHeader(int section) const {
    if (section < 0 || section >= numberOfSections()) return {};
    const Section& s = sections_[static_cast<std::size_t>(section)];
    return {0, s.top, bounds().width(), s.headerHeight};
}

Rect TableView::rectForSection(int section) const {
    if (section < 0 || section >= numberOfSections()) return {};
    const Section& s = sections_[static_cast<std::size_t>(section)];
    double h = s.headerHeight + s.footerHeight;
    for (double r : s.rowHeights) h += r;
    return {0, s.top, bounds().width(), h};
}

Rect TableView::rectForRow(const IndexPath& p) const {
    if (p.row < 0 || p.row >= numberOfRows(p.section)) return {};
    const Section& s = sections_[static_cast<std::size_t>(p.section)];
    double y = s.top + s.headerHeight;
    for (int r = 0; r < p.row; ++r) y += s.rowHeights[static_cast<std::size_t>(r)];
    return {0, y, bounds().width(), s.rowHeights[static_cast<std::size_t>(p.row)]};
}

std::optional<IndexPath> TableView::indexPathForRowAt(Point p) const {
    if (p.x < 0 || p.x >= bounds().width()) return std::nullopt;
    for (int s = 0; s < numberOfSections(); ++s) {
        const Section& sec = sections_[static_cast<std::size_t>(s)];
        double y = sec.top + sec.headerHeight;
        for (std::size_t r = 0; r < sec.rowHeights.size(); ++r) {
            double h = sec.rowHeights[r];
            if (p.y >= y && p.y < y + h) return IndexPath{s, static_cast<int>(r)};
            y += h;
        }
    }
    return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
    for (auto& [p, c] : cells_)
        if (c.get() == cell) return p;
    return std::nullopt;
}

std::shared_ptr<TableViewCell> TableView::cellForRow(const IndexPath& p) const {
    auto it = cells_.find(p);
    return it == cells_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
    std::vector<std::shared_ptr<TableViewCell>> out;
    for (auto& [p, c] : cells_) out.push_back(c);
    return out;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> out;
    for (auto& [p, c] : cells_) out.push_back(p);
    return out;
}

std::shared_ptr<View> TableView::headerViewForSection(int section) const {
    auto it = headers_.find(section);
    return it == headers_.end() ? nullptr : it->second;
}

Rect TableView::sectionIndexRect() const {
    if (indexTitles_.empty()) return {};
    Rect b = bounds();
    return {b.x() + b.width() - kIndexStripWidth, b.y(), kIndexStripWidth, b.height()};
}

static std::shared_ptr<View> makeTitleHeader(const std::string& title, double width, double height) {
    auto label = std::make_shared<Label>(Rect{0, 0, width, height});
    label->setText(title);
    label->setFont(Font::boldSystemFont(18));
    label->setTextColor(Color::whiteColor());
    label->setBackgroundColor(Color(0.57, 0.62, 0.67, 0.9));
    return label;
}

void TableView::updateVisibleCells(bool rebuildAll, const std::vector<int>& fadeSections) {
    if (!loaded_) return;
    std::shared_ptr<View> keep = shared_from_this();
    Rect visible = bounds();
    if (rebuildAll) {
        hideDeleteConfirmation();
        for (auto& [p, c] : cells_) c->removeFromSuperview();
        cells_.clear();
        for (auto& [s, h] : headers_) h->removeFromSuperview();
        headers_.clear();
    }
    // Drop what left the view.
    for (auto it = cells_.begin(); it != cells_.end();) {
        Rect r = rectForRow(it->first);
        if (r.isEmpty() || !r.intersects(visible)) {
            if (deleteRow_ == it->first) hideDeleteConfirmation();
            it->second->removeFromSuperview();
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = headers_.begin(); it != headers_.end();) {
        Rect r = rectForHeader(it->first);
        if (r.isEmpty() || !r.intersects(visible)) {
            it->second->removeFromSuperview();
            it = headers_.erase(it);
        } else {
            ++it;
        }
    }
    // Cells stay behind headers and any view the screen added to the table.
    std::size_t cellLayer = cells_.size();
    for (int s = 0; s < numberOfSections() && dataSource_; ++s) {
        Rect secRect = rectForSection(s);
        if (!secRect.intersects(visible) && !(secRect.height() == 0)) {
            if (secRect.y() > visible.maxY()) break;
            continue;
        }
        bool fade = std::find(fadeSections.begin(), fadeSections.end(), s) != fadeSections.end();
        Rect hr = rectForHeader(s);
        if (!hr.isEmpty() && hr.intersects(visible) && !headers_.count(s)) {
            std::shared_ptr<View> h = tableDelegate_ ? tableDelegate_->viewForHeader(*this, s) : nullptr;
            const Section& sec = sections_[static_cast<std::size_t>(s)];
            if (!h && sec.headerTitle) h = makeTitleHeader(*sec.headerTitle, hr.width(), hr.height());
            if (h) {
                h->setFrame(hr);
                addSubview(h);
                headers_[s] = h;
            }
        }
        int rows = numberOfRows(s);
        for (int r = 0; r < rows; ++r) {
            IndexPath p{s, r};
            Rect rr = rectForRow(p);
            if (rr.maxY() <= visible.y()) continue;
            if (rr.y() >= visible.maxY()) break;
            if (cells_.count(p)) continue;
            std::shared_ptr<TableViewCell> cell = dataSource_->cellForRow(*this, p);
            // A data source that gives no cell leaves an empty row rather than a hole in the list.
            if (!cell) cell = std::make_shared<TableViewCell>();
            if (!dataSource_ || !loaded_) return;  // the data source reset the table meanwhile
            cell->setFrame(rr);
            cell->setSelected(selected_ == p);
            insertSubview(cell, cellLayer++);
            cells_[p] = cell;
            if (tableDelegate_) tableDelegate_->willDisplayCell(*this, *cell, p);
            if (fade) {
                cell->setAlpha(0);
                Animation::begin();
                Animation::setDuration(kFadeSeconds);
                cell->setAlpha(1);
                Animation::commit();
            }
        }
    }
}

void TableView::reloadData() {
    std::shared_ptr<View> keep = shared_from_this();
    selected_.reset();
    highlighted_.reset();
    computeLayout();
    setContentOffset(contentOffset());  // nothing moves; the offset is kept as it was
    updateVisibleCells(true);
}

void TableView::reloadSections(const std::vector<int>& sections, RowAnimation animation) {
    computeLayout();
    if (animation == RowAnimation::Fade) updateVisibleCells(true, sections);
    else updateVisibleCells(true);
}

void TableView::reloadRows(const std::vector<IndexPath>& rows, RowAnimation animation) {
    std::vector<int> sections;
    for (auto& p : rows) sections.push_back(p.section);
    reloadSections(sections, animation);
}

void TableView::deleteRows(const std::vector<IndexPath>&, RowAnimation) {
    selected_.reset();
    computeLayout();
    updateVisibleCells(true);
}

void TableView::insertRows(const std::vector<IndexPath>&, RowAnimation) {
    selected_.reset();
    computeLayout();
    updateVisibleCells(true);
}

void TableView::setFrame(const Rect& frame) {
    bool widthChanged = frame.width() != this->frame().width();
    ScrollView::setFrame(frame);
    if (!loaded_) return;
    if (widthChanged) {
        computeLayout();
        updateVisibleCells(true);
    } else {
        updateVisibleCells(false);
    }
}

void TableView::contentOffsetDidChange() {
    updateVisibleCells(false);
    ScrollView::contentOffsetDidChange();
}

void TableView::didMoveToWindow() {
    if (window() && !loaded_ && dataSource_) reloadData();
}

// --- Scrolling and selection -----------------------------------------------------------------------

void TableView::scrollToRow(const IndexPath& p, ScrollPosition position, bool animated) {
    Rect r = rectForRow(p);
    if (r.isEmpty() && r.height() == 0 && !(p.row >= 0 && p.row < numberOfRows(p.section))) return;
    double h = bounds().height();
    double y = contentOffset().y;
    switch (position) {
        case ScrollPosition::Top: y = r.y(); break;
        case ScrollPosition::Middle: y = r.midY() - h / 2; break;
        case ScrollPosition::Bottom: y = r.maxY() - h; break;
        case ScrollPosition::None:
            if (r.y() < y) y = r.y();
            else if (r.maxY() > y + h) y = r.maxY() - h;
            break;
    }
    Point lo = minimumContentOffset(), hi = maximumContentOffset();
    setContentOffset({contentOffset().x, std::clamp(y, lo.y, hi.y)}, animated);
}

void TableView::selectRow(const std::optional<IndexPath>& p, bool animated, ScrollPosition position) {
    if (selected_) {
        if (auto c = cellForRow(*selected_)) c->setSelected(false, animated);
    }
    selected_.reset();
    if (!p || p->row < 0 || p->row >= numberOfRows(p->section)) return;
    selected_ = p;
    if (auto c = cellForRow(*p)) c->setSelected(true, animated);
    if (position != ScrollPosition::None) scrollToRow(*p, position, animated);
}

void TableView::deselectRow(const IndexPath& p, bool animated) {
    if (selected_ != p) return;
    if (auto c = cellForRow(p)) c->setSelected(false, animated);
    selected_.reset();
}

void TableView::setEditing(bool editing, bool) {
    editing_ = editing;
    if (!editing) hideDeleteConfirmation();
    setNeedsDisplay();
}

void TableView::hideDeleteConfirmation() {
    if (deleteButton_) {
        deleteButton_->removeFromSuperview();
        deleteButton_.reset();
    }
    if (deleteRow_) {
        if (auto c = cellForRow(*deleteRow_)) c->setDeleteConfirmation(false, "");
        deleteRow_.reset();
    }
}

bool TableView::swipeToDelete(const IndexPath& p) {
    if (!dataSource_ || p.row < 0 || p.row >= numberOfRows(p.section)) return false;
    if (!dataSource_->canEditRow(*this, p)) return false;
    if (tableDelegate_ && tableDelegate_->editingStyleForRow(*this, p) != EditingStyle::Delete) return false;
    hideDeleteConfirmation();
    auto cell = cellForRow(p);
    if (!cell) return false;
    std::string title = "Delete";
    if (tableDelegate_)
        if (auto t = tableDelegate_->titleForDeleteConfirmationButton(*this, p)) title = *t;
    deleteRow_ = p;
    cell->setDeleteConfirmation(true, title);
    // The delete button is a real button, so it is tapped through hit-testing like any other.
    auto button = std::make_shared<Button>(Button::Type::Custom, cell->deleteConfirmationRect());
    button->setTitle(title);
    button->setBackgroundColor(Color(0.8, 0.1, 0.1));
    button->setCornerRadius(6);
    std::weak_ptr<View> weak = weak_from_this();
    button->addTarget(ControlEvent::TouchUpInside, [weak, p](Control&) {
        auto self = weak.lock();
        if (!self) return;
        auto* table = static_cast<TableView*>(self.get());
        table->hideDeleteConfirmation();
        if (table->dataSource_) table->dataSource_->commitEditingStyle(*table, EditingStyle::Delete, p);
    });
    cell->addSubview(button);
    deleteButton_ = button;
    return true;
}

// --- Touches ---------------------------------------------------------------------------------------

void TableView::touchesBegan(const TouchSet& touches, const Event*) {
    Touch* t = touches.anyObject();
    if (!t) return;
    Point p = t->locationInView(this);
    touchStart_ = p;
    swiped_ = false;
    inIndexStrip_ = false;
    Rect strip = sectionIndexRect();
    if (!strip.isEmpty() && strip.contains(p)) {
        inIndexStrip_ = true;
        int n = static_cast<int>(indexTitles_.size());
        int i = std::clamp(static_cast<int>((p.y - strip.y()) / (strip.height() / n)), 0, n - 1);
        int s = dataSource_ ? dataSource_->sectionForSectionIndexTitle(*this, indexTitles_[static_cast<std::size_t>(i)], i) : i;
        if (s >= 0 && s < numberOfSections()) {
            Point lo = minimumContentOffset(), hi = maximumContentOffset();
            setContentOffset({contentOffset().x, std::clamp(rectForSection(s).y(), lo.y, hi.y)});
        }
        return;
    }
    if (deleteRow_) {
        // A touch anywhere else than the delete button puts the button away and does nothing more.
        hideDeleteConfirmation();
        swiped_ = true;
        return;
    }
    if (!allowsSelection_) return;
    highlighted_ = indexPathForRowAt(p);
    if (highlighted_)
        if (auto c = cellForRow(*highlighted_); c && c->selectionStyle() != TableViewCell::SelectionStyle::None)
            c->setHighlighted(true);
}

void TableView::touchesMoved(const TouchSet& touches, const Event*) {
    Touch* t = touches.anyObject();
    if (!t || swiped_ || inIndexStrip_) return;
    Point p = t->locationInView(this);
    double dx = p.x - touchStart_.x, dy = p.y - touchStart_.y;
    if (std::abs(dx) >= kSwipeDistance && std::abs(dx) > 2 * std::abs(dy)) {
        swiped_ = true;
        if (highlighted_)
            if (auto c = cellForRow(*highlighted_)) c->setHighlighted(false);
        highlighted_.reset();
        if (auto row = indexPathForRowAt(touchStart_)) swipeToDelete(*row);
    }
}

void TableView::touchesEnded(const TouchSet& touches, const Event*) {
    Touch* t = touches.anyObject();
    auto pressed = highlighted_;
    highlighted_.reset();
    if (pressed)
        if (auto c = cellForRow(*pressed)) c->setHighlighted(false);
    if (!t || swiped_ || inIndexStrip_ || !pressed) return;
    auto row = indexPathForRowAt(t->locationInView(this));
    if (row != pressed) return;
    selectFromTouch(*row);
}

void TableView::touchesCancelled(const TouchSet&, const Event*) {
    if (highlighted_)
        if (auto c = cellForRow(*highlighted_)) c->setHighlighted(false);
    highlighted_.reset();
}

void TableView::selectFromTouch(const IndexPath& tapped) {
    std::shared_ptr<View> keep = shared_from_this();
    std::optional<IndexPath> p = tapped;
    if (tableDelegate_) p = tableDelegate_->willSelectRow(*this, tapped);
    if (!p || p->row < 0 || p->row >= numberOfRows(p->section)) return;
    if (selected_ && selected_ != p) {
        IndexPath old = *selected_;
        if (auto c = cellForRow(old)) c->setSelected(false);
        selected_.reset();
        if (tableDelegate_) tableDelegate_->didDeselectRow(*this, old);
    }
    selected_ = p;
    if (auto c = cellForRow(*p)) c->setSelected(true);
    if (tableDelegate_) tableDelegate_->didSelectRow(*this, *p);
}

}  // namespace ui
