// The category chooser: an accordion over a two-level menu, the tags that carry the indexes, the
// highlight, the touch lock, and open flags that follow a changed menu.

#include "MenuFixture.h"

namespace {

class Chooser : public MenuFixture {
protected:
    // Two top-level categories with two and no sub-categories, and a third with one.
    void twoLevels() {
        db()->m_CaipArray.clear();
        db()->isOneLevel = false;
        auto hot = category("01", "热菜"), cold = category("02", "凉菜"), soup = category("03", "汤");
        auto fried = category("0101", "小炒"), stewed = category("0102", "炖菜"), clear = category("0301", "清汤");
        hot->subCplbTrees = {fried, stewed};
        soup->subCplbTrees = {clear};
        addDish(fried, "F1", "炒饭");
        addDish(stewed, "S1", "炖肉");
        addDish(cold, "C1", "拌菜");
        db()->rootCplbTrees = {hot, cold, soup};
    }
    UICplbViewController& chooser() { return *menu().cplbController(); }
};

TEST_F(Chooser, HeadersOpenOneAtATimeAndRowsCarryTheirIndexes) {
    twoLevels();
    openMenu();
    auto& table = *chooser().cplbTable();
    EXPECT_EQ(table.numberOfSections(), 3);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(table.numberOfRows(s), 0) << "all closed at first";

    tap("热菜");
    EXPECT_EQ(table.numberOfRows(0), 2);
    tap("凉菜");
    EXPECT_EQ(table.numberOfRows(0), 0) << "opening one closes the other";
    EXPECT_EQ(table.numberOfRows(1), 1) << "a category without sub-categories lists itself";
    EXPECT_TRUE(shows("凉菜"));

    tap("汤");
    tap("清汤");
    EXPECT_EQ(chooser().supCplbCount(), 2);
    EXPECT_EQ(chooser().subCplbCount(), 0);
    EXPECT_EQ(chooser().selectButtontag(), 2 * UICplbViewController::kSectionTag);
    EXPECT_EQ(menu().nowCplb()->cplb->m_strUid, "0301");
    advance(1);

    tap("热菜");
    tap("炖菜");
    EXPECT_EQ(chooser().selectButtontag(), 1);
    EXPECT_EQ(menu().nowCplb()->caips[0]->m_strName, "炖肉");
    tap("小炒");
    EXPECT_EQ(menu().nowCplb()->cplb->m_strUid, "0102") << "a row tap during the page curl changes nothing";
    advance(1);
    tap("热菜");
    tap("热菜");
    EXPECT_EQ(table.numberOfRows(0), 2) << "closed, then open again";
}

TEST_F(Chooser, EveryCategoryIsWithinReachAndNoHeaderNameRunsIntoItsChevron) {
    // A restaurant's top level, the first category with three below it; then thirty categories,
    // more than the column's height holds.
    const std::vector<std::string> names = {"热菜", "凉菜", "海鲜河鲜", "汤羹", "主食点心", "超值套餐",
                                            "甜品", "酒水饮料", "特色小吃", "时令蔬菜", "烧烤"};
    auto topLevel = [&](int count) {
        db()->m_CaipArray.clear();
        db()->isOneLevel = false;
        db()->rootCplbTrees.clear();
        for (int k = 0; k < count; ++k) {
            const std::string name = k < static_cast<int>(names.size()) ? names[k] : "类" + std::to_string(k);
            auto node = category(std::to_string(10 + k), name);
            addDish(node, "D" + std::to_string(k), "菜" + std::to_string(k));
            db()->rootCplbTrees.push_back(node);
        }
        for (const char* sub : {"川湘小炒", "粤式烧腊", "家常菜"}) {
            auto node = category(std::string("20") + sub, sub);
            addDish(node, std::string("S") + sub, sub);
            db()->rootCplbTrees[0]->subCplbTrees.push_back(node);
        }
    };
    topLevel(static_cast<int>(names.size()));
    openMenu();
    auto& table = *chooser().cplbTable();
    tap("热菜");
    ASSERT_EQ(table.numberOfRows(0), 3);
    // The header picture's chevron sits in the lower-right corner of the 40-point header.
    const ui::Rect chevron{53, 28, 8, 8};
    for (int s = 0; s < table.numberOfSections(); ++s) {
        auto header = table.headerViewForSection(s);
        ASSERT_TRUE(header) << names[s] << " is not drawn\n" << dump();
        for (const auto& sub : header->subviews()) {
            auto* label = dynamic_cast<ui::Label*>(sub.get());
            if (!label) continue;
            const ui::Size text = ui::measureText(label->text(), label->font(), label->frame().width());
            const ui::Rect drawn{label->frame().x(), label->frame().midY() - text.height / 2, text.width, text.height};
            EXPECT_FALSE(drawn.intersects(chevron)) << label->text();
        }
    }
    tap("烧烤");  // the last one: opening it closes 热菜
    tapTag(10 * UICplbViewController::kSectionTag);  // its row
    EXPECT_EQ(menu().nowCplb()->cplb->m_strUid, "20");

    topLevel(30);
    table.reloadData();
    auto r = ui::dragViewBy(*window, table, {0, -900}, 0.5);
    ASSERT_TRUE(r.ok) << r.error;
    advance(1);
    tap("类29");
    tapTag(29 * UICplbViewController::kSectionTag);
    EXPECT_EQ(menu().nowCplb()->cplb->m_strUid, "39") << "the column scrolls to the last";
}

TEST_F(Chooser, TheOpenFlagsFollowTheNumberOfCategoriesAfterTheMenuChanged) {
    twoLevels();
    openMenu();
    auto& table = *chooser().cplbTable();
    tap("汤");
    EXPECT_EQ(table.numberOfRows(2), 1);
    // A synchronisation leaves one top-level category fewer, then two more.
    db()->rootCplbTrees.pop_back();
    table.reloadData();
    EXPECT_EQ(chooser().sections_isopen().size(), 2u);
    db()->rootCplbTrees.push_back(category("04", "点心"));
    db()->rootCplbTrees.push_back(category("05", "酒水"));
    table.reloadData();
    ASSERT_EQ(table.numberOfSections(), 4);
    tap("酒水");
    EXPECT_EQ(table.numberOfRows(3), 1);
}

TEST_F(Chooser, ARestrictedOneLevelMenuOffersNoRows) {
    auto cats = flatMenu({1, 1});
    root->begin(std::string("C0"));  // a menu restricted to one category
    settle();
    EXPECT_EQ(chooser().cplbTable()->numberOfSections(), 0);
    EXPECT_EQ(menu().nowCplb(), cats[0]);
    NSServer::setUseCplbTree(nullptr);
}

}  // namespace
