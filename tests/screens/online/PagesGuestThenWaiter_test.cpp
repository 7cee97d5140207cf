// One terminal, guests and waiters in turn: a guest's online orders (one accepted, one refused)
// fill their carts from a shop's web menu, and the waiter who comes next finds the restaurant's
// menu, his own offline order and a desk that opens, against both simulators.

#include "GData/GDataXML.h"
#include "PagesFixture.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/menu/NSCaipViewCell.h"
#include "screens/menu/UISelectCaipViewController.h"
#include "screens/orderlist/UIDishLViewController.h"
#include "screens/skin/UIWelcomeViewController.h"

namespace {

constexpr const char* kMissingDish = "接收的菜品在本地数据库菜品表中不存在，可能是菜品没有同步，请先同步然后选择桌台！";

using pagestest::PagesTest;

class GuestThenWaiter : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
        // The restaurant's menu and floor as a synchronisation leaves them on the device.
        ASSERT_TRUE(NSServer().ayncCaip());
        NSServer::loadDesks(std::nullopt, false);
        auto tree = NSServer::getDesks();
        for (int row = 1; row < tree->m_length && deskID.empty(); ++row)
            if (!tree->m_code[row].empty()) {
                deskID = tree->m_code[row];
                deskName = tree->m_name[row];
                roomName = tree->m_name[tree->m_pid[row]];
            }
        ASSERT_FALSE(deskID.empty());
        // An import rewrites the menu database it finds: what the restaurant's held is noted now.
        auto menu = NSServer::getCaipDB();
        dishCount = menu->m_CaipArray.size();
        auto top = menu->rootCplbTrees.front();
        firstCategory = top->subCplbTrees.empty() ? top : top->subCplbTrees.front();
        for (const auto& dish : firstCategory->caips)
            if (!dish->m_bisSet && !dish->m_bCustom && dish->m_iMustzuof == 0 && dish->m_iPrice != 1)
                plainDishes.push_back(dish);
        ASSERT_GE(plainDishes.size(), 2u);
    }

    // The dish with that name on the dish menu's first page, added as a finger adds it.
    void choose(const std::string& name) {
        ASSERT_TRUE(root->selectCaipViewController) << dump();
        auto& menu = *root->selectCaipViewController;
        for (int k = 0; auto tile = menu.tileAt(k); ++k)
            if (tile->nameL->text() == name) {
                auto r = ui::tapView(*window, *tile->SelCaipB);
                ASSERT_TRUE(r.ok) << r.error;
                loop().drain();
                return;
            }
        FAIL() << "no tile shows " << name << "\n" << dump();
    }
    // From the welcome screen, the guest's order 5001 opened and the dish added to its cart.
    void addToOrder5001(const std::string& dish) {
        tap("在线服务");
        tapAndWait("我的订单");
        tapAndWait("订单号:5001");
        tap("选菜");
        settle();
        choose(dish);
    }
    // The order list's submit of the guest's cart, answered; the alert it raises is read and shut.
    std::string submitCart() {
        tap("已点菜单");
        settle();
        tap("提交订单");
        EXPECT_TRUE(answers());
        const std::string said = alertMessage();
        tap("确定");
        settle();
        return said;
    }
    static bool isShopDish(const std::string& id) { return id.find('-') != std::string::npos; }
    // The dish ids of an order's rows as the back office received them.
    static std::vector<std::string> dishesOf(const backoffice::ReceivedRequest& request) {
        std::vector<std::string> ids;
        auto data = request.data();
        auto details = data ? data->elementsForName("detail") : std::nullopt;
        if (!details || details->empty()) return ids;
        for (const auto& row : details->front()->elementsForName("row").value_or(std::vector<std::shared_ptr<GDataXMLElement>>{}))
            if (auto gds = row->attributeForName("gds")) ids.push_back(gds->stringValue().value_or(""));
        return ids;
    }
    // The waiter's own offline order of one dish, made before any guest came; current.
    std::shared_ptr<NSDeskClass> ownOfflineOrder() {
        auto own = NSServer::getNowDesk();
        EXPECT_TRUE(own->m_strDeskID.empty());
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(plainDishes[0]);
        line->m_fQuantity = 1;
        own->m_DishList.push_back(line);
        NSServer::saveSelectDish0();
        return own;
    }
    // It is still there, alone, in memory and in the offline file: no cart of a guest is.
    void expectOnlyOwnOfflineOrder(const std::shared_ptr<NSDeskClass>& own) {
        auto outDesks = NSServer::getOutDesk();
        ASSERT_EQ(outDesks->size(), 1u);
        EXPECT_EQ(outDesks->front(), own);
        ASSERT_EQ(own->m_DishList.size(), 1u);
        EXPECT_EQ(own->m_DishList[0]->caipID(), plainDishes[0]->strID());
        NSServer::loadOutDesk();
        auto onDisk = NSServer::getOutDesk();
        NSServer::setOutDesk(outDesks);
        ASSERT_EQ(onDisk->size(), 1u);
        ASSERT_EQ(onDisk->front()->m_DishList.size(), 1u);
        EXPECT_EQ(onDisk->front()->m_DishList[0]->caipID(), plainDishes[0]->strID());
    }
    // The sold-out list's remaining quantity of a dish; none when it is not listed.
    static std::optional<std::string> soldOut(const NSCaipDBClass& db, const std::string& id) {
        const auto& list = *db.m_SellOut;
        for (int k = 1; k < list.m_length; ++k)
            if (list.m_code[k] == id) return list.m_state[k];
        return std::nullopt;
    }

    std::string deskID, deskName, roomName;
    std::size_t dishCount = 0;
    // The category the dish menu opens on, and its dishes that ask nothing when chosen.
    std::shared_ptr<NSCplbTreeClass> firstCategory;
    std::vector<std::shared_ptr<NSCaipClass>> plainDishes;
};

TEST_F(GuestThenWaiter, AfterTheGuestsOrdersTheWaiterOrdersFromTheRestaurantsMenu) {
    // A desk open on the back office with a dish of the restaurant's.
    auto served = plainDishes[0];
    auto ordered = plainDishes[1];
    backoffice::SimDesk open = *sim.desk(deskID);
    open.state = "6";
    open.consumeID = "B81";
    open.guests = 2;
    backoffice::SimLine line;
    line.xfmxID = "1";
    line.uid = "1";
    line.caipID = served->strID();
    line.quantity = 1;
    open.lines = {line};
    sim.setDesk(open);
    auto own = ownOfflineOrder();
    NSServer::getCaipDB()->m_SellOut->AddItem(ordered->strID(), ordered->m_strName, "3");

    // A guest's take-away order, whose cart the service accepts.
    logIn();
    takeAwayOrderAt("川味轩");
    settle();
    choose("宫保鸡丁");
    EXPECT_EQ(submitCart(), "提交成功");
    ASSERT_TRUE(root->welcomeViewController);
    EXPECT_EQ(root->view()->subviews().back(), root->welcomeViewController->view());

    // Another guest adds to an order the shop has done with: refused, the welcome screen all the
    // same.
    addToOrder5001("宫保鸡丁");
    EXPECT_EQ(submitCart(), "提交失败");
    const auto carts = requestsFor("SubmitOrder");
    ASSERT_EQ(carts.size(), 3u) << "the order form's, then the two carts";
    EXPECT_EQ(nlohmann::json::parse(value(carts[2], "ordermodel"))[0]["OrderID"], "5001");

    // The waiter: the restaurant's menu, as its files hold it, with the back office's sold-out list.
    auto menuNow = NSServer::getCaipDB();
    ASSERT_FALSE(menuNow->m_CaipArray.empty());
    for (const auto& dish : menuNow->m_CaipArray) EXPECT_FALSE(isShopDish(dish->strID())) << dish->strID();
    EXPECT_EQ(menuNow->m_CaipArray.size(), dishCount);
    EXPECT_EQ(soldOut(*menuNow, ordered->strID()), "3") << "the sold-out list reads as before";
    EXPECT_EQ(NSServer::getNowDesk(), own) << "his offline order is current again";
    tap("开始点菜");
    settle();
    ASSERT_TRUE(root->selectCaipViewController);
    EXPECT_EQ(root->selectCaipViewController->nowCplb()->cplb->m_strUid, firstCategory->cplb->m_strUid);
    tap("已点菜单");
    settle();
    EXPECT_TRUE(root->listViewController->bt_yuding->isHidden()) << "no online order is held for his lines";

    // He opens the desk (keeping his offline order apart), orders a dish and sends it.
    tap("桌台:");
    logInOnPanel("0001", "123");
    advance(0.3);
    pickOnRoot(roomName);
    pickOnRoot(deskName);
    tapButton(*root->selectViewController->m_panel, *root->selectViewController->m_btOK);
    advance(0.3);
    EXPECT_EQ(alertMessage(), "是否将离线点的菜并入" + deskName + "？");
    tap("否");
    advance(0.3);
    EXPECT_NE(alertMessage(), kMissingDish);
    EXPECT_NE(panelText().value_or(""), kMissingDish);
    ASSERT_EQ(NSServer::getNowDesk()->m_strDeskID, deskID) << alertMessage();
    ASSERT_EQ(NSServer::getNowDesk()->m_DishList.size(), 1u);
    EXPECT_EQ(NSServer::getNowDesk()->m_DishList[0]->m_strCaipName, served->m_strName);
    tap("返回");
    settle();
    choose(ordered->m_strName);
    tap("已点菜单");
    settle();
    tap("送单");
    logInOnPanel("0001", "123");  // the send asks for its waiter, then goes
    settle();
    ASSERT_TRUE(sim.desk(deskID));
    ASSERT_EQ(sim.desk(deskID)->lines.size(), 2u) << alertMessage() << dump();
    EXPECT_EQ(sim.desk(deskID)->lines[1].caipID, ordered->strID());
    const auto sent = sim.requestsFor("adddish");
    ASSERT_EQ(sent.size(), 1u);
    for (const auto& id : dishesOf(sent[0])) EXPECT_FALSE(isShopDish(id)) << id;

    expectOnlyOwnOfflineOrder(own);
}

// A guest may leave at any point: from the shop's dish menu with a cart begun, or from the online
// home while the shop's menu is still on its way.
TEST_F(GuestThenWaiter, AGuestWhoLeavesWithoutSubmittingLeavesNothingBehind) {
    auto own = ownOfflineOrder();
    auto restaurantsAgain = [&](const char* how) {
        SCOPED_TRACE(how);
        auto menu = NSServer::getCaipDB();
        ASSERT_EQ(menu->m_CaipArray.size(), dishCount);
        for (const auto& dish : menu->m_CaipArray) ASSERT_FALSE(isShopDish(dish->strID())) << dish->strID();
        EXPECT_EQ(NSServer::getNowDesk(), own);
        EXPECT_FALSE(root->dingDXViewController);
        expectOnlyOwnOfflineOrder(own);
    };
    logIn();
    addToOrder5001("宫保鸡丁");
    EXPECT_NE(NSServer::getNowDesk(), own);
    // Meanwhile the cart goes to the web service only: neither a send nor the desk button takes
    // it to a desk, and the offline file never holds it (a restart would make it a waiter's).
    tap("已点菜单");
    settle();
    for (const char* button : {"送单", "桌台:"}) {
        tap(button);
        EXPECT_EQ(alertMessage(), "这是在线订单的菜品,请点“提交订单”提交") << button;
        tap("确定");
        EXPECT_FALSE(root->selectViewController) << button;
    }
    EXPECT_TRUE(sim.requestsFor("adddish").empty());
    auto inMemory = NSServer::getOutDesk();
    NSServer::loadOutDesk();
    EXPECT_EQ(NSServer::getOutDesk()->size(), 1u) << "only the waiter's own order on disk";
    NSServer::setOutDesk(inMemory);
    tap("返回");
    settle();
    tap("返回");
    settle();
    restaurantsAgain("back from the shop's dish menu");

    tap("在线服务");
    tapAndWait("我的订单");
    web.setFault("GetFoodListByShopId", websim::Fault::Held);
    tap("订单号:5001");
    ASSERT_TRUE(testsupport::waitUntil([&] {
        loop().waitForPosted(0.02);
        loop().drain();
        return requestsFor("GetFoodListByShopId").size() == 2;
    }));
    tap("返回");
    tap("返回");
    tap("返回");
    EXPECT_EQ(root->view()->subviews().back(), root->welcomeViewController->view());
    web.releaseHeld();
    ASSERT_TRUE(answers());
    restaurantsAgain("back from the online home before the shop's menu came");
}

}  // namespace
