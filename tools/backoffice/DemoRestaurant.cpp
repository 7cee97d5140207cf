// The demo restaurant: what a newcomer downloads when the terminal offers the demo data. A
// Sichuan and Cantonese restaurant with a hall, private rooms and a terrace: real dishes with
// pictures drawn like the built-in demo menu's, set meals with choice groups, cooking methods
// with surcharges, tastes in categories, dishes sold in several units, weighed fish and shrimps,
// a sold-out dish, reasons for returns and gifts, waiters, and desks in every state.

#include <ctime>

#include "Dishes.h"
#include "backoffice/SimRestaurant.h"
#include "model/NSATreeClass.h"
#include "platform/foundation/Text.h"
#include "restaurantgen/RestaurantGen.h"

namespace backoffice {

namespace {

using artgen::Vessel;
using restaurantgen::detail::Table;

// Dish flags of the dish table.
constexpr int kSet = 0x01, kWeighed = 0x04, kMethodRequired = 0x08, kDiscountable = 0x40;

struct Category {
    const char* id;
    const char* name;
    const char* parent;
};

// Top-level categories name themselves as parent; the second level follows its parent.
constexpr Category kCategories[] = {
    {"20", "热菜", "20"},   {"21", "川湘小炒", "20"}, {"22", "粤式烧腊", "20"}, {"23", "家常菜", "20"},
    {"10", "凉菜", "10"},   {"30", "海鲜河鲜", "30"}, {"40", "汤羹", "40"},     {"50", "主食点心", "50"},
    {"60", "超值套餐", "60"}, {"70", "甜品", "70"},   {"80", "酒水饮料", "80"}, {"81", "饮料", "80"},
    {"82", "酒类", "80"},
};

struct Dish {
    const char* id;
    const char* name;
    const char* english;  // shown under the name on the dish tiles
    const char* unit;
    const char* price;
    const char* category;
    int flags;
    const char* methods;     // cooking-method ids, each followed by ","
    const char* surcharges;  // one "price;flag" per method: flag 1 once per dish, 0 asks how many
    bool severalMethods;
    bool priceAtOrder;       // the price is typed when the dish is ordered
    Vessel vessel;
    unsigned food;           // the food's colour in the picture
    const char* description;
};

constexpr int D = kDiscountable;

// clang-format off
const Dish kDishes[] = {
    // 川湘小炒
    {"2101", "宫保鸡丁", "Kung Pao Chicken", "份", "38", "21", D, "", "", false, false, Vessel::Plate, 0xB8532F, "主料:鸡腿肉、花生米、干辣椒\r\n口味:香辣回甜"},
    {"2102", "鱼香肉丝", "Yu-Shiang Pork", "份", "32", "21", D, "", "", false, false, Vessel::Plate, 0xC0602E, "主料:猪里脊、木耳、青笋\r\n口味:咸甜酸辣"},
    {"2103", "麻婆豆腐", "Mapo Tofu", "份", "26", "21", D, "", "", false, false, Vessel::Plate, 0xC8452C, "主料:嫩豆腐、牛肉末\r\n口味:麻辣鲜香"},
    {"2104", "回锅肉", "Twice-Cooked Pork", "份", "42", "21", D, "", "", false, false, Vessel::Plate, 0x9C5B34, "主料:五花肉、蒜苗\r\n口味:咸鲜微辣"},
    {"2105", "水煮牛肉", "Boiled Beef in Chili", "份", "58", "21", D, "", "", false, false, Vessel::SoupBowl, 0xB83A24, "主料:牛里脊、豆芽、青菜\r\n口味:麻辣滚烫"},
    {"2106", "干煸四季豆", "Dry-Fried Green Beans", "份", "28", "21", D, "", "", false, false, Vessel::Plate, 0x6E8B3D, "主料:四季豆、肉末\r\n口味:干香微辣"},
    {"2107", "剁椒鱼头", "Fish Head with Chili", "份", "88", "21", D, "", "", false, false, Vessel::Platter, 0xC8402A, "主料:胖头鱼头、剁辣椒\r\n口味:鲜辣"},
    // 粤式烧腊
    {"2201", "蜜汁叉烧", "Honey Char Siu", "例", "48", "22", D, "", "", false, false, Vessel::Plate, 0xA83A2A, "主料:梅头肉\r\n口味:蜜香甜润"},
    {"2202", "白切鸡", "Poached Chicken", "半只", "68", "22", D, "", "", false, false, Vessel::Plate, 0xEAD9A6, "主料:清远走地鸡\r\n口味:皮爽肉滑,配姜葱酱"},
    {"2203", "脆皮烧鹅", "Roast Goose", "例", "58", "22", D, "", "", false, false, Vessel::Plate, 0x8E4A24, "主料:黑棕鹅\r\n口味:皮脆肉嫩,配酸梅酱"},
    {"2204", "豉汁蒸排骨", "Steamed Spare Ribs", "份", "36", "22", D, "", "", false, false, Vessel::Steamer, 0xB07848, "主料:猪肋排、豆豉\r\n口味:咸鲜"},
    // 家常菜
    {"2301", "番茄炒蛋", "Tomato and Egg", "份", "22", "23", D, "", "", false, false, Vessel::Plate, 0xE0862F, "主料:番茄、鸡蛋\r\n口味:酸甜"},
    {"2302", "红烧肉", "Braised Pork Belly", "份", "48", "23", D, "", "", false, false, Vessel::Plate, 0x8A3B1E, "主料:五花肉\r\n口味:浓油赤酱"},
    {"2303", "糖醋里脊", "Sweet and Sour Pork", "份", "36", "23", D, "", "", false, false, Vessel::Plate, 0xD2692A, "主料:猪里脊\r\n口味:酸甜酥脆"},
    {"2304", "时令蔬菜", "Seasonal Greens", "份", "22", "23", D | kMethodRequired, "00001,00002,00003,00004,", "0;1,0;1,8;1,0;1", false, false, Vessel::Plate, 0x4E8A32, "主料:当季青菜\r\n做法:清炒、蒜蓉、上汤(加8元)或白灼"},
    {"2305", "酸辣土豆丝", "Shredded Potato", "份", "18", "23", D, "00011,00012,", "0;1,0;1", false, false, Vessel::Plate, 0xE3C468, "主料:土豆\r\n口味:酸辣爽脆"},
    // 凉菜
    {"1001", "拍黄瓜", "Smashed Cucumber", "份", "16", "10", D, "", "", false, false, Vessel::Plate, 0x5E9A3A, "主料:黄瓜、蒜\r\n口味:蒜香爽口"},
    {"1002", "口水鸡", "Mouth-Watering Chicken", "份", "38", "10", D, "", "", false, false, Vessel::Plate, 0xC4472E, "主料:三黄鸡、红油、花生碎\r\n口味:麻辣鲜香"},
    {"1003", "夫妻肺片", "Beef in Chili Oil", "份", "42", "10", D, "", "", false, false, Vessel::Plate, 0xA8432C, "主料:牛肉、牛杂\r\n口味:麻辣"},
    {"1004", "凉拌木耳", "Wood Ear Salad", "份", "18", "10", D, "", "", false, false, Vessel::Plate, 0x3A2E28, "主料:黑木耳、小米辣\r\n口味:酸辣"},
    {"1005", "皮蛋豆腐", "Tofu with Century Egg", "份", "16", "10", D, "", "", false, false, Vessel::Plate, 0xDCCFA8, "主料:内酯豆腐、皮蛋\r\n口味:咸鲜"},
    // 海鲜河鲜: fish and shrimps are weighed at the tank and sold by the jin.
    {"3001", "鲜活鲈鱼", "Live Sea Bass", "斤", "68", "30", D | kWeighed | kMethodRequired, "00005,00006,00007,00015,", "0;1,10;1,15;1,5;1", false, false, Vessel::Platter, 0xB9B2A0, "现捞现称,约一斤半一条\r\n做法:清蒸、红烧(加10元)、酸菜(加15元)、豉汁蒸(加5元)"},
    {"3002", "基围虾", "Greasyback Shrimp", "斤", "98", "30", D | kWeighed | kMethodRequired, "00004,00008,00009,", "0;1,10;1,10;1", false, false, Vessel::Seafood, 0xE8743A, "现捞现称\r\n做法:白灼、椒盐(加10元)、蒜蓉蒸(加10元)"},
    {"3003", "蒜蓉粉丝扇贝", "Scallops with Garlic", "只", "15", "30", D, "", "", false, false, Vessel::Seafood, 0xEBD9A0, "主料:扇贝、粉丝、蒜蓉\r\n按只点,一般每位两只"},
    {"3004", "阳澄湖大闸蟹", "Hairy Crab", "只", "88", "30", D, "", "", false, true, Vessel::Seafood, 0xD2552A, "时价,按当日价格点菜\r\n做法:清蒸,配姜醋"},
    {"3005", "东星斑", "Coral Trout", "斤", "298", "30", D | kWeighed | kMethodRequired, "00005,00015,", "0;1,5;1", false, false, Vessel::Platter, 0xC8443A, "现捞现称\r\n做法:清蒸、豉汁蒸(加5元)"},
    // 汤羹
    {"4001", "西湖牛肉羹", "West Lake Beef Soup", "例", "28", "40", D, "", "", false, false, Vessel::SoupBowl, 0xCFB27A, "主料:牛肉末、蛋白、香菜\r\n例可三四位,大份五至八位"},
    {"4002", "酸辣汤", "Hot and Sour Soup", "例", "22", "40", D, "", "", false, false, Vessel::SoupBowl, 0x9C5B34, "主料:豆腐、木耳、鸡蛋\r\n口味:酸辣"},
    {"4003", "老火例汤", "Soup of the Day", "位", "12", "40", D, "", "", false, false, Vessel::SoupBowl, 0xC99A5B, "每日不同,按位计"},
    {"4004", "佛跳墙", "Buddha Jumps Over the Wall", "位", "168", "40", D, "", "", false, false, Vessel::SoupBowl, 0xB8862F, "主料:鲍鱼、海参、花胶、瑶柱\r\n每日限量"},
    // 主食点心
    {"5001", "扬州炒饭", "Yangzhou Fried Rice", "份", "22", "50", D, "00010,", "3;0", true, false, Vessel::RiceBowl, 0xE8C15A, "主料:米饭、虾仁、火腿、鸡蛋\r\n可加蛋,每只3元"},
    {"5002", "白米饭", "Steamed Rice", "碗", "3", "50", D, "", "", false, false, Vessel::RiceBowl, 0xFBF8F0, "东北长粒香米"},
    {"5003", "手工水饺", "Handmade Dumplings", "份", "26", "50", D, "", "", false, false, Vessel::Steamer, 0xF3E6C8, "猪肉白菜馅\r\n一份十二只,半份六只"},
    {"5004", "葱油拌面", "Scallion Oil Noodles", "碗", "16", "50", D, "", "", false, false, Vessel::RiceBowl, 0xD9B36A, "主料:细面、葱油\r\n口味:葱香"},
    {"5005", "蟹粉小笼包", "Crab Soup Dumplings", "笼", "32", "50", D, "", "", false, false, Vessel::Steamer, 0xF2DDB0, "一笼六只"},
    // 超值套餐: two with choice groups (the set-meal chooser), one fixed.
    {"6001", "商务套餐", "Business Set", "份", "68", "60", kSet, "", "", false, false, Vessel::Tray, 0xB8532F, "一荤一素一汤一饭\r\n荤菜四选一,素菜三选一"},
    {"6002", "双人套餐", "Set for Two", "份", "168", "60", kSet, "", "", false, false, Vessel::Tray, 0xC0602E, "两热菜一凉菜一汤,米饭两碗\r\n热菜五选二"},
    {"6003", "工作日简餐", "Weekday Lunch", "份", "38", "60", kSet, "", "", false, false, Vessel::Tray, 0xE0862F, "番茄炒蛋、酸辣土豆丝、老火例汤、白米饭\r\n周一至周五午市"},
    // 甜品
    {"7001", "杨枝甘露", "Mango Pomelo Sago", "份", "22", "70", D, "", "", false, false, Vessel::Cup, 0xF2B544, "主料:芒果、西柚、西米\r\n口味:清甜"},
    {"7002", "双皮奶", "Double-Skin Milk", "份", "16", "70", D, "", "", false, false, Vessel::Cup, 0xF7EEDA, "顺德做法,可冷可热"},
    {"7003", "红豆沙", "Red Bean Soup", "碗", "12", "70", D, "", "", false, false, Vessel::SoupBowl, 0x7A2E26, "主料:红豆、陈皮"},
    // 饮料
    {"8101", "鲜榨橙汁", "Fresh Orange Juice", "杯", "18", "81", D, "", "", false, false, Vessel::Glass, 0xF29A1E, "现榨,一扎约四杯"},
    {"8102", "鲜榨西瓜汁", "Watermelon Juice", "杯", "18", "81", D, "", "", false, false, Vessel::Glass, 0xE0485A, "现榨"},
    {"8103", "港式柠檬茶", "Lemon Tea", "杯", "15", "81", D, "", "", false, false, Vessel::Glass, 0xB8742A, "可选冰度"},
    {"8104", "王老吉", "Herbal Tea", "罐", "8", "81", D, "", "", false, false, Vessel::Glass, 0x8A3A22, "310毫升"},
    // 酒类
    {"8201", "青岛啤酒", "Tsingtao Beer", "瓶", "12", "82", D, "", "", false, false, Vessel::Glass, 0xE8B830, "600毫升,半打六瓶"},
    {"8202", "绍兴花雕", "Shaoxing Wine", "瓶", "68", "82", D, "00013,", "0;1", false, false, Vessel::Glass, 0x9A5A1E, "五年陈,可温热"},
};
// clang-format on

// Tastes in three categories (each category names itself as parent), then the cooking methods.
struct Kouw {
    const char* id;
    const char* name;
    const char* parent;  // "" for a cooking method
};
constexpr Kouw kKouws[] = {
    {"100", "辣度", "100"},     {"101", "不辣", "100"},     {"102", "微辣", "100"},     {"103", "中辣", "100"},
    {"104", "特辣", "100"},     {"200", "忌口", "200"},     {"201", "不要葱", "200"},   {"202", "不要香菜", "200"},
    {"203", "不要蒜", "200"},   {"204", "少油", "200"},     {"205", "少盐", "200"},     {"300", "冰度", "300"},
    {"301", "去冰", "300"},     {"302", "少冰", "300"},     {"303", "常温", "300"},     {"00001", "清炒", ""},
    {"00002", "蒜蓉炒", ""},    {"00003", "上汤", ""},      {"00004", "白灼", ""},      {"00005", "清蒸", ""},
    {"00006", "红烧", ""},      {"00007", "酸菜", ""},      {"00008", "椒盐", ""},      {"00009", "蒜蓉蒸", ""},
    {"00010", "加蛋", ""},      {"00011", "醋溜", ""},      {"00012", "青椒炒", ""},    {"00013", "温热", ""},
    {"00015", "豉汁蒸", ""},
};

// Further units of a dish beside its own, with their prices.
struct Unit {
    const char* dish;
    const char* unit;
    const char* price;
};
constexpr Unit kUnits[] = {
    {"2201", "大份", "88"}, {"2202", "一只", "128"}, {"2203", "半只", "138"}, {"2203", "一只", "268"},
    {"4001", "大份", "48"}, {"5003", "半份", "14"},  {"8101", "扎", "58"},    {"8201", "半打", "66"},
};

// The set meals' groups: how many items to choose among the candidates. A group of one
// candidate is taken as it is. The weekday lunch has no choice: its rows name one item each.
struct Group {
    const char* setMeal;
    const char* candidates;
    const char* count;
    const char* name;
};
constexpr Group kGroups[] = {
    {"6001", "2101,1;2102,1;2303,1;2104,1", "1", "荤菜"},
    {"6001", "2106,1;2305,1;1001,1", "1", "素菜"},
    {"6001", "4003,1", "1", "例汤"},
    {"6001", "5002,1", "1", "主食"},
    {"6002", "2101,1;2102,1;2104,1;2302,1;2303,1", "2", "热菜"},
    {"6002", "1001,1;1002,1;1004,1;1005,1", "1", "凉菜"},
    {"6002", "4001,1;4002,1", "1", "汤"},
    {"6002", "5002,1", "2", "米饭"},
    {"6003", "2301", "1", ""},
    {"6003", "2305", "1", ""},
    {"6003", "4003", "1", ""},
    {"6003", "5002", "1", ""},
};

// Waiters log in with their number and the password "123".
struct Waiter {
    const char* id;
    const char* name;
    const char* role;
};
constexpr Waiter kWaiters[] = {
    {"1001", "李娜", "领班"},   {"1002", "王强", "服务员"}, {"1003", "张敏", "服务员"},
    {"1004", "刘洋", "服务员"}, {"1005", "陈静", "服务员"}, {"1006", "赵磊", "传菜员"},
};
constexpr const char* kWaiterPassword = "123";

struct Reason {
    const char* id;
    const char* text;
    const char* kind;  // 01 return, 02 gift, 03 note
};
constexpr Reason kReasons[] = {
    {"01", "客人不要了", "01"}, {"02", "上菜太慢", "01"},   {"03", "口味不合", "01"},   {"04", "点错菜", "01"},
    {"05", "菜品有问题", "01"}, {"11", "老客户赠送", "02"}, {"12", "生日赠送", "02"},   {"13", "经理赠送", "02"},
    {"14", "上菜慢致歉", "02"}, {"21", "先上凉菜", "03"},   {"22", "分开装", "03"},     {"23", "打包带走", "03"},
};

struct Room {
    const char* id;
    const char* name;
};
constexpr Room kRooms[] = {{"01", "大厅"}, {"02", "包间"}, {"03", "露台"}};

// The desk states the floor shows: free, reserved, reserved and held, open, paid.
constexpr const char* kStates =
    "<record f1=\"1\" f2=\"空闲\" f3=\"16777215\"/><record f1=\"4\" f2=\"预订\" f3=\"16776960\"/>"
    "<record f1=\"5\" f2=\"预留\" f3=\"65535\"/><record f1=\"6\" f2=\"开台\" f3=\"16711680\"/>"
    "<record f1=\"7\" f2=\"已结账\" f3=\"8421504\"/>";

struct Desk {
    const char* id;
    const char* name;
    const char* room;
    const char* seats;
};
constexpr Desk kDesks[] = {
    {"0101", "A01", "01", "4"},    {"0102", "A02", "01", "4"},    {"0103", "A03", "01", "4"},
    {"0104", "A04", "01", "4"},    {"0105", "A05", "01", "6"},    {"0106", "A06", "01", "6"},
    {"0107", "A07", "01", "6"},    {"0108", "A08", "01", "2"},    {"0109", "A09", "01", "2"},
    {"0110", "A10", "01", "8"},    {"0111", "A11", "01", "8"},    {"0112", "A12", "01", "10"},
    {"0201", "牡丹厅", "02", "12"}, {"0202", "芙蓉厅", "02", "10"}, {"0203", "兰花厅", "02", "10"},
    {"0204", "菊花厅", "02", "8"},  {"0205", "梅花厅", "02", "16"}, {"0301", "T1", "03", "4"},
    {"0302", "T2", "03", "4"},     {"0303", "T3", "03", "6"},     {"0304", "T4", "03", "6"},
};

// The quick code: the upper-case initials of the name.
std::string quickCode(const std::string& name) {
    std::string code;
    for (char16_t c : platform::toUtf16(name)) code += pinyinFirstLetter(c);
    return platform::toUpper(code);
}

std::string timeAgo(int minutesAgo) {
    std::time_t t = std::time(nullptr) - minutesAgo * 60;
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

}  // namespace

void SimRestaurant::loadDemo() {
    Table categories("record");
    for (const auto& c : kCategories) categories.row().f(1, c.id).f(2, c.name).f(3, c.parent).f(4, c.id);
    tables["stCategory"] = categories.finish();

    Table dishes("row");
    for (const auto& d : kDishes) {
        dishes.row()
            .f(1, d.id).f(2, platform::fmt("C%@", d.id)).f(3, quickCode(d.name)).f(4, d.name).f(5, "")
            .f(6, d.unit).f(7, d.price).f(8, d.category).f(9, d.priceAtOrder ? "1" : "0")
            .f(10, d.severalMethods ? "1" : "0").f(11, d.methods).f(12, platform::fmt("%i", d.flags))
            .f(13, d.surcharges).f(14, "0").f(15, "60").f(16, d.english).f(17, "");
        const artgen::DishLook look{d.vessel, static_cast<int>(&d - kDishes), artgen::hex(d.food)};
        const std::string id = d.id;
        files["bmp"].push_back({id + ".BMP", 1, artgen::dishBitmap(look, 320, 240), std::nullopt});
        files["bmp"].push_back({id + "T.BMP", 1, artgen::dishBitmap(look, 210, 158), std::nullopt});
        files["bmp"].push_back({id + "M.TXT", 1, d.description, std::nullopt});
    }
    tables["caip"] = dishes.finish();
    indexMenuPrices();

    Table kouw("record");
    for (const auto& k : kKouws) {
        kouw.row().f(1, k.id).f(2, k.name);
        if (*k.parent) kouw.f(3, "0").f(4, k.parent);
        else kouw.f(3, "1");
    }
    tables["kouw"] = kouw.finish();

    Table units("record");
    int unitRow = 0;
    for (const auto& u : kUnits) units.row().f(1, platform::fmt("%i", ++unitRow)).f(2, u.unit).f(3, u.dish).f(4, u.price);
    tables["stUnits"] = units.finish();

    Table bom("record");
    for (const auto& g : kGroups) {
        bom.row().f(1, g.setMeal).f(2, g.candidates).f(3, g.count).f(4, "0").f(5, "1");
        if (*g.name) bom.f(6, g.name);
    }
    tables["stBom"] = bom.finish();

    Table users("record");
    for (const auto& w : kWaiters) {
        users.row().f(1, w.id).f(2, w.name).f(3, w.role).f(4, "1");
        passwords[w.id] = kWaiterPassword;
    }
    tables["yonghxx"] = users.finish();
    // The terminal's built-in demo user logs in at the demo server without a password.
    passwords["User"] = "";

    Table reasons("record");
    for (const auto& r : kReasons) reasons.row().f(1, r.id).f(2, r.text).f(3, r.kind);
    tables["tuidyy"] = reasons.finish();

    Table rooms("record");
    for (const auto& r : kRooms) rooms.row().f(1, r.id).f(2, r.name);
    tables["ssdept"] = rooms.finish();
    Table zuot("record");
    for (const auto& d : kDesks) {
        zuot.row().f(1, d.id).f(2, d.name).f(3, d.room).f(4, d.seats);
        SimDesk desk;
        desk.id = d.id;
        desk.name = d.name;
        for (const auto& r : kRooms)
            if (std::string(r.id) == d.room) desk.room = r.name;
        desks[desk.id] = desk;
        deskOrder.push_back(desk.id);
    }
    tables["zuot"] = zuot.finish();
    tables["zuotzt"] = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><data>") + kStates +
                       "</data></morvane>";
    tables["caipu"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><data><user></user><pass></pass>"
        "<deskid></deskid><compid>0</compid></data></morvane>";

    // Guests at some tables already: their orders, some lines hastened (2) or served (3).
    struct Ordered {
        const char* dish;
        double quantity;
        int state;
        const char* tastes;
    };
    auto seat = [&](const char* deskID, int guests, const char* waiter, int minutesAgo,
                    std::initializer_list<Ordered> lines, const char* state = "6") {
        SimDesk& d = desks[deskID];
        openDesk(d, guests, waiter);
        d.state = state;
        d.openTime = timeAgo(minutesAgo);
        int uid = 0;
        for (const auto& o : lines) {
            SimLine l;
            l.xfmxID = newLineID();
            l.uid = platform::fmt("%i", ++uid);
            l.caipID = o.dish;
            l.quantity = o.quantity;
            l.price = menuPrices[o.dish];
            l.tasteIDs = o.tastes;
            l.state = o.state;
            l.waiter = waiter;
            l.time = timeAgo(minutesAgo - uid);
            for (const auto& dish : kDishes)
                if (l.caipID == dish.id) l.units = dish.unit;
            d.lines.push_back(l);
        }
    };
    seat("0103", 4, "1002", 40,
         {{"1001", 1, 3, ""}, {"2101", 1, 3, "102,"}, {"2301", 1, 2, ""}, {"4002", 1, 1, ""}, {"5002", 4, 3, ""},
          {"8201", 2, 3, ""}});
    seat("0108", 2, "1003", 15, {{"2103", 1, 1, "103,"}, {"5002", 2, 1, ""}, {"8103", 2, 3, "302,"}});
    seat("0201", 10, "1001", 55,
         {{"1002", 1, 3, ""}, {"1003", 1, 3, ""}, {"2203", 1, 3, ""}, {"2107", 1, 2, ""}, {"4004", 10, 1, ""},
          {"8202", 2, 3, ""}});
    seat("0110", 6, "1004", 90, {{"2302", 1, 3, ""}, {"2105", 1, 3, ""}, {"5002", 6, 3, ""}}, "7");
    seat("0302", 3, "1005", 25, {{"8101", 3, 3, ""}, {"5005", 2, 1, ""}});

    // Two reservations: a hall table for tonight and a private room whose guests are on the way.
    auto reserve = [&](const char* deskID, const char* bill, int guests, const char* name, const char* phone,
                       const char* at, const char* remark, std::vector<SimReservation::Dish> dishesToCome,
                       const char* state) {
        SimReservation y;
        y.consumeID = bill;
        y.guests = guests;
        y.company = "";
        y.diningTime = at;
        y.guestName = name;
        y.telephone = phone;
        y.bookingTime = timeAgo(60 * 24);
        y.remark = remark;
        y.deskIDs = {deskID};
        y.dishes = std::move(dishesToCome);
        reservations[deskID] = y;
        SimDesk& d = desks[deskID];
        d.state = state;
        d.consumeID = bill;
        d.guests = guests;
    };
    reserve("0105", "Y0001", 6, "王先生", "13800000000", "18:30", "靠窗,有老人", {{"2203", 1, "", 0}, {"4001", 1, "", 0}},
            "4");
    reserve("0202", "Y0002", 8, "陈女士", "13900000000", "19:00", "生日宴,备长寿面", {{"6002", 2, "", 0}}, "5");

    sellOut["3005"] = "0";  // the coral trout is sold out today
    sellOut["4004"] = "3";  // three portions of the daily soup left
    specialLists["Dailynew"] = {"2107", "3001", "7001"};
    specialLists["Recommend"] = {"2203", "2101", "6002"};
    addSkinPicturesAndFilm();
}

}  // namespace backoffice
