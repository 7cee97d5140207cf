// The set-meal screen and the sold-out list: the expansion from the set-meal table, count and
// total, removal, reopening, items whose dish the menu lacks, and the read-only sold-out mode.

#include "MenuFixture.h"
#include "screens/menu/UITaoCanViewController.h"

namespace {

class SetMeal : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        cats = flatMenu({3});
        cats[0]->caips[0]->m_strPrice = "12.5";
        cats[0]->caips[1]->m_strPrice = "8";
        meal = addDish(nullptr, "S1", "家常套餐", "30");
        meal->m_bisSet = true;
        auto& bom = *db()->m_Bom;
        bom.m_str1 = {"", "S1", "S1", "S1"};
        bom.m_str2 = {"", "D0-0", "D0-1", "D0-1;D0-2"};
        setLine = std::make_shared<NSDishClass>();
        setLine->CopyCaip(meal);
        setLine->m_fQuantity = 1;
        openMenu();
    }
    UITaoCanViewController& open(const std::shared_ptr<NSDishClass>& line) {
        root->showBomDish(line);
        settle();
        return *root->taoCanViewController;
    }

    std::vector<std::shared_ptr<NSCplbTreeClass>> cats;
    std::shared_ptr<NSCaipClass> meal;
    std::shared_ptr<NSDishClass> setLine;
};

TEST_F(SetMeal, ItemsComeFromTheSetMealTableOnceAndRemovalKeepsTheTotalsRight) {
    auto& s = open(setLine);
    ASSERT_EQ(setLine->m_ExDishs.size(), 2u) << "the row of candidates is the chooser's business";
    EXPECT_EQ(s.lb_shul()->text(), "2");
    EXPECT_EQ(s.lb_money()->text(), "20.5");
    EXPECT_EQ(s.lb_moneytitle()->text(), "总份数/总金额:");
    EXPECT_TRUE(shows("菜0-0"));

    tapOn(*s.caipViewCells()[0]->SelCaipB);  // remove
    EXPECT_EQ(s.lb_shul()->text(), "1");
    EXPECT_EQ(s.lb_money()->text(), "8");
    ASSERT_EQ(s.caipViewCells().size(), 1u) << "one holder per row";
    EXPECT_EQ(s.caipViewCells()[0]->SelCaipB->tag(), 0);
    s.tb_dishs()->reloadData();
    s.tb_dishs()->reloadData();
    EXPECT_EQ(s.caipViewCells().size(), 1u);

    tap("返回");
    settle();
    EXPECT_FALSE(root->taoCanViewController);
    db()->m_Bom->m_str1.clear();  // reopening does not read the table again
    auto& again = open(setLine);
    EXPECT_EQ(again.m_ExDishs().size(), 1u);
    EXPECT_EQ(again.m_ExCaips().size(), 1u);
}

TEST_F(SetMeal, AnItemWhoseDishTheMenuLacksKeepsItsPlaceInBothLists) {
    auto item = [&](const std::string& id, const std::string& name) {
        auto l = std::make_shared<NSDishClass>();
        l->setM_strCaipID(id);
        l->m_strCaipName = name;
        l->m_strPrice = "5";
        l->m_fQuantity = 1;
        l->m_bisExp = true;
        return l;
    };
    setLine->m_bisExp = true;
    setLine->m_ExDishs = {item("D0-0", "菜0-0"), item("GONE", "旧菜"), item("D0-2", "菜0-2")};
    auto& s = open(setLine);
    ASSERT_EQ(s.m_ExCaips().size(), 3u);
    EXPECT_EQ(s.m_ExCaips()[1]->m_strName, "旧菜");
    EXPECT_TRUE(shows("旧菜"));
    EXPECT_TRUE(shows("菜0-2"));
    s.removeBomCai(1);
    ASSERT_EQ(setLine->m_ExDishs.size(), 2u);
    EXPECT_EQ(setLine->m_ExDishs[1]->caipID(), "D0-2");
    EXPECT_EQ(s.m_ExCaips()[1]->strID(), "D0-2");
}

TEST_F(SetMeal, AnItemOpensItsDetailViewAndSoldOutMarksShow) {
    db()->m_SellOut->AddItem("D0-0", "", "0");
    db()->m_SellOut->AddItem("D0-1", "", "2");
    auto& s = open(setLine);
    ASSERT_EQ(s.caipViewCells().size(), 2u);
    EXPECT_NE(s.caipViewCells()[0]->priceL->text().find("(已沽清)"), std::string::npos);
    EXPECT_EQ(s.caipViewCells()[0]->SelCaipB->currentTitle(), "已沽清");
    EXPECT_NE(s.caipViewCells()[1]->priceL->text().find("(剩余2)"), std::string::npos);
    tapOn(*s.caipViewCells()[1]->ShowCaipB);
    ASSERT_TRUE(root->bom_caipViewController);
    EXPECT_EQ(root->bom_caipViewController->m_dish(), setLine->m_ExDishs[1]);
}

// A set meal ordered from its detail view, with an item added through set-meal add mode and the
// line editor: the item lands on the set-meal screen with its dish beside it (tile, count and
// total show it), and ordering the set meal puts it on the desk as one group with its items.
TEST_F(SetMeal, AnItemCommittedInTheLineEditorJoinsTheSetMealAndIsOrderedWithIt) {
    for (auto* column : {&db()->m_Bom->m_str1, &db()->m_Bom->m_str2}) column->resize(3);  // no choice: no chooser
    ASSERT_TRUE(root->showBigCaip1(meal));
    root->showBigCaip();
    settle();
    auto& detail = *root->caipViewController;
    auto setMeal = detail.m_dish();
    tap("套餐");
    settle();
    auto& s = *root->taoCanViewController;
    ASSERT_EQ(s.m_dish(), setMeal);
    tap("添加");
    settle();
    auto& addMenu = *root->bom_selectCaipViewController;
    ASSERT_TRUE(addMenu.tileAt(2));
    tapOn(*addMenu.tileAt(2)->ShowCaipB);
    settle();
    ASSERT_TRUE(root->bom_caipViewController);
    EXPECT_EQ(root->bom_caipViewController->type(), UICaipViewController::kFromSetMealAdd);
    tap("点菜");
    settle();
    ASSERT_TRUE(root->quickCaipViewController);
    tap(SwitchViewController::word("onok2"));
    settle();
    EXPECT_FALSE(root->quickCaipViewController);
    EXPECT_FALSE(root->bom_caipViewController) << "back to the dish menu of add mode";
    ASSERT_EQ(setMeal->m_ExDishs.size(), 3u);
    ASSERT_EQ(s.m_ExCaips().size(), 3u) << "the two lists in step";
    EXPECT_EQ(s.m_ExCaips()[2]->strID(), "D0-2");
    EXPECT_TRUE(setMeal->m_ExDishs[2]->m_bisExp);
    EXPECT_EQ(panelText().value_or(""), "已将菜0-2加入套餐家常套餐");

    advance(3.5);  // the message panel clears off the back button
    tap("返回");  // leaves add mode
    settle();
    EXPECT_EQ(s.lb_shul()->text(), "3");
    EXPECT_EQ(s.lb_money()->text(), "30.5");
    ASSERT_EQ(s.caipViewCells().size(), 3u);
    EXPECT_EQ(s.caipViewCells()[2]->nameL->text(), "菜0-2");
    EXPECT_TRUE(lines().empty()) << "the desk is not touched before the set meal is ordered";

    tap("返回");  // the set-meal screen, back to the detail view
    settle();
    tap("点菜");
    settle();
    tap(SwitchViewController::word("onok2"));
    settle();
    struct Want { const char* id; bool head; } want[] = {{"S1", true}, {"D0-0", false}, {"D0-1", false}, {"D0-2", false}};
    ASSERT_EQ(lines().size(), std::size(want));
    for (std::size_t k = 0; k < std::size(want); ++k) {
        EXPECT_EQ(lines()[k]->caipID(), want[k].id) << k;
        EXPECT_EQ(lines()[k]->m_bisSet, want[k].head) << k;
        EXPECT_TRUE(lines()[k]->m_bisExp) << k;
        EXPECT_EQ(lines()[k]->m_parentpos, 0) << k << ": one group under the head";
    }
}

TEST_F(SetMeal, TheSoldOutListIsReadOnly) {
    db()->m_SellOut->AddItem("D0-1", "", "0");
    root->showSellOutList();
    settle();
    auto& s = *root->taoCanViewController;
    EXPECT_EQ(s.lb_title()->text(), "沽清列表");
    EXPECT_EQ(s.bt_add()->alpha(), 0);
    EXPECT_EQ(s.lb_shul()->text(), "");
    EXPECT_FALSE(shows("移除"));
    ASSERT_EQ(s.caipViewCells().size(), 1u);
    tapOn(*s.caipViewCells()[0]->ShowCaipB);
    EXPECT_FALSE(root->bom_caipViewController);
}

// Each sold-out row shows its dish's description whole, inside its own height and beside nothing
// it would run into, however long the description is.
TEST_F(SetMeal, ASoldOutRowHoldsItsWholeDescription) {
    const std::string described[][2] = {
        {"D0-0", "现捞现称"},
        {"D0-1", "主料:鲍鱼、海参、花胶、瑶柱\r\n每日限量，售完即止，请提前预订。本店招牌，选用上等食材慢火煨制八小时"},
        {"D0-2", std::string(40, 'x') + "\n" + "第二行\n第三行\n第四行\n第五行"},
    };
    for (const auto& [id, text] : described) {
        platform::fs::writeAtomically(NSServer::getCaippicPath() + "/" + id + "M.TXT", text);
        db()->m_SellOut->AddItem(id, "", "0");
    }
    root->showSellOutList();
    settle();
    auto& s = *root->taoCanViewController;
    auto& table = *s.tb_dishs();
    ASSERT_EQ(s.caipViewCells().size(), std::size(described));
    for (std::size_t k = 0; k < std::size(described); ++k) {
        SCOPED_TRACE(described[k][0]);
        const int row = static_cast<int>(k);
        const NSCaipViewCell& tile = *s.caipViewCells()[k];
        const ui::Rect text = tile.textL->frame();
        EXPECT_EQ(tile.textL->text(), described[k][1]);
        const double inner = text.width() - 16;  // a text view's margins
        EXPECT_LE(ui::measureText(described[k][1], tile.textL->font(), inner).height + 16, text.height() + 0.5)
            << "cut off";
        EXPECT_LE(text.maxY(), s.heightForRow(table, {0, row})) << "spills below its row";
        EXPECT_GE(text.width(), table.bounds().width() / 2) << "squeezed";
        for (const ui::View* other : {static_cast<const ui::View*>(tile.priceL.get()), static_cast<const ui::View*>(tile.nameL.get())})
            EXPECT_FALSE(text.intersects(other->frame())) << "runs into " << static_cast<const ui::Label*>(other)->text();
    }
}

}  // namespace
