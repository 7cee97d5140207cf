// A booking whose reply never came stays in doubt until the server's own lines settle it: through
// a re-pick of the desk, a restart (closed or killed), another waiter's order of the same dishes and
// a view of the desk that was not current, a send is booked once and nothing is dropped on a
// guess; the guest pad, a join, a transfer and a gift honour the doubt too.

#include <algorithm>
#include <map>
#include <optional>

#include "OrderListFixture.h"
#include "platform/foundation/FileSystem.h"
#include "net/ServerClient.h"
#include "online/NSHTTPServer.h"
#include "screens/orderlist/OrderListRules.h"

namespace {

class Doubt : public OrderListFixture {
protected:
    void SetUp() override {
        OrderListFixture::SetUp();
        NSServer::setOutTime(1);  // a silent server is given up after a second
    }

    std::string room(std::size_t n) const {
        auto tree = NSServer::getDesks();
        return tree->m_name[static_cast<std::size_t>(tree->m_pid[static_cast<std::size_t>(floor.at(n))])];
    }
    // The waiter taps the desk button and picks the n-th desk of the floor, as after a stall.
    void pickDesk(std::size_t n) {
        advance(3.5);  // the message panel has cleared
        tap("桌台:" + NSServer::getNowDesk()->m_strDeskName);
        advance(0.3);
        pickOnRoot(room(n));
        pickOnRoot(deskName(n));
        ASSERT_TRUE(root->selectViewController) << dump();
        tapButton(*root->selectViewController->m_panel, *root->selectViewController->m_btOK);
        advance(0.3);
    }
    // Types the guests on the root's pad and presses OK.
    void rootGuests(const std::string& digits) {
        ASSERT_TRUE(root->numViewController) << dump();
        UINumViewController& pad = *root->numViewController;
        VirtualButton* keys[] = {&pad.m_btn00, &pad.m_btn01, &pad.m_btn02, &pad.m_btn03, &pad.m_btn04,
                                 &pad.m_btn05, &pad.m_btn06, &pad.m_btn07, &pad.m_btn08, &pad.m_btn09};
        for (int i = 0; i < 20 && !pad.m_strNum.empty(); ++i) tapButton(*pad.m_panel, pad.m_btnBS);
        for (char d : digits) tapButton(*pad.m_panel, *keys[d - '0']);
        tapButton(*pad.m_panel, pad.m_btnOK);
        advance(0.3);
    }
    // The next request of that command is never answered: booked by the server (it fell silent
    // after booking) or not (it fell over before).
    void stall(const std::string& command, bool booked) {
        backoffice::Faults f;
        if (booked) f.silence = true;
        else f.garbage = "<morvane><data>";
        f.onlyCommand = command;
        f.times = 1;
        sim.setFaults(f);
    }
    // The current desk's bill is transferred to the n-th desk of the floor and the reply never
    // comes (the server moved it).
    void stalledTransferTo(std::size_t n) {
        stall("changedesk", true);
        root->trunDesk();
        advance(0.3);
        pickOnRoot(room(n));
        pickOnRoot(deskName(n));
        tapButton(*root->selectViewController->m_panel, *root->selectViewController->m_btOK);
        advance(0.3);
        tap("确定");
    }
    // The desk's send goes out and its reply never comes; then the server answers again.
    void stalledSend(bool booked) {
        stall("adddish", booked);
        EXPECT_FALSE(sendAll());
        closeAlerts();
        sim.clearFaults();
    }
    // The terminal ends (closed, or killed with nothing run at its end) and starts again on the
    // same device, its waiter logged in again with the order list open.
    void restart(bool killed) {
        closeAlerts();
        if (app && !killed) app->willTerminate();
        app.reset();
        list.reset();
        root.reset();
        window = std::make_shared<ui::Window>();
        NSHTTPServer::stopWorker();
        loop().drain();
        NSServer::setRootController(nullptr);
        setRootServices(nullptr);
        NSServer::setTcp(nullptr);
        NSServer::resetForTesting();
        NSServer::loadEnc();
        NSServer::loadPath();
        installServerClient();
        launch("127.0.0.1");
        advance(0.2);
        NSServer::setOutTime(1);
        waiter->m_iDishCount = 50;  // the server's counter, as the login brings it
        openListAsWaiter();
    }
    // The files that decide what a restart offers: the doubts and the desk's saved order, as they
    // stand on disk (none: no such file).
    using Disk = std::map<std::string, std::optional<std::string>>;
    Disk disk(const std::string& id) const {
        Disk d;
        for (const std::string name : {std::string("DOUBTS.XML"), id + ".ATD"})
            d[name] = platform::fs::readAll(dataFile(name), 1 << 20);
        return d;
    }
    // The disk put back as it stood: what a kill at that instant leaves.
    void putBack(const Disk& d) {
        for (const auto& [name, bytes] : d) {
            if (bytes) platform::fs::writeAtomically(dataFile(name), *bytes);
            else platform::fs::remove(dataFile(name));
        }
    }
    // How many lines the last request of that command carried.
    std::size_t carried(const std::string& command) const {
        auto all = sim.requestsFor(command);
        if (all.empty()) return 0;
        std::size_t n = 0;
        const std::string& raw = all.back().raw;
        for (auto at = raw.find("<row "); at != std::string::npos; at = raw.find("<row ", at + 1)) ++n;
        return n;
    }
    // Dish and quantity of each line, sorted: the desk as shown (sent lines) and as booked.
    std::vector<std::string> shownSent() {
        std::vector<std::string> shown;
        for (auto& l : lines())
            if (!l->isUnsent()) shown.push_back(l->caipID() + "x" + platform::fmt("%g", l->m_fQuantity));
        std::sort(shown.begin(), shown.end());
        return shown;
    }
    std::vector<std::string> booked(const std::string& id) {
        std::vector<std::string> on;
        const auto desk = sim.desk(id);
        for (auto& l : desk->lines) on.push_back(l.caipID + "x" + platform::fmt("%g", l.quantity));
        std::sort(on.begin(), on.end());
        return on;
    }
    std::size_t unsentCount() {
        return static_cast<std::size_t>(
            std::count_if(lines().begin(), lines().end(), [](auto& l) { return l->isUnsent(); }));
    }
    // Those desks of the floor free on the server, with nothing saved on the terminal.
    void freeDesks(std::initializer_list<std::size_t> which) {
        for (std::size_t i : which) {
            backoffice::SimDesk free = *sim.desk(deskID(i));
            free.state = "1";
            free.consumeID.clear();
            free.lines.clear();
            sim.setDesk(free);
            NSServer::delSaveDish(deskID(i));
        }
    }
    // The n-th desk open on the server with no lines, as another terminal opened it.
    void openOnServer(std::size_t n) {
        backoffice::SimDesk d = *sim.desk(deskID(n));
        d.state = "6";
        d.consumeID = "OPEN" + deskID(n);
        d.guests = 2;
        sim.setDesk(d);
    }
    // A line of another waiter booked on the desk by another terminal.
    void anotherWaiterOrders(const std::string& id, std::size_t menuIndex, double quantity) {
        backoffice::SimDesk d = *sim.desk(id);
        backoffice::SimLine l;
        l.xfmxID = "OTHER" + platform::fmt("%i", static_cast<int>(d.lines.size()));
        l.caipID = *dish(menuIndex)->m_strID;
        l.quantity = quantity;
        l.price = "10";
        l.waiter = "0002";
        d.lines.push_back(l);
        sim.setDesk(d);
    }
};

// Every sequence: a desk with a dish on its bill, then that dish again and another go out and the
// reply never comes. Between the stall and the next send something happens; in the end the
// server holds each line once, the list shows what the server holds, and no unsent line is left.
TEST_F(Doubt, ASendInDoubtIsBookedOnceWhateverHappensBeforeTheNextSend) {
    struct Case {
        const char* name;
        bool booked;               // the server booked the request it never answered
        std::function<void(std::size_t desk)> between;
        // The refresh after the first send failed; the stalled send then carries only that dish
        // again, so the line accepted without its server id is all a guess would need.
        bool staleFirst = false;
        bool otherWaiter = false;  // another waiter orders the same dishes meanwhile
        bool removeThem = false;   // asked, the waiter removes the lines in doubt instead
    };
    const Case cases[] = {
        {"re-pick, booked", true, [&](std::size_t n) { pickDesk(n); }},
        {"re-pick, lost", false, [&](std::size_t n) { pickDesk(n); }},
        {"another desk, then this one", true, [&](std::size_t n) {
             openOnServer(n + 1);
             pickDesk(n + 1);
             pickDesk(n);
         }},
        {"closed and started again", true, [&](std::size_t n) { restart(false); pickDesk(n); }},
        {"killed and started again", true, [&](std::size_t n) { restart(true); pickDesk(n); }},
        {"killed, lost", false, [&](std::size_t n) { restart(true); pickDesk(n); }},
        {"killed, lost, removed", false, [&](std::size_t n) { restart(true); pickDesk(n); }, false, false, true},
        {"another waiter's order of the same dishes", false, [](std::size_t) {}, false, true},
        {"a view that was not current", false, [](std::size_t) {}, true},
    };
    const std::size_t n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case on the first two desks of the floor, free and with nothing saved.
        freeDesks({n, n + 1});
        auto desk = openDesk(n);
        const std::string id = desk->m_strDeskID;
        lines() = {line(0)};
        if (c.staleFirst) refuseOnce("updatemenu");
        sendAll();
        closeAlerts();
        if (c.staleFirst) lines().push_back(line(0));
        else lines().insert(lines().end(), {line(0), line(1, 2)});
        const std::size_t stalled = c.staleFirst ? 1 : 2;
        sim.clearRecords();
        stall("adddish", c.booked);
        EXPECT_FALSE(sendAll());
        ASSERT_EQ(requests("adddish"), 1);
        closeAlerts();
        sim.clearFaults();
        if (c.otherWaiter) {
            anotherWaiterOrders(id, 0, 1);
            anotherWaiterOrders(id, 1, 2);
        }
        c.between(n);
        ASSERT_EQ(NSServer::getNowDesk()->m_strDeskID, id);
        closeAlerts();

        // The next send: what the server booked shows as sent and goes no more; what it does not
        // show waits, marked, and the waiter is asked before it goes.
        list->setSendIndex(-1);
        list->onSendCaip(std::string(UIDishLViewController::kNoLogin), -1);
        if (!c.booked) {
            EXPECT_EQ(unsentCount(), stalled) << "no line dropped on a guess";
            showDesk();
            int marked = 0;
            for (int r = 0; r < static_cast<int>(lines().size()); ++r) marked += rowText(r).ends_with("可能已下单");
            EXPECT_EQ(marked, static_cast<int>(stalled));
            if (!alertMessage().starts_with("上次送单")) {
                closeAlerts();
                list->onSendCaip(std::string(UIDishLViewController::kNoLogin), -1);
            }
            EXPECT_NE(alertMessage().find("可能已经下单"), std::string::npos) << alertMessage();
            EXPECT_EQ(requests("adddish"), 1);
            tap(c.removeThem ? "删除它们,只送其余" : "仍然送出");
        }
        closeAlerts();
        sendAll();  // nothing left to send: a refresh
        EXPECT_EQ(requests("adddish"), c.booked || c.removeThem ? 1 : 2);
        EXPECT_EQ(sim.desk(id)->lines.size(), 1 + (c.removeThem ? 0 : stalled) + (c.otherWaiter ? 2u : 0u));
        EXPECT_EQ(shownSent(), booked(id));
        EXPECT_EQ(unsentCount(), 0u);
        EXPECT_FALSE(NSServer::getUnsureBooking(id));
        closeAlerts();
    }
}

TEST_F(Doubt, TheGuestPadsSecondOKAfterAnUnansweredOpeningGoesOnWithTheOpenedDesk) {
    stall("opendesk", true);
    pickDesk(0);
    rootGuests("3");
    EXPECT_TRUE(root->numViewController) << "the pad stays";
    EXPECT_EQ(sim.desk(deskID(0))->state, "6");
    closeAlerts();
    sim.clearFaults();
    rootGuests("3");
    EXPECT_EQ(requests("opendesk"), 1) << "not opened a second time";
    EXPECT_FALSE(root->numViewController);
    EXPECT_EQ(NSServer::getNowDesk()->m_strDeskID, deskID(0));
    EXPECT_EQ(NSServer::getNowDesk()->m_strConsumeID, sim.desk(deskID(0))->consumeID);
    EXPECT_FALSE(NSServer::getUnsureBooking(deskID(0)));
}

TEST_F(Doubt, AnUnansweredReservationOpeningIsNotSentAgainWhenTheDeskIsPickedAgain) {
    backoffice::SimReservation booking;
    booking.consumeID = "YD001";
    booking.guests = 6;
    booking.deskIDs = {deskID(0)};
    sim.setReservation(booking);
    sim.clearRecords();
    stall("yudopen", true);
    pickDesk(0);
    ASSERT_TRUE(root->yudingViewController) << dump();
    tap("开台");
    advance(0.3);
    EXPECT_EQ(requests("yudopen"), 1);
    EXPECT_EQ(requests("deskdetail"), 1) << "only the pick's own read: the unanswered opening ends the tap";
    EXPECT_TRUE(NSServer::needsUnsureRead(deskID(0)));
    closeAlerts();
    sim.clearFaults();
    pickDesk(0);
    EXPECT_FALSE(root->yudingViewController) << "the server shows the desk open";
    EXPECT_EQ(requests("yudopen"), 1);
    EXPECT_EQ(NSServer::getNowDesk()->m_strConsumeID, sim.desk(deskID(0))->consumeID);
    EXPECT_FALSE(NSServer::getUnsureBooking(deskID(0)));
}

TEST_F(Doubt, AJoinReadsBothDesksAndAnUnansweredJoinLeavesBothInDoubt) {
    // The desk to join has a send in doubt that the server booked.
    auto other = openDesk(1);
    lines() = {line(2)};
    stalledSend(true);
    NSServer::saveSelectDish0();
    openDesk(0);
    lines() = {line(0)};
    ASSERT_TRUE(sendAll());
    showDesk();
    sim.clearRecords();

    auto join = [&] {
        advance(3.5);  // the message panel has cleared
        menu("并台");
        pick(room(1), false);
        pick(deskName(1));
        advance(0.3);
        tap("确定");
    };
    // The other desk is read when it is picked, before the join goes; the join itself goes
    // unanswered: it ends there, and both desks are read before they book again.
    stall("deskunion", true);
    join();
    EXPECT_TRUE(savedLines(deskID(1)).empty()) << "its booked line is no longer offered as unsent";
    EXPECT_EQ(requests("adddish"), 0);
    EXPECT_EQ(requests("deskunion"), 1);
    EXPECT_EQ(requests("updatemenu"), 0) << "no further exchange in the same tap";
    EXPECT_TRUE(NSServer::needsUnsureRead(deskID(0)));
    EXPECT_TRUE(NSServer::needsUnsureRead(deskID(1)));
    closeAlerts();
    sim.clearFaults();
    lines().push_back(line(3));
    EXPECT_FALSE(sendAll());
    EXPECT_EQ(requests("adddish"), 0);
    EXPECT_EQ(shownSent(), booked(deskID(0))) << "the joined lines show";
    EXPECT_EQ(sim.desk(deskID(0))->lines.size(), 2u);
}

TEST_F(Doubt, AfterAnUnansweredTransferTheListFollowsTheBillToTheDeskThatHoldsIt) {
    struct Case {
        const char* name;
        std::function<void()> next;  // what the waiter does after the stall
    } cases[] = {
        {"the next send", [&] { list->onSendCaip(std::string(UIDishLViewController::kNoLogin), -1); }},
        {"picking the old desk again", [&] { pickDesk(0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freeDesks({0, 1});
        auto desk = openDesk(0);
        lines() = {line(0)};
        ASSERT_TRUE(sendAll());
        lines().push_back(line(1));  // unsent, it goes with the desk
        NSServer::saveSelectDish0();
        showDesk();
        sim.clearRecords();
        stalledTransferTo(1);
        EXPECT_EQ(requests("changedesk"), 1);
        EXPECT_EQ(sim.desk(deskID(1))->lines.size(), 1u) << "the server moved the bill";
        EXPECT_EQ(desk->m_strDeskID, deskID(0)) << "nothing is known yet";
        closeAlerts();
        sim.clearFaults();

        c.next();
        EXPECT_EQ(requests("adddish"), 0);
        EXPECT_EQ(requests("changedesk"), 1);
        EXPECT_EQ(NSServer::getNowDesk()->m_strDeskID, deskID(1));
        EXPECT_EQ(NSServer::getNowDesk()->m_strDeskName, deskName(1));
        EXPECT_FALSE(root->numViewController) << "no guests asked: the desk is open";
        EXPECT_NE(alertMessage().find(deskName(1)), std::string::npos) << alertMessage();
        EXPECT_EQ(shownSent(), booked(deskID(1)));
        EXPECT_EQ(unsentCount(), 1u) << "the unsent line went with the bill";
        EXPECT_EQ(savedLines(deskID(1)).size(), 1u);
        EXPECT_FALSE(NSServer::getUnsureBooking(deskID(0)));
        EXPECT_FALSE(NSServer::getUnsureBooking(deskID(1)));
        closeAlerts();
        ASSERT_TRUE(sendAll());
        EXPECT_EQ(sim.desk(deskID(1))->lines.size(), 2u);
        closeAlerts();
    }
}

TEST_F(Doubt, AnUnansweredGiftEndsTheTapAndTheDeskIsReadBeforeTheNextBooking) {
    openDesk(0);
    lines() = {line(0), line(1)};
    ASSERT_TRUE(sendAll());
    for (auto& l : lines()) l->m_bisChoose = true;
    showDesk();
    sim.clearRecords();
    stall("rebatedish", true);
    tap("赠送");
    pick("原因2");
    EXPECT_EQ(requests("rebatedish"), 1) << "the tap ends at the first unanswered gift";
    EXPECT_EQ(requests("updatemenu"), 0) << "no read in the same tap";
    closeAlerts();
    sim.clearFaults();
    advance(3.5);  // the message panel has cleared
    tap("赠送");
    pick("原因2");
    EXPECT_EQ(requests("rebatedish"), 1) << "read back first";
    EXPECT_EQ(requests("updatemenu"), 1);
    EXPECT_EQ(shownSent(), booked(NSServer::getNowDesk()->m_strDeskID));
}

// A kill at any instant books nothing twice: while the request waits (the disk as it stands then),
// or right after a read settled the doubt (closed or killed before anything else saved the desk).
TEST_F(Doubt, AKillWhileTheRequestWaitsOrAfterTheSettleBooksNothingTwice) {
    struct Case {
        const char* name;
        bool atTheSpinner;  // killed while the order waits; else after the read that settled it
        bool killed;        // else closed
    } cases[] = {
        {"killed at the spinner", true, true},
        {"closed right after the settle", false, false},
        {"killed right after the settle", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freeDesks({0});
        auto desk = openDesk(0);
        const std::string id = desk->m_strDeskID;
        lines() = {line(0), line(1, 2)};
        NSServer::saveSelectDish0();
        sim.clearRecords();
        Disk waiting;
        if (c.atTheSpinner) {
            // The server books it; what the disk holds while the terminal waits for the reply is
            // all a kill leaves.
            sim.overrideReply("adddish", [&](const backoffice::ReceivedRequest&) {
                waiting = disk(id);
                return std::nullopt;
            });
            ASSERT_TRUE(sendAll());
            sim.overrideReply("adddish", {});
            putBack(waiting);
            restart(true);
        } else {
            stalledSend(true);
            pickDesk(0);
            ASSERT_NE(alertMessage().find("服务器已收到"), std::string::npos) << alertMessage();
            restart(c.killed);
        }
        pickDesk(0);
        closeAlerts();
        sendAll();
        closeAlerts();
        EXPECT_EQ(requests("adddish"), 1);
        EXPECT_EQ(sim.desk(id)->lines.size(), 2u);
        EXPECT_EQ(shownSent(), booked(id));
        EXPECT_EQ(unsentCount(), 0u);
        EXPECT_FALSE(NSServer::getUnsureBooking(id));
    }
}

// The answers to the question send what they say: "删除它们,只送其余" the rest of the waiter's choice
// after the usual confirmation (nothing when only lines in doubt were chosen), "仍然送出" those
// lines and no others.
TEST_F(Doubt, TheAnswersToTheDoubtQuestionSendExactlyWhatTheySay) {
    struct Case {
        const char* name;
        const char* answer;
        bool chooseOther;           // a line outside the doubt is chosen too
        std::size_t adddishLines;   // lines of the next adddish (0: none goes)
        std::size_t unsentAfter;
    } cases[] = {
        {"removed, only they were chosen", "删除它们,只送其余", false, 0, 3},
        {"removed, with another chosen", "删除它们,只送其余", true, 1, 2},
        {"sent anyway, with another chosen", "仍然送出", true, 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freeDesks({0});
        openDesk(0);
        // One line goes and is lost on the way; then two more wait beside it, unchosen.
        lines() = {line(0)};
        stalledSend(false);
        pickDesk(0);
        closeAlerts();
        lines().insert(lines().end(), {line(1), line(2), line(3)});
        ASSERT_EQ(NSServer::unsureLines(*NSServer::getNowDesk()).size(), 1u);
        for (auto& l : lines()) l->m_bisChoose = NSServer::isUnsureLine(*NSServer::getNowDesk(), *l);
        if (c.chooseOther) lines().back()->m_bisChoose = true;
        sim.clearRecords();
        list->onSendCaip(std::nullopt, -1);
        ASSERT_EQ(alerts().size(), 1u);
        ASSERT_TRUE(alertMessage().starts_with("上次送单")) << alertMessage();
        tap(c.answer);
        if (std::string(c.answer) == "删除它们,只送其余" && c.adddishLines > 0) {
            EXPECT_EQ(alertMessage(), "确定发送选中的1个菜品吗？") << "the usual confirmation";
            EXPECT_EQ(requests("adddish"), 0);
            tap("确定");
        }
        closeAlerts();
        const auto sent = sim.requestsFor("adddish");
        ASSERT_EQ(sent.size(), c.adddishLines > 0 ? 1u : 0u);
        if (!sent.empty()) EXPECT_EQ(carried("adddish"), c.adddishLines);
        EXPECT_EQ(unsentCount(), c.unsentAfter);
        EXPECT_EQ(sim.desk(deskID(0))->lines.size(), c.adddishLines);
        if (c.chooseOther && c.unsentAfter == 3) EXPECT_TRUE(lines().back()->m_bisChoose) << "still chosen";
    }
}

// A line that may already be on the server is not edited before that is settled or decided: an
// edit would be dropped without a word when the server shows the line as it went.
TEST_F(Doubt, ALineInDoubtIsNotEditedUntilSettledOrDecided) {
    for (bool took : {true, false}) {
        SCOPED_TRACE(took ? "booked" : "lost");
        freeDesks({0});
        openDesk(0);
        lines() = {line(0)};
        stalledSend(took);
        showDesk();
        advance(3.5);
        tapRow(0, Row::Modify);
        EXPECT_NE(alertMessage().find("不能修改"), std::string::npos) << alertMessage();
        EXPECT_FALSE(root->quickCaipViewController) << "no line editor opens";
        closeAlerts();
        pickDesk(0);
        closeAlerts();
        if (took) {
            EXPECT_EQ(unsentCount(), 0u);
            EXPECT_EQ(shownSent(), booked(deskID(0)));
        } else {
            // Still waiting for the waiter's word: still not to be edited.
            showDesk();
            advance(3.5);
            tapRow(0, Row::Modify);
            EXPECT_NE(alertMessage().find("不能修改"), std::string::npos) << alertMessage();
            closeAlerts();
        }
    }
}

// After another terminal cleared the desk and new guests opened it, the question says that the
// bill changed: what goes now is booked on the new guests' bill.
TEST_F(Doubt, TheQuestionSaysWhenTheBillChanged) {
    for (bool cleared : {false, true}) {
        SCOPED_TRACE(cleared ? "cleared and reopened" : "same bill");
        freeDesks({0});
        openDesk(0);
        lines() = {line(0)};
        stalledSend(false);
        if (cleared) {
            freeDesks({0});
            NSServer::saveSelectDish0();  // the terminal still holds its unsent line
            openOnServer(0);
        }
        pickDesk(0);
        closeAlerts();
        list->onSendCaip(std::nullopt, -1);
        EXPECT_TRUE(alertMessage().find("上次送单") != std::string::npos) << alertMessage();
        EXPECT_EQ(alertMessage().find("换了账单") != std::string::npos, cleared) << alertMessage();
        closeAlerts();
    }
}

// A late follow of a bill moves only what left the old desk: a line ordered on the target since
// stays the target's and never lands in the free desk's file.
TEST_F(Doubt, ALateFollowMovesOnlyWhatLeftTheOldDesk) {
    freeDesks({0, 1});
    auto desk = openDesk(0);
    lines() = {line(0)};
    ASSERT_TRUE(sendAll());
    lines().push_back(line(1));  // unsent, it goes with the bill
    NSServer::saveSelectDish0();
    showDesk();
    stalledTransferTo(1);
    closeAlerts();
    sim.clearFaults();

    // The waiter goes to the desk that holds the bill and orders there: one line sent, one kept.
    pickDesk(1);
    closeAlerts();
    ASSERT_EQ(NSServer::getNowDesk()->m_strDeskID, deskID(1));
    lines().push_back(line(2));
    ASSERT_TRUE(sendAll());
    closeAlerts();
    lines().push_back(line(3));
    NSServer::saveSelectDish0();

    // While the target cannot be read, nothing moves and the doubt stays.
    sim.overrideReply("deskdetail", [&](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        if (r.field("deskid") != deskID(1)) return std::nullopt;
        return backoffice::BackOfficeSim::errorReplyText("稍后再试");
    });
    pickDesk(0);
    sim.overrideReply("deskdetail", {});
    EXPECT_TRUE(root->selectViewController) << "the desk does not open: its bill is not known";
    EXPECT_FALSE(root->numViewController);
    EXPECT_TRUE(NSServer::needsUnsureRead(deskID(0)));
    EXPECT_EQ(savedLines(deskID(0)).size(), 1u);
    closeAlerts();
    root->SelectDlgCancel();
    advance(0.3);

    // Picking the old desk follows the bill back to the target, with the old desk's unsent line.
    pickDesk(0);
    EXPECT_EQ(NSServer::getNowDesk()->m_strDeskID, deskID(1));
    closeAlerts();
    auto dishes = [](const std::vector<std::shared_ptr<NSDishClass>>& ls) {
        std::vector<std::string> ids;
        for (auto& l : ls) ids.push_back(l->caipID());
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    std::vector<std::string> expected = {*dish(1)->m_strID, *dish(3)->m_strID};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dishes(savedLines(deskID(1))), expected);
    EXPECT_TRUE(savedLines(deskID(0)).empty()) << "nothing lands in the free desk's file";
    EXPECT_EQ(shownSent(), booked(deskID(1)));
    EXPECT_FALSE(NSServer::getUnsureBooking(deskID(0)));
}

// A number that went out is never handed out again on this device, even when the server never
// saw it: its login counter is behind, and a new line with the same number would be taken for it.
TEST_F(Doubt, ALineNumberThatWentOutIsNeverHandedOutAgain) {
    openDesk(0);
    lines() = {line(0)};
    stalledSend(false);
    const std::string lost = lines()[0]->m_struid;
    restart(true);
    // The server never saw that number: its counter hands it out.
    backoffice::LoginOptions options;
    options.dishCount = platform::leadingInt(lost);
    sim.setLoginOptions(options);
    waiter->m_iDishCount = -1;
    waiter->m_strPassword = "123";
    ASSERT_EQ(NSServer().login(*waiter), 0);
    EXPECT_GT(waiter->m_iDishCount, platform::leadingInt(lost));
    pickDesk(0);
    closeAlerts();
    lines().push_back(line(1));
    std::vector<std::string> uids;
    for (auto& l : lines())
        if (l->isUnsent() && l->m_struid != "-1") uids.push_back(l->m_struid);
    EXPECT_EQ(uids, std::vector<std::string>{lost});
    // The new line's number, given at the send, is another.
    list->onSendCaip(std::nullopt, -1);
    tap("删除它们,只送其余");
    tap("确定");
    closeAlerts();
    auto sent = sim.requestsFor("adddish");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().raw.find("uid=\"" + lost + "\""), std::string::npos) << sent.back().raw;
    EXPECT_EQ(carried("adddish"), 1u);
}

// One alert at a time along a send that picks, merges and asks: the read's word stays on the
// message panel while the merge question is up, and the doubt question comes after it.
TEST_F(Doubt, OneAlertAtATimeAlongASendThatPicksMergesAndAsks) {
    openDesk(0);
    lines() = {line(0)};
    stalledSend(false);
    NSServer::saveSelectDish0();
    // An offline order goes to that desk.
    auto offline = std::make_shared<NSDeskClass>();
    NSServer::getOutDesk()->push_back(offline);
    NSServer::setNowDesk(offline);
    offline->m_DishList = {line(2)};
    advance(3.5);
    sendAll();
    advance(0.3);
    pickOnRoot(room(0));
    pickOnRoot(deskName(0));
    tapButton(*root->selectViewController->m_panel, *root->selectViewController->m_btOK);
    advance(0.3);
    ASSERT_EQ(alerts().size(), 1u) << dump();
    EXPECT_EQ(alertMessage(), "是否将离线点的菜并入" + deskName(0) + "？");
    ASSERT_TRUE(panelText());
    EXPECT_NE(panelText()->find("可能已下单"), std::string::npos) << *panelText();
    tap("是");
    advance(0.3);
    ASSERT_EQ(alerts().size(), 1u) << dump();
    EXPECT_TRUE(alertMessage().starts_with("上次送单")) << alertMessage();
}

}  // namespace
