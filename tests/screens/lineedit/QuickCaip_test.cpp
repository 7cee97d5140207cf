// The order-line editor worked by taps: the keypad, cooking methods, units, tastes and free text,
// and the commit with what it leaves in the desk and its saved file.

#include <cmath>

#include "LineEditFixture.h"
#include "screens/lineedit/SetMealTarget.h"
#include "screens/lineedit/UIQuickCaipViewController.h"

namespace {

class QuickCaip : public LineEditFixture {
protected:
    std::shared_ptr<UIQuickCaipViewController> open(const std::shared_ptr<NSDishClass>& line, bool setMealItem = false) {
        root->showQuickCaip(db->GetCaipFromID(line->caipID()), line, setMealItem);
        advance(0.3);
        auto editor = root->quickCaipViewController.get();
        EXPECT_TRUE(editor);
        return editor;
    }
    std::shared_ptr<UIQuickCaipViewController> modify(const std::shared_ptr<NSDishClass>& line) {
        root->modifyCaip(line);
        advance(0.3);
        return root->quickCaipViewController.get();
    }
    // Keys: digits, '.', 'B' backspace, '+' and '-' the +1 and -1 buttons.
    void keys(UIQuickCaipViewController& e, const std::string& typed) {
        for (char k : typed) {
            if (k == '+') tapView(*e.bt_add);
            else if (k == '-') tapView(*e.bt_minus);
            else {
                const int tag = k == 'B' ? UIQuickCaipViewController::kKeyBackspace
                                : k == '.' ? UIQuickCaipViewController::kKeyPoint
                                           : k - '0';
                auto found = ui::findViewsWithTag(*e.v_keys, tag);
                std::erase_if(found, [&](ui::View* v) { return v == e.v_keys.get(); });
                ASSERT_EQ(found.size(), 1u);
                tapView(*found.front());
            }
        }
    }
    void method(UIQuickCaipViewController& e, int row) { tapView(*e.zuofbts.at(static_cast<std::size_t>(row - 1))); }
    void ok(UIQuickCaipViewController& e) { tapView(*e.bt_ok); }
    void cancel(UIQuickCaipViewController& e) {
        tapView(*e.bt_cancel);
        advance(0.3);
    }
    // Answers the newest alert with its only button, as a waiter would.
    void dismissAlert() {
        ASSERT_FALSE(alerts().empty());
        tapIn(*alerts().back(), "确定");
        advance(0.5);
    }
    // The desk's lines as its saved file gives them back.
    NSDishList savedLines() {
        auto copy = std::make_shared<NSDeskClass>();
        copy->m_strDeskID = desk->m_strDeskID;
        NSServer::loadSelectDish(copy);
        return copy->m_DishList;
    }
};

TEST_F(QuickCaip, TheKeypadAndTheStepButtonsEditTheQuantityText) {
    struct Case { float start; const char* keys; const char* text; } cases[] = {
        {0, "5", "5"}, {0, ".", "0."}, {0, ".5", "0.5"}, {0, ".5.", "0.5"}, {0, "05", "5"},
        {12, "3", "123"}, {12, "3B", "12"}, {12, "3BB", "1"}, {12, "3BBB", "0"}, {12, "3BBBB", "0"},
        {1, "-", "0"}, {0, "-", "-1"}, {0.5f, "+", "1.5"}, {2, "+7", "37"},
    };
    for (const Case& c : cases) {
        auto line = newLine("F1");
        line->m_fQuantity = c.start;
        auto e = open(line);
        keys(*e, c.keys);
        EXPECT_EQ(e->tf_num->text(), c.text) << c.start << " + " << c.keys;
        EXPECT_EQ(line->m_fQuantity, c.start) << "the keypad only edits the text";
        cancel(*e);
    }
}

TEST_F(QuickCaip, MethodsAreMarkedByTheirFlagAndAddTheirSurcharge) {
    auto line = newLine("F1");
    auto e = open(line);
    ASSERT_EQ(e->zuofbts.size(), 3u);
    EXPECT_EQ(e->zuofbts[0]->currentTitle(), "清蒸 5元");
    EXPECT_EQ(e->zuofbts[1]->currentTitle(), "红烧 3元");
    EXPECT_EQ(e->zuofbts[2]->currentTitle(), "葱油;0") << "an entry ';0' does not split";
    EXPECT_EQ(e->zuofbts[1]->frame(), (ui::Rect{0, 45, 105, 40})) << "two rows filled column by column";
    auto& m = *e->m_zuofs();

    method(*e, 1);  // "5;1"
    EXPECT_EQ(m.m_uint[1], 1);
    EXPECT_EQ(m.m_str1[1], "1");
    EXPECT_FLOAT_EQ(line->m_fPrice2, 5);
    EXPECT_FALSE(e->zuofbts[0]->subviews().empty()) << "a marked method shows its check mark";

    method(*e, 3);  // ";0" is its own flag: marked at once, without a quantity, adding nothing
    EXPECT_FALSE(e->numController);
    EXPECT_EQ(m.m_uint[3], 1);
    EXPECT_FLOAT_EQ(line->m_fPrice2, 5);

    method(*e, 2);  // "3;0" asks for the quantity
    ASSERT_TRUE(e->numController);
    advance(0.3);
    EXPECT_EQ(e->numController->m_strNum, "1");
    EXPECT_EQ(e->numController->m_tag, UIQuickCaipViewController::kMethodQuantityPad);
    padType(*e->numController, "0");
    EXPECT_EQ(alertMessage(), "做法数量必须大于0");
    EXPECT_TRUE(e->numController) << "a refused quantity keeps the pad open";
    EXPECT_NE(m.m_uint[2], 1);
    dismissAlert();
    padType(*e->numController, "B2");
    advance(0.3);
    EXPECT_FALSE(e->numController);
    EXPECT_EQ(m.m_uint[2], 1);
    EXPECT_EQ(m.m_str1[2], "2");
    EXPECT_FLOAT_EQ(line->m_fPrice2, 11);

    method(*e, 1);
    EXPECT_NE(m.m_uint[1], 1);
    EXPECT_FLOAT_EQ(line->m_fPrice2, 6);
}

TEST_F(QuickCaip, AOneMethodDishKeepsOneAndAMethodSoldAsADishCostsItsPrice) {
    auto line = newLine("F2");
    line->m_fQuantity = 3;
    auto e = open(line);
    auto& m = *e->m_zuofs();
    struct Step { int tap; int marked; float surcharge; } steps[] = {
        {1, 1, 5}, {2, 2, 2}, {2, 0, 0},
        // "加蛋" is a dish priced 8: quantity 1 x line quantity 3.
        {3, 3, 24},
    };
    for (const Step& s : steps) {
        method(*e, s.tap);
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(m.m_uint[r] == 1, r == s.marked) << "tap " << s.tap << " row " << r;
        EXPECT_FLOAT_EQ(line->m_fPrice2, s.surcharge) << "tap " << s.tap;
    }
}

TEST_F(QuickCaip, ALongMethodStripShowsItsMethodsAsTheyScrollIntoSight) {
    std::string ids, prices;
    for (int i = 1; i <= 40; ++i) {
        addMethod("X" + std::to_string(i), "做法" + std::to_string(i));
        ids += "X" + std::to_string(i) + ",";
        prices += "1;1,";
    }
    addDish("G1", "全鱼宴", "188", "份", ids, prices);
    auto e = open(newLine("G1"));
    ASSERT_EQ(e->zuofbts.size(), 40u);
    ASSERT_TRUE(e->zuofbts[0]);
    EXPECT_FALSE(e->zuofbts[39]) << "out of sight, not made yet";
    auto r = ui::dragViewBy(*window, *e->zuofbts[2], {-400, 0}, 0.3);
    ASSERT_TRUE(r.ok) << r.error;
    advance(1);
    ASSERT_TRUE(e->zuofbts[12]);
    EXPECT_TRUE(ui::onScreenWithTitle(*window, "做法1 1元").empty()) << "scrolled away";
    tapView(*e->zuofbts[12]);
    EXPECT_EQ(e->m_zuofs()->m_uint[13], 1);
    EXPECT_FLOAT_EQ(e->m_dish()->m_fPrice2, 1);
}

TEST_F(QuickCaip, AUnitSetsTheUnitAndItsPriceAndAUnitWithoutPriceKeepsThePrice) {
    auto line = newLine("B1");
    auto e = open(line);
    ASSERT_EQ(e->guigbts.size(), 3u);
    tapIn(*e->sv_guig, "箱");
    EXPECT_EQ(line->m_strUnits, "箱");
    EXPECT_EQ(line->m_strPrice, "100");
    EXPECT_EQ(e->tf_price->text(), "100");
    tapIn(*e->sv_guig, "扎");
    EXPECT_EQ(line->m_strUnits, "扎");
    EXPECT_EQ(line->m_strPrice, "100");
    EXPECT_FALSE(e->guigbts[2]->subviews().empty()) << "the chosen unit shows its check mark";
    cancel(*e);
    EXPECT_EQ(line->m_strUnits, "扎") << "the unit is written at once, cancel does not undo it";
    EXPECT_TRUE(desk->m_DishList.empty());
}

TEST_F(QuickCaip, TastesFreeTextAndMethodsReachTheDeskAndItsFile) {
    auto line = newLine("F1");
    auto e = open(line);
    tapView(*e->bt_kouw);
    ASSERT_TRUE(e->selectController);
    advance(0.3);
    EXPECT_EQ(e->selectController->m_title->text(), "鲈鱼 请选择口味");
    pickSlot(*e->selectController, 0);
    pickSlot(*e->selectController, 2);
    pickerOk(*e->selectController);
    advance(0.3);
    EXPECT_FALSE(e->selectController);
    EXPECT_EQ(db->m_kouws->m_uint[1], 1);

    tapView(*e->tf_otherKouw);
    EXPECT_EQ(e->subview->frame().y(), 53 - 140) << "the panel makes room for the keyboard";
    type("不要葱,多汁");
    ASSERT_TRUE(window->pressReturn());
    loop().drain();
    EXPECT_EQ(e->subview->frame().y(), 53);
    method(*e, 2);
    padType(*e->numController, "2");
    advance(0.3);
    keys(*e, "+");
    ok(*e);
    advance(0.3);

    EXPECT_FALSE(root->quickCaipViewController);
    ASSERT_EQ(desk->m_DishList.size(), 1u);
    EXPECT_EQ(desk->m_DishList[0], line);
    EXPECT_EQ(line->m_KouwArray, (std::vector<std::string>{"T1", "T3", "不要葱", "多汁", "M2"}));
    EXPECT_EQ(line->m_strZuofShul, ",2,") << "one element per method";
    EXPECT_EQ(line->m_iPrice, 1) << "a dish with a menu price too";
    EXPECT_EQ(db->m_strSpec, "不要葱,多汁");
    EXPECT_NE(db->m_kouws->m_uint[1], 1) << "the taste marks are cleared by the commit";
    auto saved = savedLines();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0]->m_fQuantity, 2);
    EXPECT_EQ(saved[0]->m_struid, "-1");
    EXPECT_EQ(saved[0]->m_strZuofShul, ",2,");
    EXPECT_FLOAT_EQ(saved[0]->m_fPrice2, 6);
    EXPECT_EQ(saved[0]->GetKouwIDString(), line->GetKouwIDString());
}

TEST_F(QuickCaip, ThePieceCountIsTypedWhole) {
    auto line = newLine("F1");
    auto e = open(line);
    tapView(*e->bt_tiaoz);
    ASSERT_TRUE(e->numController);
    advance(0.3);
    EXPECT_EQ(e->numController->l_title->text(), "请输入条/只数");
    expectWholeNumberPad(*e->numController);
    padType(*e->numController, "3");
    advance(0.3);
    EXPECT_FALSE(e->numController);
    EXPECT_FLOAT_EQ(line->m_fQuantity2, 3);
}

TEST_F(QuickCaip, UncheckingATasteTakesExactlyThatTasteOff) {
    addTaste("T12", "微辣");
    auto line = newLine("F1");
    line->AddKouwID("T1,T12,多放1,");
    auto e = open(line);
    EXPECT_EQ(e->tf_otherKouw->text(), "多放1");
    tapView(*e->bt_kouw);
    choose(e->selectController, {3});  // 微辣 off
    ok(*e);
    advance(0.3);
    EXPECT_EQ(line->m_KouwArray, (std::vector<std::string>{"T1", "多放1"}));
}

TEST_F(QuickCaip, APriceTypedForADishPricedAtOrderingSurvivesMethodTapsButGivesWayToAUnit) {
    dish("P1").m_strZuofID = "M1,";
    dish("P1").m_strZfjiag = "5;1";
    addUnit("P1", "半斤", "60");
    auto line = newLine("P1");
    auto e = open(line);
    EXPECT_TRUE(e->tf_price->isUserInteractionEnabled());
    EXPECT_FALSE(e->tf_caipname->isUserInteractionEnabled());
    tapView(*e->tf_price);
    type("128");
    ASSERT_TRUE(window->pressReturn());
    method(*e, 1);
    EXPECT_EQ(e->tf_price->text(), "0128") << "typed after the preset";
    tapIn(*e->sv_guig, "半斤");
    EXPECT_EQ(e->tf_price->text(), "60");
    ok(*e);
    advance(0.3);
    EXPECT_EQ(line->m_strPrice, "60");
    EXPECT_EQ(line->m_iPrice, 1);
}

TEST_F(QuickCaip, ANewLineIsRefusedBeforeItChangesAndASecondOkKeepsTheChoice) {
    db->m_SellOut->AddItem("B1", "", "0");
    struct Case { const char* dish; const char* keys; const char* message; } cases[] = {
        {"F1", "B", "数量必须大于0"},
        {"F1", "--", "数量必须大于0"},
        {"B1", "", "该菜品已沽清"},
        {"F2", "", "该菜品必须选择做法"},
    };
    for (const Case& c : cases) {
        auto line = newLine(c.dish);
        auto e = open(line);
        tapView(*e->bt_kouw);
        choose(e->selectController, {1});
        keys(*e, c.keys);
        ok(*e);
        EXPECT_EQ(alertMessage(), c.message) << c.dish << " " << c.keys;
        dismissAlert();
        EXPECT_TRUE(root->quickCaipViewController) << "the editor stays open to correct the line";
        EXPECT_TRUE(desk->m_DishList.empty());
        EXPECT_TRUE(line->m_KouwArray.empty()) << "a refused OK leaves the line as it was";
        EXPECT_EQ(line->m_fQuantity, 1);
        EXPECT_EQ(db->m_kouws->m_uint[2], 1) << "and the chosen taste";
        cancel(*e);
    }

    // Corrected, the second OK takes the taste chosen before the refusal.
    auto line = newLine("F1");
    auto e = open(line);
    tapView(*e->bt_kouw);
    choose(e->selectController, {1});
    keys(*e, "B");
    ok(*e);
    dismissAlert();
    keys(*e, "3");
    ok(*e);
    advance(0.3);
    ASSERT_EQ(desk->m_DishList.size(), 1u);
    EXPECT_EQ(line->m_KouwArray, std::vector<std::string>{"T2"});
    EXPECT_EQ(line->m_fQuantity, 3);
}

TEST_F(QuickCaip, TheRequiredMethodAlertIgnoresTheMessageRuleAndFreeTextOrNoAlertLetsTheLineGo) {
    NSServer::setIsShowAlert(true);  // other reports would go to the message panel now
    auto first = newLine("F2");
    auto e = open(first);
    ok(*e);
    EXPECT_EQ(alertMessage(), "该菜品必须选择做法");
    EXPECT_FALSE(panelText());
    dismissAlert();

    e->onOk(UIQuickCaipViewController::kNoAlert);  // what a caller asks; no button sends it
    advance(0.3);
    ASSERT_EQ(desk->m_DishList.size(), 1u);

    auto second = newLine("F2");
    e = open(second);
    tapView(*e->tf_otherKouw);
    type("五分熟");
    ASSERT_TRUE(window->pressReturn());
    ok(*e);
    advance(0.3);
    ASSERT_EQ(desk->m_DishList.size(), 2u);
    EXPECT_EQ(second->GetKouwDefine(), "五分熟");
}

TEST_F(QuickCaip, ACustomDishTakesItsTypedNameAsFreeTextAndItsTypedPrice) {
    struct Case { const char* name; const char* price; std::vector<std::string> tastes; } cases[] = {
        {"龙虾", "88", {"龙虾"}},
        {"自定义菜", "66", {}},
    };
    for (const Case& c : cases) {
        auto line = newLine("C1");
        auto e = open(line);
        e->tf_caipname->setText(c.name);
        e->tf_price->setText(c.price);
        tapIn(*e->sv_guig, "箱");  // a redraw keeps what was typed
        ok(*e);
        advance(0.3);
        EXPECT_EQ(line->m_strCaipName, "自定义菜");
        EXPECT_EQ(line->m_strPrice, c.price);
        EXPECT_EQ(line->m_KouwArray, c.tastes) << c.name;
    }
}

TEST_F(QuickCaip, AMethodSoldAsADishBecomesAnAddOnLineAndTheHeadKeepsOnlyItsOtherSurcharge) {
    addDish("F3", "炒饭", "15", "份", "M1,M3,", "5;1,0;1");
    auto line = newLine("F3");
    desk->m_DishList = {newLine("B1")};
    auto e = open(line);
    method(*e, 1);
    method(*e, 2);
    keys(*e, "+");
    ok(*e);
    advance(0.3);
    ASSERT_EQ(desk->m_DishList.size(), 3u);
    EXPECT_EQ(desk->m_DishList[1], line);
    EXPECT_TRUE(line->m_bisSet && line->m_bAddOn && line->m_bisExp);
    EXPECT_EQ(line->m_parentpos, 1);
    EXPECT_FLOAT_EQ(line->m_fPrice2, 5) << "the egg is paid on its own line";
    EXPECT_EQ(line->m_KouwArray, std::vector<std::string>{"M1"});
    const auto& child = desk->m_DishList[2];
    EXPECT_EQ(child->m_strCaipName, "加蛋");
    EXPECT_EQ(child->m_fQuantity, 2);
    EXPECT_EQ(child->m_parentpos, 1);
    EXPECT_TRUE(child->m_bisExp && child->m_bAddOn && !child->m_bisSet);
    EXPECT_EQ(child->m_struid, "-1");
    EXPECT_FLOAT_EQ(line->GetPrice() + child->GetPrice(), 15 * 2 + 5 + 8 * 2);

    // Reopened, the add-on method starts unmarked: OK without it takes the add-on line away.
    e = modify(line);
    ASSERT_TRUE(e);
    EXPECT_NE(e->m_zuofs()->m_uint[2], 1);
    ok(*e);
    advance(0.3);
    EXPECT_EQ(desk->m_DishList.size(), 2u);
}

TEST_F(QuickCaip, ARefusedModifyKeepsTheAddOnLines) {
    dish("F2").m_iMultizuof = 1;
    auto line = newLine("F2");
    auto e = open(line);
    method(*e, 3);  // 加蛋, an add-on
    ok(*e);
    advance(0.3);
    ASSERT_EQ(desk->m_DishList.size(), 2u);

    e = modify(line);
    ok(*e);  // no method marked on a dish that requires one
    EXPECT_EQ(alertMessage(), "该菜品必须选择做法");
    dismissAlert();
    EXPECT_EQ(desk->m_DishList.size(), 2u) << "the add-on line is still in the desk";
    EXPECT_TRUE(line->m_bAddOn);
    cancel(*e);
    EXPECT_EQ(savedLines().size(), 2u);
}

TEST_F(QuickCaip, AModifiedSetMealScalesItsItemsUnlessItHadNoQuantity) {
    struct Case { float oldQuantity; const char* keys; float newQuantity; float item1, item2; } cases[] = {
        {2, "B4", 4, 2, 6},
        {0, "4", 4, 1, 3},  // no proportion to keep: the items stay
        {2, "B0", 0, 0, 0},  // modify accepts a quantity of 0
    };
    for (const Case& c : cases) {
        desk->m_DishList.clear();
        auto head = newLine("F1");
        head->m_bisSet = head->m_bisExp = true;
        head->m_fQuantity = c.oldQuantity;
        head->m_parentpos = 7;  // stale: the head takes its current position
        auto a = newLine("E1"), b = newLine("B1");
        a->m_fQuantity = 1;
        b->m_fQuantity = 3;
        for (auto& item : {a, b}) {
            item->m_bisExp = true;
            item->m_parentpos = 7;
        }
        desk->m_DishList = {newLine("B1"), head, a, b};
        auto e = modify(head);
        ASSERT_TRUE(e);
        keys(*e, c.keys);
        ok(*e);
        advance(0.3);
        EXPECT_FALSE(root->quickCaipViewController);
        EXPECT_EQ(head->m_fQuantity, c.newQuantity);
        EXPECT_EQ(a->m_fQuantity, c.item1) << c.oldQuantity;
        EXPECT_EQ(b->m_fQuantity, c.item2) << c.oldQuantity;
        for (auto& l : {head, a, b}) {
            EXPECT_EQ(l->m_parentpos, 1);
            EXPECT_TRUE(std::isfinite(l->m_fQuantity));
        }
        EXPECT_EQ(savedLines().size(), 4u);
    }
}

TEST_F(QuickCaip, ASetMealItemIsRefusedWithTheEditorClosing) {
    struct Case { const char* dish; bool setFlag; bool addOnMethod; const char* message; } cases[] = {
        {"F1", true, false, "套餐不能作为套餐明细"},
        {"F3", false, true, "套餐不能作为套餐明细"},  // its add-on method would make it a head
        {"B1", false, false, "该菜品已沽清"},
    };
    addDish("F3", "炒饭", "15", "份", "M3,", "0;1");
    db->m_SellOut->AddItem("B1", "", "0");
    for (const Case& c : cases) {
        auto line = newLine(c.dish);
        line->m_bisSet = c.setFlag;
        auto e = open(line, true);
        if (c.addOnMethod) method(*e, 1);
        ok(*e);
        EXPECT_EQ(alertMessage(), c.message) << c.dish;
        dismissAlert();
        advance(0.3);
        EXPECT_FALSE(root->quickCaipViewController) << c.dish;
        EXPECT_TRUE(desk->m_DishList.empty());
    }
}

// The set-meal screen offers its line and dish list; a screen offering neither takes no item.
TEST(SetMealTarget, ReachesTheLineAndDishListTheScreenOffers) {
    struct Screen {
        std::shared_ptr<NSDishClass> line = std::make_shared<NSDishClass>();
        NSCaipList dishes;
        const std::shared_ptr<NSDishClass>& m_dish() const { return line; }
        NSCaipList& m_ExCaips() { return dishes; }
    } screen;
    struct Bare {} bare;
    EXPECT_EQ(lineedit::setMealLine(screen), screen.line);
    EXPECT_EQ(lineedit::setMealLine(bare), nullptr);
    lineedit::appendSetMealDish(screen, std::make_shared<NSCaipClass>());
    lineedit::appendSetMealDish(bare, std::make_shared<NSCaipClass>());
    EXPECT_EQ(screen.dishes.size(), 1u);
}

}  // namespace
