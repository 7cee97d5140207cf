// Choosing dishes from their tiles: a new line, the confirmation before another unit, merging
// into plain unsent lines only, the rubbish-bin restore with its group, the hand-off to the
// order-line editor, the refusals, the minus button with its renumbering, the set-meal add mode
// and the picture that flies to the list button.

#include "MenuFixture.h"
#include "screens/lineedit/UIQuickCaipViewController.h"
#include "screens/menu/UITaoCanViewController.h"

namespace {

class DishChoice : public MenuFixture {
protected:
    // A line of a dish on the desk.
    std::shared_ptr<NSDishClass> line(const std::shared_ptr<NSCaipClass>& dish, float quantity, int state,
                                      bool set = false, bool group = false) {
        auto l = std::make_shared<NSDishClass>();
        l->CopyCaip(dish);
        l->m_fQuantity = quantity;
        l->m_iState = state;
        l->m_bisSet = set;
        l->m_bisExp = group;
        return l;
    }
};

TEST_F(DishChoice, AFirstTapAddsALineAndAnotherUnitIsConfirmedFirst) {
    auto cats = flatMenu({2});
    openMenu();
    select(0);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0]->m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(lines()[0]->m_fQuantity, 1);
    EXPECT_EQ(lines()[0]->m_struid, "-1");
    EXPECT_EQ(lines()[0]->m_parentpos, 0);
    EXPECT_EQ(tile(0)->shul_l->text(), "1") << "the badge";

    select(0);
    EXPECT_EQ(alertMessage(), "本桌已点过该菜品，是否再点一份？");
    tap("取消");
    EXPECT_EQ(lines()[0]->m_fQuantity, 1);
    select(0);
    tap("确定");
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0]->m_fQuantity, 2);
}

TEST_F(DishChoice, OnlyAPlainUnsentLineTakesTheUnit) {
    auto cats = flatMenu({1});
    auto dish = cats[0]->caips[0];
    struct Case { const char* what; int state; bool set, group; } cases[] = {
        {"a sent line", 6, false, false},
        {"an item of a set meal", NSDishClass::kUnsent, false, true},
        {"a group head", NSDishClass::kUnsent, true, true},
    };
    for (const auto& c : cases) {
        lines() = {line(dish, 1, c.state, c.set, c.group)};
        openMenu();
        select(0);
        if (!alerts().empty()) tap("确定");  // the tile shows an unsent quantity: asked first
        ASSERT_EQ(lines().size(), 2u) << c.what;
        EXPECT_EQ(lines()[0]->m_fQuantity, 1) << c.what << " keeps its quantity";
        EXPECT_EQ(lines()[1]->m_parentpos, 1) << c.what;
    }
}

TEST_F(DishChoice, ASoldOutOrNamelessDishFliesButChangesNothing) {
    auto cats = flatMenu({2});
    db()->m_SellOut->AddItem("D0-0", "", "0");
    cats[0]->caips[1]->m_strName = "";
    auto& m = openMenu();
    select(0);
    EXPECT_EQ(alertMessage(), "该菜品已沽清");
    EXPECT_EQ(m.flyingPictures(), 1u) << "the picture flies before the refusal";
    tap("确定");
    select(1);
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(lines().empty());
    advance(0.6);
    EXPECT_EQ(m.flyingPictures(), 0u) << "a flown picture leaves the screen";
    for (auto& v : m.view()->subviews()) EXPECT_NE(v->tag(), 1) << "no flown picture is left behind";
}

TEST_F(DishChoice, DishesThatNeedMoreChoicesGoToTheEditor) {
    auto cats = flatMenu({3});
    cats[0]->caips[0]->m_strDanw = "位";
    cats[0]->caips[1]->m_iMustzuof = 8;
    cats[0]->caips[2]->m_bCustom = true;
    NSServer::setIsWaiterUser(true);
    openMenu();
    for (int i = 0; i < 3; ++i) {
        select(i);
        ASSERT_TRUE(root->quickCaipViewController) << i;
        EXPECT_EQ(root->quickCaipViewController->m_dish()->m_parentpos, 0) << i;
        EXPECT_TRUE(lines().empty()) << "the editor adds the line, not the menu";
        root->quickCaipViewController = nullptr;
    }
    NSServer::setIsWaiterUser(false);
    select(2);
    EXPECT_EQ(alertMessage(), "自定义菜品需服务员登录后才能点");
}

TEST_F(DishChoice, MinusLowersThenBinsAndAGroupLeavesAndComesBackWhole) {
    auto cats = flatMenu({3});
    auto head = cats[0]->caips[0], addOn = cats[0]->caips[1], plain = cats[0]->caips[2];
    lines() = {line(plain, 2.5, 6), line(plain, 1, 6), line(head, 1, NSDishClass::kUnsent, true, true),
               line(addOn, 1, NSDishClass::kUnsent, false, true), line(addOn, 1, NSDishClass::kUnsent, false, true),
               line(plain, 2.5, NSDishClass::kUnsent)};
    for (int k : {2, 3, 4}) lines()[k]->m_parentpos = 2;
    lines()[5]->m_parentpos = 5;
    openMenu();

    minus(2);
    EXPECT_EQ(lines()[5]->m_fQuantity, 1.5f);
    minus(1);
    EXPECT_EQ(*root->messageViewController->messageLabel()->text().c_str(), *"套餐明细请在套餐中修改");
    EXPECT_EQ(lines().size(), 6u);

    minus(0);  // the head takes its group into the bin
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_EQ(NSServer::getRubbishs()->size(), 3u);
    EXPECT_EQ(lines()[2]->caipID(), "D0-2");
    EXPECT_EQ(lines()[2]->m_parentpos, 2) << "renumbered";

    select(0);  // back from the bin: the head at the end, its group after it
    ASSERT_EQ(lines().size(), 6u);
    EXPECT_TRUE(NSServer::getRubbishs()->empty());
    for (int k : {3, 4, 5}) EXPECT_EQ(lines()[k]->m_parentpos, 3) << k;
    EXPECT_EQ(panelText().value_or(""), "已恢复删除的菜0-0");

    minus(2);
    minus(2);  // 1.5, then 0.5: the line goes
    EXPECT_EQ(lines().size(), 5u);

    // An item alone in the bin never comes back: the dish gets a new line.
    lines().clear();
    NSServer::getRubbishs()->assign({line(addOn, 1, NSDishClass::kUnsent, false, true)});
    menu().flashCaip();
    select(1);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_FALSE(lines()[0]->m_bisExp);
    EXPECT_EQ(NSServer::getRubbishs()->size(), 1u);
}

TEST_F(DishChoice, SetMealAddModeMakesItemsAndMinusAddsNothing) {
    auto cats = flatMenu({3});
    auto meal = addDish(nullptr, "S1", "家常套餐", "50");
    meal->m_bisSet = true;
    db()->m_SellOut->AddItem("D0-1", "", "0");
    auto setLine = line(meal, 1, NSDishClass::kUnsent, true, true);
    setLine->m_parentpos = 4;
    openMenu();
    root->showBomDish(setLine);
    settle();
    tap("添加");
    settle();
    auto& addMenu = *root->bom_selectCaipViewController;
    ASSERT_EQ(addMenu.type(), UISelectCaipViewController::kSetMealAdd);
    auto tapTile = [&](int i, bool plus) {
        auto t = addMenu.tileAt(i);
        ASSERT_TRUE(t);
        tapOn(plus ? *t->SelCaipB : *t->cancelCaipB);
    };
    tapTile(0, true);
    ASSERT_EQ(setLine->m_ExDishs.size(), 1u);
    EXPECT_EQ(setLine->m_ExDishs[0]->m_parentpos, 4);
    EXPECT_TRUE(setLine->m_ExDishs[0]->m_bisExp);
    EXPECT_EQ(panelText().value_or(""), "已将菜0-0加入套餐家常套餐");
    tapTile(0, false);
    EXPECT_EQ(setLine->m_ExDishs.size(), 1u) << "minus adds nothing";
    tapTile(1, true);
    EXPECT_EQ(alertMessage(), "该菜品已沽清，不能加入套餐");
    EXPECT_EQ(setLine->m_ExDishs.size(), root->taoCanViewController->m_ExCaips().size()) << "the two lists in step";
    EXPECT_TRUE(lines().empty()) << "the desk is not touched";
}

}  // namespace
