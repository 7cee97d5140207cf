// The dish order form opened on a dish detail view of the test's own, worked by taps and swipes.

#include "LineEditFixture.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Label.h"
#include "screens/lineedit/CaipFormHost.h"
#include "screens/lineedit/LineEditKit.h"
#include "screens/lineedit/UICaipFormViewController.h"

namespace {

// Stands for the dish detail view: a full-screen view with a price label that pages through the
// dishes it is given, in the same line object.
class DetailView : public CaipFormHost {
public:
    explicit DetailView(ui::View& root) {
        view->setFrame(root.bounds());
        root.addSubview(view);
        view->addSubview(price);
    }
    void nextCaip() override { turn(+1); }
    void lastCaip() override { turn(-1); }
    void showDish() override { ++redraws; }
    std::shared_ptr<ui::Label> caipPrice() override { return price; }
    ui::View& formHostView() override { return *view; }
    void turn(int by) {
        pages.push_back(by);
        if (!dishes.empty()) line->CopyCaip(dishes[(pages.size()) % dishes.size()]);
    }

    std::shared_ptr<ui::View> view = std::make_shared<ui::View>();
    std::shared_ptr<ui::Label> price = std::make_shared<ui::Label>();
    std::shared_ptr<NSDishClass> line;
    NSCaipList dishes;
    std::vector<int> pages;
    int redraws = 0;
};

class CaipForm : public LineEditFixture {
protected:
    std::shared_ptr<UICaipFormViewController> open(const std::shared_ptr<NSDishClass>& line) {
        detail = std::make_unique<DetailView>(*root->view());
        detail->line = line;
        lineedit::markTastesFrom(*line, *db->m_kouws);
        auto form = UICaipFormViewController::addCaipForm(*detail, line, lineedit::cookingMethodTree(*line));
        EXPECT_EQ(form->view()->frame().y(), 460);
        form->showCaipForm();
        advance(0.3);
        EXPECT_EQ(form->view()->frame().y(), 0);
        return form;
    }
    // The form's item button (method, taste or unit) titled `title`.
    void item(UICaipFormViewController& f, const std::string& title) { tapIn(*f.tb_zuofkw, title); }
    void dismissAlert() {
        ASSERT_FALSE(alerts().empty());
        tapIn(*alerts().back(), "确定");
        advance(0.5);
    }
    std::unique_ptr<DetailView> detail;
};

TEST_F(CaipForm, TheSummaryFollowsQuantitiesAndTheStepButtonsKeepAboveZero) {
    auto line = newLine("F1");
    line->m_fQuantity = 2;
    auto f = open(line);
    EXPECT_EQ(f->tx_buttom->text(), "鲈鱼 2例 76元 ");
    EXPECT_EQ(f->tx_Price->text(), "38元");
    tapView(*f->bt_shul2);
    ASSERT_TRUE(f->numController);
    advance(0.3);
    EXPECT_EQ(f->numController->m_tag, UICaipFormViewController::kSecondQuantityPad);
    EXPECT_EQ(f->numController->l_title->text(), "请输入条/只数");
    expectWholeNumberPad(*f->numController);
    padType(*f->numController, "3");
    advance(0.3);
    EXPECT_EQ(f->tx_buttom->text(), "鲈鱼 2例 3条/只 76元 ");

    struct Case { float start; bool add; float result; } cases[] = {
        {0.5f, false, 0.5f}, {0, false, 0}, {1, false, 0}, {2, true, 3}, {999, true, 1000},
    };
    for (const Case& c : cases) {
        line->m_fQuantity = c.start;
        tapView(c.add ? *f->bt_add : *f->bt_del);
        EXPECT_EQ(line->m_fQuantity, c.result) << c.start;
    }
    tapView(*f->bt_shul);
    advance(0.3);
    padType(*f->numController, "0");
    advance(0.3);
    EXPECT_EQ(line->m_fQuantity, 0) << "the quantity pad accepts 0";
    EXPECT_EQ(f->tx_Num->text(), "0");
}

TEST_F(CaipForm, WhileAPadIsOpenATapOnlyClosesIt) {
    auto line = newLine("F1");
    auto f = open(line);
    tapView(*f->bt_shul);
    advance(0.3);
    ASSERT_TRUE(f->numController);
    EXPECT_EQ(f->numController->view()->superview(), detail->view.get()) << "pads lie on the detail view";
    // The pad covers the screen, so no finger reaches the form's +1 now; the detail view's touch
    // handling calls the form's actions, which first close the pad.
    f->shulAdd();
    advance(0.3);
    EXPECT_FALSE(f->numController);
    EXPECT_EQ(line->m_fQuantity, 1);
    tapView(*f->bt_add);
    EXPECT_EQ(line->m_fQuantity, 2);
}

TEST_F(CaipForm, MethodsTakeTheirQuantityAndSurcharge) {
    auto line = newLine("F1");
    auto f = open(line);
    EXPECT_EQ(f->tableType, UICaipFormViewController::kMethodsTab);
    ASSERT_EQ(f->tb_zuofkw->numberOfRows(0), 2);  // three methods and the root row
    item(*f, "红烧3");
    ASSERT_TRUE(f->numController);
    advance(0.3);
    EXPECT_EQ(f->numController->m_strNum, "1");
    padType(*f->numController, "0");
    EXPECT_EQ(alertMessage(), "做法数量必须大于0");
    EXPECT_TRUE(f->numController);
    dismissAlert();
    padType(*f->numController, "B2");
    advance(0.3);
    EXPECT_EQ(f->m_zuofs->m_uint[2], 1);
    EXPECT_FLOAT_EQ(line->m_fPrice2, 6);
    EXPECT_EQ(f->tx_buttom->text(), "鲈鱼 1例 44元 红烧*2");

    item(*f, "清蒸5");
    item(*f, "葱油;0");
    EXPECT_FLOAT_EQ(line->m_fPrice2, 11);
    EXPECT_EQ(f->tx_buttom->text(), "鲈鱼 1例 49元 清蒸*1,红烧*2,葱油");
}

TEST_F(CaipForm, AOneMethodDishKeepsOneMethod) {
    auto line = newLine("F2");
    auto f = open(line);
    struct Step { const char* tap; int marked; } steps[] = {{"清蒸5", 1}, {"红烧2", 2}, {"红烧2", 0}};
    for (const Step& s : steps) {
        item(*f, s.tap);
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(f->m_zuofs->m_uint[r] == 1, r == s.marked) << s.tap << " row " << r;
    }
}

TEST_F(CaipForm, PortionsPriceADishSoldByTheServingAndMoveTheMarker) {
    auto line = newLine("F1");
    auto f = open(line);
    ASSERT_TRUE(f->iv_Units);
    struct Step { std::shared_ptr<ui::Button> UICaipFormViewController::*button; const char* unit; const char* price; } steps[] = {
        {&UICaipFormViewController::bt_UnitsZ, "中", "76"},
        {&UICaipFormViewController::bt_UnitsD, "大", "114"},
        {&UICaipFormViewController::bt_UnitsL, "例", "38"},
    };
    for (const Step& s : steps) {
        tapView(*((*f).*s.button));
        EXPECT_EQ(line->m_strUnits, s.unit);
        EXPECT_EQ(line->m_strPrice, s.price);
        EXPECT_EQ(f->iv_Units->frame(), ((*f).*s.button)->frame());
        advance(0.6);
    }
    // From one end to the other the marker takes twice as long.
    tapView(*f->bt_UnitsD);
    advance(0.45);
    EXPECT_TRUE(ui::Animation::anyRunning());
    advance(0.2);
    EXPECT_FALSE(ui::Animation::anyRunning());
}

TEST_F(CaipForm, APortionOfALineWithUnitsTakesItsUnitsPriceAndKeepsThePriceWhenItHasNone) {
    addUnit("F1", "中", "");
    addUnit("F1", "大", "120");
    auto line = newLine("F1");
    auto f = open(line);
    tapView(*f->bt_UnitsZ);
    EXPECT_EQ(line->m_strUnits, "中");
    EXPECT_EQ(line->m_strPrice, "38");
    tapView(*f->bt_UnitsD);
    EXPECT_EQ(line->m_strUnits, "大");
    EXPECT_EQ(line->m_strPrice, "120");
}

TEST_F(CaipForm, UnitsStandThreeToARowInsideTheForm) {
    addUnit("B1", "桶", "300");
    auto line = newLine("B1");
    auto f = open(line);
    EXPECT_EQ(f->bt_UnitsZ->currentTitle(), "瓶") << "a dish not sold by the serving names its unit";
    tapView(*f->bt_Units);
    ASSERT_EQ(f->tb_zuofkw->numberOfRows(0), 2);
    for (auto& b : f->zuofkwBS) EXPECT_LE(b->frame().maxX(), UICaipFormViewController::kWidth) << b->currentTitle();
    item(*f, "桶");
    EXPECT_EQ(line->m_strUnits, "桶");
    EXPECT_EQ(line->m_strPrice, "300");
    EXPECT_EQ(detail->redraws, 1);
}

TEST_F(CaipForm, APriceTypedForADishPricedAtOrderingShowsOnBothViews) {
    auto priced = newLine("P1");
    auto f = open(priced);
    tapView(*f->bt_changePrice);
    ASSERT_TRUE(f->numController);
    advance(0.3);
    padType(*f->numController, "45");
    advance(0.3);
    EXPECT_EQ(priced->m_strPrice, "45");
    EXPECT_EQ(f->tx_Price->text(), "45元");
    EXPECT_EQ(detail->price->text(), "45");

    auto menuPriced = newLine("F1");
    f = open(menuPriced);
    tapView(*f->bt_changePrice);
    EXPECT_FALSE(f->numController) << "a menu price is not typed";
}

TEST_F(CaipForm, FreeTextAndASignedSurchargeForACustomDish) {
    dish("C1").m_strDanw = "例";
    auto line = newLine("C1");
    auto f = open(line);
    tapView(*f->bt_UnitsZ);
    EXPECT_EQ(line->m_strUnits, "中");
    EXPECT_EQ(line->m_strPrice, "0") << "a custom dish's portion changes only its unit";

    tapView(*f->bt_Spec);
    ASSERT_TRUE(f->tf_require);
    EXPECT_TRUE(f->tf_require->isEditing()) << "the new field takes the keyboard";
    EXPECT_EQ(f->view()->frame().y(), -200);
    type("少冰");
    tapView(*f->bt_jiaj);  // ends the typing first, then opens the surcharge pad
    EXPECT_EQ(line->GetKouwDefine(), "少冰");
    EXPECT_EQ(db->m_strSpec, "少冰");
    EXPECT_EQ(f->view()->frame().y(), 0);
    ASSERT_TRUE(f->numController);
    advance(0.3);
    EXPECT_EQ(f->numController->view()->frame(), root->frameRect()) << "where every key can be reached";
    padType(*f->numController, "5S", false);
    EXPECT_EQ(f->numController->m_strNum, "-5");
    tapPoint(*f->numController->m_panel, f->numController->m_btnOK.location);
    advance(0.3);
    EXPECT_EQ(line->m_fPrice3, -5);
    EXPECT_EQ(f->bt_jiaj->currentTitle(), "加价");
    EXPECT_EQ(f->tx_buttom->text(), "自定义菜 1中 -5元 少冰");
}

TEST_F(CaipForm, TastesToggleOnTheirTab) {
    auto line = newLine("F1");
    auto f = open(line);
    tapView(*f->bt_Kouw);
    EXPECT_FALSE(f->selectController) << "tastes without categories are chosen on the tab";
    EXPECT_EQ(f->tb_zuofkw->numberOfRows(0), 2);
    item(*f, "多辣");
    EXPECT_EQ(db->m_kouws->m_uint[2], 1);
    EXPECT_EQ(f->tx_buttom->text(), "鲈鱼 1例 38元 多辣");
    item(*f, "多辣");
    EXPECT_NE(db->m_kouws->m_uint[2], 1);
}

TEST_F(CaipForm, ASidewaysSwipePagesOncePerTouch) {
    auto line = newLine("F1");
    auto f = open(line);
    detail->dishes = {db->GetCaipFromID("F1"), db->GetCaipFromID("B1")};
    struct Case { double dx, dy; std::vector<int> pages; } cases[] = {
        {-24, 0, {}}, {-25, 20, {1}}, {-25, 21, {}}, {30, 0, {-1}}, {-200, 0, {1}},
    };
    for (const Case& c : cases) {
        detail->pages.clear();
        auto r = ui::dragViewBy(*window, *f->tx_buttom, {c.dx, c.dy}, 0.2);
        ASSERT_TRUE(r.ok) << r.error;
        loop().drain();
        EXPECT_EQ(detail->pages, c.pages) << c.dx << "," << c.dy;
    }
    EXPECT_EQ(f->m_caip, db->GetCaipFromID(line->caipID())) << "the form follows the dish the view shows";
    EXPECT_EQ(f->tx_buttom->text().rfind(line->m_strCaipName, 0), 0u);
}

}  // namespace
