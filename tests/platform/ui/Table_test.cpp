#include <algorithm>
#include <ctime>

#include <gtest/gtest.h>

#include "UiFixture.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Driver.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TableView.h"

using namespace ui;

namespace {

// 12:57:30 local time on some day.
double lunchTime() {
    std::tm tm{};
    tm.tm_year = 124;
    tm.tm_mon = 4;
    tm.tm_mday = 18;
    tm.tm_hour = 12;
    tm.tm_min = 57;
    tm.tm_sec = 30;
    tm.tm_isdst = -1;
    return static_cast<double>(std::mktime(&tm));
}

// A menu-like list: sections of rows, a new cell per row, with a log of the table's calls.
struct Menu : TableViewDataSource, TableViewDelegate {
    std::vector<std::vector<std::string>> sections{{"鱼", "汤", "饭"}, {}};
    std::vector<std::string> log;
    int made = 0;
    int numberOfSections(TableView&) override { return static_cast<int>(sections.size()); }
    int numberOfRows(TableView&, int s) override { return static_cast<int>(sections[static_cast<std::size_t>(s)].size()); }
    std::shared_ptr<TableViewCell> cellForRow(TableView&, const IndexPath& p) override {
        ++made;
        auto c = std::make_shared<TableViewCell>();
        c->textLabel()->setText(sections[static_cast<std::size_t>(p.section)][static_cast<std::size_t>(p.row)]);
        return c;
    }
    std::optional<std::string> titleForHeader(TableView&, int s) override { return "S" + std::to_string(s); }
    bool canEditRow(TableView&, const IndexPath& p) override { return p.section == 0; }
    void commitEditingStyle(TableView& t, EditingStyle, const IndexPath& p) override {
        log.push_back("delete " + std::to_string(p.row));
        auto& rows = sections[static_cast<std::size_t>(p.section)];
        rows.erase(rows.begin() + p.row);
        t.deleteRows({p}, RowAnimation::Fade);
    }
    void willDisplayCell(TableView&, TableViewCell& c, const IndexPath&) override { log.push_back("show " + c.textLabel()->text()); }
    void didSelectRow(TableView&, const IndexPath& p) override {
        log.push_back("select " + std::to_string(p.section) + "." + std::to_string(p.row));
    }
    void scrollViewDidEndDragging(ScrollView& s, bool) override {
        log.push_back("end-drag " + std::to_string(static_cast<int>(s.contentOffset().y)));
    }
};

class Tables : public uitest::ScreenTest {
protected:
    Tables() {
        table->setDataSource(&menu);
        table->setTableDelegate(&menu);
    }
    Menu menu;
    std::shared_ptr<TableView> table = add<TableView>(Rect{0, 100, 320, 200});
};

TEST_F(Tables, MakesCellsForVisibleRowsAndSelectsTheRowTapped) {
    EXPECT_EQ(menu.log, (std::vector<std::string>{"show 鱼", "show 汤", "show 饭"}));
    EXPECT_EQ(table->contentSize().height, 22 + 3 * 44 + 22);
    ASSERT_NE(table->headerViewForSection(1), nullptr);  // an empty section still shows its title
    EXPECT_EQ(titleOf(*table->headerViewForSection(1)), "S1");
    menu.log.clear();
    // Row 1 of section 0 spans content y 66..110, i.e. window y 166..210.
    auto r = tapTitle(*window, "汤");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(menu.log, (std::vector<std::string>{"select 0.1"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 1}));
    EXPECT_TRUE(table->cellForRow({0, 1})->isSelected());
    window->tap({10, 101});  // the header: no row
    EXPECT_EQ(menu.log.size(), 1u);
    table->reloadData();
    EXPECT_FALSE(table->indexPathForSelectedRow());
}

TEST_F(Tables, ScrollingMakesOnlyTheRowsThatComeIntoView) {
    menu.sections[0].clear();
    for (int i = 0; i < 100; ++i) menu.sections[0].push_back("row" + std::to_string(i));
    table->reloadData();
    EXPECT_EQ(table->visibleCells().size(), 5u);  // 22 header + rows 0..4 within 200 points
    menu.made = 0;
    table->scrollToRow({0, 50}, ScrollPosition::Top, false);
    EXPECT_EQ(table->contentOffset().y, 22 + 50 * 44);
    EXPECT_EQ(table->indexPathsForVisibleRows().front(), (IndexPath{0, 50}));
    EXPECT_LE(menu.made, 6);
    ASSERT_TRUE(tapTitle(*window, "row51").ok);
    EXPECT_EQ(menu.log.back(), "select 0.51");
}

TEST_F(Tables, ADragScrollsWithoutSelectingAndAPullPastTheTopIsSeenWhenTheFingerLifts) {
    menu.log.clear();
    drag(*window, {100, 250}, {100, 350});  // pull down 100 points on a short list
    EXPECT_EQ(menu.log, (std::vector<std::string>{"end-drag -50"}));  // half speed past the edge
    EXPECT_TRUE(table->isDecelerating());
    EXPECT_EQ(table->contentOffset().y, 0);  // springs back
    home.loop().advanceBy(0.3);
    EXPECT_FALSE(table->isDecelerating());
}

TEST_F(Tables, SwipeShowsADeleteButtonThatCommitsTheDeletion) {
    drag(*window, {250, 150}, {150, 152});  // across row 0
    ASSERT_EQ(table->deleteConfirmationRow(), (IndexPath{0, 0}));
    EXPECT_TRUE(std::find(menu.log.begin(), menu.log.end(), "select 0.0") == menu.log.end());
    auto r = tapTitle(*window, "Delete");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(menu.log.back().substr(0, 4), "show");
    EXPECT_NE(std::find(menu.log.begin(), menu.log.end(), "delete 0"), menu.log.end());
    EXPECT_EQ(table->numberOfRows(0), 2);
    EXPECT_EQ(titleOf(*table->cellForRow({0, 0})), "汤");
    // Rows that cannot be edited offer nothing.
    menu.sections[1] = {"x"};
    table->reloadData();
    EXPECT_FALSE(table->swipeToDelete({1, 0}));
}

TEST_F(Tables, SectionIndexStripScrollsToTheSection) {
    struct Indexed : Menu {
        std::vector<std::string> sectionIndexTitles(TableView&) override { return {"A", "B"}; }
    } indexed;
    indexed.sections = {std::vector<std::string>(10, "a"), std::vector<std::string>(10, "b")};
    table->setDataSource(&indexed);
    table->setTableDelegate(&indexed);
    Rect strip = table->sectionIndexRect();
    ASSERT_FALSE(strip.isEmpty());
    window->tap({315, 100 + 150});  // lower half of the strip: "B"
    EXPECT_EQ(table->contentOffset().y, table->rectForSection(1).y());
}

struct Sexes : PickerViewDataSource, PickerViewDelegate {
    std::vector<std::string> picked;
    int numberOfComponents(PickerView&) override { return 1; }
    int numberOfRows(PickerView&, int) override { return 2; }
    std::string titleForRow(PickerView&, int row, int) override { return row == 0 ? "先生" : row == 1 ? "女士" : ""; }
    void didSelectRow(PickerView& p, int row, int c) override { picked.push_back(p.titleForRow(row, c)); }
};

TEST_F(Tables, PickerTurnsToTheRowTappedAndStaysWithinItsRows) {
    auto picker = add<PickerView>(Rect{0, 0, 300, 200});
    Sexes s;
    picker->setDataSource(&s);
    picker->setDelegate(&s);
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    window->tap({100, 140});  // one row below the centre line
    window->tap({100, 190});  // further below: still the last row, nothing new
    EXPECT_EQ(s.picked, (std::vector<std::string>{"女士"}));
    picker->selectRow(5, 0, false);
    EXPECT_EQ(picker->selectedRowInComponent(0), 1);
}

TEST_F(Tables, TimePickerStepsByItsMinuteIntervalWithinTheHour) {
    auto dp = add<DatePicker>(Rect{0, 0, 300, 200});
    dp->setMode(DatePicker::Mode::Time);
    dp->setMinuteInterval(5);
    int changes = 0;
    dp->addTarget(ControlEvent::ValueChanged, [&](Control&) { ++changes; });
    dp->setDate(lunchTime());
    EXPECT_EQ(dp->columnTitle(DatePicker::Column::Minute, 0), "55");  // 12:57 shows as 12:55
    dp->step(DatePicker::Column::Minute, 1);
    EXPECT_EQ(dp->columnTitle(DatePicker::Column::Minute, 0), "00");
    EXPECT_EQ(dp->columnTitle(DatePicker::Column::Hour, 0), "12");  // the minute wheel does not carry
    window->tap({250, 140});  // the minute column, one row down
    EXPECT_EQ(dp->columnTitle(DatePicker::Column::Minute, 0), "05");
    EXPECT_EQ(changes, 2);
    dp->setMinuteInterval(7);  // not a divisor of 60
    EXPECT_EQ(dp->minuteInterval(), 1);
}

}  // namespace
