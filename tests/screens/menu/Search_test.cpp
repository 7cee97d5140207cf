// The dish search screen as a host shows it: pages of six, the swipe, the tap that puts a dish
// on the desk and takes it off again (a plain unsent line only), the marks, and the way out.

#include "MenuFixture.h"
#include "screens/menu/UISearchCaipViewController.h"

namespace {

class Search : public MenuFixture {
protected:
    UISearchCaipViewController& show() {
        auto s = std::make_shared<UISearchCaipViewController>();
        s->setRootController(root.get());
        root->searchCaipViewController = s;
        s->view()->setFrame(root->frameRect());
        root->view()->addSubview(s->view());
        loop().drain();
        return *s;
    }
    void swipe(double dx, double dy) {
        ui::dragBy(*window, {384, 330}, {dx, dy}, 0.2);
        loop().drain();
    }
    void tapText(UISearchCaipViewController& s, int slot) { tapOn(*s.text(slot)); }
};

TEST_F(Search, PagesOfSixTurnBySwipeAndEndAtTheLast) {
    flatMenu({14});
    auto& s = show();
    ASSERT_EQ(s.m_caips().size(), 14u) << "the empty text lists every dish";
    struct Case { double dx, dy; int first; } cases[] = {
        {-30, 21, 0}, {-30, 10, 6}, {-30, 10, 12}, {-30, 10, 12}, {30, 0, 6},
    };
    for (const auto& c : cases) {
        swipe(c.dx, c.dy);
        advance(1);
        EXPECT_EQ(s.firstCaiCount(), c.first) << c.dx << "," << c.dy;
    }
    swipe(-30, 0);
    advance(1);
    EXPECT_EQ(s.text(1)->text(), " 菜0-13\n 10元/份");
    EXPECT_EQ(s.text(2)->text(), "");
    EXPECT_FALSE(s.selCaipTb()[2]->image());
    s.searchBar()->setText("0-1");
    EXPECT_EQ(s.firstCaiCount(), 0);
    EXPECT_EQ(s.m_caips().size(), 5u);
}

TEST_F(Search, ATapOnATextAddsTheDishAndASecondTakesItsPlainLineOff) {
    auto cats = flatMenu({3});
    db()->m_SellOut->AddItem("D0-1", "", "0");
    db()->m_SellOut->AddItem("D0-2", "", "3");
    auto head = std::make_shared<NSDishClass>();
    head->CopyCaip(cats[0]->caips[2]);
    head->m_bisSet = head->m_bisExp = true;
    head->m_parentpos = 0;
    lines() = {head};
    auto& s = show();
    tapText(s, 0);
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_EQ(lines()[1]->m_parentpos, -1);
    EXPECT_EQ(lines()[1]->m_struid, "-1");
    EXPECT_TRUE(s.selCaipTb()[0]->image()) << "the ordered mark";

    lines().insert(lines().begin(), lines()[1]);  // the plain line first, then the group
    lines().pop_back();
    tapText(s, 0);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0]->m_parentpos, 0) << "the group head renumbered";
    EXPECT_FALSE(s.selCaipTb()[0]->image());

    tapText(s, 2);
    EXPECT_EQ(lines().size(), 1u) << "a group line is not taken off here";
    EXPECT_EQ(s.text(2)->text(), " 菜0-2\n 10元/份 剩余3");

    EXPECT_EQ(s.text(1)->text(), " 菜0-1\n 10元/份 (已沽清)");
    tapText(s, 1);
    EXPECT_EQ(alertMessage(), "该菜品已沽清，请选择其他菜品！");
    EXPECT_EQ(lines().size(), 1u);
}

TEST_F(Search, APictureOpensTheDetailViewAndBackClosesTheScreen) {
    auto cats = flatMenu({2});
    auto& s = show();
    s.showBigCai(1, s.caippic(0));
    ASSERT_TRUE(root->caipViewController);
    EXPECT_EQ(root->caipViewController->type(), 2);
    advance(0.6);
    EXPECT_FALSE(s.view()->superview()) << "the detail view beneath remains";
    root->view()->addSubview(s.view());
    s.bigCaiBack();
    advance(0.6);
    EXPECT_TRUE(s.canTouch());
    EXPECT_EQ(s.text(0)->alpha(), 1);
    tap("返回");
    EXPECT_FALSE(root->searchCaipViewController);
}

}  // namespace
