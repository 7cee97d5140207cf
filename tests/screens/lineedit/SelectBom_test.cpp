// The set-meal chooser worked by taps: the choice groups with their candidates, picks, automatic
// picks and method picker, then the summary page and the commit into the desk.

#include "LineEditFixture.h"
#include "platform/foundation/Text.h"
#include "platform/ui/TableViewCell.h"
#include "screens/lineedit/UISelectBomViewController.h"

namespace {

class SelectBom : public LineEditFixture {
protected:
    void SetUp() override {
        LineEditFixture::SetUp();
        dish("F2").m_iMultizuof = 0;
        addDish("S1", "双人套餐", "0", "份").m_bisSet = true;
        addDish("S3", "甜品套餐", "0", "份").m_bisSet = true;
        auto bom = std::make_shared<NSATreeClass>();
        struct Row { const char* set; const char* candidates; const char* count; const char* group; } rows[] = {
            {"S1", "F1,1;B1,1", "2", "主菜"},
            {"S1", "E1", "1", "小菜"},       // one candidate needing no method: picked by itself
            {"S1", "X9;F2", "1", ""},        // X9 is no menu dish; F2 needs a method
            {"S3", "X1;X2", "-2", "甜品"},   // nothing to show and a negative count
        };
        db->m_BomGroupName = {""};
        for (const Row& r : rows) {
            bom->m_str1.push_back(r.set);
            bom->m_str2.push_back(r.candidates);
            bom->m_name.push_back(r.count);
            db->m_BomGroupName.push_back(r.group);
        }
        db->m_Bom = bom;
        desk->m_DishList = {newLine("B1"), newLine("B1"), newLine("E1"), newLine("F1")};
    }

    std::shared_ptr<UISelectBomViewController> open(const std::string& id) {
        EXPECT_FALSE(root->showBigCaip1(db->GetCaipFromID(id)));
        advance(0.3);
        return root->selectBomViewController.get();
    }
    void next(UISelectBomViewController& c) { tapView(*c.bt_next); }
    // The walk of S1 with 鲈鱼 twice and 牛排 braised, up to the summary page.
    std::shared_ptr<UISelectBomViewController> walkToSummary() {
        auto c = open("S1");
        tapView(*c->canSelectBtns[0]);
        tapView(*c->canSelectBtns[0]);
        next(*c);
        tapView(*c->canSelectBtns[0]);
        choose(c->selectViewController, {1});
        next(*c);
        return c;
    }
    std::vector<std::string> summary(const UISelectBomViewController& c) {
        std::vector<std::string> rows;
        for (auto& line : c.allSelectDishs)
            rows.push_back(platform::fmt("%@ %g %@", line->m_strCaipName, line->m_fQuantity, line->GetKouwIDString()));
        return rows;
    }
    // The summary row's control titled `title`.
    void tapRow(UISelectBomViewController& c, int row, const std::string& title) {
        auto cell = c.tv_list->cellForRow(ui::IndexPath{0, row});
        ASSERT_TRUE(cell) << "row " << row << " is not on screen";
        tapIn(*cell, title);
    }
};

TEST_F(SelectBom, GroupsOfferTheirCandidatesAndMergeThePicks) {
    auto c = open("S1");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->first_L->text(), "请从主菜中选择2份");
    ASSERT_EQ(c->canSelectBtns.size(), 2u);
    EXPECT_EQ(c->canSelectBtns[0]->frame(), (ui::Rect{15, 73, 94, 40}));
    EXPECT_EQ(c->canSelectBtns[1]->frame(), (ui::Rect{111, 73, 94, 40}));
    EXPECT_EQ(c->canSelectBtns[1]->currentTitle(), "啤酒");

    for (int i = 0; i < 3; ++i) tapView(*c->canSelectBtns[0]);
    EXPECT_EQ(c->nowSelectDishs.size(), 2u) << "a pick beyond the count is ignored";
    tapView(*c->hasSelectBtns[0]);
    ASSERT_EQ(c->hasSelectBtns.size(), 1u);
    EXPECT_EQ(c->hasSelectBtns[0]->tag(), 0);
    next(*c);
    EXPECT_EQ(alertMessage(), "还需选择1份");
    tapIn(*alerts().back(), "确定");
    advance(0.5);
    EXPECT_EQ(c->first_L->text(), "请从主菜中选择2份") << "the group stays open";

    c->QuantityAdd5();
    tapView(*c->canSelectBtns[0]);
    EXPECT_EQ(c->bomQ_L->text(), "1") << "any pick sets the number of sets back to 1";
    next(*c);

    // The second group passed by itself; the third shows only the dish the menu knows.
    EXPECT_EQ(c->first_L->text(), "请选择1份");
    ASSERT_EQ(c->canSelectBtns.size(), 1u);
    EXPECT_EQ(c->canSelectBtns[0]->currentTitle(), "牛排");
    EXPECT_EQ(c->canSelectBtns[0]->frame(), (ui::Rect{15, 73, 94, 40}));
    tapView(*c->canSelectBtns[0]);
    ASSERT_TRUE(c->selectViewController) << "a dish that needs a method asks for it";
    advance(0.3);
    EXPECT_EQ(c->selectViewController->m_title->text(), "请选择做法");
    tapPoint(*c->selectViewController->m_panel, c->selectViewController->m_btUp->location);  // cancel
    advance(0.3);
    EXPECT_TRUE(c->nowSelectDishs.empty()) << "a cancelled method picker adds no pick";
    tapView(*c->canSelectBtns[0]);
    choose(c->selectViewController, {1});
    next(*c);

    EXPECT_EQ(summary(*c), (std::vector<std::string>{"主菜 0 ", "鲈鱼 2 ", "小菜 0 ", "加蛋 1 ", "牛排 1 M2"}));
    EXPECT_FALSE(c->selectBomView->superview());
    EXPECT_EQ(c->showBomListView->superview(), c->view().get());
    EXPECT_EQ(c->tv_list->numberOfRows(0), 5);
}

TEST_F(SelectBom, TheSummaryEditsItemsAndTheCommitAddsOneLineGroup) {
    auto c = walkToSummary();
    ASSERT_TRUE(c);

    // A set meal priced 0: an item's quantity is the waiter's.
    tapRow(*c, 1, "2例");
    ASSERT_TRUE(c->numController);
    advance(0.3);
    EXPECT_EQ(c->numController->m_strNum, "2");
    padType(*c->numController, "3");
    advance(0.3);
    EXPECT_EQ(c->allSelectDishs[1]->m_fQuantity, 3);
    tapRow(*c, 1, "3例");
    advance(0.3);
    padCancel(*c->numController);
    advance(0.3);

    // The methods of an item: the one it holds is checked; choosing another replaces it.
    tapRow(*c, 4, "做法");
    ASSERT_TRUE(c->selectViewController);
    advance(0.3);
    EXPECT_EQ(c->m_zuofs->m_uint[2], 1);
    pickSlot(*c->selectViewController, 0);
    pickerOk(*c->selectViewController);
    advance(0.3);
    EXPECT_EQ(c->allSelectDishs[4]->GetKouwIDString(), "M1");

    // Tastes of all items: only the taste every item holds starts checked.
    c->allSelectDishs[1]->AddKouwID("T1,");
    c->allSelectDishs[3]->AddKouwID("T1,T2,");
    c->allSelectDishs[4]->AddKouwID("T1,");
    c->onButtonAllKouw();
    advance(0.3);
    EXPECT_EQ(c->m_allKouws, std::vector<std::string>{"T1"});
    pickSlot(*c->selectViewController, 0);  // T1 off
    pickSlot(*c->selectViewController, 2);  // T3 on
    pickerOk(*c->selectViewController);
    advance(0.3);
    EXPECT_EQ(c->allSelectDishs[1]->m_KouwArray, std::vector<std::string>{"T3"});
    EXPECT_EQ(c->allSelectDishs[3]->m_KouwArray, (std::vector<std::string>{"T2", "T3"}));
    EXPECT_EQ(c->allSelectDishs[4]->m_KouwArray, (std::vector<std::string>{"M1", "T3"}));

    // Number of sets.
    struct Step { void (UISelectBomViewController::*press)(); const char* shown; } steps[] = {
        {&UISelectBomViewController::QuantityDel, "1"}, {&UISelectBomViewController::QuantityDel5, "1"},
        {&UISelectBomViewController::QuantityAdd5, "6"}, {&UISelectBomViewController::QuantityDel5, "1"},
        {&UISelectBomViewController::QuantityAdd, "2"},
    };
    for (const Step& s : steps) {
        ((*c).*s.press)();
        EXPECT_EQ(c->bomQ_L->text(), s.shown);
    }

    tapView(*c->bt_ok);
    advance(0.3);
    EXPECT_FALSE(root->selectBomViewController);
    const auto& lines = desk->m_DishList;
    ASSERT_EQ(lines.size(), 8u) << "the set line and its three items, no heading";
    EXPECT_EQ(lines[4]->m_strCaipName, "双人套餐");
    EXPECT_EQ(lines[4]->m_fQuantity, 2);
    EXPECT_TRUE(lines[4]->m_bisSet && lines[4]->m_bisExp);
    const float quantities[] = {2, 6, 2, 2};
    for (std::size_t i = 4; i < 8; ++i) {
        EXPECT_EQ(lines[i]->m_parentpos, 4);
        EXPECT_EQ(lines[i]->m_struid, "-1");
        EXPECT_EQ(lines[i]->m_iState, NSDishClass::kUnsent);
        EXPECT_EQ(lines[i]->m_fQuantity, quantities[i - 4]) << lines[i]->m_strCaipName;
        EXPECT_EQ(lines[i]->m_bisSet, i == 4);
    }
    auto saved = std::make_shared<NSDeskClass>();
    saved->m_strDeskID = desk->m_strDeskID;
    NSServer::loadSelectDish(saved);
    EXPECT_EQ(saved->m_DishList.size(), 8u);
}

TEST_F(SelectBom, APricedSetMealFixesItemQuantities) {
    auto c = walkToSummary();
    c->m_dish()->m_strPrice = "98";
    tapRow(*c, 1, "2例");
    EXPECT_FALSE(c->numController);
}

TEST_F(SelectBom, AGroupOfUnknownDishesAndANegativeCountPassesWithoutPicks) {
    auto c = open("S3");
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->canSelectBtns.empty());
    EXPECT_EQ(c->selectCaipNum, 0);
    next(*c);
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(summary(*c), std::vector<std::string>{"甜品 0 "});
    tapView(*c->bt_cancel2);
    advance(0.3);
    EXPECT_FALSE(root->selectBomViewController);
    EXPECT_EQ(desk->m_DishList.size(), 4u);
}

}  // namespace
