// The online pages as the root opens and closes them: the customer-only pages, the values the
// pages are given, the city button and the way into the dish menu.

#include "ScreenFixture.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbClass.h"
#include "model/NSCplbTreeClass.h"
#include "online/NSShopDBClass.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/online/UIChooseCityViewController.h"
#include "screens/online/UICollectionShopViewController.h"
#include "screens/online/UICustomerLoginViewController.h"
#include "screens/online/UIDingCanViewController.h"
#include "screens/online/UIDingListViewController.h"
#include "screens/online/UIFunctionViewController.h"
#include "screens/online/UIMapFindViewController.h"
#include "screens/online/UIPersonViewController.h"
#include "screens/online/UIShopShowViewController.h"

namespace {

class OnlinePages : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        launch("127.0.0.1");
        advance(1);
    }
    void logIn(const std::string& id) { NSServer::getShopDB()->m_nowuser->m_id = id; }
    bool onTop(ui::ViewController* page) const {
        return page && page->isViewLoaded() && root->view()->subviews().back() == page->view();
    }
};

TEST_F(OnlinePages, CustomerPagesNeedALoggedInCustomerAndOtherwiseOpenTheLogin) {
    struct Case {
        const char* name;
        std::function<void(SwitchViewController&)> open;
        std::function<ui::ViewController*(SwitchViewController&)> page;
    } cases[] = {
        {"person centre", [](auto& r) { r.showPersonCenter(); }, [](auto& r) { return r.personViewController.controller(); }},
        {"order form", [](auto& r) { r.showdingcan(std::make_shared<NSShopClass>(), 2); },
         [](auto& r) { return r.dingCanViewController.controller(); }},
        {"favourites", [](auto& r) { r.showCollection(); }, [](auto& r) { return r.collectionShopViewController.controller(); }},
        {"order list", [](auto& r) { r.showDingL(); }, [](auto& r) { return r.dingListViewController.controller(); }},
    };
    for (auto& c : cases) {
        logIn("");
        c.open(*root);
        EXPECT_FALSE(c.page(*root)) << c.name;
        ASSERT_TRUE(root->customerLoginViewController) << c.name;
        EXPECT_EQ(root->customerLoginViewController->view()->superview(), root->view().get()) << c.name;
        EXPECT_EQ(panelText(), "请先登录然后进行预定") << c.name;
        advance(4);  // the message panel stands over the page's back button until it fades
        tap("返回");
        EXPECT_FALSE(root->customerLoginViewController) << c.name;

        logIn("u7");
        c.open(*root);
        EXPECT_TRUE(onTop(c.page(*root))) << c.name;
        EXPECT_FALSE(root->customerLoginViewController) << c.name;
        tap("返回");
        EXPECT_FALSE(c.page(*root)) << c.name;
    }
}

TEST_F(OnlinePages, PagesGetTheirValues) {
    logIn("u7");
    auto shop = std::make_shared<NSShopClass>();
    root->showdingcan(shop, UIDingCanViewController::kTakeAway);
    EXPECT_EQ(root->dingCanViewController->m_shop(), shop);
    EXPECT_EQ(root->dingCanViewController->dingtype(), UIDingCanViewController::kTakeAway);
    EXPECT_EQ(root->dingCanViewController->view()->frame(), root->frameRect());

    struct Case {
        std::function<void(SwitchViewController&)> open;
        std::string text;
        int viewType, ty;
    } finders[] = {
        {[](auto& r) { r.searchShop("川菜"); }, "川菜", UIMapFindViewController::kListView, 3},
        {[](auto& r) { r.showmapfind(true, 5); }, "", UIMapFindViewController::kMapView, 5},
        {[](auto& r) { r.showmapfind(false, 6); }, "", UIMapFindViewController::kListView, 6},
    };
    for (auto& c : finders) {
        c.open(*root);
        ASSERT_TRUE(root->mapFindViewController);
        EXPECT_EQ(root->mapFindViewController->m_strSearchText(), c.text);
        EXPECT_EQ(root->mapFindViewController->showShopType(), c.viewType) << c.ty;
        EXPECT_EQ(root->mapFindViewController->ty(), c.ty);
        root->mapfindback();
        EXPECT_FALSE(root->mapFindViewController);
    }
}

TEST_F(OnlinePages, TheHomeTakesTheChosenCityAndLeadsIntoTheMenu) {
    auto home = std::make_shared<UIFunctionViewController>();
    home->setRootViewController(root.get());
    root->functionViewController = home;
    root->view()->addSubview(home->view());

    tap("Lumito-选择城市");
    ASSERT_TRUE(root->chooseCityViewController);
    tap("确定");  // the device cannot tell where it is
    tap("返回");  // no city chosen: the button keeps asking for one
    EXPECT_EQ(home->bt_city()->currentTitle(), "Lumito-选择城市");
    auto city = std::make_shared<NSCityClass>();
    city->cityname = "杭州";
    NSServer::getShopDB()->m_choosecity = city;
    tap("Lumito-选择城市");
    tap("确定");
    tap("返回");
    EXPECT_EQ(home->bt_city()->currentTitle(), "Lumito-杭州");

    // No categories: the hint, and the home has already gone.
    NSServer::getCaipDB()->rootCplbTrees.clear();
    tap("点菜");
    EXPECT_EQ(alertMessage(), "菜谱中没有菜品类别，请先同步菜谱");
    EXPECT_FALSE(home->view()->superview());
    tap("确定");

    auto top = std::make_shared<NSCplbTreeClass>();
    top->cplb = std::make_shared<NSCplbClass>();
    top->cplb->m_strUid = "02";
    NSServer::getCaipDB()->rootCplbTrees = {top};
    NSServer::setUseCplbTree(top);
    root->view()->addSubview(home->view());
    sim.clearRecords();
    tap("点菜");
    ASSERT_TRUE(root->selectCaipViewController);
    EXPECT_TRUE(onTop(root->selectCaipViewController.controller()));
    EXPECT_EQ(root->selectCaipViewController->nowCplb(), top);
    EXPECT_FALSE(NSServer::getUseCplbTree());
    loop().drain();
    EXPECT_FALSE(sim.waitForAnnouncements(1, 0.3));
}

}  // namespace
