// The city chooser (grouping, the located city, a choice the service does not serve) and the
// collected shops (pages, repeated records, the store's list, reloading after a detail closes).

#include "PagesFixture.h"
#include "screens/online/UIChooseCityViewController.h"
#include "screens/online/UICollectionShopViewController.h"
#include "screens/online/UIFunctionViewController.h"
#include "screens/online/UIShopShowViewController.h"

namespace {

using pagestest::PagesTest;

std::vector<std::shared_ptr<NSCityClass>> cities(std::initializer_list<const char*> names) {
    std::vector<std::shared_ptr<NSCityClass>> out;
    int id = 1;
    for (const char* n : names) {
        auto c = std::make_shared<NSCityClass>();
        c->m_id = std::to_string(id++);
        c->cityname = n;
        out.push_back(c);
    }
    return out;
}

TEST(CityGroups, GroupByInitialWithOtherNamesFirst) {
    using Groups = std::vector<UIChooseCityViewController::Group>;
    struct Case {
        std::initializer_list<const char*> names;
        Groups groups;
    } cases[] = {
        {{}, {}},
        {{"北京", "上海", "广州", "成都"}, {{"b", "北京"}, {"c", "成都"}, {"g", "广州"}, {"s", "上海"}}},
        {{"上海", "Kovra", "沈阳", "1号城", "北京"}, {{"#", "Kovra", "1号城"}, {"b", "北京"}, {"s", "上海", "沈阳"}}},
        {{"北京", "上海", "广州"}, {{"b", "北京"}, {"g", "广州"}, {"s", "上海"}}},  // g goes between
        {{"", "杭州"}, {{"#", ""}, {"h", "杭州"}}},
    };
    for (auto& c : cases) EXPECT_EQ(UIChooseCityViewController::groupCities(cities(c.names)), c.groups);
}

TEST(CityGroups, AChosenNameMatchesEitherWay) {
    auto list = cities({"", "上海", "杭州"});
    EXPECT_EQ(UIChooseCityViewController::matchCity(list, "杭州市")->cityname, "杭州");
    EXPECT_EQ(UIChooseCityViewController::matchCity(list, "上")->cityname, "上海");
    EXPECT_FALSE(UIChooseCityViewController::matchCity(list, "纽约")) << "a nameless city catches nothing";
}

class CityChooser : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        root->showFunction();
    }
};

TEST_F(CityChooser, TheLocatedCityIsChosenAndSaved) {
    auto& store = *NSServer::getShopDB();
    ASSERT_EQ(store.m_citys.size(), 3u);
    tap("Lumito-选择城市");
    auto page = root->chooseCityViewController.get();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->tb_citys()->numberOfSections(), 4);  // located, b, h, s
    EXPECT_EQ(page->tb_citys()->sectionIndexTitles(), (std::vector<std::string>{"b", "h", "s"}));
    ASSERT_TRUE(shows("上海市")) << "the located city";
    tap("上海市");
    EXPECT_FALSE(root->chooseCityViewController);
    ASSERT_TRUE(store.m_choosecity);
    EXPECT_EQ(store.m_choosecity->m_id, "21");
    EXPECT_EQ(root->functionViewController->bt_city()->currentTitle(), "Lumito-上海");
    EXPECT_NE(platform::fs::readAll(platform::fs::join(NSServer::getShopPath(), "city.dat")).value_or("").find("21"),
              std::string::npos);

    tap("Lumito-上海");
    tap("杭州");
    EXPECT_EQ(store.m_choosecity->cityname, "杭州");
}

TEST_F(CityChooser, AnUnservedCityIsRefusedAndAnUnknownPlaceChoosesNothing) {
    auto place = pagestest::shanghai();
    place.locality = "纽约";
    location::ReverseGeocoder::setPlace(place);
    const auto chosen = NSServer::getShopDB()->m_choosecity;
    tap("Lumito-选择城市");
    tap("纽约");
    EXPECT_EQ(alertMessage(), "所选城市不存在，可能该城市未开通预定服务");
    tap("确定");
    EXPECT_TRUE(root->chooseCityViewController);
    EXPECT_EQ(NSServer::getShopDB()->m_choosecity, chosen);
    tap("返回");

    // Without a position the located row stays empty and ignores a tap; the screen is handed
    // back once the guest has read why.
    location::LocationManager::setDevicePosition(std::nullopt);
    tap("Lumito-选择城市");
    auto page = root->chooseCityViewController.get();
    EXPECT_TRUE(page->gpsoper()->uv_wait());
    EXPECT_EQ(alertMessage(), "无法定位到你的位置!");
    tap("确定");
    EXPECT_FALSE(page->gpsoper()->uv_wait());
    page->didSelectRow(*page->tb_citys(), {0, 0});
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(root->chooseCityViewController);

    // A place that cannot be found hands the screen back as well.
    tap("返回");
    location::LocationManager::setDevicePosition(location::Coordinate{pagestest::kLat, pagestest::kLng});
    location::ReverseGeocoder::setPlace(std::nullopt);
    tap("Lumito-选择城市");
    EXPECT_FALSE(root->chooseCityViewController->gpsoper()->uv_wait());
    EXPECT_TRUE(alerts().empty());

    // A refused access says so.
    tap("返回");
    location::LocationManager::setAccessDenied(true);
    tap("Lumito-选择城市");
    EXPECT_EQ(alertMessage(), "你的访问被拒绝");
    tap("确定");
    location::LocationManager::setAccessDenied(false);
    tap("北京");
    EXPECT_EQ(NSServer::getShopDB()->m_choosecity->m_id, "10");
}

class Favourites : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        logIn();
        web.withWorld([](websim::World& w) {
            w.pageSize = 2;
            // A record that repeats one already listed, as the service may send.
            w.customer("1001")->favourites = {"101", "103", "105", "101", "107"};
        });
    }
    UICollectionShopViewController& page() { return *root->collectionShopViewController; }
};

TEST_F(Favourites, PagesThroughTheCollectedShopsEachOnce) {
    root->showCollection();
    ASSERT_TRUE(answers());
    auto lists = requestsFor("GetCollectionListByUserId");
    ASSERT_EQ(lists.size(), 3u) << "page 1, then the loading row asks for pages 2 and 3";
    EXPECT_FALSE(has(lists[0], "pageindex"));
    EXPECT_EQ(value(lists[1], "pageindex"), "2");
    EXPECT_EQ(value(lists[2], "pageindex"), "3");
    std::vector<std::string> ids;
    for (auto& s : page().m_shops()) ids.push_back(s->m_strID);
    EXPECT_EQ(ids, (std::vector<std::string>{"101", "103", "105", "107"}));
    EXPECT_EQ(NSServer::getShopDB()->m_collectionshop.size(), 5u) << "the store keeps every record";
    EXPECT_FALSE(shows("正在载入"));
    EXPECT_FALSE(shows("0.1km")) << "no distances here";

    // A shop of page 1 is known as collected; dropping it there reloads the list without it.
    tapAndWait("蜀香园");
    EXPECT_TRUE(shows("取消收藏"));
    tap("取消收藏");
    tapAndWait("确定");
    tap("确定");
    tapAndWait("返回");
    ids.clear();
    for (auto& s : page().m_shops()) ids.push_back(s->m_strID);
    EXPECT_EQ(ids, (std::vector<std::string>{"103", "105", "107"}));
}

TEST_F(Favourites, ALateAnswerOfAnEarlierLoadAddsNothing) {
    root->showCollection();
    ASSERT_TRUE(answers());
    // A refresh whose answer the service holds; the customer's favourites change meanwhile and a
    // second refresh brings them.
    web.setFault("GetCollectionListByUserId", websim::Fault::Held);
    tap("刷新");
    ASSERT_TRUE(testsupport::waitUntil([&] { return requestsFor("GetCollectionListByUserId").size() == 4; }));
    web.clearFaults();
    web.withWorld([](websim::World& w) { w.customer("1001")->favourites = {"104"}; });
    tap("刷新");
    ASSERT_TRUE(testsupport::waitUntil([&] {
        loop().waitForPosted(0.02);
        loop().drain();
        return !page().m_shops().empty();
    }));
    web.releaseHeld();
    ASSERT_TRUE(answers());
    ASSERT_EQ(page().m_shops().size(), 1u);
    EXPECT_EQ(page().m_shops()[0]->m_strID, "104");
    EXPECT_EQ(NSServer::getShopDB()->m_collectionshop.size(), 1u);
    EXPECT_EQ(page().findShopStuct().pagenum, 1);
    EXPECT_EQ(page().findShopStuct().totelpage, 1);
    EXPECT_EQ(page().tb_shops()->numberOfRows(0), 1) << "no loading row from the old page counts";
}

TEST_F(Favourites, NoCollectedShopShowsOneEmptyRowAndAFailureKeepsTheList) {
    web.withWorld([](websim::World& w) { w.customer("1001")->favourites.clear(); });
    root->showCollection();
    ASSERT_TRUE(answers());
    EXPECT_EQ(page().tb_shops()->numberOfRows(0), 1);
    EXPECT_TRUE(shows("无"));
    EXPECT_FALSE(shows("正在载入"));

    web.setFault("GetCollectionListByUserId", websim::Fault::Status);
    tapAndWait("刷新");
    EXPECT_EQ(panelText(), "网络连接异常");
    EXPECT_TRUE(page().m_shops().empty());
    EXPECT_EQ(page().refreshHeaderView()->state(), EGORefreshTableHeaderView::Normal);
}

}  // namespace
