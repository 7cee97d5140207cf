// Requests on the desk as a whole: guests, a manual total, clearing, joining another desk, and
// the opened-desk panel with its waiter picker.

#include "OrderListFixture.h"
#include "platform/ui/TextField.h"

namespace {

class Desk : public OrderListFixture {
protected:
    std::string room(std::size_t n) const {
        auto tree = NSServer::getDesks();
        return tree->m_name[tree->m_pid[floor.at(n)]];
    }
    // The opened-desk panel's fields while it is shown. A missing field fails the test and reads
    // as an empty stand-in, so the checks after it still run instead of crashing the program.
    ui::TextField& field(const std::shared_ptr<ui::TextField>& f) {
        EXPECT_TRUE(f) << dump();
        return f ? *f : *missing;
    }
    std::shared_ptr<ui::TextField> missing = std::make_shared<ui::TextField>();
};

TEST_F(Desk, GuestsChangeOnTheServerForAnOpenDeskAndOnlyLocallyOffline) {
    // Offline: nothing is sent, the count is saved with the offline desks.
    lines() = {line(0)};
    showDesk();
    tap("人数:0");
    ASSERT_TRUE(list->numViewController);
    pad("0");
    EXPECT_EQ(alertMessage(), "人数不能为0");
    tap("确定");
    ASSERT_TRUE(list->numViewController) << "the pad stays for another count";
    expectWholeNumberPad(*list->numViewController);
    pad("5");
    EXPECT_EQ(NSServer::getNowDesk()->m_iClientNum, 5);
    EXPECT_EQ(sim.requestsFor("setdeskpeoples").size(), 0u);
    NSServer::loadOutDesk();
    ASSERT_FALSE(NSServer::getOutDesk()->empty()) << "the offline desk was saved";
    EXPECT_EQ(NSServer::getOutDesk()->back()->m_iClientNum, 5);
    advance(0.3);

    auto desk = openDesk(0, 4);
    showDesk();
    tap("人数:4");
    pad("12");
    auto request = sim.requestsFor("setdeskpeoples");
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(request[0].field("param1"), "4");
    EXPECT_EQ(request[0].field("param2"), "12");
    EXPECT_EQ(list->bt_rens->currentTitle(), "人数:12");
    ASSERT_TRUE(sim.desk(desk->m_strDeskID));
    EXPECT_EQ(sim.desk(desk->m_strDeskID)->guests, 12);
}

TEST_F(Desk, AManualTotalReplacesTheComputedOneUntilZeroIsEntered) {
    openDesk();
    auto a = line(0, 2);
    lines() = {a};
    showDesk();
    const std::string computed = platform::fmt("%g", a->GetPrice());
    ASSERT_TRUE(ui::tapView(*window, *list->bt_money).ok) << "the total is a button";
    loop().drain();
    ASSERT_TRUE(list->numViewController);
    EXPECT_EQ(list->numViewController->m_strNum, computed);
    pad(".");
    EXPECT_EQ(alertMessage(), "退菜数量不正确") << "a lone point is no total";
    tap("确定");
    ASSERT_TRUE(list->numViewController) << "the pad stays for another total";
    EXPECT_EQ(list->lb_money->text(), computed);
    pad("100");
    EXPECT_EQ(list->lb_money->text(), "100");
    advance(0.3);
    list->changeMoney();
    pad("0");
    EXPECT_EQ(list->lb_money->text(), computed);
}

TEST_F(Desk, ClearingAnOpenDeskLeavesANewOfflineDeskAndOpensTheDeskPicker) {
    // An offline desk is left alone.
    menu("清空桌台");
    EXPECT_EQ(sim.requestsFor("cleardesk").size(), 0u);

    auto desk = openDesk();
    showDesk();
    // A whole bill is cancelled only after the waiter confirmed it.
    menu("清空桌台");
    EXPECT_EQ(alertMessage(), "确定清空桌台" + desk->m_strDeskName + "吗？点过的菜品将全部取消。");
    tap("取消");
    EXPECT_EQ(sim.requestsFor("cleardesk").size(), 0u);
    EXPECT_EQ(NSServer::getNowDesk(), desk);
    menu("清空桌台");
    tap("确定");
    auto clear = sim.requestsFor("cleardesk");
    ASSERT_EQ(clear.size(), 1u);
    EXPECT_EQ(clear[0].field("deskid"), desk->m_strDeskID);
    EXPECT_EQ(clear[0].field("consumeid"), desk->m_strConsumeID);
    EXPECT_TRUE(NSServer::getNowDesk()->m_strDeskID.empty());
    ASSERT_FALSE(NSServer::getOutDesk()->empty()) << "the new desk is an offline one";
    EXPECT_EQ(NSServer::getOutDesk()->back(), NSServer::getNowDesk());
    EXPECT_TRUE(root->selectViewController) << "the desk picker follows";
    EXPECT_EQ(list->sendIndex(), UIDishLViewController::kFromDeskButton);
}

// A desk whose last booking went unanswered is read back before a desk operation goes out, and
// the operation stops there: the waiter decides again on the desk as the server holds it.
TEST_F(Desk, ADeskInDoubtIsReadBackBeforeItIsClearedAndClearedOnlyWhenAskedAgain) {
    auto desk = openDesk();
    showDesk();
    NSServer::noteUnsureBooking(desk->m_strDeskID, {});
    sim.clearRecords();
    menu("清空桌台");
    tap("确定");
    EXPECT_EQ(sim.requestsFor("cleardesk").size(), 0u);
    EXPECT_EQ(sim.requestsFor("updatemenu").size(), 1u);
    EXPECT_EQ(alertMessage(), "已与服务器核对桌台,请查看后再操作");
    EXPECT_FALSE(NSServer::getUnsureBooking(desk->m_strDeskID));
    EXPECT_EQ(NSServer::getNowDesk(), desk);
    tap("确定");
    menu("清空桌台");
    tap("确定");
    EXPECT_EQ(sim.requestsFor("cleardesk").size(), 1u);
}

TEST_F(Desk, JoiningAFreeDeskAsksForItsGuestsAndSendsThemInsteadOfABill) {
    auto desk = openDesk(0);
    showDesk();
    menu("并台");
    ASSERT_TRUE(list->selectViewController);
    EXPECT_EQ(picker().m_title->text(), "请选择与" + deskName(0) + "并台的桌台");
    pick(room(1), false);
    pick(deskName(1));
    advance(0.3);
    EXPECT_EQ(alertMessage(), "确定与" + deskName(1) + "并台吗？");
    tap("确定");
    ASSERT_TRUE(list->numViewController);
    EXPECT_EQ(list->numViewController->m_strNum, "1");
    pad("0");
    EXPECT_EQ(alertMessage(), "人数不能为0");
    tap("确定");
    EXPECT_EQ(sim.requestsFor("deskunion").size(), 0u);
    expectWholeNumberPad(*list->numViewController);
    pad("3");
    auto join = sim.requestsFor("deskunion");
    ASSERT_EQ(join.size(), 1u);
    EXPECT_EQ(join[0].field("param1"), deskID(1));
    EXPECT_EQ(join[0].field("param2"), desk->m_strConsumeID);
    EXPECT_EQ(join[0].field("deskid"), "");
    EXPECT_EQ(join[0].field("consumeid"), "3");
    EXPECT_EQ(alertMessage(), "并台成功");
    // The back office opened the free desk under this bill with the guests typed.
    auto joined = sim.desk(deskID(1));
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->state, "6");
    EXPECT_EQ(joined->consumeID, desk->m_strConsumeID);
    EXPECT_EQ(joined->guests, 3);
}

TEST_F(Desk, JoiningOpenDesksJoinsTheirBillsAndTheListShowsTheJoinedLinesAtOnce) {
    // Two open desks with a line each, joined one after the other to the bill of a third.
    for (std::size_t n : {0u, 1u}) {
        auto target = std::make_shared<NSDeskClass>();
        target->m_strDeskID = deskID(n);
        target->m_iClientNum = 2;
        ASSERT_TRUE(NSServer().OpenDesk(*target));
        ASSERT_TRUE(sim.desk(deskID(n)));
        backoffice::SimDesk withLine = *sim.desk(deskID(n));
        withLine.lines.push_back(backoffice::SimLine{});
        withLine.lines.back().xfmxID = platform::fmt("L%i", static_cast<long long>(n));
        withLine.lines.back().caipID = *dish(n)->m_strID;
        withLine.lines.back().quantity = 1;
        withLine.lines.back().price = "10";
        sim.setDesk(withLine);
    }
    openDesk(2);
    showDesk();
    for (std::size_t n : {0u, 1u}) {
        const std::string targetBill = sim.desk(deskID(n))->consumeID;
        menu("并台");
        pick(room(n), false);
        pick(deskName(n));
        advance(0.3);
        tap("确定");
        EXPECT_FALSE(list->numViewController);
        auto join = sim.requestsFor("deskunion");
        ASSERT_EQ(join.size(), n + 1);
        EXPECT_EQ(join.back().field("deskid"), targetBill);
        EXPECT_EQ(join.back().field("consumeid"), "");
        EXPECT_EQ(alertMessage(), "并台成功");
        ASSERT_TRUE(sim.desk(deskID(n)));
        EXPECT_EQ(sim.desk(deskID(n))->consumeID, NSServer::getNowDesk()->m_strConsumeID) << "its bill joined ours";
        // The list shows what was joined before the waiter does anything else with the desk.
        ASSERT_EQ(lines().size(), n + 1);
        EXPECT_EQ(lines()[n]->m_strXfmxID, platform::fmt("L%i", static_cast<long long>(n)));
        EXPECT_NE(rowText(static_cast<int>(n)).find(dish(n)->m_strName), std::string::npos) << rowText(static_cast<int>(n));
        EXPECT_EQ(list->lb_quality->text(), platform::fmt("%i", static_cast<long long>(n + 1)));
        tap("确定");
        advance(0.3);
    }
    ASSERT_TRUE(sim.desk(deskID(2)));
    EXPECT_EQ(sim.desk(deskID(2))->lines.size(), 2u) << "both joined lines are on this desk's bill";
}

TEST_F(Desk, TheOpenedDeskPanelKeepsWhatWasTypedForItsDeskAndSendsIt) {
    // Without a desk there is nothing to modify.
    menu("修改开台");
    EXPECT_EQ(alertMessage(), "请先选择桌台，然后进行操作");
    tap("确定");

    auto desk = openDesk(0, 4);
    desk->m_strWaiterID = "0001";
    showDesk();
    menu("修改开台");
    EXPECT_EQ(field(list->tf_fwy).text(), "0001");
    EXPECT_EQ(field(list->tf_rens).text(), "4");
    EXPECT_EQ(field(list->tf_beiz).text(), "");
    fill(field(list->tf_beiz), "靠窗");
    tap("选择服务员");
    ASSERT_TRUE(list->selectViewController);
    pick("服务员2");
    EXPECT_EQ(field(list->tf_fwy).text(), "0002");
    EXPECT_EQ(field(list->tf_beiz).text(), "靠窗") << "what was typed stays";
    tap("确定");
    auto request = sim.requestsFor("setdeskpeoples");
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(request[0].field("param1"), "4");
    EXPECT_EQ(request[0].field("param2"), "4");
    EXPECT_EQ(request[0].field("param3"), "0002");
    EXPECT_EQ(request[0].field("param4"), "靠窗");
    EXPECT_FALSE(list->tf_fwy);

    // Typed and cancelled on one desk: another desk starts from its own values.
    menu("修改开台");
    fill(field(list->tf_beiz), "生日");
    tap("取消");
    openDesk(1, 6);
    showDesk();
    menu("修改开台");
    EXPECT_EQ(field(list->tf_rens).text(), "6");
    EXPECT_EQ(field(list->tf_beiz).text(), "");
    tap("取消");
}

TEST_F(Desk, TransferHandsOverToTheRootsDeskPickerForTheTarget) {
    openDesk(0);
    showDesk();
    menu("换台");
    ASSERT_TRUE(root->selectViewController);
    EXPECT_EQ(root->selectViewController->m_tag, 980008);
    EXPECT_GE(sim.requestsFor("deskstate").size(), 1u) << "the desk states are read first";
    root->SelectDlgCancel();
    advance(0.3);
}

}  // namespace
