// The online store: its files in the shop folder and its three refreshes from the service.

#include "OnlineFixture.h"
#include "core/NSEncDec.h"
#include "online/NSJsonResolver.h"

namespace onlinetest {
namespace {

using OnlineStore = OnlineTest;

std::string shopFile(const char* name) {
    return platform::fs::readAll(platform::fs::join(NSServer::getShopPath(), name)).value_or("<missing>");
}

std::string decipherUserFile() {
    NSEncDec cipher;
    auto bytes = cipher.decodeBase64(shopFile("user.dat"));
    return bytes ? cipher.Decrypt(*bytes, "pelquoz") : "<not base64>";
}

TEST_F(OnlineStore, HubMakesTheStoreOnceAndKeepsTheSameOneWhenHandedBack) {
    auto db = NSServer::getShopDB();
    ASSERT_TRUE(db);
    // The first use brings the stored state back and refreshes it: a chosen (empty) city and
    // the three requests.
    EXPECT_TRUE(db->m_choosecity);
    ASSERT_TRUE(settle());
    EXPECT_EQ(sim.requests().size(), 3u);
    EXPECT_EQ(db->m_citys.size(), 3u);
    EXPECT_EQ(NSServer::getShopDB(), db);
    NSServer::setShopDB(db);
    EXPECT_EQ(NSServer::getShopDB(), db);
    NSServer::releaseStatic();
    EXPECT_EQ(NSServer::getShopDB(), db);
    // A store made fresh reads nothing and holds nothing.
    NSShopDBClass fresh;
    EXPECT_EQ(fresh.m_nowuser->m_id, "");
    EXPECT_FALSE(fresh.m_choosecity);
    EXPECT_TRUE(fresh.m_citys.empty() && fresh.m_caixs.empty() && fresh.m_collectionshop.empty());
}

TEST_F(OnlineStore, LoginAndCityFilesRoundTripWhateverTheirValuesHold) {
    struct Case {
        std::string id, name, password, cityname;
        std::string accountText;  // what user.dat deciphers to
    };
    const Case cases[] = {
        {"1001", "demo", "123456", "上海", R"({"m_id":"1001","m_name":"demo","m_password":"123456"})"},
        {"7", "x", "", "北京", R"({"m_id":"7","m_name":"x","m_password":""})"},
        {"8", "a\"b\\c", "p\"w", "我\"的\\城", R"({"m_id":"8","m_name":"a\"b\\c","m_password":"p\"w"})"},
    };
    for (const auto& c : cases) {
        auto db = std::make_shared<NSShopDBClass>();
        db->m_nowuser->m_id = c.id;
        db->m_nowuser->m_name = c.name;
        db->m_nowuser->m_password = c.password;
        db->m_choosecity = std::make_shared<NSCityClass>();
        db->m_choosecity->m_id = "21";
        db->m_choosecity->cityname = c.cityname;
        db->m_choosecity->isHot = true;
        db->m_choosecity->adddate = "2012-03-01";
        db->saveToDB();
        EXPECT_EQ(decipherUserFile(), c.accountText);

        auto back = std::make_shared<NSShopDBClass>();
        back->loadFromDB();
        EXPECT_EQ(back->m_nowuser->m_id, c.id);
        EXPECT_EQ(back->m_nowuser->m_name, c.name);
        EXPECT_EQ(back->m_nowuser->m_password, c.password);
        ASSERT_TRUE(back->m_choosecity);
        EXPECT_EQ(back->m_choosecity->cityname, c.cityname);
        EXPECT_TRUE(back->m_choosecity->isHot);
        EXPECT_EQ(back->m_choosecity->adddate, "2012-03-01");
        ASSERT_TRUE(settle());
    }
    // No chosen city and a logged-out customer: empty texts, never the printed form of nothing.
    auto out = std::make_shared<NSShopDBClass>();
    out->saveToDB();
    EXPECT_EQ(shopFile("city.dat"), R"({"m_id":"","cityname":"","isHot":"0","adddate":""})");
    EXPECT_EQ(decipherUserFile(), R"({"m_id":"","m_name":"","m_password":""})");
}

TEST_F(OnlineStore, LoadWithoutFilesGivesAnEmptyCityALoggedOutCustomerAndThreeRequests) {
    auto db = std::make_shared<NSShopDBClass>();
    db->loadFromDB();
    ASSERT_TRUE(db->m_choosecity);
    EXPECT_EQ(db->m_choosecity->cityname, "");
    EXPECT_FALSE(db->m_nowuser->isLoggedIn());
    ASSERT_TRUE(settle());
    std::vector<std::string> targets;
    for (const auto& r : sim.requests()) targets.push_back(r.target);
    std::sort(targets.begin(), targets.end());
    EXPECT_EQ(targets, (std::vector<std::string>{"/app/Android/GetShopTypeList.aspx",
                                                 "/app/Android/GetUserInfo.aspx?userid=",
                                                 "/app/Android/getcityinfo.aspx"}));
    // The answers arrived: cities in answer order, popular ones included; cuisines under "1" only.
    ASSERT_EQ(db->m_citys.size(), 3u);
    EXPECT_EQ(db->m_citys[0]->cityname, "上海");
    EXPECT_TRUE(db->m_citys[1]->isHot);
    EXPECT_EQ(db->m_citys[2]->m_id, "571");
    EXPECT_FALSE(db->m_citys[2]->isHot);
    ASSERT_EQ(db->m_caixs.size(), 4u);
    EXPECT_EQ(db->m_caixs[0]->m_srtSortName, "川菜");
    // Both answers are stored for the next start, unchanged.
    EXPECT_NE(shopFile("citys.dat").find("\"datelist\""), std::string::npos);
    EXPECT_NE(shopFile("caixs.dat").find("\"shoptypelist\""), std::string::npos);

    // The next store shows the stored lists at once, before any answer.
    sim.setFault("", websim::Fault::Status);
    auto next = std::make_shared<NSShopDBClass>();
    next->loadFromDB();
    EXPECT_EQ(next->m_citys.size(), 3u);
    EXPECT_EQ(next->m_caixs.size(), 4u);
    ASSERT_TRUE(settle());
    EXPECT_EQ(next->m_citys.size(), 3u);  // failed refreshes change nothing
}

TEST_F(OnlineStore, RefreshAnswersReplaceOrKeepTheLists) {
    auto db = std::make_shared<NSShopDBClass>();
    db->receiveServerCity(R"({"datelist":[{"cityid":"1","cname":"A","ishotcity":"0"}]})");
    ASSERT_EQ(db->m_citys.size(), 1u);
    db->receiveServerCity("");  // no answer: nothing changes, nothing written
    EXPECT_EQ(db->m_citys.size(), 1u);
    EXPECT_NE(shopFile("citys.dat").find("\"A\""), std::string::npos);
    db->receiveServerCity("<html>");  // not JSON: empty list, still stored
    EXPECT_TRUE(db->m_citys.empty());
    EXPECT_EQ(shopFile("citys.dat"), "<html>");

    // Only types whose parent is the text "1" are cuisines.
    db->receiveServerCaix(R"({"shoptypelist":[
        {"SortID":"2","SortName":"a","JOrder":"3","Parentid":"1"},
        {"SortID":"3","SortName":"b","Parentid":"0"},
        {"SortID":"4","SortName":"c","Parentid":1},
        {"SortID":"5","SortName":"d","Parentid":"1"}]})");
    ASSERT_EQ(db->m_caixs.size(), 2u);
    EXPECT_EQ(db->m_caixs[0]->m_srtSortID, "2");
    EXPECT_EQ(db->m_caixs[0]->m_iJOrder, 3);
    EXPECT_EQ(db->m_caixs[1]->m_srtSortName, "d");
    db->receiveServerCaix(R"({"shoptypelist":[{"SortID":"3","Parentid":"0"}]})");
    EXPECT_TRUE(db->m_caixs.empty());
}

TEST_F(OnlineStore, ProfileComesFromTheServiceForTheCustomerItWasAskedFor) {
    auto db = std::make_shared<NSShopDBClass>();
    db->m_nowuser->m_id = "1001";
    db->m_nowuser->m_name = "typed";
    db->getUserInfoFromServer();
    ASSERT_TRUE(settle());
    EXPECT_EQ(db->m_nowuser->m_name, "demo");
    EXPECT_EQ(db->m_nowuser->m_truename, "王小明");
    EXPECT_EQ(db->m_nowuser->m_tel, "13800000000");
    EXPECT_EQ(db->m_nowuser->m_email, "demo@example.com");
    EXPECT_EQ(db->m_nowuser->m_qq, "10001");
    EXPECT_EQ(db->m_nowuser->m_sex, 1);
    EXPECT_EQ(db->m_nowuser->m_strJiF, "120");

    // A member missing from the answer clears its field; an error page clears nothing.
    db->receiveServerUserInfo(R"({"username":"demo","point":"5"})");
    EXPECT_EQ(db->m_nowuser->m_email, "");
    EXPECT_EQ(db->m_nowuser->m_strJiF, "5");
    db->receiveServerUserInfo("<html><body>Server Error</body></html>");
    EXPECT_EQ(db->m_nowuser->m_name, "demo");

    // Logged out while the answer was under way: the empty account stays empty.
    db->getUserInfoFromServer();
    db->m_nowuser = std::make_shared<NSCustomerClass>();
    ASSERT_TRUE(settle());
    EXPECT_EQ(db->m_nowuser->m_name, "");
}

TEST_F(OnlineStore, AnAnswerOfAnEarlierRefreshArrivingLateIsDropped) {
    auto db = std::make_shared<NSShopDBClass>();
    sim.setFault("getcityinfo", websim::Fault::Held);
    db->getCityFormServer();
    ASSERT_TRUE(waitForRequests(1));  // the first answer is made (three cities) and held back
    sim.withWorld([](websim::World& w) {
        w.cities = nlohmann::json::array({{{"cityid", "9"}, {"cname", "新城"}, {"ishotcity", "0"}}});
        return 0;
    });
    sim.clearFaults();
    db->getCityFormServer();
    // The second answer is in; only then does the first come.
    ASSERT_TRUE(pumpUntil([] { return NSHTTPServer::inFlight() == 1; }));
    ASSERT_EQ(db->m_citys.size(), 1u);
    sim.releaseHeld();
    ASSERT_TRUE(settle());
    ASSERT_EQ(db->m_citys.size(), 1u);
    EXPECT_EQ(db->m_citys[0]->cityname, "新城");
}

TEST_F(OnlineStore, DamagedLoginFileLeavesTheCustomerLoggedOut) {
    for (const char* bytes : {"not base64!", "AAAA", ""}) {
        platform::fs::writeAtomically(platform::fs::join(NSServer::getShopPath(), "user.dat"), bytes);
        auto db = std::make_shared<NSShopDBClass>();
        db->loadFromDB();
        EXPECT_FALSE(db->m_nowuser->isLoggedIn()) << bytes;
        ASSERT_TRUE(settle());
    }
}

}  // namespace
}  // namespace onlinetest
