// Requests about the kitchen and the service: hasten with a reason, mark served, weigh an
// estimated line, call, and the tablet sync that takes the server's copy of the order.

#include "OrderListFixture.h"
#include "platform/foundation/FileSystem.h"

namespace {

class Kitchen : public OrderListFixture {
protected:
    // Three sent lines, all chosen.
    void threeSentLines() {
        openDesk();
        lines() = {line(0), line(1), line(2)};
        ASSERT_TRUE(sendAll());
        for (auto& l : lines()) l->m_bisChoose = true;
        showDesk();
    }
};

TEST_F(Kitchen, HastenNamesTheChosenLinesSendsTheReasonAndReports) {
    threeSentLines();
    menu("催菜知会");
    const std::string names = lines()[0]->m_strCaipName + "," + lines()[1]->m_strCaipName + "," +
                              lines()[2]->m_strCaipName;
    EXPECT_EQ(picker().m_title->text(), deskName(0) + " 催菜：" + names);
    pick("原因3");
    auto hasten = sim.requestsFor("hasten");
    ASSERT_EQ(hasten.size(), 3u);
    EXPECT_EQ(hasten[0].field("type"), "03");
    EXPECT_EQ(hasten[0].field("msg"), "原因3");
    EXPECT_EQ(hasten[2].field("xiaofmxid"), lines()[2]->m_strXfmxID);
    EXPECT_EQ(alertMessage(), deskName(0) + " 已通知厨房：原因3");
    tap("确定");
    EXPECT_EQ(lines()[0]->m_iState, 2) << "refreshed: the server marked them hastened";
}

TEST_F(Kitchen, WithoutHastenNotesTheBuiltInReasonsAreOfferedAndCode3ReportsAHasten) {
    threeSentLines();
    auto reasons = NSServer::getCaipDB()->m_Tuidyy;
    for (int r = 1; r < reasons->m_length; ++r)
        if (reasons->m_state[r] == "03") reasons->m_state[r] = "01";
    menu("催菜知会");
    ASSERT_EQ(picker().m_tree->m_length, 9);
    EXPECT_EQ(picker().m_tree->m_code[1], "2");
    pick("催菜");
    EXPECT_EQ(sim.requestsFor("hasten").back().field("type"), "3");
    EXPECT_EQ(alertMessage(), deskName(0) + " 催菜已发送：催菜");
}

TEST_F(Kitchen, HastenStopsAtAFullyReturnedLineAndOutsideWaiterModeIsRefused) {
    threeSentLines();
    // The second line has a return of its whole quantity beside it.
    auto back = NSDishClass::initWithDish(*lines()[1]);
    back->m_fQuantity = -1;
    back->m_iState = 1;
    lines().push_back(back);
    menu("催菜知会");
    pick("原因3");
    EXPECT_EQ(requests("hasten"), 1);
    EXPECT_TRUE(alerts().empty()) << "no report after a stop";
    advance(0.3);
    EXPECT_FALSE(list->selectViewController);

    NSServer::setIsWaiterUser(false);
    list->onNote();
    EXPECT_EQ(alertMessage(), "请先登录服务员");
}

TEST_F(Kitchen, MarkServedGoesOnPastARefusalAndSkipsLinesWithoutState) {
    threeSentLines();
    const std::string first = lines()[0]->m_strXfmxID;
    sim.overrideReply("hasten", [first](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        if (r.field("xiaofmxid") == first) return backoffice::BackOfficeSim::errorReplyText("已划菜");
        return std::nullopt;
    });
    lines()[2]->m_iState = 0;
    menu("划菜");
    auto served = sim.requestsFor("hasten");
    ASSERT_EQ(served.size(), 2u);
    EXPECT_EQ(served[1].field("type"), "2");
    EXPECT_EQ(served[1].field("msg"), "划菜");
    EXPECT_EQ(lines()[1]->m_iState, 3);
}

TEST_F(Kitchen, WeighingCorrectsAnEstimatedQuantityAfterAConfirmation) {
    openDesk();
    auto fish = line(0, 2.5);
    fish->m_iVarQty = 1;
    lines() = {fish};
    ASSERT_TRUE(sendAll());
    ASSERT_EQ(lines()[0]->m_iVarQty, 1);
    showDesk();
    tapRow(0, Row::Weigh);
    ASSERT_TRUE(list->numViewController);
    EXPECT_EQ(list->numViewController->m_tag, 86);
    EXPECT_EQ(list->numViewController->m_strNum, "2.5");
    // Nothing typed is no weight: refused like a negative one.
    pad("");
    EXPECT_EQ(alertMessage(), "重量不能小于0");
    tap("确定");
    ASSERT_TRUE(list->numViewController);
    pad("1.8");
    EXPECT_EQ(alertMessage(), "确定将" + fish->m_strCaipName + "的数量改为1.8吗？");
    tap("确定");
    auto modify = sim.requestsFor("modifyqty");
    ASSERT_EQ(modify.size(), 1u);
    EXPECT_EQ(modify[0].field("param1"), lines()[0]->m_strXfmxID);
    EXPECT_EQ(modify[0].field("param2"), "1.8");
    EXPECT_FLOAT_EQ(lines()[0]->m_fQuantity, 1.8f);
    EXPECT_EQ(lines()[0]->m_iVarQty, 0);
    EXPECT_NE(rowText(0).find("|1.8"), std::string::npos) << rowText(0);
    EXPECT_EQ(rowText(0).find("约"), std::string::npos);

    // The server keeps the line weighed: the next refresh, and the desk read afresh after a
    // restart, bring the weight back without the estimate.
    advance(0.3);
    tap("送单");
    ASSERT_EQ(requests("updatemenu"), 3) << "after the send, after the weigh, and now";
    EXPECT_FLOAT_EQ(lines()[0]->m_fQuantity, 1.8f);
    EXPECT_EQ(lines()[0]->m_iVarQty, 0);
    EXPECT_EQ(rowText(0).find("约"), std::string::npos) << rowText(0);
    auto reread = std::make_shared<NSDeskClass>();
    reread->m_strDeskID = NSServer::getNowDesk()->m_strDeskID;
    ASSERT_TRUE(NSServer().XDeskDetail(*reread));
    ASSERT_EQ(reread->m_DishList.size(), 1u);
    EXPECT_EQ(reread->m_DishList[0]->m_iVarQty, 0);
}

TEST_F(Kitchen, AWeighedLineShowsTheAmountTheServerBookedForItsWeight) {
    auto desk = openDesk();
    // Estimated lines with their surcharges as the line editor leaves them: amounts for the whole
    // line, whatever it weighs. A weighed line costs its weight at the dish's price, and its
    // surcharges once.
    struct Case {
        Surcharged estimated;
        const char* weight;
    } cases[] = {
        {{0, 0.5f, 1, 10, 0}, "0.8"},  // a flat cooking-method surcharge
        {{1, 1.2f, 2, 5, 0}, "1.5"},   // a method counted twice
        {{2, 2, 0, 0, 8}, "1.6"},      // a manual surcharge
        {{3, 1, 1, 4, 3}, "1.25"},     // both
        {{4, 3, 0, 0, 0}, "2.6"},      // nothing added
    };
    for (const auto& c : cases) {
        lines().push_back(surchargedLine(c.estimated));
        lines().back()->m_iVarQty = 4;
    }
    ASSERT_TRUE(sendAll());
    ASSERT_EQ(lines().size(), std::size(cases));
    showDesk();
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        tapRow(i, Row::Weigh);
        pad(cases[i].weight);
        tap("确定");
        advance(0.3);
    }
    ASSERT_EQ(requests("modifyqty"), static_cast<int>(std::size(cases)));
    std::vector<float> weighed;
    for (std::size_t i = 0; i < lines().size(); ++i) {
        const auto& e = cases[i].estimated;
        const float booked = static_cast<float>(platform::leadingDouble(dish(e.dish)->m_strPrice) *
                                                platform::leadingDouble(cases[i].weight)) +
                             e.methodPrice * static_cast<float>(e.methodCount) + e.manual;
        EXPECT_EQ(platform::fmt("%g", lines()[i]->m_fQuantity), cases[i].weight) << i;
        EXPECT_NEAR(lines()[i]->GetPrice(), booked, 0.01f) << "line " << i << " weighed " << cases[i].weight;
        weighed.push_back(lines()[i]->GetPrice());
        EXPECT_TRUE(rowShowsAmount(static_cast<int>(i), weighed.back()));
    }
    const float total = desk->GetAllDishPrice();
    const std::string header = list->lb_money->text();
    ASSERT_EQ(header, platform::fmt("%g", total));

    const int refreshes = requests("updatemenu");
    tap("送单");
    ASSERT_EQ(requests("updatemenu"), refreshes + 1);
    ASSERT_EQ(lines().size(), std::size(cases));
    for (std::size_t i = 0; i < lines().size(); ++i) {
        EXPECT_EQ(platform::fmt("%g", lines()[i]->m_fQuantity), cases[i].weight) << i;
        EXPECT_FLOAT_EQ(lines()[i]->GetPrice(), weighed[i]) << "line " << i << " weighed " << cases[i].weight;
        EXPECT_TRUE(rowShowsAmount(static_cast<int>(i), weighed[i]));
    }
    EXPECT_FLOAT_EQ(desk->GetAllDishPrice(), total);
    EXPECT_EQ(list->lb_money->text(), header) << "the total a waiter quotes after weighing is the bill's";
}

TEST_F(Kitchen, TheCallButtonCallsForTheDesk) {
    auto desk = openDesk();
    showDesk();
    tap("呼叫");
    auto calls = sim.requestsFor("call");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].field("deskid"), desk->m_strDeskID);
    EXPECT_EQ(calls[0].field("waiterid"), "0001");
}

TEST_F(Kitchen, TabletSyncTakesTheServersCopyOnlyOnceItCame) {
    auto desk = openDesk();
    auto sent = line(0);
    lines() = {sent};
    ASSERT_TRUE(sendAll());
    auto mine = line(1);
    lines().push_back(mine);
    // The server's copy of the desk's order: one unsent line of another dish.
    {
        auto copy = std::make_shared<NSDeskClass>();
        copy->m_strDeskID = desk->m_strDeskID;
        copy->m_iClientNum = 2;
        copy->m_DishList = {line(2)};
        NSServer::saveSelectDish1(copy);
        auto text = platform::fs::readAll(dataFile(desk->m_strDeskID + ".ATD"));
        ASSERT_TRUE(text);
        sim.setSavedOrder(desk->m_strDeskID, *text);
        NSServer::saveSelectDish0();  // the desk's own file as it was
    }
    showDesk();

    // A failed fetch loses nothing.
    backoffice::Faults refuse;
    refuse.errorReply = "读取失败";
    refuse.onlyCommand = "ipadload";
    sim.setFaults(refuse);
    menu("ipad同步");
    tap("确定");
    EXPECT_EQ(alertMessage(), "读取失败");
    tap("确定");
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_EQ(lines()[1], mine);

    sim.clearFaults();
    list->readipad();
    tap("确定");
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_EQ(lines()[0]->m_strXfmxID, sim.desk(desk->m_strDeskID)->lines.at(0).xfmxID) << "sent lines stay";
    EXPECT_EQ(lines()[1]->caipID(), line(2)->caipID()) << "the server's copy took the unsent line's place";
}

TEST_F(Kitchen, TheSoldOutListIsAskedForWithAnEmptyDeskAndLeavesTheCurrentDeskAlone) {
    auto desk = openDesk(0, 3);
    lines() = {line(0)};
    const std::string bill = desk->m_strConsumeID;
    const std::string soldOut = *dish(1)->m_strID;
    sim.overrideReply("updatemenu", [soldOut](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        if (!r.field("deskid").empty()) return std::nullopt;
        return backoffice::BackOfficeSim::reply("<desk rens=\"0\" bill=\"\"></desk><sellout><gds qty=\"0\">" +
                                                soldOut + "</gds></sellout>");
    });
    showDesk();
    menu("查看沽清");
    EXPECT_EQ(sim.requestsFor("updatemenu").back().field("deskid"), "");
    EXPECT_TRUE(NSServer::getCaipDB()->IsCaipSellOut(soldOut));
    EXPECT_TRUE(root->taoCanViewController) << "the sold-out list is shown";
    EXPECT_EQ(lines().size(), 1u);
    EXPECT_EQ(desk->m_iClientNum, 3);
    EXPECT_EQ(desk->m_strConsumeID, bill);
}

}  // namespace
