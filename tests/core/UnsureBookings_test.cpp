// Bookings in doubt: what settles them (only the server's lines matching the request one for one),
// what leaves their lines waiting for the waiter, and that they outlive the program.

#include <gtest/gtest.h>

#include "CoreFixture.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"

namespace {

class UnsureBookings : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        NSServer::createDir();
    }
    static std::shared_ptr<NSDishClass> make(const std::string& dish, float qty, int state, const std::string& server,
                                             const std::string& uid, const std::string& kouw = "",
                                             const std::string& waiter = "0001") {
        auto l = std::make_shared<NSDishClass>();
        l->setM_strCaipID(dish);
        l->m_fQuantity = qty;
        l->m_iState = state;
        l->m_strXfmxID = server;
        l->m_struid = uid;
        l->GetKouwIDFromstrID(kouw);
        if (state != NSDishClass::kUnsent) l->m_strWaiterID = waiter;
        return l;
    }
    static constexpr int kSent = 1;
    static constexpr int kUnsent = NSDishClass::kUnsent;

    // The request in doubt: waiter 0001 sent A x1 (line 41, cooked "07"), C x2 (42) and the return
    // of one B from server line 8, when the server held A x1 (id 7) and B x3 (id 8).
    static NSServer::UnsureBooking request() {
        NSServer::UnsureBooking doubt;
        doubt.command = "adddish";
        doubt.consumeID = "B1";
        doubt.waiterID = "0001";
        doubt.serverLines = {{"7", 1.f}, {"8", 3.f}};
        doubt.lines = {{"41", "A", 1, "07,", "", false},
                       {"42", "C", 2, "", "", false},
                       {"43", "B", -1, "", "8", false}};
        return doubt;
    }
    // The desk as the terminal holds it after a refresh: the three unsent lines of the request, a
    // line outside it, then the server's lines.
    static NSDeskClass deskWith(const std::vector<std::shared_ptr<NSDishClass>>& server) {
        NSDeskClass desk;
        desk.m_strDeskID = "D1";
        desk.m_strConsumeID = "B1";
        desk.m_DishList = {make("A", 1, kUnsent, "", "41", "07"), make("C", 2, kUnsent, "", "42"),
                           make("B", -1, kUnsent, "8", "43"), make("E", 1, kUnsent, "", "-1")};
        desk.m_DishList.insert(desk.m_DishList.end(), server.begin(), server.end());
        return desk;
    }
};

TEST_F(UnsureBookings, OnlyTheServersOwnLinesMatchingOneForOneSettleARequest) {
    using K = NSServer::UnsureSettle;
    struct Case {
        const char* name;
        std::vector<std::shared_ptr<NSDishClass>> server;  // the refresh's lines
        K::Kind kind;
        std::size_t unsentLeft;  // of the four unsent lines
        std::size_t waiting;     // lines still in doubt afterwards
    } cases[] = {
        {"all booked", {make("A", 1, kSent, "7", ""), make("B", 2, kSent, "8", ""), make("A", 1, kSent, "9", "", "07"),
                        make("C", 2, kSent, "10", "")},
         K::kBooked, 1, 0},
        {"nothing booked", {make("A", 1, kSent, "7", ""), make("B", 3, kSent, "8", "")}, K::kUnsettled, 4, 3},
        {"only part shows", {make("A", 1, kSent, "7", ""), make("B", 2, kSent, "8", ""),
                             make("A", 1, kSent, "9", "", "07")},
         K::kUnsettled, 4, 3},
        // Another waiter's lines of the same dishes while ours never arrived: no proof.
        {"another waiter's", {make("A", 1, kSent, "7", ""), make("B", 2, kSent, "8", ""),
                              make("A", 1, kSent, "9", "", "07", "0002"), make("C", 2, kSent, "10", "", "", "0002")},
         K::kUnsettled, 4, 3},
        {"another cooking method", {make("A", 1, kSent, "7", ""), make("B", 2, kSent, "8", ""),
                                    make("A", 1, kSent, "9", ""), make("C", 2, kSent, "10", "")},
         K::kUnsettled, 4, 3},
        {"another quantity", {make("A", 1, kSent, "7", ""), make("B", 2, kSent, "8", ""),
                              make("A", 1, kSent, "9", "", "07"), make("C", 3, kSent, "10", "")},
         K::kUnsettled, 4, 3},
        // A line that stood before the request answers for nothing.
        {"only old lines", {make("A", 1, kSent, "7", "", "07"), make("B", 2, kSent, "8", ""),
                            make("C", 2, kSent, "10", "")},
         K::kUnsettled, 4, 3},
        // B fell by two: somebody else's return, not ours of one.
        {"another return", {make("A", 1, kSent, "7", ""), make("B", 1, kSent, "8", ""),
                            make("A", 1, kSent, "9", "", "07"), make("C", 2, kSent, "10", "")},
         K::kUnsettled, 4, 3},
    };
    for (const auto& c : cases) {
        NSServer::noteUnsureBooking("D1", request());
        auto desk = deskWith(c.server);
        auto settled = NSServer::settleUnsureBooking(desk);
        EXPECT_EQ(settled.kind, c.kind) << c.name;
        std::size_t unsent = 0;
        for (auto& l : desk.m_DishList) unsent += l->m_iState == kUnsent;
        EXPECT_EQ(unsent, c.unsentLeft) << c.name;
        EXPECT_EQ(NSServer::unsureLines(desk).size(), c.waiting) << c.name;
        EXPECT_FALSE(NSServer::needsUnsureRead("D1")) << c.name << ": one read weighs the request";
        // A later read settles nothing more on a guess: the waiting lines wait for the waiter.
        auto again = deskWith(c.server);
        if (c.kind == K::kUnsettled) {
            EXPECT_EQ(NSServer::settleUnsureBooking(again).kind, K::kNone) << c.name;
            EXPECT_EQ(NSServer::unsureLines(again).size(), c.waiting) << c.name;
        }
        NSServer::clearUnsureBooking("D1");
    }
}

TEST_F(UnsureBookings, ADoubtOutlivesTheProgramAndEndsWithTheWaitersDecision) {
    NSServer::noteUnsureBooking("D1", request());
    // A restart: nothing is held in memory, the data folder keeps the doubt.
    NSServer::forgetUnsureBookings();
    ASSERT_TRUE(NSServer::needsUnsureRead("D1"));
    auto desk = deskWith({make("A", 1, kSent, "7", ""), make("B", 3, kSent, "8", "")});
    EXPECT_EQ(NSServer::settleUnsureBooking(desk).kind, NSServer::UnsureSettle::kUnsettled);
    NSServer::forgetUnsureBookings();
    auto waiting = NSServer::unsureLines(desk);
    ASSERT_EQ(waiting.size(), 3u) << "still waiting after another restart";
    // A line renumbered or of another dish is not the line that went.
    auto renumbered = make("A", 1, kUnsent, "", "-1", "07");
    EXPECT_FALSE(NSServer::isUnsureLine(desk, *renumbered));
    // The waiter sends two of them: only the third waits; removing it ends the doubt.
    NSServer::releaseUnsureLines(desk, {waiting[0], waiting[1]});
    EXPECT_EQ(NSServer::unsureLines(desk).size(), 1u);
    desk.m_DishList.erase(std::find(desk.m_DishList.begin(), desk.m_DishList.end(), waiting[2]));
    NSServer::settleUnsureBooking(desk);
    EXPECT_FALSE(NSServer::getUnsureBooking("D1"));
    // The numbers that went out stay known with nothing in doubt: none is handed out again.
    NSServer::forgetUnsureBookings();
    EXPECT_FALSE(NSServer::getUnsureBooking("D1"));
    EXPECT_EQ(NSServer::lastUnsureLineNumber(), 43);

    // A damaged file is kept aside, never read as "nothing in doubt" and overwritten.
    platform::fs::writeAtomically(dataFile("DOUBTS.XML"), "<doubts><desk id=");
    NSServer::forgetUnsureBookings();
    EXPECT_FALSE(NSServer::getUnsureBooking("D1"));
    EXPECT_TRUE(platform::fs::exists(dataFile("DOUBTS.XML.damaged")));
}

TEST_F(UnsureBookings, ATransferIsFollowedOnlyWhereTheBillLeftTheDeskAndTakesOnlyWhatLeft) {
    NSServer::UnsureBooking transfer;
    transfer.command = "changedesk";
    transfer.consumeID = "B1";
    transfer.otherDesk = "D2";
    transfer.otherName = "A02";
    transfer.serverLines = {{"7", 1.f}};
    struct Case {
        const char* name;
        std::string bill, state;  // the desk the bill was on, as read
        NSServer::UnsureSettle::Kind kind;
        std::string targetBill;   // the target as read, when the bill left
        bool followed;
    } cases[] = {
        {"still here", "B1", "6", NSServer::UnsureSettle::kChecked, "", false},
        {"gone, and found there", "", "1", NSServer::UnsureSettle::kMoved, "B1", true},
        {"another bill here, and found there", "B9", "6", NSServer::UnsureSettle::kMoved, "B1", true},
        {"gone, and not there", "", "1", NSServer::UnsureSettle::kMoved, "B5", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // D1 keeps an unsent line and one waiting from an earlier send; D2 has a line of its own
        // saved, ordered there since.
        NSDeskClass desk;
        desk.m_strDeskID = "D1";
        desk.m_strConsumeID = c.bill;
        desk.m_strDeskState = c.state;
        desk.m_DishList = {make("A", 1, kUnsent, "", "-1"), make("C", 2, kUnsent, "", "42")};
        NSServer::noteUnsureBooking("D1", request());
        NSServer::settleUnsureBooking(desk);  // C waits; A, B and the return are not on the desk
        NSServer::noteUnsureBooking("D1", transfer);
        auto target = std::make_shared<NSDeskClass>();
        target->m_strDeskID = "D2";
        target->m_DishList = {make("E", 1, kUnsent, "", "-1")};
        NSServer::saveSelectDish1(target);
        NSServer::saveSelectDish1(std::make_shared<NSDeskClass>(desk));

        auto settled = NSServer::settleUnsureBooking(desk);
        ASSERT_EQ(settled.kind, c.kind);
        if (c.kind != NSServer::UnsureSettle::kMoved) {
            EXPECT_FALSE(NSServer::needsUnsureRead("D1"));
            NSServer::clearUnsureBooking("D1");
            continue;
        }
        EXPECT_TRUE(NSServer::needsUnsureRead("D1")) << "in doubt until the bill is found";
        NSDeskClass there;
        there.m_strDeskID = "D2";
        there.m_strConsumeID = c.targetBill;
        there.m_DishList = {make("A", 1, kSent, "9", "")};
        EXPECT_EQ(NSServer::followUnsureBill(desk, there, settled), c.followed);
        EXPECT_FALSE(NSServer::needsUnsureRead("D1"));
        auto saved = [](const std::string& id) {
            auto d = std::make_shared<NSDeskClass>();
            d->m_strDeskID = id;
            NSServer::loadSelectDish(d);
            std::vector<std::string> dishes;
            for (auto& l : d->m_DishList) dishes.push_back(l->caipID());
            return dishes;
        };
        if (c.followed) {
            EXPECT_EQ(desk.m_strDeskID, "D2");
            EXPECT_EQ(desk.m_strConsumeID, "B1");
            EXPECT_EQ(saved("D2"), (std::vector<std::string>{"E", "A", "C"})) << "beside the target's own";
            EXPECT_TRUE(saved("D1").empty()) << "the desk the bill left keeps nothing";
            EXPECT_FALSE(NSServer::getUnsureBooking("D1"));
            ASSERT_EQ(NSServer::unsureLines(desk).size(), 1u) << "the waiting line went along";
            EXPECT_EQ(NSServer::unsureLines(desk)[0]->caipID(), "C");
        } else {
            EXPECT_EQ(desk.m_strDeskID, "D1");
            EXPECT_EQ(saved("D1"), (std::vector<std::string>{"A", "C"}));
            EXPECT_EQ(saved("D2"), std::vector<std::string>{"E"});
        }
        NSServer::clearUnsureBooking("D1");
        NSServer::clearUnsureBooking("D2");
        NSServer::delSaveDish("D1");
        NSServer::delSaveDish("D2");
    }
}

}  // namespace
