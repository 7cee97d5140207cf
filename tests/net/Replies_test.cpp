// Reading the back-office server's replies into the data model: desk lines with their groups,
// the sold-out list, the login answer with the link options, opened desks, reservations, lists
// and tables. The forms run against the simulator where the exchange matters.

#include <memory>

#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "core/NSEncDec.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpPacket.h"
#include "net/RootServices.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Network.h"

namespace {

using backoffice::BackOfficeSim;

std::string reply(const std::string& inner) { return BackOfficeSim::reply(inner); }

std::shared_ptr<NSDishClass> unsent(const std::string& xfmx, const std::string& caip) {
    auto l = std::make_shared<NSDishClass>();
    l->m_strXfmxID = xfmx;
    l->setM_strCaipID(caip);
    return l;
}

class RepliesTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        auto db = std::make_shared<NSCaipDBClass>();
        for (auto [id, name] : {std::pair{"101", "红烧肉"}, std::pair{"102", "米饭"}}) {
            auto dish = std::make_shared<NSCaipClass>();
            dish->m_strID = std::make_shared<const std::string>(id);
            dish->m_strName = name;
            dish->m_strPrice = "38";
            db->m_CaipArray.push_back(dish);
        }
        db->m_SellOut = std::make_shared<NSATreeClass>();
        db->m_SellOut->AddItem("999", "old", "0");
        NSServer::setCaipDB(db);
        desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = "A01";
    }
    NSATreeClass& sellOut() { return *NSServer::getCaipDB()->m_SellOut; }
    std::vector<int> parents() const {
        std::vector<int> out;
        for (auto& l : desk->m_DishList) out.push_back(l->m_parentpos);
        return out;
    }
    std::shared_ptr<NSDeskClass> desk;
};

// Rows plain A, head B, member C, member D, plain E.
const std::string kGroupRows =
    "<row id=\"A\" gds=\"101\" qty=\"1\" stat=\"1\"/>"
    "<row id=\"B\" gds=\"102\" qty=\"1\" stat=\"1\" Set=\"1\"/>"
    "<row id=\"C\" gds=\"101\" qty=\"1\" stat=\"1\" Exp=\"1\"/>"
    "<row id=\"D\" gds=\"101\" qty=\"1\" stat=\"1\" Exp=\"1\"/>"
    "<row id=\"E\" gds=\"102\" qty=\"1\" stat=\"1\"/>";

TEST_F(RepliesTest, DeskLinesReplaceTheSentLinesAfterTheUnsentOnes) {
    for (bool detail : {false, true}) {
        SCOPED_TRACE(detail ? "deskdetail" : "updatemenu");
        auto keep1 = unsent("", "101"), keep2 = unsent("", "102");
        auto sending = unsent("", "101");
        sending->m_iState = NSDishClass::kSending;
        auto sent = unsent("OLD", "101");
        sent->m_iState = 1;
        desk->m_DishList = {keep1, sending, sent, keep2};
        std::string text = reply("<desk rens=\"5\" bill=\"B9\" state=\"6\" waiter=\"0002\" time=\"12:00\">A01</desk>" +
                                 kGroupRows + "<sellout/>");
        ASSERT_TRUE(detail ? NSTcpPacket::readDeskDetail(text, *desk) : NSTcpPacket::readUpdateMenu(text, *desk));
        ASSERT_EQ(desk->m_DishList.size(), 7u);
        EXPECT_EQ(desk->m_DishList[0], keep1);
        EXPECT_EQ(desk->m_DishList[1], keep2);
        EXPECT_EQ(parents(), (std::vector<int>{-1, -1, 2, 3, 3, 3, 6}));
        EXPECT_EQ(desk->m_iClientNum, 5);
        EXPECT_EQ(desk->m_strConsumeID, "B9");
        EXPECT_EQ(desk->m_strWaiterID, detail ? "0002" : "");
        EXPECT_EQ(desk->m_strBeginTime, detail ? "12:00" : "");
        EXPECT_EQ(desk->GetUpdate(), detail);
        // The lines of one reply share one dish-id text per dish.
        EXPECT_TRUE(desk->m_DishList[2]->sharesCaipID(*desk->m_DishList[4]));
        EXPECT_FALSE(desk->m_DishList[2]->sharesCaipID(*keep1));
        EXPECT_EQ(sellOut().m_length, 1);  // emptied, and the reply's list is empty
        desk->m_strWaiterID.clear();
        desk->m_strBeginTime.clear();
        desk->SetUpdate(false);
    }
}

TEST_F(RepliesTest, ALineRowIsReadFieldByField) {
    std::string text = reply(
        "<desk>A01</desk>"
        "<row id=\"X1\" gds=\"101\" qty=\"2.5\" qty2=\"1.5\" dw=\"大\" prc=\"38\" kw=\"3,,5,3\" stat=\"7\" fs=\"2\" "
        "time=\"11:30\" usr=\"0002\" cz=\"0003\" Var=\"1\" AddOn=\"1\" pf=\"少盐\" pare=\"\"/>"
        "<row id=\"X2\" gds=\"102\" qty=\"x\" fs=\"\" qty2=\"\" Set=\"2\" pare=\"X1\"/>");
    ASSERT_TRUE(NSTcpPacket::readDeskDetail(text, *desk));
    ASSERT_EQ(desk->m_DishList.size(), 2u);
    const auto& a = *desk->m_DishList[0];
    EXPECT_EQ(a.m_strXfmxID, "X1");
    EXPECT_EQ(a.caipID(), "101");
    EXPECT_FLOAT_EQ(a.m_fQuantity, 2.5f);
    EXPECT_FLOAT_EQ(a.m_fQuantity2, 1.5f);
    EXPECT_EQ(a.m_strUnits, "大");
    EXPECT_EQ(a.m_strPrice, "38");
    EXPECT_EQ(a.m_KouwArray, (std::vector<std::string>{"3", "5", "3"}));
    EXPECT_EQ(a.m_iState, 7);
    EXPECT_EQ(a.m_iType, 2);
    EXPECT_EQ(a.m_strTime, "11:30");
    EXPECT_EQ(a.m_strWaiterID, "0002");
    EXPECT_EQ(a.m_strUserID, "0003");
    EXPECT_EQ(a.m_iVarQty, 1);
    EXPECT_TRUE(a.m_bAddOn);
    EXPECT_FALSE(a.m_bisSet);
    EXPECT_FALSE(a.m_bisExp);  // an empty pare makes no group member
    EXPECT_EQ(a.m_strRemark, "少盐");
    const auto& b = *desk->m_DishList[1];
    EXPECT_FLOAT_EQ(b.m_fQuantity, 0);
    EXPECT_EQ(b.m_iType, 0);
    EXPECT_FLOAT_EQ(b.m_fQuantity2, 0);
    EXPECT_FALSE(b.m_bisSet);  // only "1" is yes
    EXPECT_TRUE(b.m_bisExp);
    EXPECT_EQ(b.m_parentpos, 0);

    // "updatemenu" has no remark.
    desk->m_DishList.clear();
    ASSERT_TRUE(NSTcpPacket::readUpdateMenu(text, *desk));
    EXPECT_EQ(desk->m_DishList[0]->m_strRemark, "");
}

TEST_F(RepliesTest, DeskDetailFindsAGroupHeadByItsServerLineID) {
    auto keep = unsent("K", "101");
    desk->m_DishList = {keep};
    std::string text = reply(
        "<desk state=\"6\">A01</desk>"
        "<row id=\"H1\" gds=\"101\" Set=\"1\"/>"
        "<row id=\"H2\" gds=\"101\" Set=\"1\"/>"
        "<row id=\"M1\" gds=\"101\" Exp=\"1\" pare=\"H1\"/>"   // the head two rows up, past another head
        "<row id=\"M2\" gds=\"101\" Exp=\"1\" pare=\"NONE\"/>" // no such line: by position
        "<row id=\"H1\" gds=\"101\"/>"                          // a second line with that id
        "<row id=\"M3\" gds=\"101\" Exp=\"1\" pare=\"H1\"/>"   // the later one wins
        "<row id=\"M4\" gds=\"101\" Exp=\"1\" pare=\"K\"/>");  // a kept unsent line
    ASSERT_TRUE(NSTcpPacket::readDeskDetail(text, *desk));
    EXPECT_EQ(parents(), (std::vector<int>{-1, 1, 2, 1, 2, 5, 5, 0}));

    // "updatemenu" keeps to positions.
    desk->m_DishList = {keep};
    ASSERT_TRUE(NSTcpPacket::readUpdateMenu(text, *desk));
    EXPECT_EQ(parents(), (std::vector<int>{-1, 1, 2, 2, 2, 5, 5, 5}));
}

TEST_F(RepliesTest, AReplyForAnotherDeskOrAFreeDesk) {
    auto keep = unsent("", "101");
    auto sent = unsent("S", "101");
    sent->m_iState = 1;
    desk->m_DishList = {keep, sent};
    desk->m_iClientNum = 3;
    const std::string sellout = "<sellout><gds qty=\"0\">101</gds></sellout>";
    for (const std::string& deskPart : {std::string("<desk rens=\"9\">B02</desk>"), std::string()}) {
        std::string text = reply(deskPart + kGroupRows + sellout);
        // updatemenu: the desk stays, the sold-out list is refilled, YES.
        EXPECT_TRUE(NSTcpPacket::readUpdateMenu(text, *desk));
        EXPECT_EQ(desk->m_DishList.size(), 2u);
        EXPECT_EQ(desk->m_iClientNum, 3);
        EXPECT_EQ(sellOut().m_length, 2);
        // deskdetail: NO, nothing touched.
        sellOut().RemoveAll();
        EXPECT_FALSE(NSTcpPacket::readDeskDetail(text, *desk));
        EXPECT_EQ(desk->m_DishList.size(), 2u);
        EXPECT_EQ(sellOut().m_length, 1);
    }
    // A free desk: the state only.
    sellOut().AddItem("999", "old", "0");
    EXPECT_TRUE(NSTcpPacket::readDeskDetail(reply("<desk state=\"1\" rens=\"8\">A01</desk>" + kGroupRows + sellout), *desk));
    EXPECT_EQ(desk->m_strDeskState, "1");
    EXPECT_EQ(desk->m_iClientNum, 3);
    EXPECT_EQ(desk->m_DishList.size(), 2u);
    EXPECT_EQ(sellOut().m_code.at(1), "999");
}

TEST_F(RepliesTest, TheSoldOutListIsRebuiltFromTheReply) {
    std::string text = reply(
        "<desk>A01</desk><sellout>"
        "<gds qty=\"0\">101</gds>"
        "<gds qty=\"3\" txt=\"1\" reason=\"估清\" unit2=\"1\">102</gds>"
        "<gds qty=\"0\" unit2=\"2\">555</gds>"
        "</sellout>");
    ASSERT_TRUE(NSTcpPacket::readUpdateMenu(text, *desk));
    NSATreeClass& s = sellOut();
    ASSERT_EQ(s.m_length, 4);
    EXPECT_EQ(s.m_code[1], "101");
    EXPECT_EQ(s.m_name[1], "红烧肉");
    EXPECT_EQ(s.m_state[1], "0");
    EXPECT_EQ(s.m_name[2], "米饭-估清");
    EXPECT_EQ(s.m_state[2], "3");
    EXPECT_EQ(s.m_name[3], "");  // a dish the menu lacks is still listed
    EXPECT_EQ((std::vector<int>{s.m_uint[1], s.m_uint[2], s.m_uint[3]}), (std::vector<int>{0, 1, 0}));
}

TEST_F(RepliesTest, TheLoginAnswerSetsTheCounterFactorsAndLinkOptions) {
    NSServer::setJtNO(std::string("12"));
    NSServer::setOutTime(20);
    auto user = std::make_shared<NSUserClass>();
    user->m_strUserID = "0001";
    user->m_iDishCount = 10;
    std::string echoed = BackOfficeSim::encipherField("0001", "12");
    auto login = [&](const std::string& inner) {
        int code = -7;
        bool ok = NSTcpPacket::readLogin(reply("<waiterid>" + echoed + "</waiterid>" + inner), &code, *user);
        return std::pair{ok, code};
    };

    struct Case { const char* opt; bool sendClose, longSocket; } cases[] = {
        {"", false, false},
        {"<opt SendClose=\"1\" LongSocket=\"2\"/>", true, true},
        {"<opt LongSocket=\"256\" SendClose=\"257\"/>", true, false},
        {"<opt/>", false, false},
    };
    for (const auto& c : cases) {
        NSServer::setIsSendClose(!c.sendClose);
        NSServer::setIsLongSocket(!c.longSocket);
        ASSERT_TRUE(login(std::string("<code>3</code>") + c.opt).first) << c.opt;
        EXPECT_EQ(NSServer::isSendClose(), c.sendClose) << c.opt;
        EXPECT_EQ(NSServer::isLongSocket(), c.longSocket) << c.opt;
    }

    auto [ok, code] = login("<code>2</code><dishcount>40</dishcount><ScaleLarge>1.5</ScaleLarge>");
    ASSERT_TRUE(ok);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(user->m_iDishCount, 40);
    EXPECT_FLOAT_EQ(NSServer::getFMIDSTYLE(), 0);
    EXPECT_FLOAT_EQ(NSServer::getFBIGSTYLE(), 1.5f);
    auto ini = platform::fs::readAll(dataFile("Kovra.ini")).value_or("");
    EXPECT_NE(ini.find("<FMIDSTYLE>0.000000</FMIDSTYLE>"), std::string::npos) << ini;
    EXPECT_NE(ini.find("<isLongSocket>0</isLongSocket>"), std::string::npos) << ini;
    login("<dishcount>39</dishcount>");
    EXPECT_EQ(user->m_iDishCount, 40);  // never goes back

    // Another user's echo (or none) changes nothing.
    NSServer::setFBIGSTYLE(9);
    echoed = BackOfficeSim::encipherField("0002", "12");
    auto refused = login("<code>0</code><dishcount>99</dishcount>");
    EXPECT_FALSE(refused.first);
    EXPECT_EQ(refused.second, -7);
    EXPECT_EQ(user->m_iDishCount, 40);
    EXPECT_FLOAT_EQ(NSServer::getFBIGSTYLE(), 9);
    echoed = "not base64!";
    EXPECT_FALSE(login("<code>0</code>").first);
}

TEST_F(RepliesTest, OpenedDesksAndReservations) {
    struct Case { std::string inner; bool ok, sale; std::string state; } cases[] = {
        {"<deskid>A01</deskid><state>6</state><rens>4</rens><waiter>0002</waiter><consumeid>B1</consumeid>", true, true, "6"},
        {"<deskid>A01</deskid><rens>4</rens><waiter>0002</waiter><consumeid>B1</consumeid>", true, true, ""},
        {"<deskid>A01</deskid><state></state><rens>4</rens><waiter>0002</waiter><consumeid>B1</consumeid>", true, false, ""},
        {"<deskid>A02</deskid><state>6</state><rens>4</rens>", false, false, "old"},
    };
    for (const auto& c : cases) {
        desk->m_bSale = false;
        desk->m_strDeskState = "old";
        desk->m_iClientNum = 0;
        EXPECT_EQ(NSTcpPacket::readOpenDesk(reply(c.inner), *desk), c.ok) << c.inner;
        EXPECT_EQ(desk->m_bSale, c.sale) << c.inner;
        EXPECT_EQ(desk->m_strDeskState, c.state) << c.inner;
        EXPECT_EQ(desk->m_iClientNum, c.ok ? 4 : 0) << c.inner;
        EXPECT_EQ(desk->GetUpdate(), c.ok) << c.inner;
        desk->SetUpdate(false);
    }
    EXPECT_EQ(desk->m_strConsumeID, "B1");

    EXPECT_FALSE(NSTcpPacket::readYudingOpen(reply("<deskid>A09</deskid><rens>2</rens>"), *desk));
    ASSERT_TRUE(NSTcpPacket::readYudingOpen(
        reply("<deskid>A01</deskid><rens>7</rens><waiterid>0005</waiterid><xiaofid>Y1</xiaofid>"), *desk));
    EXPECT_EQ(desk->m_iClientNum, 7);
    EXPECT_EQ(desk->m_strWaiterID, "0005");
    EXPECT_EQ(desk->m_strConsumeID, "Y1");
}

TEST_F(RepliesTest, AReservationTakesItsDesksFromTheDeskTreeAndItsDishesFromTheMenu) {
    auto tree = std::make_shared<NSATreeClass>();
    int hall = tree->AddChild4(0, "", "大厅", "");
    int a = tree->AddChild4(hall, "A01", "一号", "1");
    tree->AddChild4(hall, "A01", "一号副", "1");  // one code on two nodes
    tree->m_str1.resize(static_cast<std::size_t>(tree->m_length));
    tree->m_str1[static_cast<std::size_t>(a)] = "BILL1";
    NSServer::setDesks(tree);
    auto user = std::make_shared<NSUserClass>();
    user->m_strUserID = "0001";
    NSServer::setNowUser(user);

    NSYuDingClass r;
    r.m_DishList.push_back(unsent("", "old"));  // appended to, not emptied
    std::string text = reply(
        "<yud rens=\"6\" dwmc=\"公司\" jcsj=\"18:00\" grmc=\"王\" lxdh=\"138\" ydsj=\"10:00\">Y7</yud><bz>靠窗</bz>"
        "<desk><row rens=\"6\">A01</row><row rens=\"2\">Z99</row></desk>"
        "<caip><row qty=\"2\" kw=\"1,2\" fs=\"3\" Set=\"1\">101</row><row qty=\"1\" pare=\"0\">777</row>"
        "<row qty=\"1\" Exp=\"1\">102</row></caip>");
    ASSERT_TRUE(NSTcpPacket::readYuDingInfo(text, r));
    EXPECT_EQ(r.clientNum, 6);
    EXPECT_EQ(r.CompanyName, "公司");
    EXPECT_EQ(r.DiningTime, "18:00");
    EXPECT_EQ(r.GuestName, "王");
    EXPECT_EQ(r.telephone, "138");
    EXPECT_EQ(r.YuDingTime, "10:00");
    EXPECT_EQ(r.consumeid, "Y7");
    EXPECT_EQ(r.bz, "靠窗");
    ASSERT_EQ(r.m_DeskList.size(), 2u);
    EXPECT_EQ(r.m_DeskList[0]->m_strDeskName, "一号");
    EXPECT_EQ(r.m_DeskList[1]->m_strDeskName, "一号副");
    EXPECT_EQ(r.m_DeskList[0]->m_kongjmc, "大厅");
    EXPECT_EQ(r.m_DeskList[0]->m_strConsumeID, "BILL1");
    EXPECT_EQ(r.m_DeskList[0]->m_strWaiterID, "0001");
    EXPECT_EQ(r.m_DeskList[0]->m_iClientNum, 6);

    ASSERT_EQ(r.m_DishList.size(), 4u);
    const auto& head = *r.m_DishList[1];
    EXPECT_EQ(head.m_strCaipName, "红烧肉");
    EXPECT_FLOAT_EQ(head.m_fQuantity, 2);
    EXPECT_EQ(head.m_strZuofShul, "1,2");
    EXPECT_EQ(head.m_iType, 3);
    EXPECT_EQ(head.m_struid, "101");
    EXPECT_TRUE(head.m_bisSet);
    EXPECT_FALSE(head.m_bisExp);
    EXPECT_EQ(head.m_parentpos, -1);
    const auto& unknown = *r.m_DishList[2];  // not on the menu: still a line
    EXPECT_EQ(unknown.m_strCaipName, "");
    EXPECT_FLOAT_EQ(unknown.m_fQuantity, 1);
    EXPECT_TRUE(unknown.m_bisExp);
    EXPECT_EQ(unknown.m_parentpos, 0);
    EXPECT_TRUE(r.m_DishList[3]->m_bisExp);
    EXPECT_EQ(r.m_DishList[3]->m_parentpos, -1);
}

// The forms with their exchange, against the simulator.
class ReplyFormsTest : public RepliesTest {
protected:
    void SetUp() override {
        RepliesTest::SetUp();
        platform::setWifiForTesting(true);
        sim.setLogging(false);
        ASSERT_TRUE(sim.start(0));
        NSServer::setPort(sim.port());
        NSServer::setIP("127.0.0.1");
        NSServer::setOutTime(1);
        NSServer::setMacAdr("null");
    }
    void TearDown() override {
        NSServer::setTcp(nullptr);
        platform::setWifiForTesting(std::nullopt);
        RepliesTest::TearDown();
    }
    void answer(const std::string& word, const std::string& text) {
        sim.overrideReply(word, [text](const backoffice::ReceivedRequest&) { return std::optional<std::string>(text); });
    }
    BackOfficeSim sim;
};

TEST_F(ReplyFormsTest, FormsReadTheirReplyAndWriteNothingOnFailure) {
    answer("updatemenu", reply("<desk rens=\"3\">A01</desk>" + kGroupRows + "<sellout><gds qty=\"0\">101</gds></sellout>"));
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu);
    packet->setUpdateMenu(*desk);
    ASSERT_TRUE(packet->sendPacketForUpdateMenu(*desk));
    EXPECT_EQ(desk->m_DishList.size(), 5u);
    EXPECT_EQ(desk->m_iClientNum, 3);

    backoffice::Faults faults;
    faults.errorReply = "no";
    sim.setFaults(faults);
    desk->m_DishList.clear();
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForUpdateMenu(*desk));
    EXPECT_TRUE(desk->m_DishList.empty());
    EXPECT_EQ(sellOut().m_length, 2);  // the old list stays
    sim.clearFaults();

    // A table text ends before the first closing tag.
    answer("query", "QUJD\nREVG</morvane>more</morvane>");
    auto query = NSTcpPacket::initWithType(NSTcpPacket::kQuery);
    query->setTableName("caip");
    ASSERT_TRUE(query->sendPacketForRecord());
    EXPECT_EQ(query->receiveMessage, "QUJD\nREVG");

    // A named list is appended to the tree given; its name goes in param1.
    answer("treedata", reply("<row code=\"1\" stat=\"/\">九折</row><row code=\"2\">八折</row>"));
    auto tree = std::make_shared<NSATreeClass>();
    tree->AddItem("0", "kept", "");
    auto list = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
    ASSERT_TRUE(list->sendPacketForTreeData("rebate", tree));
    EXPECT_EQ(sim.requestsFor("treedata").back().field("param1"), "rebate");
    EXPECT_EQ(tree->m_name, (std::vector<std::string>{"", "kept", "九折", "八折"}));
    EXPECT_EQ(tree->m_code[2], "1");
    EXPECT_EQ(tree->m_state[2], "/");
    EXPECT_NE(list->receiveMessage->find("九折"), std::string::npos);
}

}  // namespace
