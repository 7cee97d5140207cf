// The customer's online orders as a guest meets them: the list from the home's order tile, one
// order's detail with its dishes and totals, the way on to the dish menu on the order shop's
// imported menu, and what the pages do when the service answers nothing.

#include "PagesFixture.h"
#include "model/NSCaipDBClass.h"
#include "platform/ui/TextView.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/online/UIDingDanXViewController.h"
#include "screens/online/UIDingListViewController.h"
#include "screens/online/UIFunctionViewController.h"

namespace {

using pagestest::PagesTest;

class OnlineOrderPages : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        logIn();
        root->showFunction();
    }
    void openList() {
        tapAndWait("我的订单");
        ASSERT_TRUE(root->dingListViewController) << dump();
    }
    UIDingDanXViewController& detail() { return *root->dingDXViewController; }
    std::string summary() { return detail().tv_dingdan()->text(); }
    bool canSelectDish() { return detail().bt_SelectDish()->alpha() > 0; }
    static std::string dishWord() { return SwitchViewController::word("dishforsend"); }
};

TEST_F(OnlineOrderPages, TheListShowsEachOrderAndARowOpensItsDetailWithTheDishMenuBeyond) {
    web.withWorld([](websim::World& w) { w.order("5002")->state = 7; });  // no text of its own
    openList();
    const auto lists = requestsFor("GetOrderListByUserId");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(value(lists[0], "userid"), "1001");
    auto& list = *root->dingListViewController;
    EXPECT_EQ(list.tb_dingl()->numberOfRows(0), 2);
    // A take-away order, then a reservation: its own time caption and no delivery fee.
    for (const char* text : {"订单号:5001", "蜀香园", "外卖", "送达时间:2026-12-01 12:00", "处理成功", "总价:66元",
                             "外送费:5元", "订单号:5002", "中餐预订", "就餐时间:2026-12-24 18:30", "总价:0元"})
        EXPECT_TRUE(shows(text)) << text << "\n" << dump();
    EXPECT_FALSE(shows("外送费:0元"));

    tapAndWait("订单号:5001");
    ASSERT_TRUE(root->dingDXViewController);
    EXPECT_EQ(detail().m_dingd(), list.a_dingds()[0]) << "the list's record, completed by the detail";
    const auto details = requestsFor("GetOrderDetailByOrderId");
    ASSERT_EQ(details.size(), 1u);
    EXPECT_EQ(value(details[0], "orderid"), "5001");
    EXPECT_EQ(summary(),
              "预定单号:5001\r\n商户名称:蜀香园\r\n送达时间:2026-12-01 12:00 处理成功\r\n桌台类型:\t\t 人数:2人\r\n"
              "姓名:王小明\t\t电话:13800000000\r\n地址:上海市黄浦区中山路1号\r\n付款方式:货到付款\t金额:66元\r\n"
              "付款时间:2026-12-01 12:40\r\n外送费:5元");
    EXPECT_EQ(detail().tb_caipin()->numberOfRows(0), 2);
    for (const char* text : {"1", "宫保鸡丁", "28", "2", "回锅肉", "32"}) EXPECT_TRUE(shows(text)) << text;
    EXPECT_EQ(ui::findViewsWithTitle(*window, dishWord()).size(), 2u) << "both lines are still to be sent";

    // The answer brought the shop's menu in; the select-dish button opens the menu on it.
    ASSERT_TRUE(canSelectDish());
    auto db = NSServer::getCaipDB();
    ASSERT_FALSE(db->m_CaipArray.empty());
    EXPECT_EQ(db->m_CaipArray[0]->strID().rfind("101-", 0), 0u);
    tap("选菜");
    EXPECT_TRUE(root->selectCaipViewController);
}

TEST_F(OnlineOrderPages, ASeatOnlyShopOffersNoDishesAndALaterDetailTakesOverTheHeldOrder) {
    web.withWorld([](websim::World& w) { w.order("5002")->state = 6; });
    openList();
    EXPECT_TRUE(shows("已失效"));
    tapAndWait("订单号:5001");
    auto first = root->dingDXViewController.get();
    tapAndWait("返回");
    EXPECT_FALSE(root->dingDXViewController) << "leaving the detail lets its order go";

    // A second order's detail opened while the first is still up replaces it as the held order.
    tapAndWait("订单号:5001");
    first = root->dingDXViewController.get();
    root->showDingDX(root->dingListViewController->a_dingds()[1]);
    ASSERT_TRUE(answers());
    ASSERT_NE(root->dingDXViewController.get(), first);
    EXPECT_EQ(detail().m_dingd()->m_strOrderid, "5002");
    EXPECT_NE(summary().find("就餐时间:2026-12-24 18:30 已失效\r\n桌台类型:包间\t\t 人数:6人"), std::string::npos);
    EXPECT_EQ(summary().find("外送费"), std::string::npos);
    EXPECT_EQ(detail().tb_caipin()->numberOfRows(0), 0);
    EXPECT_FALSE(canSelectDish()) << "a shop that takes seat reservations only";
    // Its menu is imported all the same.
    EXPECT_EQ(NSServer::getCaipDB()->m_CaipArray.at(0)->strID().rfind("103-", 0), 0u);
}

TEST_F(OnlineOrderPages, AnOrderLeftBeforeItsAnswerDoesNotReplaceTheNextOrdersMenu) {
    openList();
    web.setFault("GetOrderDetailByOrderId", websim::Fault::Held);
    tap("订单号:5001");
    // Once the service holds the first request, the second order is answered at once; the
    // first answer comes only after that.
    ASSERT_TRUE(testsupport::waitUntil([&] { return requestsFor("GetOrderDetailByOrderId").size() == 1; }));
    web.clearFaults();
    tap("返回");
    tap("订单号:5002");
    ASSERT_TRUE(testsupport::waitUntil([&] {
        loop().waitForPosted(0.02);
        loop().drain();
        return NSHTTPServer::inFlight() == 1;
    }));
    web.releaseHeld();
    ASSERT_TRUE(answers());
    ASSERT_EQ(requestsFor("GetOrderDetailByOrderId").size(), 2u);
    EXPECT_EQ(detail().m_dingd()->m_strOrderid, "5002");
    EXPECT_EQ(requestsFor("GetFoodTypeListByShopId").size(), 1u);
    EXPECT_EQ(NSServer::getCaipDB()->m_CaipArray.at(0)->strID().rfind("103-", 0), 0u) << "the open order's shop";
}

TEST_F(OnlineOrderPages, DishRowsShowQuantitiesAndLinePrices) {
    web.withWorld([](websim::World& w) {
        w.order("5001")->foods = nlohmann::json::array(
            {{{"foodname", "水饺"}, {"FoodID", "101-102"}, {"Num", "2"}, {"FoodPrice", "12.5"}},
             {{"foodname", "凉面"}, {"FoodID", "101-103"}, {"Num", 0.5}, {"FoodPrice", "9"}}});
    });
    openList();
    tapAndWait("订单号:5001");
    struct Row {
        int row;
        const char* name;
        const char* quantity;
        const char* price;
    };
    for (const Row& r : {Row{0, "水饺", "2", "25"}, Row{1, "凉面", "0.5", "4.5"}}) {
        auto cell = detail().tb_caipin()->cellForRow({0, r.row});
        ASSERT_TRUE(cell);
        std::vector<std::string> texts;
        for (const auto& v : cell->contentView()->subviews())
            if (auto* l = dynamic_cast<ui::Label*>(v.get())) texts.push_back(l->text());
        EXPECT_EQ(texts, (std::vector<std::string>{std::to_string(r.row + 1), r.name, r.quantity, r.price, dishWord()}))
            << r.name;
    }
}

TEST_F(OnlineOrderPages, NoAnswerLeavesAnEmptyListOrAnUntouchedDetail) {
    // No orders, and answers that are none or no JSON: an empty table and no message.
    web.withWorld([](websim::World& w) { w.orders.clear(); });
    openList();
    EXPECT_EQ(root->dingListViewController->tb_dingl()->numberOfRows(0), 0);
    for (auto fault : {websim::Fault::Status, websim::Fault::HtmlError}) {
        web.setFault("GetOrderListByUserId", fault);
        tapAndWait("返回");
        openList();
        EXPECT_EQ(root->dingListViewController->tb_dingl()->numberOfRows(0), 0);
        EXPECT_FALSE(panelText());
    }
    web.clearFaults();
    tapAndWait("返回");

    // A detail without answer, or with one that is no JSON, says so, shows nothing, keeps the
    // order's record and leaves the menu and the desk alone.
    web.withWorld([](websim::World& w) { w.orders = websim::World::demo().orders; });
    openList();
    const auto order = root->dingListViewController->a_dingds().at(0);
    tapAndWait("订单号:5001");  // answered once: the record holds its detail
    tapAndWait("返回");
    ASSERT_EQ(order->m_strPayMode, "货到付款");
    const std::size_t imports = requestsFor("GetFoodTypeListByShopId").size();
    const auto desk = NSServer::getNowDesk();
    const auto menu = NSServer::getCaipDB();
    for (auto fault : {websim::Fault::Status, websim::Fault::HtmlError, websim::Fault::BadJson}) {
        web.setFault("GetOrderDetailByOrderId", fault);
        tapAndWait("订单号:5001");
        EXPECT_EQ(panelText(), "网络连接异常");
        EXPECT_EQ(summary(), "");
        EXPECT_EQ(detail().tb_caipin()->numberOfRows(0), 0);
        EXPECT_FALSE(canSelectDish()) << "no dishes go to a desk that is not the order's";
        EXPECT_EQ(order->m_strPayMode, "货到付款");
        tap("网络连接异常");  // the guest puts the message away
        advance(0.5);
        tap("返回");
    }
    EXPECT_EQ(NSServer::getNowDesk(), desk);
    EXPECT_EQ(NSServer::getCaipDB(), menu);
    EXPECT_EQ(requestsFor("GetFoodTypeListByShopId").size(), imports);

    // Pages closed before their answers arrive take them quietly.
    web.clearFaults();
    tap("订单号:5002");
    tap("返回");
    tap("返回");
    EXPECT_TRUE(answers());
    EXPECT_FALSE(root->dingListViewController);
}

}  // namespace
