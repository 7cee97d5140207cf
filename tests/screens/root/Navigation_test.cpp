// The moves between the ordering screens, worked by taps on the real screens: what the back
// office hears of each switch, which screens stay, and the slots that let their screens go.

#include "ScreenFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "screens/lineedit/UIQuickCaipViewController.h"
#include "screens/lineedit/UISelectBomViewController.h"
#include "screens/menu/UICaipViewController.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/menu/UITaoCanViewController.h"
#include "screens/orderlist/UIDishLViewController.h"
#include "support/EventWait.h"

namespace {

std::shared_ptr<NSCplbTreeClass> category(const std::string& id, const std::string& name) {
    auto node = std::make_shared<NSCplbTreeClass>();
    node->cplb = std::make_shared<NSCplbClass>();
    node->cplb->m_strUid = id;
    node->cplb->m_strCtname = name;
    return node;
}

std::shared_ptr<NSCaipClass> dish(const std::string& id, const std::string& name, bool setMeal = false) {
    auto d = std::make_shared<NSCaipClass>();
    d->m_strID = std::make_shared<const std::string>(id);
    d->m_strName = name;
    d->m_bisSet = setMeal;
    return d;
}

class Navigation : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        launch("127.0.0.1");
        // A menu of two top-level categories, the first with two sub-categories.
        auto hot = category("01", "热菜");
        hot->subCplbTrees = {category("0101", "小炒"), category("0102", "炖菜")};
        NSServer::getCaipDB()->rootCplbTrees = {hot, category("02", "凉菜")};
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = "A1";
        desk->m_strDeskName = "一号桌";
        NSServer::setNowDesk(desk);
        advance(1);  // past the start's own timers
        sim.clearRecords();
    }

    // The announcements the simulator received since the last call, as the bytes on the wire.
    std::vector<std::string> heard(std::size_t expected) {
        loop().drain();
        sim.waitForAnnouncements(expected, testsupport::kEventWaitSeconds);
        std::vector<std::string> got;
        for (const auto& a : sim.announcements()) got.push_back(a.bytes);
        sim.clearRecords();
        return got;
    }

    int viewsOf(ui::ViewController* screen) const {
        int n = 0;
        for (auto& v : root->view()->subviews()) n += screen && screen->isViewLoaded() && v == screen->view();
        return n;
    }
};

using Bytes = std::vector<std::string>;

TEST_F(Navigation, EachSwitchBetweenTheMainScreensAnnouncesItselfForTheCurrentDesk) {
    tap("开始点菜");
    EXPECT_EQ(heard(1), Bytes{"<selectcaipdlg:A1:>"});
    ASSERT_TRUE(root->selectCaipViewController);
    EXPECT_FALSE(root->welcomeViewController);
    EXPECT_EQ(root->selectCaipViewController->nowCplb()->cplb->m_strUid, "0101");
    advance(0.75);

    tap("已点菜单");
    EXPECT_EQ(heard(1), Bytes{"<dishlistdlg:A1:>"});
    advance(0.5);
    ASSERT_TRUE(root->listViewController);
    EXPECT_EQ(root->listViewController->view()->frame(), root->frameRect());

    tap("返回");  // the order list's back
    EXPECT_EQ(heard(1), Bytes{"<selectcaipdlg:A1:>"});
    EXPECT_TRUE(root->listViewController) << "the list stays until it has slid away";
    advance(0.5);
    EXPECT_FALSE(root->listViewController);

    EXPECT_TRUE(root->showBigCaip1(dish("D7", "宫保鸡丁")));
    root->showBigCaip();
    EXPECT_EQ(heard(1), Bytes{"<caipdlg:A1:D7>"});
    tap("返回");  // the detail view's back
    EXPECT_EQ(heard(1), Bytes{"<selectcaipdlg:A1:>"});
    EXPECT_FALSE(root->caipViewController);

    tap("返回");  // the menu's back
    EXPECT_EQ(heard(1), Bytes{"<zirevovuzud:A1:>"});
    ASSERT_TRUE(root->welcomeViewController);

    // A key, in the desk name's encoding on the wire; a sub-category key shows that category.
    NSServer::getNowDesk()->m_strDeskID = "桌1";
    root->begin(std::string("0102"));
    EXPECT_EQ(heard(1), Bytes{"<selectcaipdlg:\xd7\xc0" "1:0102>"});
    EXPECT_EQ(root->selectCaipViewController->nowCplb()->cplb->m_strUid, "0102");
    EXPECT_EQ(NSServer::getUseCplbTree()->cplb->m_strUid, "0102");
}

TEST_F(Navigation, AnOfflineDeskAnnouncesNothing) {
    NSServer::getNowDesk()->m_strDeskID.clear();
    tap("开始点菜");
    advance(0.75);
    tap("已点菜单");
    advance(0.5);
    tap("返回");
    advance(0.5);
    loop().drain();
    EXPECT_FALSE(sim.waitForAnnouncements(1, 0.3));
}

TEST_F(Navigation, ANewMenuTakesThePlaceOfTheOldOneOnScreenToo) {
    tap("开始点菜");
    advance(0.75);
    auto first = root->selectCaipViewController.get();
    tap("返回");
    EXPECT_EQ(viewsOf(first.get()), 1) << "the menu stays beneath the welcome screen";
    advance(0.75);
    tap("开始点菜");
    advance(0.75);
    EXPECT_NE(root->selectCaipViewController.get(), first);
    EXPECT_EQ(viewsOf(first.get()), 0) << "the old menu's view outlived its slot";
    EXPECT_EQ(viewsOf(root->selectCaipViewController.get().get()), 1);
}

TEST_F(Navigation, AMenuWithoutCategoriesRaisesTheSyncHintOnceAndThenUsesThePanel) {
    NSServer::getCaipDB()->rootCplbTrees.clear();
    tap("开始点菜");
    EXPECT_EQ(alertMessage(), "菜谱中没有菜品类别，请先同步菜谱");
    EXPECT_TRUE(NSServer::getIsShowAlert());
    EXPECT_TRUE(root->welcomeViewController);
    root->begin(std::nullopt);
    EXPECT_EQ(alerts().size(), 1u);
    EXPECT_EQ(panelText(), "菜谱中没有菜品类别，请先同步菜谱");
    tap("确定");
    EXPECT_FALSE(NSServer::getIsShowAlert());
}

TEST_F(Navigation, ASetMealWithAChoiceOpensTheChooserAndItsCloseAnnouncesTheMenu) {
    auto bom = std::make_shared<NSATreeClass>();
    bom->m_str1 = {"", "S1", "S2"};
    bom->m_str2 = {"", "D1", "D2;D3"};
    NSServer::getCaipDB()->m_Bom = bom;
    tap("开始点菜");
    advance(0.75);
    heard(1);

    struct Case {
        std::shared_ptr<NSCaipClass> dish;
        bool plain;
    } cases[] = {{dish("S1", "单选套餐", true), true}, {dish("S2", "自选套餐", true), false}, {dish("D9", "鱼香肉丝"), true}};
    for (auto& c : cases) {
        EXPECT_EQ(root->showBigCaip1(c.dish), c.plain) << c.dish->m_strName;
        EXPECT_EQ(static_cast<bool>(root->selectBomViewController), !c.plain) << c.dish->m_strName;
        root->showBigCaip();
        EXPECT_EQ(heard(1), Bytes{"<caipdlg:A1:" + *c.dish->m_strID + ">"});
        if (c.plain) {
            root->backToSelectCaip(false);
        } else {
            advance(0.3);
            tap("取消");  // the chooser's cancel
            EXPECT_TRUE(root->selectBomViewController);
            advance(0.3);
            EXPECT_FALSE(root->selectBomViewController);
        }
        EXPECT_FALSE(root->caipViewController);
        EXPECT_EQ(heard(1), Bytes{"<selectcaipdlg:A1:>"});
    }
}

TEST_F(Navigation, TheSoldOutListAndTheSetMealScreenSlideUpAndAwaySilently) {
    auto sellOut = std::make_shared<NSATreeClass>();
    sellOut->m_code = {"", "D1", "", "D2"};
    NSServer::getCaipDB()->m_SellOut = sellOut;
    NSServer::getCaipDB()->m_CaipArray = {dish("D1", "豆腐"), dish("D2", "青菜")};
    root->showSellOutList();
    ASSERT_TRUE(root->taoCanViewController);
    EXPECT_EQ(root->taoCanViewController->type(), UITaoCanViewController::kSoldOut);
    auto table = root->taoCanViewController->tb_dishs();
    ASSERT_EQ(table->numberOfRows(0), 2);
    advance(0.5);
    EXPECT_EQ(root->taoCanViewController->view()->frame(), root->frameRect());
    EXPECT_TRUE(shows("豆腐"));
    EXPECT_TRUE(shows("青菜"));

    tap("返回");
    advance(0.5);
    EXPECT_FALSE(root->taoCanViewController);
    loop().drain();
    EXPECT_FALSE(sim.waitForAnnouncements(1, 0.3));
}

TEST_F(Navigation, TheEditorRefusesASentLineAndReturnsFromTheDetailViewToTheMenu) {
    tap("开始点菜");
    advance(0.75);

    auto sent = std::make_shared<NSDishClass>();
    sent->m_iState = 1;
    root->modifyCaip(sent);
    EXPECT_EQ(alertMessage(), "不能修改已下单的菜。");
    EXPECT_FALSE(root->quickCaipViewController);
    tap("确定");

    ASSERT_TRUE(root->showBigCaip1(dish("D7", "宫保鸡丁")));
    root->showBigCaip();
    root->showQuickCaip(dish("D7", "宫保鸡丁"), root->caipViewController->m_dish(), false);
    ASSERT_TRUE(root->quickCaipViewController);
    advance(0.3);
    tap("取消");  // the editor's cancel
    EXPECT_FALSE(root->caipViewController) << "ordering from the detail view ends on the menu";
    advance(0.3);
    EXPECT_FALSE(root->quickCaipViewController);
    EXPECT_EQ(root->view()->subviews().back(), root->selectCaipViewController->view());
}

TEST_F(Navigation, TheSetMealScreenCoversTheDetailViewAndGivesItBackAndTheAddModeComesAndGoes) {
    tap("开始点菜");
    advance(0.75);
    ASSERT_TRUE(root->showBigCaip1(dish("S1", "家常套餐", true)));
    root->showBigCaip();
    auto detail = root->caipViewController.get();
    auto line = detail->m_dish();
    line->m_ExDishs = {std::make_shared<NSDishClass>()};
    line->m_ExDishs[0]->m_strCaipName = "例汤";
    line->m_bisExp = true;  // its items are given, not taken from the set-meal table

    root->showBomDish(line);
    auto setMeal = root->taoCanViewController.get();
    ASSERT_TRUE(setMeal);
    EXPECT_TRUE(line->m_bisExp);
    advance(0.5);
    EXPECT_EQ(setMeal->view()->frame(), root->frameRect());
    EXPECT_FALSE(detail->view()->superview()) << "the detail view is off the screen under the set meal";
    EXPECT_EQ(root->caipViewController.get(), detail);

    // An item's own detail view, and back.
    root->showBigCaipForEx(line->m_ExDishs[0]);
    ASSERT_TRUE(root->bom_caipViewController);
    EXPECT_EQ(root->bom_caipViewController->type(), UICaipViewController::kSetMealItem);
    tap("返回");
    EXPECT_FALSE(root->bom_caipViewController);

    tap("返回");  // the set meal's back
    advance(0.5);
    EXPECT_FALSE(root->taoCanViewController);
    EXPECT_EQ(detail->view()->superview(), root->view().get()) << "closing the set meal gives the detail view back";
    EXPECT_EQ(root->view()->subviews().back(), detail->view()) << "above the menu again";

    // The add mode: a second menu over the set meal, which slides away and back.
    root->showBomDish(line);
    advance(0.5);
    root->bomAddCaip();
    ASSERT_TRUE(root->bom_selectCaipViewController);
    EXPECT_EQ(root->bom_selectCaipViewController->type(), UISelectCaipViewController::kSetMealAdd);
    advance(0.5);
    EXPECT_EQ(root->taoCanViewController->view()->frame().origin.y, root->frameRect().height());
    tap("返回");  // the second menu's back leads to the set meal
    EXPECT_TRUE(root->bom_selectCaipViewController) << "it covers the set meal until the slide ends";
    advance(0.5);
    EXPECT_FALSE(root->bom_selectCaipViewController);
    EXPECT_EQ(root->taoCanViewController->view()->frame(), root->frameRect());
}

}  // namespace
