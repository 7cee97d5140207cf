// Returns and gifts of sent lines: the reason picker, the quantity pad and its limits, the
// return lines of add-ons, several lines returned whole, and gifts that stop at a refusal.

#include "OrderListFixture.h"
#include "screens/orderlist/OrderListRules.h"

namespace {

class Returns : public OrderListFixture {
protected:
    // A desk with a sent line of quantity 2 and its sent add-on of quantity 4.
    void sentLineWithAddOn() {
        openDesk();
        auto main = line(0, 2);
        auto addOn = line(1, 4);
        addOn->m_bAddOn = true;
        addOn->m_parentpos = 0;
        main->m_parentpos = 0;
        lines() = {main, addOn};
        ASSERT_TRUE(sendAll());
        ASSERT_EQ(lines().size(), 2u);
        showDesk();
    }
    const backoffice::SimLine& onServer(std::size_t i) const { return server.at(i); }
    void readServer() { server = sim.desk(NSServer::getNowDesk()->m_strDeskID)->lines; }
    std::vector<backoffice::SimLine> server;
};

TEST_F(Returns, OneLineReturnsPartOfItsQuantityWithItsAddOnAfterAReasonAndAnAmount) {
    sentLineWithAddOn();
    auto waiting = line(2);
    lines().push_back(waiting);
    const std::string mainID = lines()[0]->m_strXfmxID, addOnID = lines()[1]->m_strXfmxID;
    showDesk();

    tapRow(0, Row::Delete);
    ASSERT_TRUE(list->selectViewController);
    EXPECT_EQ(picker().m_title->text(), "退菜：" + lines()[0]->m_strCaipName + " ×2，请选择退菜原因");
    pick("原因1");
    ASSERT_TRUE(list->numViewController);
    EXPECT_EQ(list->numViewController->m_strNum, "2") << "preset with the whole quantity";

    for (const char* refused : {"2.5", "0"}) {
        pad(refused);
        EXPECT_EQ(alertMessage(), "退菜数量不正确") << refused;
        tap("确定");
        ASSERT_TRUE(list->numViewController) << "the pad stays for another amount";
    }
    EXPECT_EQ(requests("deldish"), 0);
    pad("1");
    EXPECT_EQ(detailRows("deldish"), (std::vector<std::string>{"-1@" + mainID, "-2@" + addOnID}));
    EXPECT_EQ(sim.requestsFor("deldish").back().field("waiterid"), "0001");
    readServer();
    EXPECT_DOUBLE_EQ(onServer(0).quantity, 1);
    EXPECT_DOUBLE_EQ(onServer(1).quantity, 2);
    // The unsent line is still there, after the refreshed ones.
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_EQ(lines()[2], waiting);
    EXPECT_FLOAT_EQ(lines()[0]->m_fQuantity, 1);
    advance(0.3);
    EXPECT_FALSE(list->numViewController);
    EXPECT_FALSE(list->selectViewController);
}

TEST_F(Returns, TheQuantityPadTakesOnePointOnly) {
    sentLineWithAddOn();
    const std::string mainID = lines()[0]->m_strXfmxID;
    tapRow(0, Row::Delete);
    pick("原因1");
    pad("1.0.5");
    const auto rows = detailRows("deldish");
    ASSERT_FALSE(rows.empty()) << dump();
    EXPECT_EQ(rows[0], "-1.05@" + mainID) << "typed as 1.05, not read as 1";
}

TEST_F(Returns, AReturnedLineTakesAlongTheAddOnsTheRefreshListsAfterItAndNoOtherLines) {
    // The server's rows of a desk: P a plain line, S a set-meal head, I its item, A an add-on in
    // the group flag's form (Exp="1"), N an add-on named by `pare` alone.
    struct ServerRow {
        const char* id;
        char kind;
        const char* pare;
        double quantity;
    };
    struct Case {
        const char* what;
        std::vector<ServerRow> rows;
        int returned;  // the row returned whole
        std::vector<std::string> deldish;
    } cases[] = {
        {"plain line + add-ons", {{"P1", 'P', "", 2}, {"A1", 'A', "", 4}, {"A2", 'A', "", 2}, {"P2", 'P', "", 1}}, 0,
         {"-2@P1", "-4@A1", "-2@A2"}},
        {"set meal + items + add-ons",
         {{"S1", 'S', "", 1}, {"I1", 'I', "S1", 1}, {"A1", 'A', "", 1}, {"P1", 'P', "", 2}, {"A2", 'A', "", 2}}, 3,
         {"-2@P1", "-2@A2"}},
        {"add-on with pare", {{"P1", 'P', "", 3}, {"N1", 'N', "P1", 3}}, 0, {"-3@P1", "-3@N1"}},
    };
    std::size_t n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto desk = openDesk(n++);
        backoffice::SimDesk onServer = *sim.desk(desk->m_strDeskID);
        for (const auto& r : c.rows) {
            backoffice::SimLine l;
            l.xfmxID = r.id;
            l.caipID = *dish(onServer.lines.size())->m_strID;
            l.quantity = r.quantity;
            l.price = "10";
            l.isSet = r.kind == 'S';
            l.isExp = r.kind == 'S' || r.kind == 'I' || r.kind == 'A';
            l.addOn = r.kind == 'A' || r.kind == 'N';
            l.parent = r.pare;
            onServer.lines.push_back(l);
        }
        sim.setDesk(onServer);
        showDesk();
        tap("送单");  // nothing to send: the desk is refreshed
        ASSERT_EQ(lines().size(), c.rows.size());
        tapRow(c.returned, Row::Delete);
        pick("原因1");
        pad(platform::fmt("%g", c.rows[static_cast<std::size_t>(c.returned)].quantity));
        EXPECT_EQ(detailRows("deldish"), c.deldish);
        closeAlerts();
        advance(0.3);
    }
}

TEST_F(Returns, SeveralChosenLinesGoBackWholeAndChosenUnsentLinesStay) {
    openDesk();
    lines() = {line(0, 2), line(1, 3)};
    ASSERT_TRUE(sendAll());
    const std::string first = lines()[0]->m_strXfmxID, second = lines()[1]->m_strXfmxID;
    auto unsent = line(2, 1, true);
    lines().push_back(unsent);
    lines()[0]->m_bisChoose = lines()[1]->m_bisChoose = true;
    showDesk();
    // The row's own delete button starts the return of the chosen lines.
    tapRow(1, Row::Delete);
    EXPECT_EQ(picker().m_title->text(), "退菜：已选3个菜品，请选择退菜原因");
    pick("原因4");
    EXPECT_EQ(detailRows("deldish"), (std::vector<std::string>{"-2@" + first, "-3@" + second}));
    auto request = sim.requestsFor("deldish").back();
    auto rows = request.data()->elementsForName("detail")->front()->elementsForName("xiaofmx");
    EXPECT_EQ((*rows)[0]->elementsForName("dishremark")->front()->stringValue().value_or(""), "04");
    readServer();
    EXPECT_TRUE(server.empty());
    EXPECT_EQ(lines(), std::vector<std::shared_ptr<NSDishClass>>{unsent}) << "the unsent line stays as it was";
    EXPECT_TRUE(unsent->m_bisChoose);
}

TEST_F(Returns, ALineWithoutStateGoesBackWholeAndAnAddOnOfNothingOrderedGoesWhole) {
    openDesk();
    // Lines the server keeps in state 0; the main one ordered 0.
    auto main = line(0, 0);
    main->m_iState = 0;
    main->m_strXfmxID = "X1";
    main->m_strRemark = "own";
    main->m_parentpos = 0;
    auto addOn = line(1, 3);
    addOn->m_iState = 1;
    addOn->m_bAddOn = true;
    addOn->m_strXfmxID = "X2";
    addOn->m_parentpos = 0;
    auto waiting = line(2);
    lines() = {main, addOn, waiting};
    showDesk();
    list->setSendIndex(0);
    list->delDishLogined();
    EXPECT_FALSE(list->selectViewController) << "no reason, no amount";
    EXPECT_EQ(detailRows("deldish"), (std::vector<std::string>{"0@X1", "-3@X2"}));
    // The server knows neither line: the list is as it was.
    EXPECT_EQ(lines(), (std::vector<std::shared_ptr<NSDishClass>>{main, addOn, waiting}));
}

TEST_F(Returns, AGiftStopsAtTheFirstRefusalAndOnlyASuccessIsReported) {
    openDesk();
    lines() = {line(0), line(1), line(2)};
    ASSERT_TRUE(sendAll());
    for (auto& l : lines()) l->m_bisChoose = true;
    const std::string second = lines()[1]->m_strXfmxID;
    sim.overrideReply("rebatedish", [second](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        if (r.field("param1") == second) return backoffice::BackOfficeSim::errorReplyText("不能赠送");
        return std::nullopt;
    });
    showDesk();
    tap("赠送");
    EXPECT_EQ(picker().m_title->text(), "请选择赠菜原因");
    pick("原因2");
    auto gifts = sim.requestsFor("rebatedish");
    ASSERT_EQ(gifts.size(), 2u) << "the third is not tried";
    EXPECT_EQ(gifts[0].field("param2"), "02");
    EXPECT_EQ(gifts[0].field("waiterid"), "0001");
    EXPECT_EQ(gifts[0].field("deskid"), NSServer::getNowDesk()->m_strDeskID);
    EXPECT_EQ(alertMessage(), "不能赠送");
    tap("确定");
    EXPECT_TRUE(alerts().empty()) << "no success text";

    sim.overrideReply("rebatedish", nullptr);
    advance(0.3);
    lines()[2]->m_bisChoose = true;
    tap("赠送");
    pick("原因2");
    EXPECT_EQ(alertMessage(), "赠菜成功");
    readServer();
    EXPECT_EQ(onServer(2).price, "0");
}

TEST_F(Returns, OutsideWaiterModeAGiftWaitsForALoginAndAnEmptyReasonListOffersNothing) {
    openDesk();
    NSServer::setIsWaiterUser(false);
    showDesk();
    list->giving(std::nullopt);
    ASSERT_TRUE(root->loginViewController);
    logInOnPanel("0001", "123");
    advance(0.3);
    ASSERT_TRUE(list->selectViewController);
    // A reason table without gift reasons: OK has nothing to answer with and waits for cancel.
    NSServer::getCaipDB()->m_Tuidyy = std::make_shared<NSATreeClass>();
    list->SelectDlgCancel();
    advance(0.3);
    list->giving(std::string(UIDishLViewController::kNoLogin));
    pickerOk();
    EXPECT_TRUE(list->selectViewController);
    EXPECT_EQ(requests("rebatedish"), 0);
    EXPECT_TRUE(alerts().empty());
}

TEST_F(Returns, AReturnTheServerTookIsNeverSentAgainWhenItsRefreshFails) {
    openDesk();
    lines() = {line(0, 2)};
    ASSERT_TRUE(sendAll());
    showDesk();
    tapRow(0, Row::Delete);
    pick("原因1");
    refuseOnce("updatemenu", "刷新失败");
    pad("1");
    ASSERT_EQ(requests("deldish"), 1);
    closeAlerts();
    for (auto& l : lines()) EXPECT_FALSE(l->isUnsent()) << "the return waits, not sendable";
    // The next send carries the new line and no second return.
    lines().push_back(line(1));
    ASSERT_TRUE(sendAll());
    EXPECT_EQ(requests("deldish"), 1);
    EXPECT_DOUBLE_EQ(sim.desk(NSServer::getNowDesk()->m_strDeskID)->lines.at(0).quantity, 1);
}

}  // namespace
