#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../../tools/restaurantgen/RestaurantGen.h"
#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "platform/foundation/FileSystem.h"

namespace {

using Row = std::vector<std::pair<std::string, std::string>>;

class MenuDatabaseTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        NSServer::createDir();
    }

    // A table file as the synchronisation stores it: the reply enciphered with the device key.
    void writeTable(const std::string& file, const char* rowName, const std::vector<Row>& rows,
                    const std::optional<std::string>& key = std::nullopt) {
        std::string xml = "<?xml version=\"1.0\" encoding=\"GBK\"?><morvane><data>";
        for (auto& row : rows) {
            xml += std::string("<") + rowName;
            for (auto& [name, value] : row) xml += " " + name + "=\"" + value + "\"";
            xml += "/>";
        }
        xml += "</data></morvane>";
        ASSERT_TRUE(NSServer().stringDataWriteToFile(dataFile(file), key, xml));
    }

    std::shared_ptr<NSCaipDBClass> load() {
        NSServer::loadCaipXml();
        return NSServer::getCaipDB();
    }
};

std::vector<std::string> names(const NSCaipList& dishes) {
    std::vector<std::string> out;
    for (auto& d : dishes) out.push_back(d->m_strName);
    return out;
}

std::vector<std::string> rows(const std::vector<std::string>& column) {
    return std::vector<std::string>(column.begin() + 1, column.end());
}

TEST_F(MenuDatabaseTest, FreshStartFillsTheDemoMenuAndNothingElse) {
    auto db = std::make_shared<NSCaipDBClass>();
    NSServer::setCaipDB(db);
    EXPECT_FALSE(db->loadDB());
    db = load();

    ASSERT_EQ(db->rootCplbTrees.size(), 2u);
    EXPECT_TRUE(db->isOneLevel);
    EXPECT_EQ(db->rootCplbTrees[0]->cplb->m_strCtname, "热菜");
    EXPECT_EQ(db->rootCplbTrees[0]->caips.size(), 11u);
    EXPECT_EQ(db->rootCplbTrees[1]->caips.size(), 4u);
    ASSERT_EQ(db->m_CaipArray.size(), 15u);

    auto last = db->GetCaipFromID("4011");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->m_strName, "鲫鱼");
    EXPECT_EQ(last->m_strPrice, "70");
    EXPECT_EQ(last->m_strName3, "测试^11");
    EXPECT_EQ(last->m_strName2, "ZY");
    auto soup = db->GetCaipFromID("9001");
    ASSERT_TRUE(soup);
    EXPECT_EQ(soup->m_strName3, "测试^2");
    EXPECT_EQ(soup->m_strCategory, "000002");
    EXPECT_EQ(soup->m_strZuofID, "00001,");
    EXPECT_EQ(soup->m_iPrice, 0);
    EXPECT_TRUE(soup->m_bRebate);
    EXPECT_FALSE(soup->m_bisSet || soup->m_bAddOn || soup->m_Digits);

    EXPECT_EQ(rows(db->m_kouws->m_code), (std::vector<std::string>{"001", "002"}));
    EXPECT_EQ(db->m_kouws->m_pid, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(db->m_KwzfArray.size(), 3u);
    EXPECT_EQ(db->GetKouwNameByID("00001"), "温热");
    EXPECT_EQ(rows(db->m_AllUnits->m_code), std::vector<std::string>{"份"});
    for (auto& table : {db->m_users, db->m_Tuidyy, db->m_Units, db->m_SellOut}) EXPECT_EQ(table->m_length, 1);
    EXPECT_EQ(db->m_Bom->m_str1.size(), 1u);
}

TEST_F(MenuDatabaseTest, ReadsEveryFileByItsFieldMap) {
    writeTable("stCategory.dat", "record",
               {{{"f1", "10"}, {"f2", "热菜"}, {"f3", "10"}, {"f4", "001"}}, {{"f1", "11"}, {"f2", "凉菜"}, {"f3", "10"}}});
    writeTable("caip.dat", "row",
               {{{"f1", "1"}, {"f2", "c1"}, {"f3", "YX"}, {"f4", "鱼香"}, {"f5", "大"}, {"f6", "份"}, {"f7", "12.5"},
                 {"f8", "10"}, {"f9", "1"}, {"f10", "1"}, {"f11", "3,4,"}, {"f12", "129"}, {"f13", "1;0,2;1"},
                 {"f14", "5"}, {"f15", "60"}, {"f16", "Fish"}, {"f17", "三"}, {"f18", "ignored"}},
                {{"f1", "2"}, {"f4", "凉拌"}, {"f6", "份"}, {"f8", "11"}, {"f9", "2"}, {"f10", "0"}},
                {{"f1", "3"}, {"f4", "无类"}, {"f6", "斤"}, {"f8", "99"}},
                {{"f1", "4"}, {"f4", "无f8"}, {"f6", "斤"}}});
    writeTable("kouw.dat", "record", {{{"f1", "k1"}, {"f2", "微辣"}}, {{"f1", "m1"}, {"f2", "清蒸"}, {"f3", "1"}}});
    writeTable("yonghxx.dat", "record",
               {{{"f1", "u1"}, {"f2", "张三"}, {"f3", "desc"}, {"f4", "9"}}, {{"f1", "u2"}, {"f2", "李四"}}});
    writeTable("tuidyy.dat", "record", {{{"f1", "r1"}, {"f2", "太咸"}, {"f3", "01"}}, {{"f1", "r2"}, {"f2", "送"}}});
    writeTable("stBom.dat", "record",
               {{{"f1", "1"}, {"f2", "2"}, {"f3", "1"}, {"f4", "a"}, {"f5", "b"}, {"f6", "主菜"}},
                {{"f1", "1"}, {"f2", "3,x;4,y"}, {"f3", "2"}, {"f4", "c"}, {"f5", "d"}},
                {{"f1", "1"}, {"f2", "5"}, {"f3", "1"}, {"f6", "汤"}}});
    writeTable("stUnits.dat", "record", {{{"f1", "x"}, {"f2", "半份"}, {"f3", "1"}, {"f4", "7"}}});
    writeTable("caipu.dat", "record", {});
    ASSERT_TRUE(NSServer().stringDataWriteToFile(
        dataFile("caipu.dat"), std::nullopt,
        "<r><data><user>preset</user><pass>p</pass><deskid>d</deskid><compid>3</compid></data></r>"));

    auto db = load();
    EXPECT_FALSE(db->isOneLevel);
    ASSERT_EQ(db->rootCplbTrees.size(), 1u);
    auto top = db->rootCplbTrees[0];
    EXPECT_EQ(top->cplb->m_strCtorder, "001");
    ASSERT_EQ(top->subCplbTrees.size(), 1u);
    EXPECT_EQ(top->subCplbTrees[0]->cplb->m_strCtname, "凉菜");
    EXPECT_EQ(names(top->caips), std::vector<std::string>{"鱼香"});
    EXPECT_EQ(names(top->subCplbTrees[0]->caips), std::vector<std::string>{"凉拌"});

    EXPECT_EQ(names(db->m_CaipArray), (std::vector<std::string>{"鱼香", "凉拌", "无类", "无f8"}));
    const NSCaipClass& d = *db->m_CaipArray[0];
    EXPECT_EQ(d.strID() + "|" + d.m_strCode + "|" + d.m_strCXDM + "|" + d.m_strFenl + "|" + d.m_strDanw + "|" +
                  d.m_strPrice + "|" + d.m_strCategory + "|" + d.m_strZuofID + "|" + d.m_strZfjiag + "|" +
                  d.m_strCost + "|" + d.m_strMLL + "|" + d.m_strName2 + "|" + d.m_strName3,
              "1|c1|YX|大|份|12.5|10|3,4,|1;0,2;1|5|60|Fish|三");
    EXPECT_EQ(d.m_iPrice, 1);
    EXPECT_EQ(d.m_iMultizuof, 1);
    EXPECT_TRUE(d.m_bisSet && d.m_bAddOn);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(db->m_CaipArray[i]->m_iPrice, 0) << i;  // "2" and absent
        EXPECT_EQ(db->m_CaipArray[i]->m_iMultizuof, 0) << i;
    }
    EXPECT_EQ(rows(db->m_AllUnits->m_code), (std::vector<std::string>{"份", "斤"}));

    ASSERT_EQ(db->m_KwzfArray.size(), 2u);
    EXPECT_FALSE(db->m_KwzfArray[0]->m_bZuof);
    EXPECT_TRUE(db->m_KwzfArray[1]->m_bZuof);
    EXPECT_EQ(rows(db->m_kouws->m_code), std::vector<std::string>{"k1"});
    EXPECT_FALSE(db->hasKouwC);

    EXPECT_EQ(rows(db->m_users->m_code), (std::vector<std::string>{"u1", "u2"}));
    EXPECT_EQ(rows(db->m_users->m_str1), (std::vector<std::string>{"desc", ""}));
    EXPECT_EQ(rows(db->m_users->m_state), (std::vector<std::string>{"9", ""}));
    EXPECT_EQ(db->GetUserNameFromUserID("u2"), "李四");
    EXPECT_EQ(db->GetUserIDFromUserName("张三"), "u1");
    EXPECT_EQ(rows(db->m_Tuidyy->m_state), (std::vector<std::string>{"01", ""}));

    // Set-meal rows stay aligned in every column, and each group name stays on its own row.
    EXPECT_EQ(db->m_Bom->m_length, 1);
    EXPECT_EQ(rows(db->m_Bom->m_str2), (std::vector<std::string>{"2", "3,x;4,y", "5"}));
    EXPECT_EQ(rows(db->m_Bom->m_name), (std::vector<std::string>{"1", "2", "1"}));
    EXPECT_EQ(rows(db->m_Bom->m_code), (std::vector<std::string>{"a", "c", ""}));
    EXPECT_EQ(rows(db->m_Bom->m_state), (std::vector<std::string>{"b", "d", ""}));
    EXPECT_EQ(db->m_BomGroupName, (std::vector<std::string>{"", "主菜", "", "汤"}));

    EXPECT_EQ(rows(db->m_Units->m_code), std::vector<std::string>{"1"});
    EXPECT_EQ(rows(db->m_Units->m_name), std::vector<std::string>{"半份"});
    EXPECT_EQ(rows(db->m_Units->m_state), std::vector<std::string>{"7"});

    EXPECT_EQ(NSServer::getSetUserName(), "preset");
    EXPECT_EQ(NSServer::getJtNO(), "3");
}

TEST_F(MenuDatabaseTest, DamagedOrMissingFilesLeaveOnlyTheirOwnTableEmpty) {
    writeTable("stCategory.dat", "record", {{{"f1", "10"}, {"f3", "10"}}});
    // caip.dat missing: the categories are pruned to nothing.
    writeTable("kouw.dat", "record", {{{"f1", "k1"}}}, std::string("another device"));
    ASSERT_TRUE(NSServer().stringDataWriteToFile(dataFile("yonghxx.dat"), std::nullopt, "<not xml"));
    ASSERT_TRUE(NSServer().stringDataWriteToFile(dataFile("stBom.dat"), std::nullopt, "<r><other/></r>"));
    ASSERT_TRUE(NSServer().stringWriterToFile(dataFile("stUnits.dat"), "not base64 at all!"));
    writeTable("tuidyy.dat", "record", {{{"f1", "r1"}, {"f2", "太咸"}}});

    auto db = std::make_shared<NSCaipDBClass>();
    NSServer::setCaipDB(db);
    EXPECT_TRUE(db->loadDB());
    EXPECT_TRUE(db->rootCplbTrees.empty());
    EXPECT_TRUE(db->m_CaipArray.empty());
    EXPECT_TRUE(db->m_KwzfArray.empty());
    EXPECT_EQ(db->m_users->m_length, 1);
    EXPECT_EQ(db->m_Bom->m_str1.size(), 1u);
    EXPECT_EQ(db->m_Units->m_length, 1);
    EXPECT_EQ(rows(db->m_Tuidyy->m_name), std::vector<std::string>{"太咸"});
}

TEST_F(MenuDatabaseTest, PruningDropsCategoriesWithoutDishes) {
    writeTable("stCategory.dat", "record",
               {{{"f1", "A"}, {"f3", "A"}}, {{"f1", "A1"}, {"f3", "A"}}, {{"f1", "A2"}, {"f3", "A"}},
                {{"f1", "B"}, {"f3", "B"}}, {{"f1", "B1"}, {"f3", "B"}},
                {{"f1", "C"}, {"f3", "C"}},
                {{"f1", "D"}, {"f3", "D"}}, {{"f1", "D1"}, {"f3", "D"}},
                {{"f1", "E"}, {"f3", "E"}}});
    writeTable("caip.dat", "row", {{{"f1", "1"}, {"f8", "A1"}}, {{"f1", "2"}, {"f8", "B"}}, {{"f1", "3"}, {"f8", "E"}}});
    auto db = load();
    std::string shape;
    for (auto& t : db->rootCplbTrees) {
        shape += t->cplb->m_strUid;
        for (auto& s : t->subCplbTrees) shape += "/" + s->cplb->m_strUid;
        shape += " ";
    }
    EXPECT_EQ(shape, "A/A1 B E ");
    EXPECT_FALSE(db->isOneLevel);
}

TEST_F(MenuDatabaseTest, TasteTreeFollowsTheTasteCategories) {
    writeTable("kouw.dat", "record",
               {{{"f1", "10"}, {"f4", "10"}}, {{"f1", "11"}, {"f4", "10"}}, {{"f1", "12"}, {"f4", "10"}},
                {{"f1", "20"}, {"f4", "20"}}, {{"f1", "21"}, {"f4", "20"}},
                {{"f1", "30"}, {"f4", "40"}}, {{"f1", "40"}, {"f4", "40"}},
                {{"f1", "m"}, {"f3", "1"}, {"f4", "10"}}});
    writeTable("stCategory.dat", "record", {});
    auto db = load();
    const auto& t = *db->m_kouws;
    std::string tree;
    for (int i = 1; i < t.m_length; ++i) tree += t.m_code[i] + "<" + (t.m_pid[i] ? t.m_code[t.m_pid[i]] : "") + " ";
    EXPECT_EQ(tree, "10< 11<10 12<10 20< 21<20 30< 40< ");
    EXPECT_TRUE(db->hasKouwC);
    EXPECT_EQ(db->m_KwzfArray.size(), 8u);
    EXPECT_EQ(db->m_KwzfArray[1]->m_strCtparentid, "10");
}

TEST_F(MenuDatabaseTest, LookupsAndQuickSearch) {
    auto db = load();  // the demo menu
    NSCaipList found;
    EXPECT_EQ(db->GetCaipArrayBySQCode("zc", found), 1);
    EXPECT_EQ(names(found), std::vector<std::string>{"翡翠花菇扒鲍脯"});
    EXPECT_EQ(db->GetCaipArrayBySQCode("龙虾", found), 3);  // what the caller had is counted too
    EXPECT_EQ(names(found), (std::vector<std::string>{"翡翠花菇扒鲍脯", "极品龙虾酸辣羹", "澳洲龙虾"}));
    NSCaipList all;
    EXPECT_EQ(db->GetCaipArrayBySQCode("", all), 15);
    db->m_CaipArray[0]->m_strName = "abc";
    NSCaipList none;
    EXPECT_EQ(db->GetCaipArrayBySQCode("abc", none), 0);  // names are compared with the upper-cased text

    EXPECT_EQ(db->GetCaipFromName("佛跳墙")->strID(), "9004");
    EXPECT_EQ(db->GetCaipFromID("nope"), nullptr);
    EXPECT_EQ(db->GetKouwNameByID("free text"), "free text");
    EXPECT_EQ(db->GetKouwIDByName("微辣"), "001");
    EXPECT_EQ(db->GetKouwIDByName("x"), "x");
    EXPECT_TRUE(db->FindKouwid("00001"));
    EXPECT_FALSE(db->FindKouwid("003"));
    EXPECT_EQ(db->GetUserIDFromUserName(""), "");

    for (auto [code, state] : {std::pair{"a", "0"}, {"b", "0.0"}, {"c", ""}, {"d", "2"}, {"a", "5"}})
        db->m_SellOut->AddItem(code, "", state);
    EXPECT_TRUE(db->IsCaipSellOut("a"));
    for (const char* id : {"b", "c", "d", "zz"}) EXPECT_FALSE(db->IsCaipSellOut(id)) << id;
}

TEST_F(MenuDatabaseTest, DishByIdIsTheFirstOfThatIdWhateverTheListWentThrough) {
    auto db = load();  // the demo menu
    auto dish = [](const std::string& id, const std::string& name) {
        auto d = std::make_shared<NSCaipClass>();
        d->setM_strID(id);
        d->m_strName = name;
        return d;
    };
    EXPECT_EQ(db->GetCaipFromID("9004")->m_strName, "佛跳墙");
    // Added later, twice: the first one answers.
    db->m_CaipArray.push_back(dish("N1", "first"));
    db->m_CaipArray.push_back(dish("N1", "second"));
    EXPECT_EQ(db->GetCaipFromID("N1")->m_strName, "first");
    // Ids changed in place, and a slot replaced, without the list changing its length.
    db->m_CaipArray[0]->setM_strID("MOVED");
    EXPECT_EQ(db->GetCaipFromID("MOVED"), db->m_CaipArray[0]);
    const std::string oldID = db->m_CaipArray[1]->strID();
    db->m_CaipArray[1] = dish("SWAP", "swapped");
    EXPECT_EQ(db->GetCaipFromID("SWAP")->m_strName, "swapped");
    EXPECT_EQ(db->GetCaipFromID(oldID), nullptr);
    // Emptied and filled again; a copy answers from its own list.
    NSCaipDBClass copy = *db;
    db->m_CaipArray.clear();
    EXPECT_EQ(db->GetCaipFromID("9004"), nullptr);
    db->m_CaipArray.push_back(dish("9004", "again"));
    EXPECT_EQ(db->GetCaipFromID("9004")->m_strName, "again");
    EXPECT_EQ(copy.GetCaipFromID("N1")->m_strName, "first");
}

TEST_F(MenuDatabaseTest, ReloadReplacesTheDatabaseAndDishIdTextsAreSharedPerDocument) {
    writeTable("stCategory.dat", "record", {{{"f1", "10"}, {"f3", "10"}}});
    writeTable("caip.dat", "row", {{{"f1", "7"}, {"f8", "10"}}, {{"f1", "7"}, {"f8", "10"}}, {{"f1", "8"}}});
    writeTable("stBom.dat", "record", {{{"f1", "7"}}});
    auto first = load();
    auto second = load();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->m_CaipArray.size(), 3u);
    EXPECT_EQ(second->rootCplbTrees[0]->caips.size(), 2u);
    EXPECT_EQ(second->m_Bom->m_str1.size(), 2u);
    EXPECT_EQ(second->m_CaipArray[0]->m_strID, second->m_CaipArray[1]->m_strID);
    EXPECT_NE(first->m_CaipArray[0]->m_strID, second->m_CaipArray[0]->m_strID);
    EXPECT_EQ(*first->m_CaipArray[0]->m_strID, "7");
}

// The benchmark's synthetic restaurant must be what the loaders read, or its figures mean nothing.
TEST_F(MenuDatabaseTest, GeneratedRestaurantLoadsWhole) {
    restaurantgen::Options o;
    o.dishes = 300;
    o.key = NSServer::getMacAdr();
    ASSERT_TRUE(restaurantgen::writeTables(restaurantgen::makeTables(o), NSServer::getDataPath(), o.key));
    auto db = load();
    EXPECT_EQ(db->m_CaipArray.size(), 300u);
    size_t placed = 0;
    for (auto& top : db->rootCplbTrees) {
        placed += top->caips.size();
        for (auto& sub : top->subCplbTrees) placed += sub->caips.size();
    }
    EXPECT_EQ(placed, 300u);
    EXPECT_FALSE(db->isOneLevel);
    EXPECT_TRUE(db->hasKouwC);
    EXPECT_EQ(db->m_kouws->GetChildNumber(0), 10);
    EXPECT_EQ(db->m_Bom->m_str1.size(), 1u + 3 * 3);
    EXPECT_GT(db->m_Units->m_length, 1);
    EXPECT_EQ(db->m_users->m_length, 61);
}

}  // namespace
