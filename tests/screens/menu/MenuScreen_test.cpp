// The dish menu screen as a waiter works it: display modes and the marker file that keeps the
// text list, paging, category changes with their announcements, the special lists and the quick
// search, the ordered-count badge and the function menu's sold-out list.

#include "MenuFixture.h"
#include "platform/foundation/FileSystem.h"
#include "screens/menu/UITaoCanViewController.h"

namespace {

class MenuScreen : public MenuFixture {};

using Bytes = std::vector<std::string>;

TEST_F(MenuScreen, RowsFollowTheModeAndTheTextListIsKeptAcrossStarts) {
    auto cats = flatMenu({5, 0});
    auto& m = openMenu();
    auto& table = *m.caipTable();
    struct Case { const char* button; int mode; int rows; bool marker; } cases[] = {
        {"列表", UISelectCaipViewController::kTextList, 5, true},
        {"图文", UISelectCaipViewController::kPictureList, 5, true},  // the list mode leaves the file alone
        {"大图", UISelectCaipViewController::kPictureGrid, 3, false},
    };
    for (const auto& c : cases) {
        tap(c.button);
        advance(1);
        EXPECT_EQ(m.showType(), c.mode) << c.button;
        EXPECT_EQ(table.numberOfRows(0), c.rows) << c.button;
        EXPECT_EQ(platform::fs::exists(dataFile("nopig.dat")), c.marker) << c.button;
    }
    // The empty category still has its one row.
    m.setNowCplb(cats[1]);
    m.flashCaip();
    EXPECT_EQ(table.numberOfRows(0), 1);

    tap("列表");
    advance(1);
    UISelectCaipViewController next;
    EXPECT_EQ(next.showType(), UISelectCaipViewController::kTextList) << "a new menu opens in the text list";
}

TEST_F(MenuScreen, PagesTurnByTheModesStepAndStopAtTheEnd) {
    flatMenu({40, 10});
    auto& m = openMenu();
    tap("列表");
    advance(1);
    auto& table = *m.caipTable();
    auto topRow = [&] { return table.indexPathForRowAt(table.contentOffset())->row; };
    heard(1);  // the menu opened
    tap("下一页");
    advance(1);
    EXPECT_EQ(topRow(), 16);
    EXPECT_EQ(heard(1), Bytes{"<nextpage:A1:>"});
    tap("上一页");
    advance(1);
    EXPECT_EQ(topRow(), 0);

    tap("类1");  // 10 rows: shorter than a page
    advance(1);
    tap("下一页");
    advance(1);
    EXPECT_EQ(topRow(), 0);

    m.setNowCplb(std::make_shared<NSCplbTreeClass>());  // nothing to page over
    m.flashCaip();
    tap("下一页");
    tap("上一页");
    advance(1);
    EXPECT_EQ(topRow(), 0);
}

TEST_F(MenuScreen, ACategoryChangeIsAnnouncedOnlyWhenTheCategoryReallyChanges) {
    flatMenu({3, 4});
    auto& m = openMenu();
    heard(1);
    tap("类1");
    EXPECT_EQ(heard(1), Bytes{"<leib:A1:C1>"});
    EXPECT_FALSE(m.canTouch()) << "the page curl holds taps";
    advance(1);
    EXPECT_TRUE(m.canTouch());
    EXPECT_EQ(m.nowCplb()->caips.size(), 4u);
    EXPECT_EQ(m.cplbController()->supCplbCount(), 1) << "a one-level row moves into the top-level index";
    EXPECT_EQ(m.cplbController()->subCplbCount(), 0);

    tap("类1");  // the same again: no sound, no announcement, no curl
    EXPECT_TRUE(m.canTouch());
    EXPECT_EQ(heard(0), Bytes{});

    // After a search result, the same category counts as a change.
    m.caipSearchBar()->setText("菜0");
    EXPECT_EQ(m.nowCplb()->caips.size(), 3u);
    advance(1);
    heard(0);
    tap("类1");
    EXPECT_EQ(heard(1), Bytes{"<leib:A1:C1>"});
}

TEST_F(MenuScreen, SpecialListsShowTheListedDishesAndLightTheirButton) {
    auto cats = flatMenu({4});
    platform::fs::writeAtomically(dataFile("Recommend.dat"),
                                  R"(<root><data><row code="D0-2"/><row code="nothing"/><row code="D0-0"/></data></root>)");
    auto& m = openMenu();
    heard(1);
    tap("特色菜");
    ASSERT_EQ(m.nowCplb()->caips.size(), 2u);
    EXPECT_EQ(m.nowCplb()->caips[0]->strID(), "D0-2") << "in the file's order";
    EXPECT_EQ(m.bt_recom()->alpha(), 1.0);
    EXPECT_LT(m.bt_daily()->alpha(), 0.1);
    EXPECT_EQ(heard(1), Bytes{"<recommend:A1:>"});
    advance(1);

    tap("新菜");  // no file: an empty list, announced and curled all the same
    EXPECT_TRUE(m.nowCplb()->caips.empty());
    EXPECT_EQ(m.bt_daily()->alpha(), 1.0);
    EXPECT_EQ(heard(1), Bytes{"<dailynew:A1:>"});
    platform::fs::writeAtomically(dataFile("Dailynew.dat"), "<root><data><row code=");  // damaged
    advance(1);
    tap("新菜");
    EXPECT_TRUE(m.nowCplb()->caips.empty());
}

TEST_F(MenuScreen, QuickSearchSwitchesToTheTextListAndClearingKeepsTheResult) {
    auto cats = flatMenu({3});
    cats[0]->caips[1]->m_strCXDM = "HSR";
    auto& m = openMenu();
    ASSERT_EQ(m.showType(), UISelectCaipViewController::kPictureGrid);
    tap("简码或菜名");
    type("hs");
    EXPECT_EQ(m.showType(), UISelectCaipViewController::kTextList);
    EXPECT_TRUE(platform::fs::exists(dataFile("nopig.dat")));
    ASSERT_EQ(m.nowCplb()->caips.size(), 1u) << "lower case finds the quick code";
    EXPECT_EQ(m.nowCplb()->caips[0], cats[0]->caips[1]);
    m.caipSearchBar()->setText("");
    EXPECT_EQ(m.nowCplb()->caips.size(), 1u);
}

TEST_F(MenuScreen, TheBadgeCountsTheDesksDishesOutsideSetMealAddMode) {
    flatMenu({2});
    auto& m = openMenu();
    EXPECT_EQ(m.iv_yuan()->alpha(), 0);
    EXPECT_EQ(m.lb_dln()->text(), "");
    select(0);
    select(1);
    EXPECT_EQ(m.lb_dln()->alpha(), 1);
    EXPECT_EQ(m.lb_dln()->text(), "2");
    m.setType(UISelectCaipViewController::kSetMealAdd);
    m.flashCaip();
    EXPECT_EQ(m.lb_dln()->alpha(), 0);
}

TEST_F(MenuScreen, TheFunctionMenuShowsTheSoldOutListAfterTheRefresh) {
    auto cats = flatMenu({2});
    sim.setSellOut({{"D0-1", "0"}});
    openMenu();
    tap("功能");
    tap("查看沽清");
    settle();
    ASSERT_TRUE(root->taoCanViewController) << alertMessage() << " / " << panelText().value_or("");
    EXPECT_EQ(root->taoCanViewController->type(), UITaoCanViewController::kSoldOut);
    ASSERT_EQ(root->taoCanViewController->m_ExDishs().size(), 1u);
    EXPECT_EQ(root->taoCanViewController->m_ExDishs()[0]->m_strCaipName, "菜0-1");
    EXPECT_NE(tile(1)->priceL->text().find("(已沽清)"), std::string::npos) << "the menu shows the new mark";
}

}  // namespace
