// The web menu import: what a shop's web menu becomes in the menu database, and what a failed or
// overtaken import leaves there.

#include "OnlineFixture.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "online/NSWebMenuImport.h"

namespace onlinetest {
namespace {

using OnlineImport = OnlineTest;

// A menu database holding a restaurant's own menu: one category, one dish, one taste.
std::shared_ptr<NSCaipDBClass> ownMenu() {
    auto db = std::make_shared<NSCaipDBClass>();
    auto node = std::make_shared<NSCplbTreeClass>();
    node->cplb = std::make_shared<NSCplbClass>();
    node->cplb->m_strUid = node->cplb->m_strCtparentid = "own";
    db->rootCplbTrees.push_back(node);
    auto dish = std::make_shared<NSCaipClass>();
    dish->setM_strID("own-1");
    db->m_CaipArray.push_back(dish);
    db->m_kouws->AddItem("k1", "少盐", "");
    return db;
}

std::shared_ptr<NSWebMenuImport> importer(const std::string& shop, std::vector<std::string>* messages = nullptr) {
    auto im = std::make_shared<NSWebMenuImport>();
    im->m_dingd->m_strTogoId = shop;
    if (messages) im->showMessage = [messages](const std::string& m) { messages->push_back(m); };
    return im;
}

TEST_F(OnlineImport, ShopMenuReplacesTheMenuOnANewOfflineDesk) {
    NSServer::setCaipDB(ownMenu());
    auto before = NSServer::getNowDesk();
    auto im = importer("101");
    im->loadShopCaip();
    // The new desk is current at once.
    auto desk = NSServer::getNowDesk();
    EXPECT_NE(desk, before);
    EXPECT_TRUE(desk->m_DishList.empty());
    EXPECT_EQ(NSServer::getOutDesk()->back(), desk);
    ASSERT_TRUE(settle());

    auto db = NSServer::getCaipDB();
    EXPECT_TRUE(db->isOneLevel);
    ASSERT_EQ(db->rootCplbTrees.size(), 3u);
    const char* const names[] = {"热菜", "凉菜", "饮品"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(db->rootCplbTrees[i]->cplb->m_strCtname, names[i]);
        EXPECT_EQ(db->rootCplbTrees[i]->cplb->m_strCtparentid, db->rootCplbTrees[i]->cplb->m_strUid);
    }
    ASSERT_EQ(db->m_CaipArray.size(), 6u);
    EXPECT_EQ(db->rootCplbTrees[0]->caips.size(), 3u);
    EXPECT_EQ(db->rootCplbTrees[0]->caips[0], db->m_CaipArray[0]);
    EXPECT_EQ(db->m_kouws->m_length, 1);  // tastes of the own menu are not offered

    // The first food: two sizes and a choice of spiciness.
    const auto& fish = *db->m_CaipArray[0];
    EXPECT_EQ(fish.strID(), "101-101");
    EXPECT_EQ(fish.m_strDanw, "份");
    EXPECT_EQ(fish.m_strPrice, "10");
    EXPECT_EQ(fish.m_iPrice, 1);
    EXPECT_EQ(fish.m_strZuofID, "1001,1002");
    EXPECT_EQ(fish.m_strZfjiag, ",2;1");
    EXPECT_EQ(fish.m_iMustzuof, 1);
    EXPECT_EQ(fish.m_strPic, sim.baseURL().substr(0, sim.baseURL().find("app/")) + "upload/food101-101.png");
    ASSERT_EQ(db->m_Units->m_length, 4);  // the root, one row for the fish, two for the chicken
    EXPECT_EQ(db->m_Units->m_code[1], "101-101");
    EXPECT_EQ(db->m_Units->m_name[1], "大");
    EXPECT_EQ(db->m_Units->m_state[1], "15");
    ASSERT_GE(db->m_KwzfArray.size(), 2u);
    const auto& mild = *db->m_KwzfArray[0];
    const auto& hot = *db->m_KwzfArray[1];
    EXPECT_TRUE(mild.m_bZuof);
    EXPECT_EQ(mild.m_strKouwid, "1001");
    EXPECT_EQ(mild.m_strCtparentid, "1001");
    EXPECT_EQ(mild.m_strKouw, "微辣");
    EXPECT_EQ(mild.m_strJiaj, "");
    EXPECT_EQ(mild.m_strBZ, "辣度");
    EXPECT_EQ(hot.m_strKouwid, "1002");
    EXPECT_EQ(hot.m_strJiaj, "2");
    // Numbers go on across foods ...
    EXPECT_EQ(db->m_CaipArray[2]->m_strZuofID, "1003,1004,1005");
    // ... and start again with the next import.
    importer("101")->loadShopCaip();
    ASSERT_TRUE(settle());
    EXPECT_EQ(NSServer::getCaipDB()->m_CaipArray[0]->m_strZuofID, "1001,1002");
}

TEST_F(OnlineImport, FoodsStylesAndOptionsBecomeDishesUnitsAndMethods) {
    const auto foods = nlohmann::json::parse(R"({"foodlist":[
        {"FoodType":"t","FoodID":"a","Name":"no styles","Price":"9"},
        {"FoodType":"t","FoodID":"b","Price":"9","foodstylelist":[{"Title":"","Price":"7"}]},
        {"FoodType":"t","FoodID":"c","Price":"9","foodstylelist":[{"Title":"小","Price":"1"},{"Title":"中","Price":"2"},{"Title":"","Price":"3"}]},
        {"FoodType":"x","FoodID":"d","Price":"9","foodattrlist":[{"Title":"g","Attributes":"甲?0.0#乙?0"}]},
        {"FoodID":"e","Price":"9","foodattrlist":[{"Title":"g","Attributes":"免?0"}]},
        {"FoodType":"t","FoodID":"f","Price":"9","foodattrlist":[{"Title":"g","Attributes":"无价#"},{"Title":"h","Attributes":""}]}
    ]})");
    NSCaipDBClass db;
    NSWebMenuImport::applyMenu(db, NSWebMenuImport::readCategories(nlohmann::json::parse(
                                       R"({"foodtypelist":[{"SortID":"t","SortName":"T","JOrder":"9"}]})")),
                               foods);
    ASSERT_EQ(db.m_CaipArray.size(), 6u);
    struct Case {
        const char* id;
        const char* unit;
        const char* price;
        int iPrice;
        const char* zuof;
        const char* zfjiag;
        int mustZuof;
    };
    const Case cases[] = {
        {"a", "份", "9", -1, "", "", 0},
        {"b", "份", "7", -1, "", "", 0},
        {"c", "小", "1", 1, "", "", 0},
        {"d", "份", "9", -1, "1001,1002", "0.0;1,", 1},  // "0.0" is a price; "0" is none
        {"e", "份", "9", -1, "1003", "", 1},
        {"f", "份", "9", -1, "1004", "", 1},  // an option without a price is free; empty pieces are none
    };
    for (std::size_t i = 0; i < 6; ++i) {
        const auto& d = *db.m_CaipArray[i];
        const auto& c = cases[i];
        EXPECT_EQ(d.strID(), c.id);
        EXPECT_EQ(d.m_strDanw, c.unit) << c.id;
        EXPECT_EQ(d.m_strPrice, c.price) << c.id;
        EXPECT_EQ(d.m_iPrice, c.iPrice) << c.id;
        EXPECT_EQ(d.m_strZuofID, c.zuof) << c.id;
        EXPECT_EQ(d.m_strZfjiag, c.zfjiag) << c.id;
        EXPECT_EQ(d.m_iMustzuof, c.mustZuof) << c.id;
    }
    // Units after the first style, with the dish's id ("份" for an empty title).
    ASSERT_EQ(db.m_Units->m_length, 3);
    EXPECT_EQ(db.m_Units->m_code[1], "c");
    EXPECT_EQ(db.m_Units->m_name[1], "中");
    EXPECT_EQ(db.m_Units->m_name[2], "份");
    EXPECT_EQ(db.m_Units->m_state[2], "3");
    ASSERT_EQ(db.m_KwzfArray.size(), 4u);
    EXPECT_EQ(db.m_KwzfArray[0]->m_strJiaj, "0.0");
    EXPECT_EQ(db.m_KwzfArray[3]->m_strKouw, "无价");
    // A food of no imported category, or of none, is in no category.
    ASSERT_EQ(db.rootCplbTrees.size(), 1u);
    EXPECT_EQ(db.rootCplbTrees[0]->cplb->m_strCtorder, "9");
    EXPECT_EQ(db.rootCplbTrees[0]->caips.size(), 4u);
}

TEST_F(OnlineImport, FailedStepsLeaveTheMenuWhole) {
    struct Case {
        const char* page;
        websim::Fault fault;
        std::size_t messages;
        std::size_t requests;
    };
    const Case cases[] = {
        {"GetFoodTypeListByShopId", websim::Fault::Status, 1, 1},  // no food request after no types
        {"GetFoodListByShopId", websim::Fault::Status, 1, 2},      // types alone are not applied
        {"GetFoodListByShopId", websim::Fault::HtmlError, 0, 2},   // not JSON: not applied, no message
    };
    for (const auto& c : cases) {
        NSServer::setCaipDB(ownMenu());
        sim.clearLog();
        sim.clearFaults();
        sim.setFault(c.page, c.fault);
        std::vector<std::string> messages;
        importer("101", &messages)->loadShopCaip();
        ASSERT_TRUE(settle());
        EXPECT_EQ(messages.size(), c.messages) << c.page;
        if (!messages.empty()) {
            EXPECT_EQ(messages[0], "网络连接异常");
        }
        EXPECT_EQ(sim.requests().size(), c.requests) << c.page;
        auto db = NSServer::getCaipDB();
        ASSERT_EQ(db->rootCplbTrees.size(), 1u) << c.page;
        EXPECT_EQ(db->rootCplbTrees[0]->cplb->m_strUid, "own");
        ASSERT_EQ(db->m_CaipArray.size(), 1u);
        EXPECT_EQ(db->m_CaipArray[0]->strID(), "own-1");
    }
    // An import holder has nobody to tell: the message is dropped.
    sim.setFault("", websim::Fault::Status);
    importer("101")->loadShopCaip();
    EXPECT_TRUE(settle());
}

TEST_F(OnlineImport, ImportWithoutShopIsSkippedAndANewerImportWins) {
    auto before = NSServer::getNowDesk();
    importer("")->loadShopCaip();
    EXPECT_EQ(NSServer::getNowDesk(), before);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(sim.requests().empty());

    // The first shop's menu comes only after the second shop's; the second import, started
    // later, stands.
    NSServer::setCaipDB(ownMenu());
    sim.setFault("GetFoodListByShopId", websim::Fault::Held);
    importer("101")->loadShopCaip();
    ASSERT_TRUE(waitForRequests(2));  // the first food answer is held
    sim.clearFaults();
    importer("102")->loadShopCaip();
    ASSERT_TRUE(pumpUntil([] { return NSHTTPServer::inFlight() == 1; }));
    sim.releaseHeld();
    ASSERT_TRUE(settle());
    auto db = NSServer::getCaipDB();
    ASSERT_FALSE(db->m_CaipArray.empty());
    for (const auto& dish : db->m_CaipArray) EXPECT_EQ(dish->strID().rfind("102-", 0), 0u) << dish->strID();
    EXPECT_EQ(db->rootCplbTrees[0]->cplb->m_strUid, "102-1");
}

}  // namespace
}  // namespace onlinetest
