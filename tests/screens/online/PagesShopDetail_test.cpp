// The shop detail and the order form: what a shop type offers, collecting and dropping a shop,
// the picture cache, and the reservation and take-away orders with their exact requests.

#include <nlohmann/json.hpp>

#include "PagesFixture.h"
#include "platform/foundation/Date.h"
#include "platform/ui/Application.h"
#include "screens/online/UIDingCanViewController.h"
#include "screens/online/UIDingDanXViewController.h"
#include "screens/online/UIMyLabel.h"
#include "screens/online/UIShopShowViewController.h"

namespace {

using pagestest::PagesTest;

class ShopDetail : public PagesTest {
protected:
    // Opens the detail of a demo shop as the list would have given it, and lets the detail in.
    UIShopShowViewController& open(const std::string& id, const std::string& name = "一家店") {
        auto shop = std::make_shared<NSShopClass>();
        shop->m_strID = id;
        shop->m_strName = name;
        shop->m_strCityid = "21";  // what the list gave
        shop->m_strTimeStart = {"10:00", "17:00"};
        shop->m_strTimeEnd = {"14:00", "21:30"};
        root->showshop(shop);
        EXPECT_TRUE(answers());
        return *root->shopShowViewController;
    }
    void setType(const std::string& id, int type) {
        web.withWorld([&](websim::World& w) { w.shop(id)->togoType = type; });
    }
    std::size_t pictureRequests() { return requestsFor("").size(); }
};

TEST_F(ShopDetail, TheShopTypeDecidesTheOrderButtonsAndTheTypeText) {
    struct Case {
        int type;
        bool ding, dian, song;
        const char* text;
    } cases[] = {
        {1, true, true, false, "商家类型:堂食点菜\r\n"}, {2, true, false, false, "商家类型:堂食订座\r\n"},
        {3, false, false, true, "商家类型:外卖点菜\r\n"}, {4, true, true, true, "商家类型:堂食点菜,外卖订餐\r\n"},
        {0, false, false, false, "商家类型:\r\n"},       {5, false, false, false, "商家类型:\r\n"},
    };
    for (const auto& c : cases) {
        setType("102", c.type);
        auto& page = open("102");
        EXPECT_EQ(page.m_btDing()->alpha() == 1.0, c.ding) << c.type;
        EXPECT_EQ(page.m_btDian()->alpha() == 1.0, c.dian) << c.type;
        EXPECT_EQ(page.m_btSong()->alpha() == 1.0, c.song) << c.type;
        const std::string text = page.tv_shoptext()->text();
        EXPECT_NE(text.find(c.text), std::string::npos) << c.type << ": " << text;
        EXPECT_EQ(text.rfind("菜系:粤菜\r\n地标:人民广场\r\n订座电话:021-", 0), 0u) << text;
        EXPECT_NE(text.find("营业时间:10:00-14:00 17:00-21:30 \r\n"), std::string::npos) << text;
        root->shopshowback();
    }
}

TEST_F(ShopDetail, ThePictureIsFetchedOnceAndAShopWithoutOneAsksNothing) {
    auto& page = open("101");
    EXPECT_TRUE(page.iv_shopi()->image());
    EXPECT_EQ(pictureRequests(), 1u);
    root->shopshowback();
    EXPECT_TRUE(open("101").iv_shopi()->image()) << "from the cache";
    EXPECT_EQ(pictureRequests(), 1u);
    root->shopshowback();

    web.withWorld([](websim::World& w) { w.shop("102")->picture = ""; });
    auto& bare = open("102");
    EXPECT_TRUE(bare.m_shop()->m_strPicUrl.empty());
    EXPECT_FALSE(bare.iv_shopi()->image());
    EXPECT_EQ(pictureRequests(), 1u);
}

TEST_F(ShopDetail, CollectingNeedsALoginThenAddsAndDropsTheShop) {
    open("102");
    tap("收藏本店");
    EXPECT_TRUE(root->customerLoginViewController);
    EXPECT_EQ(panelText(), "请先登录然后进行预定");
    EXPECT_TRUE(requestsFor("CollectionShopByUser").empty());
    root->customerLoginBack();
    root->shopshowback();

    logIn();
    auto& page = open("102");
    tap("收藏本店");
    EXPECT_EQ(alertMessage(), "你确定要收藏该酒店么？");
    tapAndWait("确定");
    ASSERT_EQ(requestsFor("CollectionShopByUser").size(), 1u);
    EXPECT_EQ(value(requestsFor("CollectionShopByUser")[0], "comType"), "Add");
    EXPECT_EQ(value(requestsFor("CollectionShopByUser")[0], "userID"), "1001");
    EXPECT_EQ(alertMessage(), "收藏成功");
    tap("确定");
    auto& store = *NSServer::getShopDB();
    ASSERT_EQ(store.m_collectionshop.size(), 1u);
    EXPECT_EQ(page.m_btShou()->tag(), UIShopShowViewController::kCollected);

    // The store may list a shop twice (a repeated record): dropping it takes every entry.
    store.m_collectionshop.push_back(store.m_collectionshop[0]);
    tap("取消收藏");
    EXPECT_EQ(alertMessage(), "你确定要取消收藏该酒店么？");
    tapAndWait("确定");
    EXPECT_EQ(value(requestsFor("CollectionShopByUser").back(), "comType"), "Del");
    EXPECT_EQ(alertMessage(), "取消成功");
    tap("确定");
    EXPECT_TRUE(store.m_collectionshop.empty());
    EXPECT_TRUE(shows("收藏本店"));

    // An answer that is no JSON changes nothing.
    web.setFault("CollectionShopByUser", websim::Fault::HtmlError);
    tap("收藏本店");
    tapAndWait("确定");
    EXPECT_EQ(alertMessage(), "操作失败");
    EXPECT_TRUE(store.m_collectionshop.empty());
}

TEST_F(ShopDetail, ALongNameScrollsInTheTitle) {
    auto& longName = open("101", "一家名字很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长的川菜馆子");
    EXPECT_TRUE(dynamic_cast<MarqueeLabel*>(longName.lb_titlename().get()));
    root->shopshowback();
    EXPECT_FALSE(dynamic_cast<MarqueeLabel*>(open("101", "蜀香园").lb_titlename().get()));
}

TEST_F(ShopDetail, ThePhoneReservationCallsTheShop) {
    open("101");
    ui::Application::shared().clearOpenedURLs();
    tap("订座");
    EXPECT_EQ(alertMessage(), "请选择订餐方式");
    tap("电话预定");
    ASSERT_EQ(ui::Application::shared().openedURLs().size(), 1u);
    EXPECT_EQ(ui::Application::shared().openedURLs()[0], "telprompt://" + root->shopShowViewController->m_shop()->m_strTel);
    EXPECT_FALSE(root->dingCanViewController);
}

class OrderForm : public ShopDetail {
protected:
    std::shared_ptr<UIDingCanViewController> reserve(const std::string& id) {
        logIn();
        open(id);
        tap("订座");
        tapAndWait("网络预订");
        return root->dingCanViewController.get();
    }
    nlohmann::json lastOrder() {
        auto submits = requestsFor("SubmitOrder");
        if (submits.empty()) return {};
        return nlohmann::json::parse(value(submits.back(), "ordermodel"))[0];
    }
};

TEST_F(OrderForm, AReservationSendsTheWholeHeader) {
    auto form = reserve("101");
    EXPECT_EQ(form->tf_tel()->text(), "13800000000");
    EXPECT_EQ(form->tf_name()->text(), "王小明");
    EXPECT_EQ(form->bt_sex()->currentTitle(), "女士");  // the customer's sex 1
    EXPECT_EQ(form->tf_add()->alpha(), 0);

    tap("人数");
    type("4");
    tap("电话");
    for (int i = 0; i < 7; ++i) ui::typeText(*window, "\b");
    form->tf_tel()->setText("1380");
    tapAndWait("提交订单");
    EXPECT_EQ(alertMessage(), "人数、姓名不能为空，电话号码格式错误");
    tap("确定");
    EXPECT_TRUE(requestsFor("SubmitOrder").empty());
    form->tf_tel()->setText("13800");

    tap("优先订大厅，包房也可以");
    tap("备注");
    type("靠窗");
    tapAndWait("提交订单");
    const auto o = lastOrder();
    ASSERT_TRUE(o.is_object());
    EXPECT_EQ(o.size(), 45u);
    const std::string today = platform::formatDate(platform::currentDate(), "yyyy-MM-dd");
    const std::map<std::string, std::string> expected{
        {"OrderType", "1"},     {"UserID", "1001"},        {"UserName", "王小明"}, {"Tel", "13800"},
        {"State", "0"},         {"Remark", "靠窗"},         {"TogoID", "101"},      {"EatNum", "4"},
        {"Sex", "女"},          {"mould", "优先大厅包间亦可"}, {"Address", ""},       {"orderTime", today},
        {"OrderID", ""},        {"TotalPrice", "0"},       {"SetStateTime", today}, {"paytime", today},
        {"CustomerName", "demo"}, {"cityid", "21"},        {"DataID", "0"},        {"DeskNum", "0"},
        {"ReveVar2", "0"},
    };
    for (auto& [key, v] : expected) EXPECT_EQ(o.value(key, "<none>"), v) << key;
    EXPECT_TRUE(o["cartlist"].is_array() && o["cartlist"].empty());
    EXPECT_EQ(o["SendTime"], form->bt_date()->currentTitle() + " " + form->bt_time()->currentTitle());
    EXPECT_EQ(form->bt_date()->currentTitle(), today);
}

TEST_F(OrderForm, TheFormCannotBeSentTwiceAndItsAnswerGoesToItsOwnOrder) {
    auto form = reserve("101");
    auto holder = form->importHolder();
    ASSERT_TRUE(holder);
    EXPECT_EQ(root->dingDXViewController.get(), holder);
    EXPECT_FALSE(requestsFor("GetFoodTypeListByShopId").empty()) << "the web menu is imported meanwhile";

    tap("人数");
    type("2");
    web.setFault("SubmitOrder", websim::Fault::Held);
    tap("提交订单");
    EXPECT_FALSE(ui::tapTitle(*window, "提交订单").ok) << "the button waits for the answer";
    // Something else takes the root's order detail before the answer comes.
    auto other = std::make_shared<NSDingDClass>();
    root->showDingDX(other);
    ASSERT_TRUE(testsupport::waitUntil([&] { return requestsFor("SubmitOrder").size() == 1; }));
    web.releaseHeld();
    ASSERT_TRUE(answers());
    EXPECT_EQ(requestsFor("SubmitOrder").size(), 1u);
    EXPECT_FALSE(holder->m_dingd()->m_strOrderid.empty());
    EXPECT_TRUE(other->m_strOrderid.empty());
}

TEST_F(OrderForm, ARefusedOrderKeepsTheFormAndASeatOnlyShopOpensNoMenu) {
    auto form = reserve("101");
    form->setM_shop([] {
        auto gone = std::make_shared<NSShopClass>();
        gone->m_strID = "999";  // a shop the service no longer has
        return gone;
    }());
    tap("人数");
    type("2");
    tapAndWait("提交订单");
    EXPECT_EQ(alertMessage(), "预定失败");
    tap("确定");
    EXPECT_TRUE(root->dingCanViewController);
    root->dingcanback();
    root->shopshowback();

    setType("103", 2);
    web.clearLog();
    root->selectCaipViewController = nullptr;
    reserve("103");
    EXPECT_FALSE(root->dingCanViewController->importHolder());
    EXPECT_TRUE(requestsFor("GetFoodTypeListByShopId").empty());
    tap("人数");
    type("3");
    tapAndWait("提交订单");
    EXPECT_EQ(alertMessage().rfind("预订成功，订单正在等待审核。订单号:", 0), 0u) << alertMessage();
    EXPECT_FALSE(root->dingCanViewController);
    EXPECT_FALSE(root->selectCaipViewController);
}

TEST_F(OrderForm, ThePickerPanelSetsDateTimeAndSalutation) {
    auto form = reserve("101");
    tap("女士");
    advance(0.5);
    ASSERT_TRUE(ui::pickRow(*window, "先生").ok);
    tap("确定");
    advance(0.5);
    EXPECT_EQ(form->bt_sex()->currentTitle(), "先生");
    EXPECT_EQ(form->bt_sex()->tag(), 0);
    EXPECT_FALSE(form->v_packerView()->superview());

    const double tomorrow = platform::currentDate() + 86400;
    tap(form->bt_date()->currentTitle());
    advance(0.5);
    form->dp_date()->setDate(tomorrow);
    tap("确定");
    advance(0.5);
    EXPECT_EQ(form->bt_date()->currentTitle(), platform::formatDate(tomorrow, "yyyy-MM-dd"));
}

}  // namespace
