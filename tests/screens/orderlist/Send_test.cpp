// Sending the order from the list: the confirmation and what it names, the login outside waiter
// mode, the lines a send takes (chosen lines with their set meals, or all), returns in the same
// send, the refresh, send-and-close, and a server that fails half way through.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>

#include "OrderListFixture.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "screens/orderlist/OrderListRules.h"
#include "support/EventWait.h"

namespace {

class Send : public OrderListFixture {};

TEST_F(Send, TheConfirmationNamesTheChosenLinesAndTheSendTakesAChosenSetMealWithItsItems) {
    auto desk = openDesk();
    // A set meal of two items (not chosen themselves) and two plain lines, one chosen.
    auto group = setMeal(3, {4, 5}, true);
    auto chosen = line(0, 2, true);
    auto left = line(1);
    lines() = group;
    lines().insert(lines().end(), {chosen, left});
    showDesk();

    tap("送单");
    EXPECT_EQ(alertMessage(), "确定发送选中的2个菜品吗？");
    tap("取消");
    EXPECT_EQ(requests("adddish"), 0);
    EXPECT_FALSE(NSServer::getIsShowAlert());

    tap("送单");
    tap("确定");
    ASSERT_EQ(requests("adddish"), 1);
    auto onServer = sim.desk(desk->m_strDeskID)->lines;
    ASSERT_EQ(onServer.size(), 4u) << "the set meal with both items, and the chosen line";
    EXPECT_TRUE(onServer[0].isSet);
    EXPECT_EQ(onServer[1].parent, onServer[0].xfmxID);
    EXPECT_EQ(onServer[2].parent, onServer[0].xfmxID);
    EXPECT_EQ(onServer[3].caipID, chosen->caipID());
    EXPECT_EQ(onServer[0].uid, "40") << "numbered from the waiter's counter";
    EXPECT_EQ(onServer[3].uid, "43");

    // The list shows the server's lines first, then the line still waiting.
    ASSERT_EQ(lines().size(), 5u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines()[i]->m_iState, 1) << i;
    EXPECT_EQ(lines()[4], left);
    EXPECT_TRUE(rowText(1).starts_with("--|" + dish(4)->m_strName + "|1")) << rowText(1);
    EXPECT_TRUE(rowText(4).ends_with("未下单"));
    EXPECT_TRUE(rowText(0).ends_with("已下单"));

    // With nothing chosen the question names every unsent line, and all of them go.
    tap("送单");
    EXPECT_EQ(alertMessage(), "确定发送全部1个菜品吗？");
    tap("确定");
    EXPECT_EQ(sim.desk(desk->m_strDeskID)->lines.size(), 5u);
}

TEST_F(Send, OutsideWaiterModeTheLoginComesFirstAndTheSendGoesOnWithoutAsking) {
    NSServer::setIsWaiterUser(false);
    auto desk = openDesk();
    lines() = {line(0)};
    showDesk();
    tap("送单");
    logInOnPanel("0002", "123");
    advance(0.3);
    EXPECT_TRUE(alerts().empty()) << alertMessage();
    ASSERT_EQ(requests("adddish"), 1);
    EXPECT_EQ(sim.requestsFor("adddish")[0].field("waiterid"), "0002");
    EXPECT_FALSE(NSServer::isWaiterUser()) << "a login for a send does not turn waiter mode on";
}

TEST_F(Send, ANewLineAndAPendingReturnGoInTwoRequestsAndTheOtherUnsentLinesWait) {
    auto desk = openDesk();
    lines() = {line(0, 3)};
    ASSERT_TRUE(sendAll());
    auto sent = lines()[0];
    // A return of one not yet sent, a new chosen line, and a line that waits.
    auto back = NSDishClass::initWithDish(*sent);
    back->m_iState = NSDishClass::kUnsent;
    back->m_fQuantity = -1;
    auto added = line(1, 1, true);
    auto waits = line(2);
    lines().insert(lines().end(), {back, added, waits});
    ASSERT_TRUE(sendAll());
    EXPECT_EQ(requests("adddish"), 2);
    EXPECT_EQ(detailRows("deldish"), std::vector<std::string>{"-1@" + sent->m_strXfmxID});
    auto onServer = sim.desk(desk->m_strDeskID)->lines;
    ASSERT_EQ(onServer.size(), 2u);
    EXPECT_DOUBLE_EQ(onServer[0].quantity, 2);
    EXPECT_EQ(onServer[1].caipID, added->caipID());
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_EQ(lines()[2], waits);
    EXPECT_EQ(waits->m_iState, NSDishClass::kUnsent);
}

TEST_F(Send, ARefreshThatFailsAfterTheServerTookTheLinesNeverSendsThemTwice) {
    auto desk = openDesk();
    lines() = {line(0), line(1)};
    refuseOnce("updatemenu", "刷新失败");
    EXPECT_FALSE(sendAll());
    EXPECT_EQ(panelText().value_or(alertMessage()).empty(), false);
    EXPECT_EQ(sim.desk(desk->m_strDeskID)->lines.size(), 2u);
    for (auto& l : lines()) EXPECT_NE(l->m_iState, NSDishClass::kUnsent) << "accepted lines are not sendable";
    // The saved order holds no line to send again.
    EXPECT_TRUE(savedLines(desk->m_strDeskID).empty());
    closeAlerts();

    // The next send only refreshes: the lines are the server's once more, and nothing doubled.
    sim.clearFaults();
    sendAll();
    EXPECT_EQ(requests("adddish"), 1);
    EXPECT_EQ(sim.desk(desk->m_strDeskID)->lines.size(), 2u);
    EXPECT_EQ(lines().size(), 2u);
}

// A send whose reply never comes is written once; before anything of the desk goes again the
// desk is read back, and what the server booked shows as sent and is never offered again.
TEST_F(Send, AStalledSendIsWrittenOnceAndTheDeskThenShowsWhatTheServerBooked) {
    NSServer::setOutTime(1);  // a silent server is given up after a second
    struct Case {
        const char* name;
        backoffice::Faults faults;
        bool booked;  // whether the server booked the request it never answered
        bool late = false;  // booked and answered only once the terminal has given up
    } cases[3];
    cases[0] = {"silent", {}, true};
    cases[0].faults.silence = true;
    cases[1] = {"late", {}, true, true};
    cases[2] = {"lost before booking", {}, false};
    cases[2].faults.garbage = "<morvane><data>";  // the server fell over before it booked
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        auto& c = cases[n];
        auto desk = openDesk(n);
        const std::string id = desk->m_strDeskID;
        // The same dish is already on the bill: a line booked before is no proof of this send.
        lines() = {line(0)};
        ASSERT_TRUE(sendAll()) << c.name;
        closeAlerts();
        lines().insert(lines().end(), {line(0), line(1, 2)});
        sim.clearRecords();
        c.faults.onlyCommand = "adddish";
        c.faults.times = 1;
        sim.setFaults(c.faults);
        std::promise<void> gaveUp;
        if (c.late)
            sim.overrideReply("adddish", [given = gaveUp.get_future().share()](const backoffice::ReceivedRequest&) {
                given.wait_for(std::chrono::duration<double>(testsupport::kEventWaitSeconds));
                return std::optional<std::string>();  // then booked and answered as usual
            });
        EXPECT_FALSE(sendAll()) << c.name;
        gaveUp.set_value();
        sim.overrideReply("adddish", nullptr);
        EXPECT_EQ(requests("adddish"), 1) << c.name << ": written once";
        EXPECT_NE(panelText().value_or(alertMessage()).find("菜品可能已送到厨房"), std::string::npos) << c.name;
        EXPECT_EQ(lines().size(), 3u) << c.name;
        closeAlerts();
        // The back office answers again (a late reply books when it comes).
        const std::size_t onServer = c.booked ? 3 : 1;
        testsupport::waitUntil([&] { return sim.desk(id)->lines.size() >= onServer; });
        sim.clearFaults();

        // The next send reads the desk back first and stops there: the waiter sees the server's desk.
        EXPECT_FALSE(list->onSendCaip(std::nullopt, -1)) << c.name;
        EXPECT_EQ(requests("adddish"), 1) << c.name;
        const auto server = sim.desk(id)->lines;
        ASSERT_EQ(server.size(), onServer) << c.name;
        std::vector<std::string> shown, booked;
        for (auto& l : lines())
            if (!l->isUnsent()) shown.push_back(l->caipID() + "x" + platform::fmt("%g", l->m_fQuantity));
        for (auto& l : server) booked.push_back(l.caipID + "x" + platform::fmt("%g", l.quantity));
        std::sort(shown.begin(), shown.end());
        std::sort(booked.begin(), booked.end());
        EXPECT_EQ(shown, booked) << c.name;
        const std::size_t unsent = static_cast<std::size_t>(
            std::count_if(lines().begin(), lines().end(), [](auto& l) { return l->isUnsent(); }));
        EXPECT_EQ(unsent, c.booked ? 0u : 2u) << c.name;
        closeAlerts();

        // Lines the server does not show wait for the waiter: marked, and the send asks first.
        if (unsent > 0) {
            showDesk();
            EXPECT_TRUE(rowText(1).ends_with("可能已下单")) << rowText(1);
            EXPECT_FALSE(sendAll()) << c.name;
            EXPECT_EQ(requests("adddish"), 1) << c.name;
            EXPECT_NE(alertMessage().find("可能已经下单"), std::string::npos) << alertMessage();
            tap("仍然送出");
        }
        EXPECT_EQ(requests("adddish"), c.booked ? 1 : 2) << c.name;
        EXPECT_EQ(sim.desk(id)->lines.size(), 3u) << c.name;
        EXPECT_EQ(lines().size(), 3u) << c.name;
        closeAlerts();
    }
}

TEST_F(Send, TheSavedOrderLosesTheAcceptedLinesWhileTheServerAnswersTheRefresh) {
    auto desk = openDesk();
    lines() = {line(0), line(1)};
    NSServer::saveSelectDish0();
    const std::string file = dataFile(desk->m_strDeskID + ".ATD");
    auto holdsLines = [&file] { return platform::fs::readAll(file).value_or("").find("<dish") != std::string::npos; };
    ASSERT_TRUE(holdsLines());
    // The server looks at the desk's file before it answers the refresh (a crash at that moment
    // would leave that file behind): it waits for the file to lose the lines, which a terminal
    // that writes it only after the answer never does. The terminal waits for the answer longer
    // than the server's bound, so the file cannot change after the terminal gave up either.
    NSServer::setOutTime(2 * static_cast<int>(testsupport::kEventWaitSeconds));
    std::atomic<bool> heldDuringRefresh{true};
    sim.overrideReply("updatemenu", [&](const backoffice::ReceivedRequest&) -> std::optional<std::string> {
        testsupport::waitUntil([&] { return !holdsLines(); });
        heldDuringRefresh = holdsLines();
        return std::nullopt;
    });
    EXPECT_TRUE(sendAll());
    sim.overrideReply("updatemenu", nullptr);
    EXPECT_FALSE(heldDuringRefresh) << "the file still offered the accepted lines";
    EXPECT_FALSE(holdsLines());
    EXPECT_EQ(lines().size(), 2u);
}

TEST_F(Send, FailuresPutOnlyTheLinesTheServerRefusedBackAsUnsent) {
    auto desk = openDesk();
    lines() = {line(0, 2)};
    ASSERT_TRUE(sendAll());
    auto back = NSDishClass::initWithDish(*lines()[0]);
    back->m_iState = NSDishClass::kUnsent;
    back->m_fQuantity = -1;
    auto added = line(1);
    lines().insert(lines().end(), {back, added});

    // The add request refused: everything waits unsent, and the saved order still holds both.
    refuseOnce("adddish");
    EXPECT_FALSE(sendAll());
    EXPECT_EQ(back->m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(added->m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(added->m_struid, "41") << "its number stays with it";
    closeAlerts();

    // The return refused after the add was taken: the added line waits for the refresh, the
    // return is unsent again.
    refuseOnce("deldish");
    EXPECT_FALSE(sendAll());
    EXPECT_EQ(back->m_iState, NSDishClass::kUnsent);
    EXPECT_NE(added->m_iState, NSDishClass::kUnsent);
    EXPECT_NE(added->m_iState, NSDishClass::kSending);
    closeAlerts();

    // The return goes with the next new line; the line taken before does not go again.
    sim.clearFaults();
    lines().push_back(line(2));
    ASSERT_TRUE(sendAll());
    auto onServer = sim.desk(desk->m_strDeskID)->lines;
    ASSERT_EQ(onServer.size(), 3u) << "the added line went once";
    EXPECT_DOUBLE_EQ(onServer[0].quantity, 1);
}

TEST_F(Send, GroupsFollowTheirHeadsAfterLinesWereRemovedAndRestored) {
    auto desk = openDesk();
    auto other = line(0);
    other->m_bisSet = other->m_bisExp = true;
    lines() = {other};
    ASSERT_TRUE(sendAll());  // a sent set meal stands first
    auto plain = line(1, 1, true);
    auto group = setMeal(3, {4});
    auto head = group[0], item = group[1];
    lines().insert(lines().end(), {plain, head, item});
    head->m_parentpos = 2;
    item->m_parentpos = 2;
    showDesk();
    // The plain line goes to the bin and comes back at the end: the set meal moved up a place.
    tap("删除");
    tap("确定");
    menu("还原删除");
    for (auto& l : lines()) l->m_bisChoose = false;
    ASSERT_TRUE(sendAll());
    auto onServer = sim.desk(desk->m_strDeskID)->lines;
    ASSERT_EQ(onServer.size(), 4u);
    EXPECT_TRUE(onServer[1].isSet);
    EXPECT_EQ(onServer[2].parent, onServer[1].xfmxID) << "the item names its own head";
}

TEST_F(Send, EveryLinesPriceAndTheTotalAreTheSameAfterTheRefreshAsBefore) {
    auto desk = openDesk();
    // Cooking methods with their counts and manual surcharges, as the line editor leaves them:
    // the surcharges are amounts for the whole line.
    const Surcharged cases[] = {
        {0, 2, 1, 4, 0},    // one method of 4 on two portions
        {1, 3, 2, 2, 5},    // a method twice and a manual surcharge
        {2, 3, 0, 0, 1},    // a manual surcharge that does not divide by the quantity
        {3, 1.5, 1, 3, 0},  // a part quantity
        {4, 1, 0, 0, 0},    // nothing added
    };
    for (const auto& c : cases) lines().push_back(surchargedLine(c));
    showDesk();
    std::vector<float> prices;
    for (std::size_t i = 0; i < lines().size(); ++i) {
        prices.push_back(lines()[i]->GetPrice());
        ASSERT_TRUE(rowShowsAmount(static_cast<int>(i), prices.back()));
    }
    const float total = desk->GetAllDishPrice();
    const std::string header = list->lb_money->text();
    ASSERT_EQ(header, platform::fmt("%g", total));

    ASSERT_TRUE(sendAll());
    auto rows = sim.requestsFor("adddish").back().data()->elementsForName("detail")->front()->elementsForName("row");
    ASSERT_TRUE(rows);
    std::vector<std::string> added;
    for (auto& r : *rows) added.push_back(attributeText(r, "addamt"));
    EXPECT_EQ(added, (std::vector<std::string>{"4", "9", "1", "3", ""}));
    ASSERT_EQ(lines().size(), std::size(cases));
    for (std::size_t i = 0; i < lines().size(); ++i) {
        EXPECT_EQ(lines()[i]->m_iState, 1) << i;
        EXPECT_FLOAT_EQ(lines()[i]->GetPrice(), prices[i]) << i;
        EXPECT_TRUE(rowShowsAmount(static_cast<int>(i), prices[i]));
    }
    EXPECT_FLOAT_EQ(desk->GetAllDishPrice(), total);
    EXPECT_EQ(list->lb_money->text(), header) << "the waiter quotes what the bill says";
}

TEST_F(Send, WithSendCloseTheListShowsANewEmptyOfflineDesk) {
    NSServer::setIsSendClose(true);
    openDesk();
    lines() = {line(0)};
    ASSERT_TRUE(sendAll());
    auto now = NSServer::getNowDesk();
    EXPECT_TRUE(now->m_strDeskID.empty());
    EXPECT_TRUE(now->m_DishList.empty());
    EXPECT_EQ(NSServer::getOutDesk()->back(), now);
    EXPECT_EQ(list->m_dishTable()->numberOfRows(0), 0);
}

TEST_F(Send, AnOfflineDeskOpensTheDeskPickerAndNoUnsentLineOnlyRefreshes) {
    lines() = {line(0)};
    showDesk();
    tap("送单");
    EXPECT_TRUE(alerts().empty()) << "an offline desk is not confirmed";
    EXPECT_TRUE(root->selectViewController) << "the desk picker opens so the send can resume";
    EXPECT_EQ(list->sendIndex(), -1);
    root->SelectDlgCancel();
    advance(0.3);

    openDesk();
    tap("送单");
    EXPECT_EQ(requests("adddish"), 0);
    EXPECT_EQ(requests("updatemenu"), 1);
    EXPECT_FALSE(list->onSendCaip(std::nullopt, -3));
}

}  // namespace
