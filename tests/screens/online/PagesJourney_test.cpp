// A new guest's way through the online part, by taps alone: from the welcome screen to the online
// home, logged in, the shops nearby, one shop's detail, and a take-away order that the service
// accepts, after which the dish menu shows the shop's web menu.

#include <nlohmann/json.hpp>

#include "PagesFixture.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/online/UIDingCanViewController.h"
#include "screens/online/UIDingDanXViewController.h"
#include "screens/online/UIFunctionViewController.h"
#include "screens/online/UIMapFindViewController.h"
#include "screens/online/UIShopShowViewController.h"

namespace {

using pagestest::PagesTest;
class GuestJourney : public PagesTest {};

TEST_F(GuestJourney, FromTheWelcomeScreenToAnAcceptedTakeAwayOrder) {
    tap("在线服务");
    ASSERT_TRUE(root->functionViewController);
    // The home is kept: leaving it and coming back finds the same one.
    auto home = root->functionViewController.get();
    tap("返回");
    EXPECT_FALSE(home->view()->superview());
    tap("在线服务");
    EXPECT_EQ(root->functionViewController.get(), home);

    tap("未登录");
    ASSERT_TRUE(root->customerLoginViewController);
    tap("用户名");
    type("demo");
    tap("密码");
    type("123456");
    tapAndWait("登录");
    EXPECT_EQ(NSServer::getShopDB()->m_nowuser->m_id, "1001");
    EXPECT_FALSE(root->customerLoginViewController);
    EXPECT_EQ(root->functionViewController->bt_user()->currentTitle(), "已登录");

    tapAndWait("附近商家");
    ASSERT_TRUE(root->mapFindViewController);
    EXPECT_TRUE(shows("蜀香园")) << dump();
    EXPECT_TRUE(shows("0.1km") || shows("0.2km")) << dump();

    tapAndWait("蜀香园");
    ASSERT_TRUE(root->shopShowViewController);
    EXPECT_TRUE(shows("外卖"));

    tapAndWait("外卖");
    ASSERT_TRUE(root->dingCanViewController);
    auto form = root->dingCanViewController.get();
    EXPECT_EQ(form->tf_name()->text(), "王小明");  // the profile loaded after the login
    tap("人数");
    type("2");
    tap("送餐地址");
    type("中山路10号");
    tapAndWait("提交订单");

    EXPECT_EQ(alertMessage().rfind("预订成功", 0), 0u) << alertMessage();
    auto submits = requestsFor("SubmitOrder");
    ASSERT_EQ(submits.size(), 1u);
    auto order = nlohmann::json::parse(value(submits[0], "ordermodel"))[0];
    EXPECT_EQ(order["OrderType"], "0");
    EXPECT_EQ(order["TogoID"], "101");
    EXPECT_EQ(order["EatNum"], "2");
    EXPECT_EQ(order["Address"], "中山路10号");
    EXPECT_EQ(order.count("mould"), 0u);
    const std::string orderid = web.withWorld([](websim::World& w) { return w.orders.back().id; });
    ASSERT_TRUE(root->dingDXViewController);
    EXPECT_EQ(root->dingDXViewController->m_dingd()->m_strOrderid, orderid);
    EXPECT_FALSE(root->dingCanViewController);
    EXPECT_TRUE(root->selectCaipViewController) << "the dish menu opens on the shop's menu";
}

}  // namespace
