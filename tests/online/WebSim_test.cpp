// The web-service simulator keeps what the terminal changes: one guest's way from registration to
// an order with dishes, through the client's blocking and asynchronous requests.

#include "OnlineFixture.h"
#include "online/NSJsonResolver.h"
#include "online/NSWebPages.h"

namespace onlinetest {
namespace {

using OnlineSimulator = OnlineTest;

TEST_F(OnlineSimulator, KeepsRegistrationLoginFavouritesOrdersAndPoints) {
    // One request and its parsed answer.
    auto ask = [&](const std::string& url, bool async = false) {
        std::string answer;
        bool done = false;
        auto request = NSHTTPServer::initWithAddress(url);
        request->setReceiveDelegate(std::make_shared<int>(0));
        request->setnetServerDidReceiveSelector([&](const std::string& a, NSHTTPServer&) {
            answer = a;
            done = true;
        });
        request->sendGetToServer(async);
        EXPECT_TRUE(pumpUntil([&] { return done; })) << url;
        NSJsonResolver json;
        return json.resolveJson(answer).value_or(nlohmann::json());
    };

    const auto reg = [&](const char* name, const char* tel, const char* email) {
        return json_read::integer(ask(webpages::regedit(email, name, "pw", tel, 31.2f, 121.4f, "路1号", 0, "李", "李")),
                                  "state");
    };
    EXPECT_EQ(reg("li", "139", "li@x"), 1);
    EXPECT_EQ(reg("li", "137", "l2@x"), -2);
    EXPECT_EQ(reg("li2", "139", "l3@x"), -3);
    EXPECT_EQ(reg("li3", "136", "li@x"), -4);

    EXPECT_TRUE(json_read::textEquals(ask(webpages::login("li", "bad")), "state", "0"));
    const auto login = ask(webpages::login("li", "pw"));
    ASSERT_TRUE(json_read::textEquals(login, "state", "1"));
    const std::string id = json_read::text(login, "userid");

    EXPECT_EQ(json_read::integer(ask(webpages::collectionShop("104", id, "Add"), true), "state"), 1);
    EXPECT_EQ(json_read::integer(ask(webpages::collectionShop("105", id, "Add"), true), "state"), 1);
    EXPECT_EQ(json_read::integer(ask(webpages::collectionShop("104", id, "Del"), true), "state"), 0);
    const auto favourites = json_read::list(ask(webpages::collectionList(id), true), "list");
    ASSERT_EQ(favourites.size(), 1u);
    EXPECT_EQ(json_read::text(favourites[0], "DataID"), "105");

    // An order header, then dishes for it.
    const nlohmann::json header = nlohmann::json::array(
        {{{"cartlist", nlohmann::json::array()}, {"OrderType", "0"}, {"UserID", id}, {"TogoID", "105"},
          {"SendTime", "2026-12-10 18:00"}, {"Remark", "多放香菜 & 葱"}, {"OrderID", ""}}});
    const auto placed = ask(webpages::submitOrder(NSJsonResolver::codeJson(header)), true);
    const std::string order = json_read::text(placed, "orderid");
    ASSERT_FALSE(order.empty());
    ASSERT_NE(order, "0");
    const nlohmann::json cart = nlohmann::json::array(
        {{{"OrderID", order},
          {"cartlist", nlohmann::json::array({{{"PId", "105-102"}, {"PName", "宫保鸡丁"}, {"PNum", "2"},
                                               {"PPrice", "28"}, {"addprice", "0"}, {"Remark", ""}}})}}});
    const auto added = ask(webpages::submitOrder(NSJsonResolver::codeJson(cart)), true);
    EXPECT_EQ(json_read::text(added, "orderid"), order);
    EXPECT_EQ(json_read::integer(added, "orderstate"), 1);

    const auto orders = json_read::list(ask(webpages::orderList(id), true), "orderlist");
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(json_read::text(orders[0], "TotalPrice"), "56");
    const auto detail = ask(webpages::orderDetail(order), true);
    EXPECT_EQ(json_read::text(detail, "Remark"), "多放香菜 & 葱");
    EXPECT_EQ(json_read::list(detail, "foodlist").size(), 1u);
    EXPECT_EQ(json_read::text(ask(webpages::userInfo(id), true), "point"), "10");

    // The demo customer's reviewed reservation takes dishes; the finished take-away takes none.
    for (auto [demoOrder, state, foods] : {std::tuple{"5002", 1, 1u}, {"5001", 2, 2u}}) {
        nlohmann::json more = cart;
        more[0]["OrderID"] = demoOrder;
        EXPECT_EQ(json_read::integer(ask(webpages::submitOrder(NSJsonResolver::codeJson(more)), true), "orderstate"), state)
            << demoOrder;
        EXPECT_EQ(json_read::list(ask(webpages::orderDetail(demoOrder), true), "foodlist").size(), foods) << demoOrder;
    }
}

}  // namespace
}  // namespace onlinetest
