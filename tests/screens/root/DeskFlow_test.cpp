// The desk flow driven through the pickers, pads and alerts as a waiter meets them, against the
// back-office simulator's floor: a free desk with its guests, a reserved desk, a transfer, an
// offline order merged into a desk, fixed-desk mode.

#include <algorithm>
#include <map>

#include "DialogFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "screens/kit/UINumViewController.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/orderlist/UIDishLViewController.h"
#include "screens/root/UIYuDingViewController.h"

namespace {

struct FloorDesk {
    std::string id, name, room;
};

class DeskFlow : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
        launch("127.0.0.1");
        advance(0.2);  // past the start-up fixed-desk check, with no desk configured
        // The floor plan and the menu as a synchronisation leaves them.
        ASSERT_TRUE(NSServer().ayncCaip());
        NSServer::loadDesks(std::nullopt, false);
        auto tree = NSServer::getDesks();
        for (int row = 1; row < tree->m_length && desks.size() < 2; ++row)
            if (!tree->m_code[row].empty())
                desks.push_back({tree->m_code[row], tree->m_name[row], tree->m_name[tree->m_pid[row]]});
        ASSERT_EQ(desks.size(), 2u);
        auto waiter = std::make_shared<NSUserClass>();
        waiter->m_strUserID = waiter->m_strUserName = "0001";
        NSServer::setNowUser(waiter);
    }

    // Enters the desk's room, taps the desk and OK.
    void pickDesk(const FloorDesk& desk) {
        advance(0.3);
        pickOnRoot(desk.room);
        pickOnRoot(desk.name);
        UISelectViewController& picker = *root->selectViewController;
        tapButton(*picker.m_panel, *picker.m_btOK);
        advance(0.3);
    }
    // Taps the guest pad's digit keys (it has no point) and then OK.
    void guests(const std::string& digits) {
        ASSERT_TRUE(root->numViewController) << dump();
        UINumViewController& pad = *root->numViewController;
        VirtualButton* keys[] = {&pad.m_btn00, &pad.m_btn01, &pad.m_btn02, &pad.m_btn03, &pad.m_btn04,
                                 &pad.m_btn05, &pad.m_btn06, &pad.m_btn07, &pad.m_btn08, &pad.m_btn09};
        for (char d : digits) tapButton(*pad.m_panel, *keys[d - '0']);
        tapButton(*pad.m_panel, pad.m_btnOK);
    }
    std::shared_ptr<NSDishClass> lineOf(std::size_t menuIndex) {
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(NSServer::getCaipDB()->m_CaipArray.at(menuIndex));
        line->m_fQuantity = 1;
        line->m_struid = "-1";
        return line;
    }
    int requests(const std::string& command) const { return static_cast<int>(sim.requestsFor(command).size()); }

    std::vector<FloorDesk> desks;
};

TEST_F(DeskFlow, AFreeDeskOpensWithItsGuestsFromTheOrderList) {
    root->dishlist();
    settle();
    tap("桌台:");
    logInOnPanel("0001", "123");
    advance(0.3);  // the panel slides away; the list hears the login and opens the picker
    ASSERT_TRUE(root->selectViewController);
    EXPECT_EQ(root->selectViewController->m_title->text(), "请选择桌台");
    pickDesk(desks[0]);
    EXPECT_FALSE(root->selectViewController);
    ASSERT_TRUE(root->numViewController);
    EXPECT_EQ(root->numViewController->l_title->text(), "请输入" + desks[0].name + "的就餐人数");

    guests("");  // no guest count: told, and the pad stays
    EXPECT_EQ(alertMessage(), "请输入就餐人数");
    tap("确定");
    EXPECT_FALSE(NSServer::getIsShowAlert());
    ASSERT_TRUE(root->numViewController);
    EXPECT_EQ(requests("opendesk"), 0);

    expectWholeNumberPad(*root->numViewController);
    guests("4");
    advance(0.3);
    EXPECT_FALSE(root->numViewController);
    auto now = NSServer::getNowDesk();
    EXPECT_EQ(now->m_strDeskID, desks[0].id);
    EXPECT_EQ(now->m_strDeskState, "6");
    EXPECT_EQ(now->m_iClientNum, 4);
    EXPECT_EQ(now->m_kongjmc, desks[0].room);
    EXPECT_EQ(sim.desk(desks[0].id)->state, "6");
    EXPECT_EQ(sim.desk(desks[0].id)->guests, 4);
    EXPECT_TRUE(alerts().empty()) << "no merge question without an offline order";
    EXPECT_EQ(requests("adddish"), 0) << "from the desk button the list only reloads";
}

TEST_F(DeskFlow, ACancelledGuestCountGoesBackToTheDeskBefore) {
    // The desk before has an unsent line in its saved file.
    NSServer::setNowDesk(std::make_shared<NSDeskClass>());
    auto before = std::make_shared<NSDeskClass>();
    before->m_strDeskID = desks[1].id;
    before->m_strDeskName = desks[1].name;
    NSServer::setNowDesk(before);
    before->m_DishList.push_back(lineOf(0));
    NSServer::saveSelectDish0();

    root->chooseDesk(true);
    pickDesk(desks[0]);
    EXPECT_EQ(NSServer::getNowDesk()->m_strDeskID, desks[0].id);
    tapButton(*root->numViewController->m_panel, root->numViewController->m_btnCancel);
    advance(0.3);
    EXPECT_FALSE(root->numViewController);
    EXPECT_EQ(NSServer::getNowDesk(), before);
    EXPECT_EQ(before->m_DishList.size(), 1u) << "its saved line must not come back a second time";
    EXPECT_EQ(sim.desk(desks[0].id)->state, "1");
}

TEST_F(DeskFlow, AReservedDeskShowsItsReservationAndOpensIt) {
    backoffice::SimReservation booking;
    booking.consumeID = "YD001";
    booking.guests = 6;
    booking.company = "星河公司";
    booking.guestName = "李先生";
    booking.telephone = "13800000000";
    booking.deskIDs = {desks[1].id};
    booking.dishes = {{*NSServer::getCaipDB()->m_CaipArray.at(0)->m_strID, 2, "", 0}};
    sim.setReservation(booking);

    // Back leaves the reserved desk current without opening it.
    root->chooseDesk(true);
    pickDesk(desks[1]);
    ASSERT_TRUE(root->yudingViewController) << dump();
    UIYuDingViewController& dialog = *root->yudingViewController;
    EXPECT_EQ(dialog.lb_title->text(), desks[1].name + " 预订信息");
    EXPECT_NE(dialog.tv_yuDingInfo->text().find("客人姓名：李先生"), std::string::npos) << dialog.tv_yuDingInfo->text();
    EXPECT_NE(dialog.tv_yuDingInfo->text().find("人数：6"), std::string::npos);
    EXPECT_EQ(dialog.tb_dishs->numberOfRows(0), 1);
    tap("返回");
    advance(0.3);
    EXPECT_FALSE(root->yudingViewController);
    EXPECT_EQ(NSServer::getNowDesk()->m_strDeskID, desks[1].id);
    EXPECT_EQ(requests("yudopen"), 0);

    root->chooseDesk(true);
    pickDesk(desks[1]);
    tap("开台");
    advance(0.3);
    EXPECT_FALSE(root->yudingViewController);
    EXPECT_EQ(requests("yudopen"), 1);
    EXPECT_EQ(NSServer::getNowDesk()->m_iClientNum, 6);
    EXPECT_EQ(sim.desk(desks[1].id)->state, "6");
}

TEST_F(DeskFlow, ATransferSwapsTheSavedSelectionsAndSaysSoASecondLater) {
    root->chooseDesk(true);
    pickDesk(desks[0]);
    guests("2");
    advance(0.3);
    auto now = NSServer::getNowDesk();
    now->m_DishList.push_back(lineOf(0));
    NSServer::saveSelectDish0();
    // The target desk has an unsent line of its own in its file.
    auto target = std::make_shared<NSDeskClass>();
    target->m_strDeskID = desks[1].id;
    target->m_DishList.push_back(lineOf(1));
    NSServer::saveSelectDish1(target);

    root->trunDesk();
    EXPECT_EQ(root->selectViewController->m_title->text(), "请选择要转入的桌台");
    pickDesk(desks[1]);
    EXPECT_EQ(alertMessage(), "确定将" + desks[0].name + "转到" + desks[1].name + "吗？");
    tap("确定");
    EXPECT_EQ(requests("changedesk"), 1);
    EXPECT_EQ(now->m_strDeskID, desks[1].id);
    EXPECT_EQ(now->m_strDeskName, desks[1].name);
    auto savedAs = [](const std::string& id) {
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = id;
        NSServer::loadSelectDish(desk);
        std::vector<std::string> dishes;
        for (auto& line : desk->m_DishList) dishes.push_back(*line->m_strCaipID);
        return dishes;
    };
    const auto& menu = NSServer::getCaipDB()->m_CaipArray;
    EXPECT_EQ(savedAs(desks[1].id), std::vector<std::string>{*menu.at(0)->m_strID});
    EXPECT_EQ(savedAs(desks[0].id), std::vector<std::string>{*menu.at(1)->m_strID});

    EXPECT_TRUE(alerts().empty());
    advance(1.0);
    EXPECT_EQ(alertMessage(), "转台成功");
    tap("确定");
    EXPECT_FALSE(NSServer::getIsShowAlert());
}

TEST_F(DeskFlow, AnOfflineOrderIsMergedIntoTheOpenedDeskAndItsSendGoesOn) {
    auto offline = std::make_shared<NSDeskClass>();
    offline->m_DishList.push_back(lineOf(2));
    NSServer::getOutDesk()->push_back(offline);
    NSServer::setNowDesk(offline);
    NSServer::saveOutDesk();

    root->dishlist();
    settle();
    tap("送单");
    logInOnPanel("0001", "123");
    advance(0.3);  // the send finds no desk and opens the picker
    pickDesk(desks[0]);
    guests("3");
    EXPECT_EQ(alertMessage(), "是否将离线点的菜并入" + desks[0].name + "？");
    tap("是");
    advance(0.3);
    auto now = NSServer::getNowDesk();
    EXPECT_EQ(now->m_strDeskID, desks[0].id);
    EXPECT_TRUE(std::find(NSServer::getOutDesk()->begin(), NSServer::getOutDesk()->end(), offline) ==
                NSServer::getOutDesk()->end());
    // The send resumed by itself, without a confirmation.
    EXPECT_EQ(requests("adddish"), 1);
    ASSERT_EQ(sim.desk(desks[0].id)->lines.size(), 1u);
    EXPECT_EQ(sim.desk(desks[0].id)->lines[0].caipID, *NSServer::getCaipDB()->m_CaipArray.at(2)->m_strID);
    NSServer::loadOutDesk();
    EXPECT_TRUE(NSServer::getOutDesk()->empty()) << "the offline file no longer holds the merged desk";
}

TEST_F(DeskFlow, WithASendWaitingALineTheServerHasAlreadyIsMarkedAsItsRepeat) {
    const auto& menu = NSServer::getCaipDB()->m_CaipArray;
    // The desk is open on the server with one line of the first dish.
    backoffice::SimDesk open = *sim.desk(desks[0].id);
    open.state = "6";
    open.consumeID = "B77";
    open.guests = 2;
    backoffice::SimLine sent;
    sent.xfmxID = "1";
    sent.uid = "3";
    sent.caipID = *menu.at(0)->m_strID;
    sent.quantity = 1;
    open.lines = {sent};
    sim.setDesk(open);
    // Its saved unsent lines: the same dish again, and another one.
    auto saved = std::make_shared<NSDeskClass>();
    saved->m_strDeskID = desks[0].id;
    saved->m_DishList = {lineOf(0), lineOf(1)};
    saved->m_DishList[0]->m_struid = "7";
    saved->m_DishList[1]->m_struid = "8";
    NSServer::saveSelectDish1(saved);

    // A send started on an offline desk waits for a desk; its line stays offline.
    auto offline = std::make_shared<NSDeskClass>();
    offline->m_DishList.push_back(lineOf(2));
    NSServer::getOutDesk()->push_back(offline);
    NSServer::setNowDesk(offline);
    root->dishlist();
    settle();
    tap("送单");
    logInOnPanel("0001", "123");
    advance(0.3);
    pickDesk(desks[0]);  // open already: no guests asked
    tap("否");
    advance(0.3);
    ASSERT_EQ(requests("adddish"), 1);
    std::map<std::string, std::string> uidByDish;
    const backoffice::SimDesk after = *sim.desk(desks[0].id);
    for (auto& line : after.lines)
        if (line.xfmxID != "1") uidByDish[line.caipID] = line.uid;
    EXPECT_EQ(uidByDish[*menu.at(0)->m_strID], "-2");
    EXPECT_EQ(uidByDish[*menu.at(1)->m_strID], "8");
}

TEST_F(DeskFlow, FixedDeskModeOpensTheConfiguredDeskAfterTheConfiguredLogin) {
    NSServer::setSetUserName("0001");
    NSServer::setSetUserPassword("123");
    struct Case { bool wifi; std::string name; } nothing[] = {{false, desks[0].name}, {true, ""}, {true, "无此桌"}};
    for (const Case& c : nothing) {
        platform::setWifiForTesting(c.wifi);
        NSServer::setSetDeskName(c.name);
        root->chooseSetDesk("1");
        EXPECT_FALSE(root->loginViewController) << c.wifi << " " << c.name;
    }
    EXPECT_EQ(requests("login"), 0);

    platform::setWifiForTesting(true);
    NSServer::setSetDeskName(desks[0].name);
    root->chooseSetDesk("1");  // the start-up check
    EXPECT_EQ(requests("login"), 1);
    advance(0.3);  // the panel goes; the welcome screen hears the login and comes back
    EXPECT_FALSE(root->loginViewController);
    ASSERT_TRUE(root->numViewController) << dump();
    advance(0.3);
    guests("5");
    advance(0.3);
    EXPECT_EQ(NSServer::getNowDesk()->m_strDeskID, desks[0].id);
    EXPECT_EQ(sim.desk(desks[0].id)->guests, 5);
}

}  // namespace
