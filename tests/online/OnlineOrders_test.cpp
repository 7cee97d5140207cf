// The customer's online orders: the list and the detail from the service, and the texts the two
// order screens show.

#include "OnlineFixture.h"
#include "model/NSCaipDBClass.h"
#include "online/NSOnlineOrders.h"
#include "online/NSWebMenuImport.h"

namespace onlinetest {
namespace {

using OnlineOrders = OnlineTest;

TEST_F(OnlineOrders, ListHoldsTheCustomersOrdersInAnswerOrder) {
    NSServer::setShopDB(std::make_shared<NSShopDBClass>());
    NSServer::getShopDB()->m_nowuser->m_id = "1001";
    auto list = std::make_shared<NSDingListLoader>();
    int loaded = 0;
    list->onLoaded = [&] { ++loaded; };
    list->loadList();
    ASSERT_TRUE(settle());
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(sim.requests().back().target, "/app/Android/GetOrderListByUserId.aspx?userid=1001");
    ASSERT_EQ(list->a_dingds.size(), 2u);
    const auto& first = *list->a_dingds[0];
    EXPECT_EQ(first.m_strOrderid, "5001");
    EXPECT_EQ(first.m_iState, 3);
    EXPECT_EQ(first.m_iOrderType, 0);
    EXPECT_EQ(first.m_strTogoName, "蜀香园");
    EXPECT_EQ(first.m_strTotalPrice, "66");
    EXPECT_EQ(first.m_strSendmoney, "5");
    EXPECT_EQ(first.m_strPackagefree, "2");
    EXPECT_EQ(first.m_strOrderTime, "2026-12-01 12:00");
    EXPECT_EQ(list->a_dingds[1]->m_strOrderid, "5002");
    EXPECT_EQ(list->pagenum, 1);

    // No answer, or none that parses: no orders and no message.
    for (auto fault : {websim::Fault::Status, websim::Fault::HtmlError}) {
        sim.setFault("GetOrderListByUserId", fault);
        auto empty = std::make_shared<NSDingListLoader>();
        empty->onLoaded = [&] { ++loaded; };
        empty->loadList();
        ASSERT_TRUE(settle());
        EXPECT_TRUE(empty->a_dingds.empty());
    }
    EXPECT_EQ(loaded, 3);
}

TEST_F(OnlineOrders, RowAndSummaryTexts) {
    NSDingDClass takeAway;
    takeAway.m_strOrderid = "5001";
    takeAway.m_strTogoName = "蜀香园";
    takeAway.m_strOrderTime = "12:00";
    takeAway.m_strTotalPrice = "66";
    takeAway.m_strSendmoney = "5";
    takeAway.m_iState = 6;
    takeAway.m_iOrderType = 0;
    takeAway.m_strMode = "大厅";
    takeAway.m_strEatNum = "2";
    takeAway.m_strUserName = "王";
    takeAway.m_strUserTel = "138";
    takeAway.m_strAddress = "中山路1号";
    takeAway.m_strPayMode = "现金";
    takeAway.m_strPayTime = "12:40";
    const auto row = dingd::rowTexts(takeAway);
    EXPECT_EQ(row.number, "订单号:5001");
    EXPECT_EQ(row.type, "外卖");
    EXPECT_EQ(row.shop, "蜀香园");
    EXPECT_EQ(row.time, "送达时间:12:00");
    EXPECT_EQ(row.state, "已失效");
    EXPECT_EQ(row.total, "总价:66元");
    EXPECT_EQ(row.deliveryFee, "外送费:5元");
    EXPECT_EQ(dingd::summaryText(takeAway),
              "预定单号:5001\r\n商户名称:蜀香园\r\n送达时间:12:00 已失效\r\n桌台类型:大厅\t\t 人数:2人\r\n"
              "姓名:王\t\t电话:138\r\n地址:中山路1号\r\n付款方式:现金\t金额:66元\r\n付款时间:12:40\r\n外送费:5元");

    NSDingDClass reservation = takeAway;
    reservation.m_iOrderType = 2;
    reservation.m_iState = 7;
    const auto r = dingd::rowTexts(reservation);
    EXPECT_EQ(r.type, "中餐预订");
    EXPECT_EQ(r.time, "就餐时间:12:00");
    EXPECT_EQ(r.state, "");
    EXPECT_FALSE(r.deliveryFee);
    const std::string summary = dingd::summaryText(reservation);
    EXPECT_NE(summary.find("就餐时间:12:00 \r\n"), std::string::npos);
    EXPECT_EQ(summary.find("外送费"), std::string::npos);

    const char* const states[] = {"未审核", "审核通过", "正在打印", "处理成功", "处理失败", "订单取消", "已失效"};
    for (int s = 0; s < 7; ++s) EXPECT_EQ(dingd::stateText(s), states[s]);
    EXPECT_EQ(dingd::stateText(-1), "");
}

TEST_F(OnlineOrders, DetailCompletesTheOrderListsItsDishesAndImportsTheShopMenu) {
    struct Case {
        const char* order;
        const char* shop;
        bool canSelect;
        std::size_t dishes;
    };
    // 5002 is a reservation at a shop that takes seat reservations only.
    for (const auto& c : {Case{"5001", "101", true, 2}, Case{"5002", "103", false, 0}}) {
        NSServer::setCaipDB(std::make_shared<NSCaipDBClass>());
        auto detail = std::make_shared<NSDingDetailLoader>();
        detail->m_dingd->m_strOrderid = c.order;
        int shown = 0;
        detail->onShown = [&] { ++shown; };
        detail->loadDingDanX();
        ASSERT_TRUE(settle());
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(detail->m_dingd->m_strTogoId, c.shop);
        EXPECT_EQ(detail->canSelectDish(), c.canSelect) << c.order;
        ASSERT_EQ(detail->m_dishs.size(), c.dishes);
        // The shop's menu came in, also for a reservation-only shop.
        auto db = NSServer::getCaipDB();
        ASSERT_FALSE(db->m_CaipArray.empty()) << c.order;
        EXPECT_EQ(db->m_CaipArray[0]->strID().rfind(std::string(c.shop) + "-", 0), 0u);
    }
    auto detail = std::make_shared<NSDingDetailLoader>();
    detail->m_dingd->m_strOrderid = "5001";
    detail->loadDingDanX();
    ASSERT_TRUE(settle());
    const auto& line = *detail->m_dishs[1];
    EXPECT_EQ(line.m_strCaipName, "回锅肉");
    EXPECT_EQ(*line.m_strCaipID, "101-103");
    EXPECT_FLOAT_EQ(line.m_fQuantity, 1);
    EXPECT_EQ(line.m_strPrice, "32");
    EXPECT_EQ(line.m_strRemark, "少油");
    EXPECT_EQ(line.m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(detail->m_dingd->m_strPayMode, "货到付款");
    EXPECT_EQ(detail->m_dingd->m_strEatNum, "2");

    // Quantities are read as numbers whatever form they come in.
    NSDingDClass order;
    const auto dishes = dingd::readOrderDetail(
        order, nlohmann::json::parse(R"({"typeid":"2","foodlist":[{"Num":"2","FoodPrice":"12.5"},{"Num":0.5}]})"));
    ASSERT_EQ(dishes.size(), 2u);
    EXPECT_FLOAT_EQ(dishes[0]->m_fQuantity, 2);
    EXPECT_FLOAT_EQ(dishes[1]->m_fQuantity, 0.5f);
    EXPECT_EQ(order.m_iTogoType, 2);
}

TEST_F(OnlineOrders, DetailWithoutAnswerTellsTheGuestAndImportsNothing) {
    sim.setFault("GetOrderDetailByOrderId", websim::Fault::Status);
    auto detail = std::make_shared<NSDingDetailLoader>();
    detail->m_dingd->m_strOrderid = "5001";
    std::vector<std::string> messages;
    detail->showMessage = [&](const std::string& m) { messages.push_back(m); };
    bool shown = false;
    detail->onShown = [&] { shown = true; };
    auto desk = NSServer::getNowDesk();
    detail->loadDingDanX();
    ASSERT_TRUE(settle());
    EXPECT_EQ(messages, std::vector<std::string>{"网络连接异常"});
    EXPECT_FALSE(shown);
    EXPECT_EQ(NSServer::getNowDesk(), desk);
    EXPECT_EQ(sim.requests().size(), 1u);
}

}  // namespace
}  // namespace onlinetest
