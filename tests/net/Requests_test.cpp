// Requests as they go on the wire: the command table, the envelope, every filler and the three
// order-line encodings, compared on the parsed document (names, order, values) and, where the
// bytes matter, on the serialised text.

#include <memory>
#include <utility>
#include <vector>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/NSTcpPacket.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
using backoffice::BackOfficeSim;

// The request as the server parses it.
std::shared_ptr<GDataXMLElement> parsedData(const NSTcpPacket& packet) {
    if (!packet.document()) return nullptr;
    auto text = packet.document()->XMLData();
    auto doc = GDataXMLDocument::initWithDataOptionsError(text.value_or(""), 0, nullptr);
    return doc ? firstElement(doc->rootElement(), "data") : nullptr;
}

// Child elements as name and text, in order.
Pairs children(const std::shared_ptr<GDataXMLElement>& element) {
    Pairs out;
    if (!element) return out;
    for (auto& child : element->children())
        if (child->isElement()) out.emplace_back(child->name(), child->stringValue().value_or(""));
    return out;
}

Pairs attributes(const std::shared_ptr<GDataXMLNode>& node) {
    Pairs out;
    auto element = std::dynamic_pointer_cast<GDataXMLElement>(node);
    if (!element) return out;
    for (auto& a : element->attributes()) out.emplace_back(a->name(), a->stringValue().value_or(""));
    return out;
}

std::vector<std::shared_ptr<GDataXMLElement>> elements(const std::shared_ptr<GDataXMLElement>& parent) {
    std::vector<std::shared_ptr<GDataXMLElement>> out;
    if (!parent) return out;
    for (auto& child : parent->children())
        if (auto e = std::dynamic_pointer_cast<GDataXMLElement>(child)) out.push_back(e);
    return out;
}

std::shared_ptr<NSDishClass> line(int state, const std::string& xfmx, const std::string& caip, float qty) {
    auto l = std::make_shared<NSDishClass>();
    l->m_iState = state;
    l->m_strXfmxID = xfmx;
    l->setM_strCaipID(caip);
    l->m_fQuantity = qty;
    l->m_strPrice = "10";
    l->m_iPrice = 0;
    return l;
}

class RequestsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        NSServer::setMacAdr("KEY-9");
        NSServer::setJtNO(std::string("0"));
        auto user = std::make_shared<NSUserClass>();
        user->m_strUserID = "0001";
        user->m_strPassword = "123";
        user->m_iDishCount = 7;
        NSServer::setNowUser(user);
        desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = "A01";
        desk->m_strDeskName = "大厅一";
        desk->m_strConsumeID = "B77";
        desk->m_strWaiterID = "0002";
        desk->m_strDeskState = "6";
        desk->m_iClientNum = 4;
    }
    std::shared_ptr<NSDeskClass> desk;
};

TEST_F(RequestsTest, EveryCommandHasItsEnvelopeAndFieldsInOrder) {
    struct Case { int code; const char* word; std::vector<std::string> fields; } cases[] = {
        {NSTcpPacket::kQuery, "query", {"table"}},
        {NSTcpPacket::kTreeData, "treedata", {"waiterid", "deskid", "consumeid", "param1", "param2"}},
        {NSTcpPacket::kGetFile, "getfile", {"waiterid", "deskid", "consumeid", "param1", "param2"}},
        {NSTcpPacket::kDeskState, "deskstate", {"spaceid", "deskid"}},
        {NSTcpPacket::kOpenDesk, "opendesk", {"type", "desk"}},
        {NSTcpPacket::kAddDish, "adddish", {"deskid", "rens", "waiterid", "consumeid", "detail"}},
        {NSTcpPacket::kHasten, "hasten", {"waiterid", "xiaofmxid", "deskid", "caipid", "type", "msg"}},
        {NSTcpPacket::kDelDish, "deldish", {"deskid", "rens", "waiterid", "consumeid", "detail"}},
        {NSTcpPacket::kUpdateMenu, "updatemenu", {"deskid", "rens", "waiterid", "consumeid"}},
        {NSTcpPacket::kDisconnect, "disconnect", {"param1", "param2"}},
        {NSTcpPacket::kChangeDesk, "changedesk", {"waiterid", "deskid", "consumeid", "tardeskid", "tarconsumeid"}},
        {NSTcpPacket::kClearDesk, "cleardesk", {"waiterid", "deskid", "deskstate", "consumeid"}},
        {NSTcpPacket::kPrintAllDish, "printalldish", {"deskid", "rens", "waiterid", "consumeid", "detail"}},
        {NSTcpPacket::kLogin, "login", {"waiterid", "password", "lostdish", "maxdishid", "clientver"}},
    };
    for (const auto& c : cases) {
        auto packet = NSTcpPacket::initWithType(c.code);
        ASSERT_TRUE(packet->document()) << c.word;
        EXPECT_EQ(packet->type, c.code);
        auto root = packet->document()->rootElement();
        std::string cmd = c.code == NSTcpPacket::kDisconnect ? std::string("disconnect")
                                                            : BackOfficeSim::encipherCommand(c.word, "KEY-9");
        EXPECT_EQ(attributes(root), (Pairs{{"UID", "KEY-9"}, {"dev", "iphone"}, {"cmd", cmd}, {"seq", "0"}, {"dnt", "1"}}))
            << c.word;
        std::vector<std::string> names;
        for (auto& [name, text] : children(parsedData(*packet))) names.push_back(name);
        EXPECT_EQ(names, c.fields) << c.word;
    }
    // Known values of the command cipher under the key "null".
    EXPECT_EQ(NSTcpPacket::encipherCommand("adddish", "null"), "yL2Z2a6q1w==");
    EXPECT_EQ(NSTcpPacket::encipherCommand("check", "null"), "ysGa2LA=");

    // The fixed values, and the table's empty field list.
    EXPECT_EQ(children(parsedData(*NSTcpPacket::initWithType(NSTcpPacket::kOpenDesk))),
              (Pairs{{"type", "1"}, {"desk", ""}}));
    auto query = NSTcpPacket::initWithType(NSTcpPacket::kQuery);
    EXPECT_EQ(attributes(query->dataField("table")), (Pairs{{"field", ""}}));

    for (int unknown : {0, NSTcpPacket::kCustom, 800015, 820002}) {
        auto packet = NSTcpPacket::initWithType(unknown);
        EXPECT_FALSE(packet->document()) << unknown;
        EXPECT_EQ(packet->type, 0) << unknown;
        EXPECT_FALSE(packet->sendPacketForNone(true)) << unknown;
    }
}

TEST_F(RequestsTest, TheLoginRequestOnTheWire) {
    NSServer::setIsLongSocket(true);  // read when the packet is built
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kLogin);
    ASSERT_TRUE(packet->setUser(*NSServer::getNowUser()));
    std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane UID=\"KEY-9\" dev=\"iphone\" cmd=\"" +
                           BackOfficeSim::encipherCommand("login", "KEY-9") +
                           "\" seq=\"0\" dnt=\"0\"><data><waiterid>" + BackOfficeSim::encipherField("0001", "0") +
                           "</waiterid><password>" + BackOfficeSim::encipherField("123", "0") +
                           "</password><lostdish/><maxdishid>7</maxdishid><clientver>00-201310241706</clientver>"
                           "</data></morvane>\n";
    packet->document()->setCharacterEncoding("UTF-8");
    EXPECT_EQ(packet->document()->XMLData(), expected);
    EXPECT_EQ(BackOfficeSim::decipherField(packet->dataField("password")->stringValue().value_or(""), "0"), "123");

    packet->reset();
    EXPECT_EQ(children(parsedData(*packet)),
              (Pairs{{"waiterid", ""}, {"password", ""}, {"lostdish", ""}, {"maxdishid", "7"},
                     {"clientver", "00-201310241706"}}));
}

TEST_F(RequestsTest, FillersWriteTheirFieldsAndRefuseOtherCommands) {
    auto target = std::make_shared<NSDeskClass>();
    target->m_strDeskID = "A02";
    target->m_strDeskName = "大厅二";
    target->m_strConsumeID = "B78";
    auto hastened = line(102, "X5", "101", 1);
    NSServer::setNowDesk(desk);

    struct Case {
        const char* name;
        int code;
        std::function<bool(NSTcpPacket&)> fill;
        Pairs fields;
    } cases[] = {
        {"deskstate", NSTcpPacket::kDeskState, [](NSTcpPacket& p) { return p.setAllDeskState(); },
         {{"spaceid", ""}, {"deskid", "0"}}},
        {"updatemenu: the desk's own waiter", NSTcpPacket::kUpdateMenu, [&](NSTcpPacket& p) { return p.setUpdateMenu(*desk); },
         {{"deskid", "A01"}, {"rens", "4"}, {"waiterid", "0002"}, {"consumeid", "B77"}}},
        {"cleardesk: the logged-in waiter", NSTcpPacket::kClearDesk, [&](NSTcpPacket& p) { return p.setClearDesk(*desk); },
         {{"waiterid", "0001"}, {"deskid", "A01"}, {"deskstate", "6"}, {"consumeid", "B77"}}},
        {"changedesk", NSTcpPacket::kChangeDesk, [&](NSTcpPacket& p) { return p.setChangeDesk(*desk, *target); },
         {{"waiterid", "0001"}, {"deskid", "A01"}, {"consumeid", "B77"}, {"tardeskid", "A02"}, {"tarconsumeid", "B78"}}},
        {"hasten: the current desk", NSTcpPacket::kHasten,
         [&](NSTcpPacket& p) { return p.setHasten(*hastened, "0009", "2", "划菜"); },
         {{"waiterid", "0009"}, {"xiaofmxid", "X5"}, {"deskid", "A01"}, {"caipid", "101"}, {"type", "2"}, {"msg", "划菜"}}},
        {"opendesk", NSTcpPacket::kOpenDesk, [&](NSTcpPacket& p) { return p.setOpenDesk(*desk); },
         {{"type", "1"}, {"desk", "A0140001"}}},
    };
    for (const auto& c : cases) {
        auto packet = NSTcpPacket::initWithType(c.code);
        ASSERT_TRUE(c.fill(*packet)) << c.name;
        EXPECT_EQ(children(parsedData(*packet)), c.fields) << c.name;

        // Any other command refuses the filler and stays as built.
        auto other = NSTcpPacket::initWithType(c.code == NSTcpPacket::kQuery ? NSTcpPacket::kLogin : NSTcpPacket::kQuery);
        auto before = other->document()->XMLData();
        EXPECT_FALSE(c.fill(*other)) << c.name;
        EXPECT_EQ(other->document()->XMLData(), before) << c.name;
    }
    auto change = NSTcpPacket::initWithType(NSTcpPacket::kChangeDesk);
    change->setChangeDesk(*desk, *target);
    EXPECT_EQ(attributes(change->dataField("deskid")), (Pairs{{"name", "大厅一"}}));
    EXPECT_EQ(attributes(change->dataField("tardeskid")), (Pairs{{"name", "大厅二"}}));
    auto open = NSTcpPacket::initWithType(NSTcpPacket::kOpenDesk);
    open->setOpenDesk(*desk);
    EXPECT_EQ(children(open->dataField("desk")), (Pairs{{"deskid", "A01"}, {"rens", "4"}, {"waiterid", "0001"}}));

    auto custom = NSTcpPacket::initWithCustom("modifyqty", "X5", "2.5");
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kTreeData)->SetCustom("u", "d", "b"));
    ASSERT_TRUE(custom->SetCustom("0001", "A01", "B77"));
    ASSERT_TRUE(custom->addElement("param3", "x"));
    EXPECT_EQ(children(parsedData(*custom)), (Pairs{{"waiterid", "0001"}, {"deskid", "A01"}, {"consumeid", "B77"},
                                                    {"param1", "X5"}, {"param2", "2.5"}, {"param3", "x"}}));
    EXPECT_EQ(attributes(custom->document()->rootElement())[2].second,
              BackOfficeSim::encipherCommand("modifyqty", "KEY-9"));
}

TEST_F(RequestsTest, TextsTravelLiterally) {
    const std::string tricky = "a&amp;b <c> & \"d\" &#x41; 红";
    auto packet = NSTcpPacket::initWithCustom("call", tricky, "");
    packet->addElement("param3", tricky);
    auto l = line(102, "", "101", 1);
    l->m_strRemark = tricky;
    desk->m_DishList = {l};
    auto add = NSTcpPacket::initWithType(NSTcpPacket::kAddDish);
    ASSERT_TRUE(add->setAddDish(*desk));
    auto data = parsedData(*packet);
    EXPECT_EQ(elementText(data, "param1"), tricky);
    EXPECT_EQ(elementText(data, "param3"), tricky);
    EXPECT_EQ(attributeText(firstElement(firstElement(parsedData(*add), "detail"), "row"), "dishremark"), tricky);
}

// Requests are written straight from their fields; the bytes must be the document's to the letter.
TEST_F(RequestsTest, TheWrittenRequestIsTheDocumentToTheLetter) {
    auto documentBytes = [](const NSTcpPacket& packet) {
        auto doc = packet.document();
        doc->setCharacterEncoding("UTF-8");
        return doc->XMLData().value_or("");
    };
    std::vector<std::shared_ptr<NSTcpPacket>> packets;
    for (int code : {NSTcpPacket::kQuery, NSTcpPacket::kTreeData, NSTcpPacket::kGetFile, NSTcpPacket::kDeskState,
                     NSTcpPacket::kOpenDesk, NSTcpPacket::kHasten, NSTcpPacket::kUpdateMenu,
                     NSTcpPacket::kDisconnect, NSTcpPacket::kChangeDesk, NSTcpPacket::kClearDesk,
                     NSTcpPacket::kLogin})
        packets.push_back(NSTcpPacket::initWithType(code));
    const std::string tricky = "a&amp;b <c> & \"d\" 'e' \t\n\r &#x41; 红烧 ";
    auto custom = NSTcpPacket::initWithCustom("call", tricky, "");
    custom->addElement("param3", tricky);
    packets.push_back(custom);
    auto l = line(102, "S&1", "101", 1.5f);
    l->m_strRemark = tricky;
    l->m_bisSet = true;
    desk->m_DishList = {l, line(102, "", "102", 2)};
    auto add = NSTcpPacket::initWithType(NSTcpPacket::kAddDish);
    ASSERT_TRUE(add->setAddDish(*desk));
    packets.push_back(add);
    for (const auto& packet : packets) {
        auto direct = packet->directText();
        ASSERT_TRUE(direct);
        EXPECT_EQ(*direct, documentBytes(*packet));
    }

    // Texts the direct writer leaves to the library: control characters, bytes that are not UTF-8.
    for (std::string odd : {std::string("a\x01b"), std::string("\xff\xfe")}) {
        auto packet = NSTcpPacket::initWithCustom("call", odd, "");
        EXPECT_FALSE(packet->directText());
    }
}

TEST_F(RequestsTest, AddDishRowsCarryTheirAttributesInOrder) {
    auto sentHead = line(102, "S1", "101", 1);
    sentHead->m_bisSet = true;
    sentHead->m_struid = "5";
    sentHead->m_strUnits = "份";
    auto member = line(102, "", "102", 1);
    member->m_bisExp = true;
    member->m_parentpos = 0;
    member->m_bAddOn = true;
    auto newHead = line(102, "", "103", 2);
    newHead->m_bisSet = true;
    auto newMember = line(102, "", "104", 1);
    newMember->m_bisExp = true;
    newMember->m_parentpos = 2;
    auto lostMember = line(102, "", "105", 1);
    lostMember->m_bisExp = true;
    lostMember->m_parentpos = 9;
    auto large = line(102, "", "106", 1.5f);
    large->m_strUnits = "大";
    large->m_fQuantity2 = 1.25f;
    large->m_iVarQty = 1;
    large->m_fPrice2 = 2.5f;
    large->m_fPrice3 = 1;
    large->m_KouwArray = {"3", "5"};
    large->m_strRemark = "少辣";
    large->m_iType = 2;
    auto zero = line(102, "", "107", 0);
    zero->m_fQuantity2 = 100;
    zero->m_iPrice = 1;
    zero->m_strPrice = "18";
    auto unsent = line(101, "", "108", 1);
    auto ret = line(102, "", "109", -1);
    desk->m_DishList = {sentHead, member, newHead, newMember, lostMember, large, zero, unsent, ret};

    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kAddDish);
    ASSERT_TRUE(packet->setAddDish(*desk));
    auto data = parsedData(*packet);
    EXPECT_EQ(elementText(data, "deskid"), "A01");
    EXPECT_EQ(elementText(data, "rens"), "4");
    EXPECT_EQ(elementText(data, "waiterid"), "0001");  // the logged-in waiter
    EXPECT_EQ(elementText(data, "consumeid"), "B77");
    auto rows = elements(firstElement(data, "detail"));
    auto plain = [](const char* gds, const char* qty, const char* price) {
        return Pairs{{"uid", ""}, {"gds", gds}, {"qty", qty}, {"tasteid", ""}, {"taste", ""}, {"dishremark", ""},
                     {"chucfs", "0"}, {"price", price}, {"danw", ""}};
    };
    auto with = [](Pairs head, Pairs tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    Pairs expected[] = {
        {{"Set", "1"}, {"uid", "5"}, {"gds", "101"}, {"qty", "1"}, {"tasteid", ""}, {"taste", ""}, {"dishremark", ""},
         {"chucfs", "0"}, {"price", "-1"}, {"danw", "份"}},
        with({{"AddOn", "1"}, {"Exp", "S1"}}, plain("102", "1", "10")),
        with({{"Set", "1"}}, plain("103", "2", "-1")),
        with({{"Exp", "1"}}, plain("104", "1", "10")),  // the head is not sent yet
        plain("105", "1", "10"),                        // a group member without a head in the list
        {{"uid", ""}, {"gds", "106"}, {"qty", "1.5"}, {"VarQty", "1"}, {"tasteid", "3,5"},
         {"taste", large->GetKouwShulString()}, {"dishremark", "少辣"}, {"chucfs", "2"}, {"price", "10"},
         {"qty2", "1.2"}, {"danw", "大"}, {"addamt", "3.5"}},
        {{"uid", ""}, {"gds", "107"}, {"qty", "0"}, {"tasteid", ""}, {"taste", ""}, {"dishremark", ""},
         {"chucfs", "0"}, {"price", "18"}, {"qty2", "1e+02"}, {"danw", ""}},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(attributes(rows[i]), expected[i]) << "row " << i;
    EXPECT_EQ(rows[0]->stringValue(), "S1");
    EXPECT_EQ(rows[1]->stringValue(), "");

    // Nothing to add: no request. Unsent lines alone still make one, with an empty detail.
    desk->m_DishList = {ret};
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kAddDish)->setAddDish(*desk));
    desk->m_DishList = {unsent};
    auto onlyUnsent = NSTcpPacket::initWithType(NSTcpPacket::kAddDish);
    EXPECT_TRUE(onlyUnsent->setAddDish(*desk));
    EXPECT_TRUE(elements(firstElement(parsedData(*onlyUnsent), "detail")).empty());

    // reset empties the desk fields and drops the rows.
    packet->reset();
    EXPECT_EQ(children(parsedData(*packet)),
              (Pairs{{"deskid", ""}, {"rens", ""}, {"waiterid", ""}, {"consumeid", ""}, {"detail", ""}}));
}

TEST_F(RequestsTest, ReturnAndBillLinesSendOnlyAnEnteredPrice) {
    auto big = line(102, "X1", "101", -1);
    big->m_strUnits = "大";
    big->m_struid = "3";
    big->m_KouwArray = {"7"};
    big->m_strRemark = "R2";
    auto zero = line(102, "X2", "102", 0);
    zero->m_iPrice = 1;
    zero->m_strPrice = "18";
    auto added = line(102, "X3", "103", 2);
    auto sent = line(1, "X4", "104", 1);
    desk->m_DishList = {big, zero, added, sent};

    auto xiaofmx = [](const std::shared_ptr<GDataXMLElement>& detail) {
        std::vector<Pairs> out;
        for (auto& e : elements(detail)) out.push_back(children(e));
        return out;
    };
    auto del = NSTcpPacket::initWithType(NSTcpPacket::kDelDish);
    ASSERT_TRUE(del->setDelDish(*desk));
    auto lines = xiaofmx(firstElement(parsedData(*del), "detail"));
    ASSERT_EQ(lines.size(), 2u);  // quantity 0 or below, being sent
    EXPECT_EQ(lines[0], (Pairs{{"xiaofmxid", "X1"}, {"uid", "3"}, {"dishid", "101"}, {"qty", "-1"}, {"tasteid", "7"},
                               {"dishremark", "R2"}, {"chucfs", "0"}, {"price", "-1"}}));
    EXPECT_EQ(lines[1].back(), (std::pair<std::string, std::string>{"price", "18"}));

    auto print = NSTcpPacket::initWithType(NSTcpPacket::kPrintAllDish);
    ASSERT_TRUE(print->SetPrintAllDish(*desk));
    auto all = xiaofmx(firstElement(parsedData(*print), "detail"));
    ASSERT_EQ(all.size(), 4u);  // every line
    EXPECT_EQ(all[3][0].second, "X4");
    EXPECT_EQ(elementText(parsedData(*print), "waiterid"), "0001");
}

TEST_F(RequestsTest, AReservationIsSentBackInItsOwnAttributes) {
    NSYuDingClass reservation;
    reservation.clientNum = 6;
    for (const char* id : {"A01", "A02"}) {
        auto d = std::make_shared<NSDeskClass>();
        d->m_strDeskID = id;
        d->m_strWaiterID = "0001";
        reservation.m_DeskList.push_back(d);
    }
    auto head = line(101, "", "201", 1);
    head->m_struid = "201";
    head->m_bisSet = true;
    head->m_strZuofShul = "1,2";
    auto item = line(101, "", "202", 2.5f);
    item->m_struid = "202";
    item->m_bisExp = true;
    item->m_iType = 3;
    item->m_iVarQty = 1;
    reservation.m_DishList = {head, item};

    auto packet = NSTcpPacket::initWithCustom("yudopen", "B77", "A01");
    ASSERT_TRUE(packet->setYuDing(reservation));
    auto data = parsedData(*packet);
    auto desks = elements(firstElement(data, "desk"));
    ASSERT_EQ(desks.size(), 2u);
    EXPECT_EQ(attributes(desks[1]), (Pairs{{"rens", "6"}, {"usr", "0001"}}));
    EXPECT_EQ(desks[1]->stringValue(), "A02");
    auto dishes = elements(firstElement(data, "caip"));
    ASSERT_EQ(dishes.size(), 2u);
    EXPECT_EQ(attributes(dishes[0]),
              (Pairs{{"gds", "201"}, {"qty", "1"}, {"fs", "0"}, {"kw", "1,2"}, {"var", "0"}, {"Set", "1"}}));
    EXPECT_EQ(attributes(dishes[1]),
              (Pairs{{"gds", "202"}, {"qty", "2.5"}, {"fs", "3"}, {"kw", ""}, {"var", "1"}, {"Exp", "1"}}));
    EXPECT_EQ(dishes[1]->stringValue(), "202");
    std::vector<std::string> order;
    for (auto& [name, text] : children(data)) order.push_back(name);
    EXPECT_EQ(order, (std::vector<std::string>{"waiterid", "deskid", "consumeid", "param1", "param2", "desk", "caip"}));
}

TEST_F(RequestsTest, OneQueryPacketServesEveryTable) {
    auto query = NSTcpPacket::initWithType(NSTcpPacket::kQuery);
    ASSERT_TRUE(query->setTableName("caip"));
    for (const char* f : {"id", "name", "price"}) ASSERT_TRUE(query->addFieldName(f));
    auto table = firstElement(parsedData(*query), "table");
    EXPECT_EQ(table->stringValue(), "caip");
    EXPECT_EQ(attributes(table), (Pairs{{"field", "id,name,price"}}));

    query->sendMessage = "old";
    query->receiveMessage = "old";
    query->reset();
    EXPECT_FALSE(query->sendMessage);
    EXPECT_FALSE(query->receiveMessage);
    table = firstElement(parsedData(*query), "table");
    EXPECT_EQ(table->stringValue(), "");
    EXPECT_EQ(attributes(table), (Pairs{{"field", ""}}));
    query->setTableName("zuot");
    query->addFieldName("id");
    EXPECT_EQ(attributes(firstElement(parsedData(*query), "table")), (Pairs{{"field", "id"}}));
}

}  // namespace
