// The desk, order-line and bill operations against the back-office simulator.

#include <functional>
#include <memory>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "net/SimFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpNet.h"
#include "net/NSTcpPacket.h"
#include "net/RootServices.h"
#include "platform/foundation/Network.h"
#include "support/EventWait.h"

namespace {

using backoffice::BackOfficeSim;

std::vector<std::string> column(const std::string& document, const char* attribute) {
    std::vector<std::string> values;
    auto doc = GDataXMLDocument::initWithDataOptionsError(document, 0, nullptr);
    auto data = doc ? firstElement(doc->rootElement(), "data") : nullptr;
    if (!data) return values;
    for (const char* name : {"row", "record"})
        if (auto rows = data->elementsForName(name))
            for (auto& r : *rows) values.push_back(attributeText(r, attribute));
    return values;
}

// The element children of a request's data, as "name=text".
std::vector<std::string> dataChildren(const backoffice::ReceivedRequest& r) {
    std::vector<std::string> out;
    for (const auto& c : r.data()->children())
        if (auto e = std::dynamic_pointer_cast<GDataXMLElement>(c))
            out.push_back(e->name() + "=" + e->stringValue().value_or(""));
    return out;
}

class OpsDeskTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        NSServer::setIP("127.0.0.1");
        NSServer::setJtNO(std::string(BackOfficeSim::kCompanyNumber));
        NSServer::setOutTime(2);
        NSServer::createDir();
        NSServer::loadMacAdr();
        // The simulator's menu as the terminal stores it, so lines and desks agree with it.
        for (const char* t : {"yonghxx", "caip", "stCategory", "ssdept", "tuidyy", "zuot", "stBom",
                              "stUnits", "kouw"})
            NSServer().stringDataWriteToFile(dataFile(std::string(t) + ".dat"), std::nullopt,
                                             sim.tableDocument(t));
        NSServer::loadCaipXml();
        NSServer::loadDesks(std::nullopt, false);
        deskIDs = column(sim.tableDocument("zuot"), "f1");
        ASSERT_GE(deskIDs.size(), 3u);
        auto user = NSServer::getNowUser();
        user->m_strUserID = "0001";
    }

    std::shared_ptr<NSDeskClass> deskFor(const std::string& id) {
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = id;
        return desk;
    }
    std::shared_ptr<NSDishClass> line(int menuIndex, float quantity, int state = NSDishClass::kSending) {
        auto caip = NSServer::getCaipDB()->m_CaipArray.at(menuIndex);
        auto l = std::make_shared<NSDishClass>();
        l->m_strCaipID = caip->m_strID;
        l->m_fQuantity = quantity;
        l->m_iState = state;
        l->m_struid = std::to_string(menuIndex + 1);
        return l;
    }
    // Opens a free desk of the simulator and makes it the current desk.
    std::shared_ptr<NSDeskClass> openNowDesk(const std::string& id, int guests) {
        auto desk = deskFor(id);
        desk->m_iClientNum = guests;
        EXPECT_TRUE(NSServer().OpenDesk(*desk));
        NSServer::setNowDesk(desk);
        return NSServer::getNowDesk();
    }
    std::vector<std::string> deskIDs;
};

TEST_F(OpsDeskTest, ADeskFromOpeningToClearingKeepsTheServerInStep) {
    auto desk = openNowDesk(deskIDs[0], 4);
    EXPECT_EQ(desk->m_strDeskState, "6");
    EXPECT_FALSE(desk->m_strConsumeID.empty());
    EXPECT_EQ(sim.desk(deskIDs[0])->consumeID, desk->m_strConsumeID);

    desk->m_DishList = {line(0, 1), line(1, 2), line(2, 1, NSDishClass::kUnsent)};
    ASSERT_TRUE(NSServer().addDish(*desk));
    EXPECT_EQ(sim.desk(deskIDs[0])->lines.size(), 2u);  // only the lines being sent

    ASSERT_TRUE(NSServer().XRefreshDishList(*desk));
    ASSERT_EQ(desk->m_DishList.size(), 3u);  // the unsent line first, then the server's two
    auto sent = desk->m_DishList[1];
    EXPECT_FALSE(sent->m_strXfmxID.empty());

    EXPECT_TRUE(NSServer().XHastenDish(*sent, "0001", "2", "划菜"));
    auto hasten = sim.requestsFor("hasten").at(0);
    EXPECT_EQ(hasten.field("xiaofmxid"), sent->m_strXfmxID);
    EXPECT_EQ(hasten.field("deskid"), deskIDs[0]);
    EXPECT_EQ(hasten.field("msg"), "划菜");

    EXPECT_TRUE(NSServer().XModifyDishQty(*sent, *desk, "2.5"));
    EXPECT_TRUE(NSServer().setDeskPeoples(6));
    auto peoples = sim.requestsFor("setdeskpeoples").at(0);
    EXPECT_EQ(peoples.field("param1"), "4");
    EXPECT_EQ(peoples.field("param2"), "6");
    EXPECT_TRUE(NSServer().changeDesk("8", "0002", "A&B"));
    EXPECT_EQ(dataChildren(sim.requestsFor("setdeskpeoples").at(1)),
              (std::vector<std::string>{"waiterid=0001", "deskid=" + deskIDs[0],
                                        "consumeid=" + desk->m_strConsumeID, "param1=4", "param2=8",
                                        "param3=0002", "param4=A&B"}));
    auto simDesk = *sim.desk(deskIDs[0]);
    EXPECT_EQ(simDesk.guests, 8);
    EXPECT_EQ(simDesk.waiter, "0002");
    EXPECT_EQ(simDesk.remark, "A&B");  // literal text, no entity reading
    EXPECT_EQ(simDesk.lines.at(0).quantity + simDesk.lines.at(1).quantity, 2.5 + 2.0);

    EXPECT_TRUE(NSServer().XPrint());
    EXPECT_TRUE(NSServer().XPrint2());
    EXPECT_EQ(sim.desk(deskIDs[0])->printed, 2);

    auto target = deskFor(deskIDs[1]);
    EXPECT_TRUE(NSServer().XDeskChange(*target));
    EXPECT_EQ(sim.desk(deskIDs[0])->state, "1");
    EXPECT_EQ(sim.desk(deskIDs[1])->lines.size(), 2u);

    auto moved = deskFor(deskIDs[1]);
    ASSERT_TRUE(NSServer().XRefreshDishList(*moved));
    NSServer::setNowDesk(moved);
    moved->m_strDeskState = "6";
    EXPECT_TRUE(NSServer().clearDesk());
    EXPECT_EQ(sim.desk(deskIDs[1])->state, "1");
    EXPECT_TRUE(root->alerts.empty());
}

TEST_F(OpsDeskTest, NothingToSendSendsNothingAndReturnsGoAsDeldish) {
    auto desk = openNowDesk(deskIDs[0], 2);
    desk->m_DishList = {line(0, 0), line(1, -1, NSDishClass::kUnsent)};
    EXPECT_FALSE(NSServer().addDish(*desk));
    EXPECT_TRUE(sim.requestsFor("adddish").empty());
    EXPECT_TRUE(root->alerts.empty() && root->messages.empty());

    desk->m_DishList = {line(0, 1)};
    ASSERT_TRUE(NSServer().addDish(*desk));
    ASSERT_TRUE(NSServer().XRefreshDishList(*desk));
    auto back = line(0, -1);
    back->m_strXfmxID = desk->m_DishList.at(0)->m_strXfmxID;
    desk->m_DishList.push_back(back);
    EXPECT_TRUE(NSServer().XDelDish(*desk));
    auto del = sim.requestsFor("deldish").at(0);
    auto detail = firstElement(del.data(), "detail");
    ASSERT_TRUE(detail);
    auto rows = detail->elementsForName("xiaofmx");
    ASSERT_TRUE(rows && rows->size() == 1u);
    EXPECT_EQ(elementText(rows->at(0), "qty"), "-1");
}

TEST_F(OpsDeskTest, CustomRequestsCarryUserDeskAndBill) {
    auto desk = openNowDesk(deskIDs[0], 3);
    EXPECT_TRUE(NSServer().XCall());
    auto call = sim.requestsFor("call").at(0);
    EXPECT_EQ(call.field("waiterid"), "0001");
    EXPECT_EQ(call.field("deskid"), deskIDs[0]);
    EXPECT_EQ(call.field("consumeid"), desk->m_strConsumeID);
    EXPECT_EQ(call.field("param1"), "");

    sim.setRebateText("合计88元");
    struct Case { std::optional<std::string> code; float amount; const char* p1; const char* p2; } cases[] = {
        {std::nullopt, 0, "get", ""}, {std::string("01"), 12.5f, "01", "12.5"},
    };
    for (const auto& c : cases) {
        sim.clearRecords();
        EXPECT_EQ(NSServer().getNowRebate(c.code, c.amount), "合计88元");
        auto r = sim.requestsFor("rebatexiaof").at(0);
        EXPECT_EQ(r.field("param1"), c.p1);
        EXPECT_EQ(r.field("param2"), c.p2);
    }
    sim.overrideReply("rebatexiaof", [](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(BackOfficeSim::reply("<msg>none</msg>"));
    });
    EXPECT_EQ(NSServer().getNowRebate(std::nullopt, 0), "");
}

TEST_F(OpsDeskTest, DiscountListGetsItsCancelRowOnlyOnSuccess) {
    auto db = NSServer::getCaipDB();
    ASSERT_TRUE(NSServer().getRebate());
    ASSERT_EQ(db->m_rebate->m_length, 5);  // the root, three discounts, the cancel row
    EXPECT_EQ(db->m_rebate->m_name[4], "取消折扣");
    EXPECT_EQ(db->m_rebate->m_state[4], "/");

    backoffice::Faults f;
    f.errorReply = "无折扣";
    sim.setFaults(f);
    EXPECT_FALSE(NSServer().getRebate());
    EXPECT_EQ(db->m_rebate->m_length, 1);
    EXPECT_EQ(root->alerts, std::vector<std::string>{"无折扣"});
}

TEST_F(OpsDeskTest, DeskDetailCompletesLinesFromTheMenuOrStopsAtAMissingDish) {
    auto desk = openNowDesk(deskIDs[0], 2);
    desk->m_DishList = {line(0, 1), line(1, 1)};
    ASSERT_TRUE(NSServer().addDish(*desk));

    auto detail = deskFor(deskIDs[0]);
    ASSERT_TRUE(NSServer().XDeskDetail(*detail));
    ASSERT_EQ(detail->m_DishList.size(), 2u);
    auto menu = NSServer::getCaipDB()->m_CaipArray;
    EXPECT_EQ(detail->m_DishList[0]->m_strCaipName, menu[0]->m_strName);
    EXPECT_EQ(detail->m_DishList[1]->m_strCaipName, menu[1]->m_strName);
    EXPECT_EQ(detail->m_DishList[0]->m_strUnits, menu[0]->m_strDanw);

    // A dish the local menu lacks: the terminal was not synchronised.
    auto sd = *sim.desk(deskIDs[0]);
    sd.lines.at(1).caipID = "NO-SUCH-DISH";
    sim.setDesk(sd);
    auto again = deskFor(deskIDs[0]);
    EXPECT_FALSE(NSServer().XDeskDetail(*again));
    ASSERT_EQ(root->alerts.size(), 1u);
    EXPECT_NE(root->alerts[0].find("请先同步"), std::string::npos);
    EXPECT_EQ(again->m_DishList[0]->m_strCaipName, menu[0]->m_strName);  // completed before the stop

    auto freeDesk = deskFor(deskIDs[2 < deskIDs.size() - 1 ? 3 : 1]);
    sim.setDesk([&] { auto d = *sim.desk(freeDesk->m_strDeskID); d.state = "1"; d.lines.clear(); return d; }());
    EXPECT_TRUE(NSServer().XDeskDetail(*freeDesk));
    EXPECT_EQ(freeDesk->m_strDeskState, "1");
    EXPECT_TRUE(freeDesk->m_DishList.empty());
}

TEST_F(OpsDeskTest, ReadipadStoresOnlyASavedOrderDocumentOfASafeDesk) {
    const std::string deskFile = dataFile(deskIDs[0] + ".ATD");
    // No desk id: nothing is asked.
    NSServer::setNowDesk(deskFor(""));
    EXPECT_FALSE(NSServer().readipad());
    EXPECT_TRUE(sim.requestsFor("ipadload").empty());

    openNowDesk(deskIDs[0], 5);
    platform::fs::writeAtomically(deskFile, "old");
    const std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane><desk m_strDeskID=\"" +
                                 deskIDs[0] + "\" m_iClientNum=\"5\"/></morvane>\n";
    struct Case { std::string reply; bool stored; } cases[] = {
        {BackOfficeSim::reply("<msg>ok</msg>"), false},  // an envelope, no saved order
        {"<morvane><desk></morvane>", false},            // complete, but no XML
        {document, true},
    };
    for (const auto& c : cases) {
        sim.overrideReply("ipadload", [&](const backoffice::ReceivedRequest&) {
            return std::optional<std::string>(c.reply);
        });
        EXPECT_EQ(NSServer().readipad(), c.stored) << c.reply;
        EXPECT_EQ(platform::fs::readAll(deskFile), c.stored ? document : "old") << c.reply;
    }

    sim.clearRecords();
    auto evil = deskFor("../evil");
    NSServer::setNowDesk(evil);
    EXPECT_FALSE(NSServer().readipad());
    EXPECT_TRUE(sim.requestsFor("ipadload").empty());
}

TEST_F(OpsDeskTest, DeleteCaipRemovesThatVeryLineAndSavesTheDesk) {
    auto desk = deskFor("");  // an offline desk: saved in the offline file
    auto a = line(0, 1, NSDishClass::kUnsent), b = line(0, 1, NSDishClass::kUnsent);
    desk->m_DishList = {a, b};
    NSServer::setNowDesk(desk);
    EXPECT_TRUE(NSServer().deleteCaip(b));
    ASSERT_EQ(NSServer::getNowDesk()->m_DishList.size(), 1u);
    EXPECT_EQ(NSServer::getNowDesk()->m_DishList[0], a);
    EXPECT_TRUE(platform::fs::exists(dataFile("OUTDESK.ATD")));
}

TEST_F(OpsDeskTest, AReservationIsReadAndOpened) {
    backoffice::SimReservation y;
    y.consumeID = "Y9";
    y.guests = 7;
    y.guestName = "李女士";
    y.deskIDs = {deskIDs[1]};
    y.dishes = {{*NSServer::getCaipDB()->m_CaipArray[0]->m_strID, 2, "", 0}};
    sim.setReservation(y);
    auto reserved = deskFor(deskIDs[1]);
    reserved->m_strConsumeID = "Y9";
    NSYuDingClass info;
    ASSERT_TRUE(NSServer().XYuDingInfo(*reserved, info));
    EXPECT_EQ(info.GuestName, "李女士");
    EXPECT_EQ(info.clientNum, 7);
    ASSERT_EQ(info.m_DeskList.size(), 1u);
    ASSERT_EQ(info.m_DishList.size(), 1u);
    auto r = sim.requestsFor("yudinfo").at(0);
    EXPECT_EQ(r.field("param1"), "Y9");
    EXPECT_EQ(r.field("param2"), deskIDs[1]);

    NSServer::setNowDesk(reserved);
    ASSERT_TRUE(NSServer().OpenYudingDesk(info));
    EXPECT_EQ(sim.desk(deskIDs[1])->state, "6");
    EXPECT_EQ(sim.desk(deskIDs[1])->lines.size(), 1u);
    EXPECT_EQ(NSServer::getNowDesk()->m_iClientNum, 7);
}

TEST_F(OpsDeskTest, DeskStatesRebuildTheDeskTreeAndAFailureKeepsIt) {
    openNowDesk(deskIDs[0], 2);
    ASSERT_TRUE(NSServer().DownloadDeskState(false));
    auto tree = NSServer::getDesks();
    int node = tree->FindID(deskIDs[0]);
    ASSERT_GT(node, 0);
    EXPECT_EQ(tree->m_state[node], "6");

    backoffice::Faults f;
    f.refuse = true;
    sim.setFaults(f);
    EXPECT_FALSE(NSServer().DownloadDeskState(false));
    EXPECT_EQ(NSServer::getDesks(), tree);
    EXPECT_NE(std::find(root->messages.begin(), root->messages.end(), "网络连接失败"), root->messages.end());
}

}  // namespace

namespace {

// A valid reply padded with comments to `bytes` in all (one comment may hold at most 10 MB).
std::string paddedTo(const std::string& document, std::size_t bytes) {
    auto at = document.rfind("</morvane>");
    std::string padding;
    std::size_t fill = bytes - document.size();
    while (fill > 0) {
        std::size_t piece = std::min<std::size_t>(fill, 1u << 20);
        if (piece < 7) {
            padding += std::string(piece, ' ');
            break;
        }
        padding += "<!--" + std::string(piece - 7, 'x') + "-->";
        fill -= piece;
    }
    return document.substr(0, at) + padding + document.substr(at);
}

TEST_F(OpsDeskTest, AReplyThatIsNoDocumentFailsItsOperationAndChangesNothing) {
    auto desk = openNowDesk(deskIDs[0], 2);
    desk->m_DishList.push_back(line(0, 1));
    ASSERT_TRUE(NSServer().DownloadDeskState(false));
    auto tree = NSServer::getDesks();
    const std::string deskFile = dataFile(deskIDs[0] + ".ATD");
    platform::fs::writeAtomically(deskFile, "old");
    auto other = deskFor(deskIDs[1]);
    auto user = std::make_shared<NSUserClass>();
    user->m_strUserID = "0001";
    const int dishCount = user->m_iDishCount;
    NSYuDingClass reservation;
    // A request that only reads is asked once more, as after a lost reply; one that books is not
    // (the server may have booked it).
    struct Case { const char* word; std::size_t written; std::function<bool()> run; } cases[] = {
        {"deskstate", 2, [&] { return NSServer().DownloadDeskState(false); }},
        {"adddish", 1, [&] { return NSServer().addDish(*desk); }},
        {"updatemenu", 2, [&] { return NSServer().XRefreshDishList(*desk); }},
        {"deskdetail", 2, [&] { return NSServer().XDeskDetail(*desk); }},
        {"opendesk", 1, [&] { return NSServer().OpenDesk(*other); }},
        {"login", 2, [&] { return NSServer().login(*user) != -1; }},
        {"ipadload", 2, [&] { return NSServer().readipad(); }},
        {"yudinfo", 2, [&] { return NSServer().XYuDingInfo(*desk, reservation); }},
    };
    for (const auto& c : cases) {
        sim.clearRecords();
        backoffice::Faults f;
        f.garbage = "<morvane><data><desk rens=\"9\">" + deskIDs[0] + "</desk></morvane>";  // not well-formed
        f.onlyCommand = c.word;
        sim.setFaults(f);
        EXPECT_FALSE(c.run()) << c.word;
        EXPECT_EQ(sim.requestsFor(c.word).size(), c.written) << c.word;
    }
    sim.clearFaults();
    EXPECT_EQ(NSServer::getDesks(), tree);
    ASSERT_EQ(desk->m_DishList.size(), 1u);
    EXPECT_EQ(desk->m_DishList[0]->m_iState, NSDishClass::kSending);
    EXPECT_EQ(desk->m_iClientNum, 2);
    EXPECT_EQ(other->m_strConsumeID, "");
    EXPECT_EQ(user->m_iDishCount, dishCount);
    EXPECT_TRUE(reservation.m_DishList.empty() && reservation.consumeid.empty());
    EXPECT_EQ(platform::fs::readAll(deskFile), "old");
    EXPECT_TRUE(root->alerts.empty());
}

// A request that books, written and then left unanswered (a silent server, or one that answers
// only after the terminal gave up), is written once: the server may have booked it. Its desk is
// then in doubt, and the waiter is told so.
TEST_F(OpsDeskTest, ARequestThatBooksIsWrittenOnceWhenItsReplyNeverComes) {
    NSServer::setOutTime(1);  // given up after a second of silence
    auto custom = [](const char* word, const std::string& param1, const std::string& param2) {
        auto desk = NSServer::getNowDesk();
        auto packet = NSTcpPacket::initWithCustom(word, param1, param2);
        packet->SetCustom("0001", desk->m_strDeskID, desk->m_strConsumeID);
        return packet->sendPacketForNone(true);
    };
    std::shared_ptr<NSDeskClass> desk;
    std::shared_ptr<NSDishClass> sent;
    struct Case { const char* word; std::string doubtful; std::function<bool()> run; } cases[] = {
        {"adddish", deskIDs[0], [&] {
             desk->m_DishList.push_back(line(1, 1));
             return NSServer().addDish(*desk);
         }},
        {"deldish", deskIDs[0], [&] {
             auto back = NSDishClass::initWithDish(*sent);
             back->m_iState = NSDishClass::kSending;
             back->m_fQuantity = -1;
             desk->m_DishList.push_back(back);
             return NSServer().XDelDish(*desk);
         }},
        {"rebatedish", deskIDs[0], [&] { return custom("rebatedish", sent->m_strXfmxID, "01"); }},
        {"modifyqty", deskIDs[0], [&] { return NSServer().XModifyDishQty(*sent, *desk, "2"); }},
        {"setdeskpeoples", deskIDs[0], [&] { return NSServer().setDeskPeoples(5); }},
        {"deskunion", deskIDs[0], [&] {
             // As the order list joins a free desk: its desk field carries no desk of this bill.
             auto packet = NSTcpPacket::initWithCustom("deskunion", deskIDs[1], desk->m_strConsumeID);
             packet->SetCustom("0001", "", "2");
             packet->doubtfulDesk = deskIDs[0];
             return packet->sendPacketForNone(true);
         }},
        {"changedesk", deskIDs[0], [&] { return NSServer().XDeskChange(*deskFor(deskIDs[1])); }},
        {"cleardesk", deskIDs[0], [&] { return NSServer().clearDesk(); }},
        {"opendesk", deskIDs[1], [&] { return NSServer().OpenDesk(*deskFor(deskIDs[1])); }},
    };
    // A late reply comes only long after the terminal gave up, whatever keeps the machine busy;
    // the server stops before then.
    for (double delay : {0.0, testsupport::kEventWaitSeconds}) {
        for (const auto& c : cases) {
            // Each case on a desk with one booked line and a free desk beside it.
            for (const auto& id : {deskIDs[0], deskIDs[1]}) {
                backoffice::SimDesk free = *sim.desk(id);
                free.state = "1";
                free.consumeID.clear();
                free.lines.clear();
                sim.setDesk(free);
            }
            desk = openNowDesk(deskIDs[0], 2);
            desk->m_DishList = {line(0, 2)};
            ASSERT_TRUE(NSServer().addDish(*desk));
            ASSERT_TRUE(NSServer().XRefreshDishList(*desk));
            sent = desk->m_DishList.at(0);
            NSServer::clearUnsureBooking(deskIDs[0]);
            NSServer::clearUnsureBooking(deskIDs[1]);
            sim.clearRecords();
            root->messages.clear();

            backoffice::Faults f;
            if (delay > 0) f.delaySeconds = delay;
            else f.silence = true;
            f.onlyCommand = c.word;
            sim.setFaults(f);
            EXPECT_FALSE(c.run()) << c.word;
            EXPECT_EQ(sim.requestsFor(c.word).size(), 1u) << c.word << (delay > 0 ? " late" : " silent");
            EXPECT_TRUE(NSServer::getUnsureBooking(c.doubtful)) << c.word;
            ASSERT_EQ(root->messages.size(), 1u) << c.word;
            EXPECT_NE(root->messages[0].find("可能已"), std::string::npos) << root->messages[0];
            sim.clearFaults();
            if (delay > 0) {
                // The late answer is not waited for: it would land in the next case.
                const int port = sim.port();
                sim.stop();
                ASSERT_TRUE(sim.start(port));
            }
        }
    }
    // A request that only reads keeps its second attempt and leaves no desk in doubt.
    NSServer::clearUnsureBooking(deskIDs[0]);
    backoffice::Faults f;
    f.silence = true;
    f.onlyCommand = "updatemenu";
    sim.setFaults(f);
    sim.clearRecords();
    EXPECT_FALSE(NSServer().XRefreshDishList(*desk));
    EXPECT_EQ(sim.requestsFor("updatemenu").size(), 2u);
    EXPECT_FALSE(NSServer::getUnsureBooking(deskIDs[0]));
}

TEST_F(OpsDeskTest, EachReplyKindIsRefusedBeyondItsOwnSizeLimit) {
    NSServer::setOutTime(10);  // large replies on a loaded machine may pause between pieces
    auto desk = openNowDesk(deskIDs[0], 2);
    const std::string deskFile = dataFile(deskIDs[0] + ".ATD");
    const std::string savedOrder = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane><desk m_strDeskID=\"" +
                                   deskIDs[0] + "\"/></morvane>";
    struct Case { const char* word; std::string reply; std::size_t limit; std::function<bool()> run; } cases[] = {
        {"deskstate", BackOfficeSim::reply("<desk f1=\"x\" f2=\"1\"/>"), NSTcpPacket::kDeskReplyBytes,
         [&] { return NSServer().DownloadDeskState(false); }},
        {"updatemenu", BackOfficeSim::reply("<desk>" + deskIDs[0] + "</desk>"), NSTcpPacket::kDeskReplyBytes,
         [&] { return NSServer().XRefreshDishList(*desk); }},
        {"ipadload", savedOrder, NSServer::kMaxSavedOrderBytes, [&] { return NSServer().readipad(); }},
        {"treedata", BackOfficeSim::reply("<row code=\"1\">九折</row>"), NSTcpPacket::kListReplyBytes,
         [&] { return NSServer().getRebate(); }},
        {"setdeskpeoples", BackOfficeSim::reply("<code>0</code>"), NSTcpPacket::kPlainReplyBytes,
         [&] { return NSServer().setDeskPeoples(4); }},
    };
    for (const auto& c : cases) {
        // Nothing after the closing tag: a byte there that arrived late would not count.
        std::string reply = c.reply;
        while (!reply.empty() && reply.back() == '\n') reply.pop_back();
        // Just within the limit a reply is read; one byte more and it is refused.
        for (std::size_t size : {c.limit, c.limit + 1}) {
            std::string text = paddedTo(reply, size);
            ASSERT_EQ(text.size(), size);
            sim.overrideReply(c.word, [text](const backoffice::ReceivedRequest&) { return std::optional<std::string>(text); });
            EXPECT_EQ(c.run(), size == c.limit) << c.word << " " << size;
        }
    }
    // The largest saved order accepted is stored and reads back; the refused one left it.
    EXPECT_EQ(platform::fs::readAll(deskFile)->size(), NSServer::kMaxSavedOrderBytes);
}

}  // namespace
