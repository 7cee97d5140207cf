// The order list as the desk flow resumes it: the send of the unsent lines through the
// hub's server operations, the offline desk that first needs a desk, the administrator refused.

#include "ScreenFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "screens/orderlist/UIDishLViewController.h"

namespace {

class OrderListResume : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
        launch("127.0.0.1");
        ASSERT_TRUE(NSServer().ayncCaip());
        advance(1);
        auto waiter = std::make_shared<NSUserClass>();
        waiter->m_strUserID = waiter->m_strUserName = "0001";
        waiter->m_iDishCount = 40;
        NSServer::setNowUser(waiter);
        root->dishlist();
        settle();
        list = root->listViewController.get();
        ASSERT_TRUE(list);
    }

    // An open desk of the simulator's floor made current.
    std::shared_ptr<NSDeskClass> openDesk() {
        NSServer::loadDesks(std::nullopt, false);
        auto tree = NSServer::getDesks();
        auto desk = std::make_shared<NSDeskClass>();
        for (int row = 1; row < tree->m_length; ++row) {
            if (tree->m_code[row].empty()) continue;
            desk->m_strDeskID = tree->m_code[row];
            desk->m_strDeskName = tree->m_name[row];
            break;
        }
        NSServer::setNowDesk(desk);
        desk->m_iClientNum = 2;
        EXPECT_TRUE(NSServer().OpenDesk(*desk));
        EXPECT_TRUE(NSServer().XDeskDetail(*desk));
        return desk;
    }

    std::shared_ptr<NSDishClass> unsentLine(std::size_t menuIndex, bool chosen = false) {
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(NSServer::getCaipDB()->m_CaipArray.at(menuIndex));
        line->m_fQuantity = 1;
        line->m_struid = "-1";
        line->m_bisChoose = chosen;
        return line;
    }

    std::shared_ptr<UIDishLViewController> list;
};

TEST_F(OrderListResume, SendsTheChosenUnsentLinesNumberedFromTheWaitersCounterAndShowsTheServersLines) {
    auto desk = openDesk();
    auto chosen = unsentLine(0, true);
    auto left = unsentLine(1);
    desk->m_DishList = {chosen, left};

    EXPECT_TRUE(list->onSendCaip(std::string("NO_LOGIN"), -1));
    ASSERT_EQ(sim.requestsFor("adddish").size(), 1u);
    auto onServer = sim.desk(desk->m_strDeskID)->lines;
    ASSERT_EQ(onServer.size(), 1u) << "only the chosen line goes";
    EXPECT_EQ(onServer[0].caipID, chosen->caipID());
    EXPECT_EQ(onServer[0].uid, "40");
    EXPECT_EQ(NSServer::getNowUser()->m_iDishCount, 41);

    // The list now holds the server's line first, then the line still unsent.
    ASSERT_EQ(desk->m_DishList.size(), 2u);
    EXPECT_NE(desk->m_DishList[0]->m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(desk->m_DishList[1], left);
    EXPECT_EQ(list->m_dishTable()->numberOfRows(0), 2);
}

TEST_F(OrderListResume, AFailedSendPutsTheLinesBackAsUnsent) {
    auto desk = openDesk();
    desk->m_DishList = {unsentLine(0), unsentLine(1)};
    backoffice::Faults refuse;
    refuse.refuse = true;
    sim.setFaults(refuse);
    EXPECT_FALSE(list->onSendCaip(std::string("NO_LOGIN"), -1));
    for (auto& line : desk->m_DishList) EXPECT_EQ(line->m_iState, NSDishClass::kUnsent);
}

TEST_F(OrderListResume, AnOfflineDeskFirstOpensTheDeskPickerAndSendsNothing) {
    auto offline = NSServer::getNowDesk();
    ASSERT_TRUE(offline->m_strDeskID.empty());
    offline->m_DishList = {unsentLine(0)};
    EXPECT_FALSE(list->onSendCaip(std::string("NO_LOGIN"), -1));
    EXPECT_EQ(list->sendIndex(), -1);
    EXPECT_TRUE(root->selectViewController) << "the desk picker opens so the send can resume";
    EXPECT_TRUE(sim.requestsFor("adddish").empty());
    EXPECT_FALSE(list->onSendCaip(std::string("NO_LOGIN"), -3));
}

TEST_F(OrderListResume, TheAdministratorCodeMayNotSend) {
    auto desk = openDesk();
    desk->m_DishList = {unsentLine(0)};
    auto user = NSServer::getNowUser();
    user->m_strUserDesc = "*系统管理员";
    user->m_strUserName = "4062";
    list->loginBack(UIDishLViewController::kLoginSend, true);
    EXPECT_EQ(alertMessage(), "管理员不能下单或退菜，请用服务员工号登录");
    EXPECT_EQ(user->m_strUserDesc, "");
    EXPECT_EQ(user->m_strUserName, "");
    EXPECT_TRUE(sim.requestsFor("adddish").empty());
}

}  // namespace
