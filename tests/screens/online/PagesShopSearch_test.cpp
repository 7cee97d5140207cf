// The shop search as a guest uses it: the position and name queries with their exact values, the
// pages loaded as the list's end comes into view without repeating a shop, the rows and their
// distances, the filters, the pins with their callout, and the failures.

#include "PagesFixture.h"
#include "online/NSShopRecords.h"
#include "platform/foundation/Text.h"
#include "platform/location/MapView.h"
#include "screens/online/UIMapFindViewController.h"
#include "screens/online/UIShopShowViewController.h"

namespace {

using pagestest::PagesTest;

class ShopSearch : public PagesTest {
protected:
    UIMapFindViewController& page() { return *root->mapFindViewController; }
    std::vector<std::string> shownIds() {
        std::vector<std::string> ids;
        for (auto& s : page().m_shops()) ids.push_back(s->m_strID);
        return ids;
    }
};

TEST_F(ShopSearch, SearchesAroundTheFixAndLoadsTheNextPageAtTheListsEnd) {
    web.withWorld([](websim::World& w) {
        w.pageSize = 4;
        w.shop("101")->picture = "";  // a shop without a picture: nothing to ask for
    });
    root->showmapfind(false, 2);
    ASSERT_TRUE(answers());

    auto lists = requestsFor("GetShopListByLocation");
    ASSERT_GE(lists.size(), 2u) << "page 1, then page 2 asked for by the loading row";
    // The fix goes out shifted by the service's offset, summed in single precision.
    const float lat = static_cast<float>(pagestest::kLat), lng = static_cast<float>(pagestest::kLng);
    EXPECT_EQ(value(lists[0], "lat"), platform::fmt("%f", static_cast<double>(lat + shoprecords::kLatOffset)));
    EXPECT_EQ(value(lists[0], "lng"), platform::fmt("%f", static_cast<double>(lng + shoprecords::kLngOffset)));
    EXPECT_EQ(value(lists[0], "nearfilter"), "1000");
    EXPECT_EQ(value(lists[0], "shoptype"), "0");
    EXPECT_EQ(value(lists[0], "sortname"), "distance");
    EXPECT_EQ(value(lists[0], "sortflag"), "1");
    EXPECT_EQ(value(lists[0], "ty"), "2");
    EXPECT_FALSE(has(lists[0], "pageindex"));
    EXPECT_EQ(value(lists[1], "pageindex"), "2");
    EXPECT_LT(lists[1].target.find("pageindex"), lists[1].target.find("ty="));

    // Every shop within 1 km, each once, and no loading row after the last page.
    const std::size_t near = web.withWorld([](websim::World& w) {
        std::size_t n = 0;
        for (auto& s : w.shops)
            n += NSServer::D_jw(pagestest::kLat + 0.006, pagestest::kLng + 0.0065, s.lat, s.lng) <= 1.0;
        return n;
    });
    EXPECT_EQ(page().m_shops().size(), near);
    EXPECT_EQ(page().findShopStuct().pagenum, page().findShopStuct().totelpage);
    EXPECT_EQ(page().tb_shop()->numberOfRows(0), static_cast<int>(near));
    EXPECT_FALSE(shows("正在载入"));
    EXPECT_EQ(page().lb_pagenum()->text(), "2/2");
    EXPECT_EQ(requestsFor("").size(), near - 1) << "one picture per shop that has one";

    // The previous page again adds nothing twice; its shops keep their places.
    const auto before = shownIds();
    const std::size_t sent = requestsFor("GetShopListByLocation").size();
    tapAndWait("上一页");
    auto after = requestsFor("GetShopListByLocation");
    ASSERT_GT(after.size(), sent);
    EXPECT_EQ(value(after[sent], "pageindex"), "1");
    EXPECT_EQ(shownIds(), before);

    // A row shows the shop's spend, address and its distance from the fix.
    const auto& first = *page().m_shops().front();
    EXPECT_TRUE(shows(platform::fmt("人均:￥%@", first.m_strAPrice)));
    EXPECT_TRUE(shows(first.m_strAddress));
    EXPECT_TRUE(shows(platform::fmt("%.1fkm", NSServer::D_jw(lat, lng, first.lat, first.lng))));
}

TEST_F(ShopSearch, ANameSearchStartsAtOnceWithoutAPosition) {
    location::LocationManager::setDevicePosition(std::nullopt);
    auto city = std::make_shared<NSCityClass>();
    city->m_id = "21";
    city->cityname = "上海";
    NSServer::getShopDB()->m_choosecity = city;
    web.withWorld([](websim::World& w) { w.pageSize = 2; });

    root->searchShop("餐");
    ASSERT_TRUE(answers());
    auto lists = requestsFor("GetShopListByLocation");
    ASSERT_GE(lists.size(), 1u);
    EXPECT_EQ(value(lists[0], "ctid"), "21");
    EXPECT_EQ(value(lists[0], "shopname"), "餐");
    EXPECT_EQ(value(lists[0], "ty"), "3");
    for (const char* key : {"lat", "lng", "nearfilter", "shoptype", "sortname", "sortflag", "pageindex"})
        EXPECT_FALSE(has(lists[0], key)) << key;
    ASSERT_GE(lists.size(), 2u);
    EXPECT_GT(lists[1].target.find("pageindex"), lists[1].target.find("ty="));

    // The device cannot tell where it is: once the guest has read so, the list takes touches.
    EXPECT_EQ(alertMessage(), "无法定位到你的位置!");
    tap("确定");
    EXPECT_FALSE(page().gpsoper()->uv_wait());
    tapAndWait(page().m_shops().front()->m_strName);
    EXPECT_TRUE(root->shopShowViewController);
}

TEST_F(ShopSearch, NothingFoundShowsOneEmptyRowAndAFailureTellsTheGuest) {
    root->searchShop("没有这家店");
    ASSERT_TRUE(answers());
    ASSERT_EQ(page().m_shops().size(), 1u);
    EXPECT_TRUE(page().m_shops()[0]->m_strID.empty());
    EXPECT_EQ(page().tb_shop()->numberOfRows(0), 1);
    EXPECT_TRUE(shows("无"));
    tap("无");
    EXPECT_FALSE(root->shopShowViewController);

    // A pull that fails: the guest is told, and the header does not stay loading.
    web.setFault("GetShopListByLocation", websim::Fault::Status);
    auto pull = [&] {
        auto& table = *page().tb_shop();
        table.beginDrag({300, 300});
        table.dragTo({300, 300 + 2 * 80});
        table.endDrag();
    };
    const std::size_t sent = requestsFor("GetShopListByLocation").size();
    pull();
    EXPECT_EQ(page().refreshHeaderView()->state(), EGORefreshTableHeaderView::Loading);
    ASSERT_TRUE(answers());
    EXPECT_EQ(panelText(), "网络连接异常");
    EXPECT_EQ(page().refreshHeaderView()->state(), EGORefreshTableHeaderView::Normal);
    EXPECT_EQ(page().tb_shop()->contentInset().top, 0);
    pull();
    ASSERT_TRUE(answers());
    EXPECT_EQ(requestsFor("GetShopListByLocation").size(), sent + 2) << "a later pull loads again";
}

TEST_F(ShopSearch, OnlyTheNewestSearchesAnswerFillsTheList) {
    root->showmapfind(false, 2);
    ASSERT_TRUE(answers());
    // The service holds the answer of the 川菜 search; meanwhile the guest picks 粤菜.
    web.setFault("GetShopListByLocation", websim::Fault::Held);
    tap("全部菜系");
    tap("川菜");
    ASSERT_TRUE(testsupport::waitUntil([&] { return requestsFor("GetShopListByLocation").size() == 2; }));
    web.clearFaults();
    tap("川菜");
    tap("粤菜");
    ASSERT_TRUE(testsupport::waitUntil([&] {
        loop().waitForPosted(0.02);
        loop().drain();
        return !page().m_shops().empty();
    }));
    const auto newest = shownIds();
    web.releaseHeld();
    ASSERT_TRUE(answers());
    EXPECT_EQ(shownIds(), newest) << "the 川菜 answer came last and was dropped";
    for (auto& s : page().m_shops()) EXPECT_EQ(s->m_strSortName, "粤菜");
    EXPECT_EQ(page().lb_pagenum()->text(), "1/1");

    // A failed newest request is what the guest is told of, whatever an older one brings.
    web.setFault("GetShopListByLocation", websim::Fault::Held);
    tapAndWait("粤菜");
    tap("火锅");
    ASSERT_TRUE(testsupport::waitUntil([&] { return requestsFor("GetShopListByLocation").size() == 4; }));
    web.setFault("GetShopListByLocation", websim::Fault::Status);
    tap("火锅");
    tap("西餐");
    ASSERT_TRUE(testsupport::waitUntil([&] {
        loop().waitForPosted(0.02);
        loop().drain();
        return panelText() == "网络连接异常";
    }));
    web.releaseHeld();
    ASSERT_TRUE(answers());
    EXPECT_TRUE(page().m_shops().empty()) << "nothing of the 火锅 answer";
}

TEST_F(ShopSearch, AListNestedTooDeepReadsAsAnEmptyPage) {
    web.setFault("GetShopListByLocation", websim::Fault::DeepJson);
    root->showmapfind(false, 2);
    ASSERT_TRUE(answers());
    ASSERT_EQ(page().m_shops().size(), 1u);
    EXPECT_TRUE(page().m_shops()[0]->m_strID.empty());
    EXPECT_TRUE(shows("无"));
}

TEST_F(ShopSearch, TheFiltersNarrowTheNextSearch) {
    root->showmapfind(false, 2);
    ASSERT_TRUE(answers());
    tap("1km");
    tapAndWait("2km");
    EXPECT_EQ(value(requestsFor("GetShopListByLocation").back(), "nearfilter"), "2000");
    EXPECT_TRUE(shows("2km"));
    EXPECT_FALSE(page().view()->viewWithTag(5) && shows("全城")) << "the panel closed";

    tap("排序");
    tapAndWait("人均由高到低");
    auto last = requestsFor("GetShopListByLocation").back();
    EXPECT_EQ(value(last, "sortname"), "expense");
    EXPECT_EQ(value(last, "sortflag"), "0");
    EXPECT_EQ(value(last, "nearfilter"), "2000") << "the choices stay in force";

    tap("全部菜系");
    tapAndWait("川菜");
    EXPECT_EQ(value(requestsFor("GetShopListByLocation").back(), "shoptype"), "2");
    for (auto& s : page().m_shops()) EXPECT_EQ(s->m_strSortName, "川菜");
    tap("川菜");  // the button now names the cuisine and opens the panel again
    tapAndWait("全部菜系");
    EXPECT_EQ(value(requestsFor("GetShopListByLocation").back(), "shoptype"), "0");
}

TEST_F(ShopSearch, APinOpensItsCalloutAndTheCalloutTheShop) {
    root->showmapfind(true, 1);
    ASSERT_TRUE(answers());
    auto& map = *page().mapView();
    EXPECT_EQ(map.region().center.latitude, static_cast<float>(pagestest::kLat));
    EXPECT_EQ(map.annotations().size(), page().m_shops().size() + (map.isUserLocationVisible() ? 1 : 0));

    const auto shop = page().m_shops()[1];
    std::shared_ptr<location::Annotation> pin;
    for (auto& a : map.annotations())
        if (auto p = std::dynamic_pointer_cast<GooglePoint>(a); p && p->m_tag() == shop->m_strID) pin = a;
    ASSERT_TRUE(pin);
    auto* view = dynamic_cast<location::PinAnnotationView*>(map.viewForAnnotation(pin.get()));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->pinColor(), location::PinAnnotationView::PinColor::Green);
    ASSERT_TRUE(ui::tapView(*window, *view).ok);
    loop().drain();
    EXPECT_EQ(view->pinColor(), location::PinAnnotationView::PinColor::Red);
    EXPECT_EQ(map.region().center.latitude, shop->lat);
    EXPECT_EQ(page().callOutBt()->superview(), &map);
    EXPECT_TRUE(shows(platform::fmt("人均:￥%@", shop->m_strAPrice)));
    EXPECT_TRUE(shows(shop->m_strTimeStart[0] + "-" + shop->m_strTimeEnd[0] + " " + shop->m_strTimeStart[1] + "-" +
                      shop->m_strTimeEnd[1] + " " +
                      (shop->m_strTimeStart.size() > 2 ? shop->m_strTimeStart[2] + "-" + shop->m_strTimeEnd[2] + " " : "")));

    // Moving the map closes the callout.
    map.setRegion({{pagestest::kLat, pagestest::kLng}, {0.05, 0.05}}, false);
    EXPECT_FALSE(page().callOutBt()->superview());
    EXPECT_EQ(view->pinColor(), location::PinAnnotationView::PinColor::Green);

    ASSERT_TRUE(ui::tapView(*window, *view).ok);
    loop().drain();
    ASSERT_TRUE(ui::tapView(*window, *page().callOutBt()).ok);
    ASSERT_TRUE(answers());
    ASSERT_TRUE(root->shopShowViewController);
    EXPECT_EQ(root->shopShowViewController->m_shop(), shop);

    // The list shows what the map showed.
    tap("返回");
    tap("列表");
    EXPECT_TRUE(shows(shop->m_strName));
    EXPECT_TRUE(shows("地图"));
}

TEST_F(ShopSearch, TheHomesSearchBarSearchesByName) {
    root->showFunction();
    tap("输入商家名称搜索");
    type("西餐");
    pressReturn();  // the keyboard's search key
    ASSERT_TRUE(answers());
    ASSERT_TRUE(root->mapFindViewController);
    EXPECT_EQ(page().m_strSearchText(), "西餐");
    EXPECT_EQ(page().showShopType(), UIMapFindViewController::kListView);
    EXPECT_EQ(value(requestsFor("GetShopListByLocation").back(), "shopname"), "西餐");
    EXPECT_TRUE(shows("意味西餐"));
}

}  // namespace
