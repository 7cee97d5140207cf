// The lenient readers every answer handler relies on, the picture address rule and the URL escaping.

#include <gtest/gtest.h>

#include "model/NSCaipDBClass.h"
#include "online/NSHTTPServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSOnlineOrders.h"
#include "online/NSShopDBClass.h"
#include "online/NSShopRecords.h"
#include "online/NSWebMenuImport.h"

namespace {

TEST(OnlineJson, NumbersAndBooleansAreReadLeniently) {
    const auto j = nlohmann::json::parse(R"({
        "n": 12, "f": 2.75, "s": " 42abc", "neg": "-7", "none": "abc", "null": null,
        "t1": "YES", "t2": "true", "t3": "  007", "f1": "NO", "f2": "000", "f3": "-0", "b": true, "z": 0,
        "big": 1e12, "txt": "x", "num": 5, "frac": 0.5, "pos": 121.4802, "whole": 10.0 })");
    struct IntCase { const char* key; int value; };
    for (const auto& c : {IntCase{"n", 12}, {"f", 2}, {"s", 42}, {"neg", -7}, {"none", 0}, {"null", 0},
                          {"missing", 0}, {"b", 1}, {"big", 2147483647}})
        EXPECT_EQ(json_read::integer(j, c.key), c.value) << c.key;
    EXPECT_FLOAT_EQ(json_read::number(j, "f"), 2.75f);
    EXPECT_FLOAT_EQ(json_read::number(j, "s"), 42.f);
    struct BoolCase { const char* key; bool value; };
    for (const auto& c : {BoolCase{"t1", true}, {"t2", true}, {"t3", true}, {"f1", false}, {"f2", false},
                          {"f3", false}, {"b", true}, {"z", false}, {"n", true}, {"missing", false}, {"null", false}})
        EXPECT_EQ(json_read::boolean(j, c.key), c.value) << c.key;
    // Texts as they come; a number gives its decimal text; missing and null give "".
    EXPECT_EQ(json_read::text(j, "txt"), "x");
    EXPECT_EQ(json_read::text(j, "num"), "5");
    EXPECT_EQ(json_read::text(j, "frac"), "0.5");
    EXPECT_EQ(json_read::text(j, "pos"), "121.4802");
    EXPECT_EQ(json_read::text(j, "whole"), "10");
    EXPECT_EQ(json_read::text(j, "null"), "");
    EXPECT_EQ(json_read::text(j, "missing"), "");
    // Compared members must be texts: the number 5 is not the text "5".
    EXPECT_TRUE(json_read::textEquals(j, "txt", "x"));
    EXPECT_FALSE(json_read::textEquals(j, "num", "5"));
    // Reading from something that is no object gives nothing, never a throw.
    const auto arr = nlohmann::json::parse("[1,2]");
    EXPECT_EQ(json_read::text(arr, "x"), "");
    EXPECT_TRUE(json_read::list(j, "txt").empty());
}

TEST(OnlineJson, ResolverKeepsTheValueOrNothing) {
    NSJsonResolver r;
    ASSERT_TRUE(r.resolveJson(R"({"a":"1"})"));
    EXPECT_EQ(json_read::text(*r.jsonMap, "a"), "1");
    EXPECT_FALSE(r.resolveJson("<html>error</html>"));
    EXPECT_FALSE(r.jsonMap);
    EXPECT_FALSE(r.resolveJson(""));
    EXPECT_EQ(NSJsonResolver::codeJson(nlohmann::json::array({{{"a", "中"}, {"b", nlohmann::json::array()}}})),
              "[{\"a\":\"中\",\"b\":[]}]");
}

TEST(OnlineJson, AnswersNestedBeyondTheBoundAreNoAnswer) {
    const auto nested = [](int depth, const char* open, const char* close) {
        std::string s;
        for (int i = 0; i < depth; ++i) s += open;
        s += "1";
        for (int i = 0; i < depth; ++i) s += close;
        return s;
    };
    struct Case {
        std::string text;
        bool read;
    };
    const int bound = NSJsonResolver::kMaxDepth;
    const Case cases[] = {
        {nested(bound, "[", "]"), true},
        {nested(bound + 1, "[", "]"), false},
        {nested(bound, "{\"a\":", "}"), true},
        {nested(bound + 1, "{\"a\":", "}"), false},
        // Brackets inside texts are no nesting.
        {"{\"a\":\"" + std::string(100000, '[') + "\"}", true},
        // The answer that brought the terminal down: far too deep, closed or cut off.
        {nested(100000, "[", "]"), false},
        {std::string(200000, '['), false},
        {"{\"state\":\"1\",\"list\":" + nested(100000, "[{\"x\":", "}]") + "}", false},
    };
    for (const auto& c : cases) {
        NSJsonResolver r;
        const auto value = r.resolveJson(c.text);
        EXPECT_EQ(value.has_value(), c.read) << c.text.substr(0, 40) << " (" << c.text.size() << " bytes)";
        EXPECT_EQ(r.jsonMap.has_value(), c.read);
        // What is read can be copied and written out again.
        if (value) {
            EXPECT_FALSE(NSJsonResolver::codeJson(nlohmann::json(*value)).empty());
        }
    }
}

TEST(OnlineJson, PictureAddressRule) {
    NSHTTPServer::setHTTPAddress("http://shop.example:8080/app/Android/");
    EXPECT_EQ(NSHTTPServer::pictureURL("upload/x.png"), "http://shop.example:8080/upload/x.png");
    EXPECT_EQ(NSHTTPServer::pictureURL(""), "");
    NSHTTPServer::setHTTPAddress("http://shop.example/svc/");
    EXPECT_EQ(NSHTTPServer::pictureURL("upload/x.png"), "upload/x.png");
}

TEST(OnlineJson, WholeURLEscaping) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"http://h/app/A.aspx?a=1&b=2", "http://h/app/A.aspx?a=1&b=2"},
        {"-_.!~*'();/?:@&=+$,", "-_.!~*'();/?:@&=+$,"},
        {" \"<>{}|^`\\#", "%20%22%3C%3E%7B%7D%7C%5E%60%5C%23"},
        {"中", "%E4%B8%AD"},
        {"\x01\x7f", "%01%7F"},
        // A lone "%" is escaped; a value's own escape is kept.
        {"100%", "100%25"},
        {"%zz%4", "%25zz%254"},
        {"a%26b", "a%26b"},
    };
    for (const auto& c : cases) EXPECT_EQ(NSHTTPServer::escapeURL(c.in), c.out) << c.in;
    EXPECT_EQ(NSHTTPServer::escapeValue("a&b=c+d?e#f%g h"), "a%26b%3Dc%2Bd%3Fe%23f%25g h");
}

TEST(OnlineJson, ShopRowsAndDetail) {
    NSHTTPServer::setHTTPAddress("http://h/app/Android/");
    const auto row = nlohmann::json::parse(R"({"DataID":"7","TogoName":"n","sortname":"s","address":"a",
        "Picture":"upload/7.png","ctid":"21","mymoney":"60","lat":"31.2364","lng":121.4802,
        "Time1Start":"10:00","Time1End":"14:00","Time2Start":"17:00","Time2End":null,
        "Time3Start":"22:00","Time3End":"23:00"})");
    const auto shop = shoprecords::readListRow(row);
    EXPECT_EQ(shop->m_strID, "7");
    EXPECT_EQ(shop->m_strPicUrl, "http://h/upload/7.png");
    EXPECT_EQ(shop->m_strCityid, "21");
    // The periods end at the first one without both ends.
    EXPECT_EQ(shop->m_strTimeStart, std::vector<std::string>{"10:00"});
    EXPECT_EQ(shop->m_strTimeEnd, std::vector<std::string>{"14:00"});
    // The position offset is taken off in single precision.
    EXPECT_EQ(shop->lat, 31.2364f - 0.006f);
    EXPECT_EQ(shop->lng, 121.4802f - 0.0065f);
    EXPECT_EQ(shop->m_iType, 4);  // until the detail says otherwise

    shoprecords::readDetail(*shop, nlohmann::json::parse(
        R"({"TogoType":"2","distance":"1","Tel":"021","LandmarkName":"l","Foodclass":"f","Introduce":"i","TogoUrl":"u"})"));
    EXPECT_EQ(shop->m_iType, 2);
    EXPECT_TRUE(shop->distance);
    EXPECT_EQ(shop->m_strTel, "021");
    EXPECT_EQ(shop->m_strPicUrl, "");  // a detail without a picture gives no address
}

}  // namespace

namespace {

// Answers of any shape are read without a throw: every member of the wrong type reads as nothing.
TEST(OnlineJson, ReadersTakeAnswersOfAnyShape) {
    const char* const answers[] = {
        "null", "[]", "7", R"("text")", R"({"foodlist":7,"orderlist":{},"list":"x","foodtypelist":[1,"a",null]})",
        R"({"foodlist":[1,[2],{"foodstylelist":[3,{"Title":4,"Price":[5]}],"foodattrlist":[{"Attributes":6},7],
            "FoodID":{"x":1},"Price":true}]})",
        R"({"orderlist":[{"State":{},"OrderID":[1],"OrderType":"x"}],"page":"2x","total":[]})",
        R"({"typeid":[],"foodlist":[{"Num":{},"FoodID":null}],"TogoId":5})",
        R"({"DataID":1,"lat":{},"Time1Start":[],"Time1End":{},"Time2Start":"a"})",
    };
    for (const char* text : answers) {
        const auto json = nlohmann::json::parse(text);
        EXPECT_NO_THROW({
            NSCaipDBClass db;
            NSWebMenuImport::applyMenu(db, NSWebMenuImport::readCategories(json), json);
            int page = 0;
            int total = 0;
            dingd::readOrderList(json, page, total);
            NSDingDClass order;
            dingd::readOrderDetail(order, json);
            NSShopClass shop;
            shoprecords::readDetail(shop, json);
            shoprecords::readListRow(json);
            for (const auto& e : json_read::list(json, "list")) shoprecords::readListRow(e);
            auto store = std::make_shared<NSShopDBClass>();
            store->receiveServerUserInfo(text);
        }) << text;
    }
}

}  // namespace
