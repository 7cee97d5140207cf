// The demo world of the web-service simulator: three cities, a few cuisine types, shops around
// the demo position with their menus, one demo customer with favourites and two orders.

#include "websim/WebSim.h"

namespace websim {

namespace {

using nlohmann::json;

// The demo position in the service's coordinates.
constexpr double kLat = 31.2304 + 0.006;
constexpr double kLng = 121.4737 + 0.0065;

json food(const std::string& type, const std::string& id, const std::string& name, const std::string& price,
          json styles = json::array(), json attrs = json::array()) {
    return {{"FoodType", type}, {"FoodID", id},          {"Picture", "upload/food" + id + ".png"},
            {"Name", name},     {"Price", price},        {"foodstylelist", std::move(styles)},
            {"foodattrlist", std::move(attrs)}};
}

void addMenu(Shop& s, int n) {
    const std::string p = s.id + "-";
    s.foodtypes = json::array({{{"SortID", p + "1"}, {"SortName", "热菜"}, {"JOrder", "1"}},
                               {{"SortID", p + "2"}, {"SortName", "凉菜"}, {"JOrder", "2"}},
                               {{"SortID", p + "3"}, {"SortName", "饮品"}, {"JOrder", "3"}}});
    s.foods = json::array();
    if (n == 0) {
        // Two sizes and a choice of spiciness.
        s.foods.push_back(food(p + "1", p + "101", "水煮鱼", "10",
                               json::array({{{"Title", ""}, {"Price", "10"}}, {{"Title", "大"}, {"Price", "15"}}}),
                               json::array({{{"Title", "辣度"}, {"Attributes", "微辣?0#特辣?2"}}})));
    }
    s.foods.push_back(food(p + "1", p + "102", "宫保鸡丁", "28"));
    s.foods.push_back(food(p + "1", p + "103", "回锅肉", "32", json::array({{{"Title", "例"}, {"Price", "32"}}}),
                           json::array({{{"Title", "做法"}, {"Attributes", "少油?0#加辣?1#打包?2"}}})));
    s.foods.push_back(food(p + "2", p + "201", "拍黄瓜", "12"));
    s.foods.push_back(food(p + "2", p + "202", "口水鸡", "26",
                           json::array({{{"Title", "半只"}, {"Price", "26"}},
                                        {{"Title", "整只"}, {"Price", "48"}},
                                        {{"Title", "双拼"}, {"Price", "60"}}})));
    s.foods.push_back(food(p + "3", p + "301", "酸梅汤", "8"));
}

}  // namespace

World World::demo() {
    World w;
    w.cities = json::array({{{"cityid", "21"}, {"cname", "上海"}, {"ishotcity", "1"}, {"adddate", "2012-03-01"}},
                            {{"cityid", "10"}, {"cname", "北京"}, {"ishotcity", "1"}, {"adddate", "2012-03-01"}},
                            {{"cityid", "571"}, {"cname", "杭州"}, {"ishotcity", "0"}, {"adddate", "2012-05-18"}}});
    w.shoptypes = json::array({{{"SortID", "1"}, {"SortName", "全部"}, {"JOrder", "0"}, {"Parentid", "0"}},
                               {{"SortID", "2"}, {"SortName", "川菜"}, {"JOrder", "1"}, {"Parentid", "1"}},
                               {{"SortID", "3"}, {"SortName", "粤菜"}, {"JOrder", "2"}, {"Parentid", "1"}},
                               {{"SortID", "4"}, {"SortName", "火锅"}, {"JOrder", "3"}, {"Parentid", "1"}},
                               {{"SortID", "5"}, {"SortName", "西餐"}, {"JOrder", "4"}, {"Parentid", "1"}},
                               {{"SortID", "6"}, {"SortName", "麻辣香锅"}, {"JOrder", "5"}, {"Parentid", "2"}}});

    struct Seed {
        const char* name;
        const char* sortid;
        const char* sortname;
        const char* ctid;
        double dLat, dLng;
        int togoType;
        const char* mymoney;
    };
    const Seed seeds[] = {
        {"蜀香园", "2", "川菜", "21", 0.0010, 0.0012, 4, "65"},    {"粤来粤好", "3", "粤菜", "21", -0.0020, 0.0015, 1, "88"},
        {"老码头火锅", "4", "火锅", "21", 0.0030, -0.0025, 2, "120"}, {"左岸西餐厅", "5", "西餐", "21", -0.0040, -0.0030, 3, "150"},
        {"巴蜀人家", "2", "川菜", "21", 0.0060, 0.0070, 4, "55"},    {"港式茶餐厅", "3", "粤菜", "21", 0.0150, 0.0120, 4, "45"},
        {"小肥羊", "4", "火锅", "21", -0.0100, 0.0090, 1, "95"},     {"意味西餐", "5", "西餐", "21", 0.0200, -0.0180, 4, "135"},
        {"川味轩", "2", "川菜", "21", -0.0005, 0.0004, 3, "48"},     {"潮汕砂锅粥", "3", "粤菜", "21", 0.0008, -0.0009, 4, "60"},
        {"辣府", "4", "火锅", "21", 0.0012, 0.0002, 4, "110"},       {"京味楼", "2", "川菜", "10", 8.6800, -5.0700, 4, "70"},
    };
    int n = 0;
    for (const Seed& seed : seeds) {
        Shop s;
        s.id = std::to_string(101 + n);
        s.name = seed.name;
        s.sortid = seed.sortid;
        s.sortname = seed.sortname;
        s.ctid = seed.ctid;
        s.address = std::string(seed.ctid == std::string("10") ? "北京市东城区" : "上海市黄浦区") + "中山路" +
                    std::to_string(10 + n * 7) + "号";
        s.lat = kLat + seed.dLat;
        s.lng = kLng + seed.dLng;
        s.togoType = seed.togoType;
        s.mymoney = seed.mymoney;
        s.picture = "upload/shop" + s.id + ".png";
        s.tel = "021-6" + std::to_string(3000000 + n * 1117);
        s.foodclass = seed.sortname;
        s.landmark = n % 2 ? "人民广场" : "南京东路";
        s.introduce = std::string(seed.name) + "，本店精选食材，欢迎光临。";
        s.togoUrl = "http://127.0.0.1/shop/" + s.id;
        s.times = {{"10:00", "14:00"}, {"17:00", "21:30"}};
        if (n % 3 == 0) s.times.push_back({"22:00", "02:00"});
        if (n % 4 == 3) s.times.resize(1);
        addMenu(s, n);
        w.shops.push_back(std::move(s));
        ++n;
    }

    Customer demo;
    demo.id = "1001";
    demo.username = "demo";
    demo.password = "123456";
    demo.email = "demo@example.com";
    demo.phone = "13800000000";
    demo.truename = "王小明";
    demo.qq = "10001";
    demo.sex = 1;
    demo.point = 120;
    demo.favourites = {"101", "103"};
    w.customers.push_back(demo);

    Order takeAway;
    takeAway.id = "5001";
    takeAway.userid = "1001";
    takeAway.shopid = "101";
    takeAway.orderType = 0;
    takeAway.state = 3;
    takeAway.orderTime = "2026-12-01 12:00";
    takeAway.totalPrice = "66";
    takeAway.sendmoney = "5";
    takeAway.packagefree = "2";
    takeAway.payMode = "货到付款";
    takeAway.payTime = "2026-12-01 12:40";
    takeAway.sentTime = "2026-12-01 12:00";
    takeAway.eatNum = "2";
    takeAway.userName = "王小明";
    takeAway.tel = "13800000000";
    takeAway.address = "上海市黄浦区中山路1号";
    takeAway.foods = json::array({{{"foodname", "宫保鸡丁"}, {"FoodID", "101-102"}, {"Num", "1"}, {"FoodPrice", "28"}, {"remark", ""}},
                                  {{"foodname", "回锅肉"}, {"FoodID", "101-103"}, {"Num", "1"}, {"FoodPrice", "32"}, {"remark", "少油"}}});
    w.orders.push_back(takeAway);

    Order reservation;
    reservation.id = "5002";
    reservation.userid = "1001";
    reservation.shopid = "103";
    reservation.orderType = 1;
    reservation.state = 1;
    reservation.orderTime = "2026-12-24 18:30";
    reservation.totalPrice = "0";
    reservation.mode = "包间";
    reservation.payMode = "到店付款";
    reservation.eatNum = "6";
    reservation.userName = "王小明";
    reservation.tel = "13800000000";
    w.orders.push_back(reservation);
    return w;
}

}  // namespace websim
