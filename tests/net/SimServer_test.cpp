// The back-office simulator itself, over raw loopback sockets: the envelope and its cipher, the
// desk state it keeps, and that each fault mode does what tests rely on.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/NSEncDec.h"
#include "platform/foundation/Text.h"
#include "support/EventWait.h"

using backoffice::BackOfficeSim;
using backoffice::Faults;

namespace {

// A bare client: one TCP connection to the simulator.
class Raw {
public:
    explicit Raw(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        error_ = connected_ ? 0 : errno;
    }
    ~Raw() { ::close(fd_); }
    bool connected() const { return connected_; }
    int error() const { return error_; }
    void send(const std::string& bytes) { ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size())); }
    // What one recv gets within the wait: "" on time-out, nothing when the peer closed.
    std::optional<std::string> recvOnce(double seconds) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(seconds * 1000)) <= 0) return std::string();
        char buf[65536];
        ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) return std::nullopt;
        return std::string(buf, static_cast<size_t>(n));
    }
    // Reads until the text holds `until` (or `count` bytes), the peer closes, or the wait ends.
    std::string readUntil(const std::string& until, double seconds = testsupport::kEventWaitSeconds, size_t count = 0) {
        std::string got;
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (!until.empty() && got.find(until) != std::string::npos) break;
            if (count && got.size() >= count) break;
            auto piece = recvOnce(0.05);
            if (!piece) {
                closed_ = true;
                break;
            }
            got += *piece;
        }
        return got;
    }
    bool closed() const { return closed_; }

private:
    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    int error_ = 0;
};

// A request as the terminal writes it.
std::string request(const std::string& word, const std::string& key, const std::string& data, bool longSocket = false) {
    const std::string cmd = word == "disconnect" ? word : BackOfficeSim::encipherCommand(word, key);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane UID=\"" + key + "\" dev=\"iphone\" cmd=\"" + cmd +
           "\" seq=\"0\" dnt=\"" + (longSocket ? "0" : "1") + "\"><data>" + data + "</data></morvane>\n";
}

// The five fields of a custom command (and of "treedata" and "getfile").
std::string fields(const std::string& param1 = "", const std::string& param2 = "", const std::string& waiter = "",
                   const std::string& desk = "", const std::string& bill = "") {
    return "<waiterid>" + waiter + "</waiterid><deskid>" + desk + "</deskid><consumeid>" + bill + "</consumeid><param1>" +
           param1 + "</param1><param2>" + param2 + "</param2>";
}

std::shared_ptr<GDataXMLElement> dataOf(const std::string& reply) {
    auto doc = GDataXMLDocument::initWithDataOptionsError(reply, 0, nullptr);
    return doc ? firstElement(doc->rootElement(), "data") : nullptr;
}

class SimServer : public ::testing::Test {
protected:
    void SetUp() override {
        sim.setLogging(false);
        ASSERT_TRUE(sim.start(0));
    }
    // One exchange on a fresh connection, as outside long-socket mode.
    std::string exchange(const std::string& word, const std::string& data, const std::string& key = "null") {
        Raw c(sim.port());
        EXPECT_TRUE(c.connected());
        c.send(request(word, key, data));
        return c.readUntil("</morvane>");
    }
    BackOfficeSim sim;
};

TEST_F(SimServer, EnrolsADeviceAndServesTablesEncipheredWithItsKey) {
    EXPECT_EQ(BackOfficeSim::encipherCommand("adddish", "null"), "yL2Z2a6q1w==");
    EXPECT_EQ(BackOfficeSim::encipherCommand("check", "null"), "ysGa2LA=");

    sim.setNextDeviceKey("DEVKEY42");
    const std::string sent = request("check", "null", fields("10.0.0.2,"));
    Raw c(sim.port());
    c.send(sent);
    const std::string reply = c.readUntil("</morvane>");
    EXPECT_NE(reply.find("uuid=\"DEVKEY42\""), std::string::npos) << reply;

    auto got = sim.requestsFor("check");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].raw, sent);
    EXPECT_EQ(got[0].uid, "null");
    EXPECT_EQ(got[0].field("param1"), "10.0.0.2,");
    EXPECT_EQ(got[0].dnt, "1");

    // With the key: the table text before the closing tag is Base64 of the document enciphered
    // with that key, and nothing else.
    const std::string table = exchange("query", "<table field=\"cp_id,cp_code,cp_qcode,cp_name,cp_size,cp_unit,cp_price,cp_cate,cp_var,cp_mzuof,cp_azuof\">caip</table>", "DEVKEY42");
    const size_t end = table.find("</morvane>");
    ASSERT_NE(end, std::string::npos);
    auto bytes = NSEncDec().decodeBase64(table.substr(0, end));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(NSEncDec().Encrypt(*bytes, "DEVKEY42"), sim.tableDocument("caip"));
    EXPECT_EQ(sim.requestsFor("query").at(0).command, "query");

    // A word enciphered with another key than the UID names is no command: an error reply.
    Raw wrong(sim.port());
    wrong.send("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane UID=\"DEVKEY42\" dev=\"iphone\" cmd=\"" +
               BackOfficeSim::encipherCommand("deskstate", "null") + "\" seq=\"0\" dnt=\"1\"><data/></morvane>\n");
    const std::string refused = wrong.readUntil("</morvane>");
    EXPECT_NE(refused.find("error"), std::string::npos);
    EXPECT_NE(elementText(dataOf(refused), "describe"), "");
}

TEST_F(SimServer, RefusesRequestsThatDepartFromTheLayout) {
    const std::string cmd = BackOfficeSim::encipherCommand("hasten", "null");
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string hasten = "<waiterid/><xiaofmxid/><deskid/><caipid/><type/><msg/>";
    const std::string row = " uid=\"1\" gds=\"100000\" qty=\"1\" tasteid=\"\" taste=\"\" dishremark=\"\" chucfs=\"0\" price=\"-1\" danw=\"\"";
    const std::string desk = "<deskid>x</deskid><rens>1</rens><waiterid/><consumeid/>";
    struct Case { const char* what; std::string bytes; } cases[] = {
        {"attributes reordered", decl + "<morvane dev=\"iphone\" UID=\"null\" cmd=\"" + cmd + "\" seq=\"0\" dnt=\"1\"><data>" + hasten + "</data></morvane>\n"},
        {"no line break at the end", request("hasten", "null", hasten).substr(0, request("hasten", "null", hasten).size() - 1)},
        {"fields out of order", request("hasten", "null", "<xiaofmxid/><waiterid/><deskid/><caipid/><type/><msg/>")},
        {"a field missing", request("hasten", "null", "<waiterid/><xiaofmxid/><deskid/><caipid/><type/>")},
        {"a table asked for other fields", request("query", "null", "<table field=\"cp_id,cp_name\">caip</table>")},
        {"row attribute out of order", request("adddish", "null", desk + "<detail><row qty=\"1\"" + row.substr(row.find(" tasteid")) + "/></detail>")},
        {"row attribute missing", request("adddish", "null", desk + "<detail><row" + row.substr(0, row.find(" danw")) + "/></detail>")},
        {"enciphered disconnect", request("x", "null", "<param1/><param2/>").replace(request("x", "null", "").find(BackOfficeSim::encipherCommand("x", "null")),
                                                                                 BackOfficeSim::encipherCommand("x", "null").size(),
                                                                                 BackOfficeSim::encipherCommand("disconnect", "null"))},
    };
    for (auto& c : cases) {
        sim.clearRecords();
        Raw r(sim.port());
        r.send(c.bytes);
        const std::string reply = r.readUntil("</morvane>");
        EXPECT_NE(reply.find("error"), std::string::npos) << c.what << "\n" << c.bytes;
        auto got = sim.requests();
        ASSERT_EQ(got.size(), 1u) << c.what;
        EXPECT_NE(got[0].layoutProblem, "") << c.what;
    }
    // The same requests built right pass.
    sim.clearRecords();
    exchange("adddish", desk + "<detail><row Set=\"1\" Exp=\"1\"" + row.substr(0, row.find(" danw")) + " qty2=\"1.2\"" +
                            row.substr(row.find(" danw")) + "/></detail>");
    exchange("hasten", hasten);
    for (auto& r : sim.requests()) EXPECT_EQ(r.layoutProblem, "") << r.command;
}

TEST_F(SimServer, DishPicturesArriveWithTheirHeadEnciphered) {
    auto pictures = sim.files("bmp");
    ASSERT_FALSE(pictures.empty());
    const auto& pic = pictures[0];
    ASSERT_GT(pic.bytes.size(), 1024u);
    Raw c(sim.port());
    c.send(request("getfile", "K1", fields(pic.name, "bmp")));
    const std::string bytes = c.readUntil("", testsupport::kEventWaitSeconds, pic.bytes.size());
    ASSERT_EQ(bytes.size(), pic.bytes.size());
    EXPECT_EQ(NSEncDec().Encrypt(bytes.substr(0, 1024), "K1") + bytes.substr(1024), pic.bytes);
    EXPECT_EQ(pic.bytes.substr(0, 2), "BM");
}

TEST_F(SimServer, KeepsDeskStateAcrossRequests) {
    const std::string k = "null";
    const std::string user = BackOfficeSim::encipherField("0001", "0");
    // Login: the user ID comes back as it went; a wrong password is a non-zero code.
    auto loginData = [&](const std::string& password) {
        return "<waiterid>" + user + "</waiterid><password>" + BackOfficeSim::encipherField(password, "0") +
               "</password><lostdish/><maxdishid>7</maxdishid><clientver>00-201310241706</clientver><openuid>ab</openuid>";
    };
    auto login = dataOf(exchange("login", loginData("123")));
    EXPECT_EQ(elementText(login, "waiterid"), user);
    EXPECT_EQ(elementText(login, "code"), "0");
    EXPECT_EQ(elementText(login, "dishcount"), "7");
    auto bad = dataOf(exchange("login", loginData("999")));
    EXPECT_NE(elementText(bad, "code"), "0");

    std::string a, b;  // two desks of the floor, from the desk table
    {
        auto zuot = GDataXMLDocument::initWithDataOptionsError(sim.tableDocument("zuot"), 0, nullptr);
        auto rows = firstElement(zuot->rootElement(), "data")->elementsForName("record");
        ASSERT_TRUE(rows && rows->size() >= 2);
        a = attributeText((*rows)[0], "f1");
        b = attributeText((*rows)[1], "f1");
    }

    auto opened = dataOf(exchange("opendesk", "<type>1</type><desk><deskid>" + a + "</deskid><rens>4</rens><waiterid>0001</waiterid></desk>"));
    EXPECT_EQ(elementText(opened, "deskid"), a);
    EXPECT_EQ(elementText(opened, "state"), "6");
    const std::string bill = elementText(opened, "consumeid");
    ASSERT_NE(bill, "");
    // Opening it again is refused.
    EXPECT_NE(exchange("opendesk", "<type>1</type><desk><deskid>" + a + "</deskid><rens>4</rens><waiterid>0001</waiterid></desk>").find("error"),
              std::string::npos);

    // A set-meal head and an item whose head is sent in the same request ("Exp" "1").
    const std::string head = "<deskid>" + a + "</deskid><rens>4</rens><waiterid>0001</waiterid><consumeid>" + bill + "</consumeid>";
    exchange("adddish", head + "<detail><row Set=\"1\" uid=\"8\" gds=\"100000\" qty=\"1\" tasteid=\"\" taste=\"\" dishremark=\"\" chucfs=\"0\" price=\"-1\" danw=\"份\"></row>"
                               "<row Exp=\"1\" uid=\"9\" gds=\"100001\" qty=\"2\" tasteid=\"00001,00002\" taste=\"\" dishremark=\"少盐\" chucfs=\"1\" price=\"12\" qty2=\"1.2\" danw=\"例\"></row></detail>");
    auto lines = sim.desk(a)->lines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].parent, lines[0].xfmxID);
    EXPECT_EQ(lines[1].remark, "少盐");

    // Hasten the item, return one of its two, then read the desk back.
    exchange("hasten", "<waiterid>0001</waiterid><xiaofmxid>" + lines[1].xfmxID + "</xiaofmxid><deskid>" + a +
                           "</deskid><caipid>100001</caipid><type>2</type><msg>划菜</msg>");
    exchange("deldish", head + "<detail><xiaofmx><xiaofmxid>" + lines[1].xfmxID +
                            "</xiaofmxid><uid>9</uid><dishid>100001</dishid><qty>-1</qty><tasteid/><dishremark/><chucfs>1</chucfs>"
                            "<price>-1</price></xiaofmx></detail>");
    auto menu = dataOf(exchange("updatemenu", head));
    auto desk = firstElement(menu, "desk");
    EXPECT_EQ(desk->stringValue(), a);
    EXPECT_EQ(attributeText(desk, "bill"), bill);
    EXPECT_EQ(attributeText(desk, "rens"), "4");
    auto rows = menu->elementsForName("row");
    ASSERT_TRUE(rows && rows->size() == 2u);
    auto item = (*rows)[1];
    EXPECT_EQ(attributeText(item, "qty"), "1");
    EXPECT_EQ(attributeText(item, "qty2"), "1.2");
    EXPECT_EQ(attributeText(item, "kw"), "00001,00002");
    EXPECT_EQ(attributeText(item, "stat"), "3");
    EXPECT_EQ(attributeText(item, "pare"), lines[0].xfmxID);
    EXPECT_EQ(attributeText(item, "fs"), "1");
    // A line ordered at the menu's price comes back with that price filled in.
    EXPECT_EQ(attributeText((*rows)[0], "prc"), sim.menuPrice("100000"));
    EXPECT_FALSE(sim.menuPrice("100000").empty());
    EXPECT_TRUE(firstElement(menu, "sellout"));

    // Transfer to a free desk: the bill moves, the old desk is free; the desk states say so.
    exchange("changedesk", "<waiterid>0001</waiterid><deskid name=\"A\">" + a + "</deskid><consumeid>" + bill +
                               "</consumeid><tardeskid name=\"B\">" + b + "</tardeskid><tarconsumeid></tarconsumeid>");
    EXPECT_EQ(sim.desk(a)->state, "1");
    EXPECT_EQ(sim.desk(b)->consumeID, bill);
    EXPECT_EQ(sim.desk(b)->lines.size(), 2u);
    auto states = dataOf(exchange("deskstate", "<spaceid/><deskid>0</deskid>"))->elementsForName("desk");
    ASSERT_TRUE(states);
    for (auto& d : *states) {
        if (attributeText(d, "f1") == a) {
            EXPECT_EQ(attributeText(d, "f2"), "1");
        }
        if (attributeText(d, "f1") == b) {
            EXPECT_EQ(attributeText(d, "f3"), bill);
        }
    }

    // Lines for a closed bill are refused; clearing frees the desk.
    EXPECT_NE(exchange("adddish", head + "<detail/>").find("error"), std::string::npos);
    exchange("cleardesk", "<waiterid>0001</waiterid><deskid>" + b + "</deskid><deskstate>6</deskstate><consumeid>" + bill + "</consumeid>");
    EXPECT_EQ(sim.desk(b)->state, "1");
    EXPECT_TRUE(sim.desk(b)->lines.empty());
}

TEST_F(SimServer, OpensReservationsAndJoinsDesks) {
    backoffice::SimReservation y;
    y.consumeID = "Y9";
    y.guests = 8;
    y.guestName = "李女士";
    y.deskIDs = {"00000004", "00000005"};
    y.dishes = {{"100002", 3, "00001", 1}};
    sim.setReservation(y);
    EXPECT_EQ(sim.desk("00000004")->state, "4");

    auto info = dataOf(exchange("yudinfo", fields("Y9", "00000004", "0001", "00000004", "Y9")));
    EXPECT_EQ(firstElement(info, "yud")->stringValue(), "Y9");
    EXPECT_EQ(attributeText(firstElement(info, "yud"), "grmc"), "李女士");
    auto deskRows = firstElement(info, "desk")->elementsForName("row");
    ASSERT_TRUE(deskRows && deskRows->size() == 2u);
    auto dish = firstElement(firstElement(info, "caip"), "row");
    EXPECT_EQ(dish->stringValue(), "100002");
    EXPECT_EQ(attributeText(dish, "qty"), "3");

    // Opening sends the desks and dishes back; both desks open on the reservation's bill.
    auto opened = dataOf(exchange("yudopen", fields("Y9", "00000004", "0001", "00000004", "Y9") +
                                                 "<desk><row rens=\"8\" usr=\"0001\">00000004</row><row rens=\"8\" usr=\"0001\">00000005</row></desk>"
                                                 "<caip><row gds=\"100002\" qty=\"3\" fs=\"1\" kw=\"00001\" var=\"0\">7</row></caip>"));
    EXPECT_EQ(elementText(opened, "deskid"), "00000004");
    EXPECT_EQ(elementText(opened, "xiaofid"), "Y9");
    EXPECT_EQ(elementText(opened, "rens"), "8");
    EXPECT_EQ(sim.desk("00000005")->state, "6");
    ASSERT_EQ(sim.desk("00000004")->lines.size(), 1u);
    EXPECT_EQ(sim.desk("00000004")->lines[0].caipID, "100002");
    // The rows carry no price: the dishes are booked at the menu's, not given away.
    ASSERT_FALSE(sim.menuPrice("100002").empty());
    EXPECT_EQ(sim.desk("00000004")->lines[0].price, sim.menuPrice("100002"));

    // Guests, a join of a desk with lines, and the bill print.
    exchange("setdeskpeoples", fields("8", "10", "0001", "00000004", "Y9") + "<param3>0002</param3><param4>生日</param4>");
    EXPECT_EQ(sim.desk("00000004")->guests, 10);
    EXPECT_EQ(sim.desk("00000004")->waiter, "0002");
    backoffice::SimDesk other = *sim.desk("00000006");
    other.state = "6";
    other.consumeID = "X77";
    other.lines.push_back(backoffice::SimLine{});
    other.lines.back().xfmxID = "L1";
    sim.setDesk(other);
    // A join names the joined desk and the bill it joins, with the joined desk's own bill.
    exchange("deskunion", fields("00000006", "Y9", "0001", "X76", ""));
    EXPECT_EQ(sim.desk("00000006")->consumeID, "X77") << "a stale bill joins nothing";
    exchange("deskunion", fields("00000006", "Y9", "0001", "X77", ""));
    EXPECT_EQ(sim.desk("00000004")->lines.size(), 2u);
    EXPECT_EQ(sim.desk("00000006")->consumeID, "Y9");
    exchange("print", fields("", "", "0001", "00000004", "Y9"));
    EXPECT_EQ(sim.desk("00000004")->printed, 1);
    for (auto& r : sim.requests()) EXPECT_EQ(r.layoutProblem, "") << r.command;
}

TEST_F(SimServer, LongSocketServesSeveralRequestsOnOneConnectionUntilDisconnect) {
    Raw c(sim.port());
    c.send(request("call", "null", fields(), true));
    EXPECT_NE(c.readUntil("</morvane>").find("</morvane>"), std::string::npos);
    c.send(request("treedata", "null", fields("rebate"), true));
    auto rebates = dataOf(c.readUntil("</morvane>"));
    ASSERT_TRUE(rebates && rebates->elementsForName("row"));
    c.send(request("disconnect", "null", "<param1/><param2/>", true));
    EXPECT_EQ(c.readUntil("</morvane>"), "");
    EXPECT_TRUE(c.closed());
    auto got = sim.requests();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[2].command, "disconnect");
    EXPECT_EQ(got[0].connection, got[2].connection);
    EXPECT_EQ(got[0].dnt, "0");
    EXPECT_EQ(sim.connectionCount(), 1u);
}

TEST_F(SimServer, FaultModesMisbehaveAsAsked) {
    const std::string callData = fields();
    const std::string normal = exchange("call", callData);
    ASSERT_NE(normal.find("</morvane>"), std::string::npos);

    {  // Garbage and error replies take the reply's place.
        Faults f;
        f.garbage = std::string("\x01\x02 not xml");
        sim.setFaults(f);
        Raw c(sim.port());
        c.send(request("call", "null", callData));
        EXPECT_EQ(c.readUntil("\x02 not xml"), "\x01\x02 not xml");
        f = Faults{};
        f.errorReply = "桌台已结账";
        sim.setFaults(f);
        EXPECT_EQ(elementText(dataOf(exchange("call", callData)), "describe"), "桌台已结账");
    }
    {  // Truncated: part of the reply, then silence on an open connection. Closed: then EOF.
        Faults f;
        f.truncateAt = 10;
        sim.setFaults(f);
        Raw c(sim.port());
        c.send(request("call", "null", callData));
        EXPECT_EQ(c.readUntil("", testsupport::kEventWaitSeconds, 10), normal.substr(0, 10));
        EXPECT_EQ(c.readUntil("</morvane>", 0.5), "");
        EXPECT_FALSE(c.closed());
        f = Faults{};
        f.closeAt = 12;
        sim.setFaults(f);
        Raw d(sim.port());
        d.send(request("call", "null", callData));
        EXPECT_EQ(d.readUntil("</morvane>"), normal.substr(0, 12));
        EXPECT_TRUE(d.closed());
    }
    {  // Silence, and a delay.
        Faults f;
        f.silence = true;
        sim.setFaults(f);
        Raw c(sim.port());
        c.send(request("call", "null", callData));
        EXPECT_EQ(c.readUntil("</morvane>", 0.4), "");
        EXPECT_FALSE(c.closed());
        f = Faults{};
        f.delaySeconds = 0.3;
        sim.setFaults(f);
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(exchange("call", callData), normal);
        EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(280));
    }
    {  // Split inside a character: the first piece ends on the lead byte of a UTF-8 sequence.
        // The second waits until the first has been read.
        Faults f;
        f.splitInsideCharacter = true;
        f.splitRestOnRelease = true;
        sim.setFaults(f);
        Raw c(sim.port());
        c.send(request("opendesk", "null", "<type>1</type><desk><deskid>none</deskid><rens>1</rens><waiterid/></desk>"));
        auto first = c.recvOnce(testsupport::kEventWaitSeconds);
        ASSERT_TRUE(first && !first->empty());
        EXPECT_FALSE(platform::isValidUTF8(*first));
        EXPECT_EQ(static_cast<unsigned char>(first->back()) & 0xC0, 0xC0);
        ASSERT_TRUE(sim.releaseSplitRest());
        const std::string whole = *first + c.readUntil("</morvane>");
        EXPECT_TRUE(platform::isValidUTF8(whole));
        EXPECT_NE(whole.find("error"), std::string::npos);
    }
    {  // Only the named command, only so many times.
        Faults f;
        f.errorReply = "x";
        f.onlyCommand = "call";
        f.times = 1;
        sim.setFaults(f);
        EXPECT_NE(exchange("treedata", fields("rebate")).find("<row"), std::string::npos);
        EXPECT_NE(exchange("call", callData).find("error"), std::string::npos);
        EXPECT_EQ(exchange("call", callData), normal);
    }
    {  // Refused connections until the faults are cleared, on the same port.
        Faults f;
        f.refuse = true;
        sim.setFaults(f);
        Raw c(sim.port());
        EXPECT_FALSE(c.connected());
        EXPECT_EQ(c.error(), ECONNREFUSED);
        sim.clearFaults();
        EXPECT_EQ(exchange("call", callData), normal);
    }
}

TEST_F(SimServer, ReplyOverridesAnswerInsteadOfTheRestaurant) {
    sim.overrideReply("check", [](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        return BackOfficeSim::reply("<k>" + r.field("param1") + "</k>");
    });
    EXPECT_EQ(elementText(dataOf(exchange("check", fields("abc"))), "k"), "abc");
    EXPECT_TRUE(sim.assignedKeys().empty());
    sim.overrideReply("check", nullptr);
    EXPECT_NE(exchange("check", fields()).find("uuid=\""), std::string::npos);
}

TEST_F(SimServer, LogsScreenAnnouncementsDecodedFromGb18030) {
    const std::string text = "<caipdlg:00000001:红烧鱼>";
    auto bytes = platform::utf8ToGb18030(text);
    ASSERT_TRUE(bytes);
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(sim.port()));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::sendto(fd, bytes->data(), bytes->size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a),
              static_cast<ssize_t>(bytes->size()));
    ::close(fd);
    ASSERT_TRUE(sim.waitForAnnouncements(1, testsupport::kEventWaitSeconds));
    auto got = sim.announcements();
    EXPECT_EQ(got[0].bytes, *bytes);
    EXPECT_EQ(got[0].text, text);
}

}  // namespace
