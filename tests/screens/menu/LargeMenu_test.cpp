// A generated restaurant of thousands of dishes in two-level categories, loaded from its table
// files as a synchronisation leaves them: the menu opens, categories change, pages turn, the
// quick search finds by quick code, and a detail view pages through the menu.

#include "../../../tools/restaurantgen/RestaurantGen.h"
#include "MenuFixture.h"

namespace {

class LargeMenu : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        restaurantgen::Options o;
        o.dishes = 5000;
        o.key = NSServer::getMacAdr();
        ASSERT_TRUE(restaurantgen::writeTables(restaurantgen::makeTables(o), NSServer::getDataPath(), o.key));
        NSServer::loadCaipXml();
        ASSERT_EQ(db()->m_CaipArray.size(), 5000u);
        ASSERT_FALSE(db()->isOneLevel);
    }
};

TEST_F(LargeMenu, CategoriesPagesAndTheQuickSearchWork) {
    auto& m = openMenu();
    auto& chooser = *m.cplbController();
    const auto& tops = db()->rootCplbTrees;
    ASSERT_GE(tops.size(), 3u);
    ASSERT_FALSE(tops[2]->subCplbTrees.empty());
    tap(tops[2]->cplb->m_strCtname);
    tap(tops[2]->subCplbTrees[0]->cplb->m_strCtname);
    advance(1);
    EXPECT_EQ(m.nowCplb(), tops[2]->subCplbTrees[0]);
    EXPECT_EQ(chooser.supCplbCount(), 2);
    const int rows = m.caipTable()->numberOfRows(0);
    EXPECT_EQ(rows, (static_cast<int>(m.nowCplb()->caips.size()) + 1) / 2);
    EXPECT_LE(m.caipViewCells().size(), 20u) << "only the rows on screen are built";
    tap("下一页");
    advance(1);
    if (rows > 2 * 3) {
        EXPECT_EQ(m.caipTable()->indexPathForRowAt(m.caipTable()->contentOffset())->row, 3);
    }

    const auto& probe = db()->m_CaipArray[1234];
    tap("简码或菜名");
    type(probe->m_strCXDM);
    ASSERT_FALSE(m.nowCplb()->caips.empty());
    EXPECT_NE(std::find(m.nowCplb()->caips.begin(), m.nowCplb()->caips.end(), probe), m.nowCplb()->caips.end());
    for (const auto& dish : m.nowCplb()->caips)
        EXPECT_TRUE(dish->m_strCXDM.find(probe->m_strCXDM) != std::string::npos ||
                    dish->m_strName.find(probe->m_strCXDM) != std::string::npos);

    // A dish picked from the result orders and opens; its detail view pages on through the menu.
    select(0);
    EXPECT_EQ(lines().size() + (root->quickCaipViewController ? 1u : 0u), 1u);
    root->quickCaipViewController = nullptr;
    advance(1);
    tapOn(*tile(0)->ShowCaipB);
    auto& detail = *root->caipViewController;
    const std::string first = detail.m_dish()->caipID();
    detail.nextCaip();
    advance(1);
    EXPECT_NE(detail.m_dish()->caipID(), first);
}

}  // namespace
