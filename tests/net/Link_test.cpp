// The TCP link and the exchange against the back-office simulator over loopback: the envelope on
// the wire, split and partial replies, time-outs, retries, address fail-over, long-socket mode,
// error replies and the raw file exchange.

#include <algorithm>
#include <chrono>
#include <memory>

#include <poll.h>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "net/SimFixture.h"
#include "model/NSATreeClass.h"
#include "net/NSTcpNet.h"
#include "net/NSTcpPacket.h"
#include "net/RootServices.h"
#include "platform/foundation/Network.h"

namespace {

using backoffice::BackOfficeSim;
using backoffice::Faults;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Waits until bytes wait to be read on the socket; the minute is for a fault only.
bool inputWaits(int fd) {
    pollfd p{fd, POLLIN, 0};
    return fd > 0 && ::poll(&p, 1, 60000) == 1 && (p.revents & POLLIN);
}

class LinkTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        NSServer::setIP("127.0.0.1");
        NSServer::setOutTime(20);
        NSServer::setMacAdr("null");
        // A plain answer to the request most tests send (the demo desk "" is unknown to it).
        sim.overrideReply("updatemenu", [](const backoffice::ReceivedRequest&) {
            return std::optional<std::string>(BackOfficeSim::reply("<desk/>"));
        });
    }
};

TEST_F(LinkTest, OneExchangeWritesTheEnvelopeAndReadsTheWholeReply) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu);
    sim.overrideReply("updatemenu", [](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(BackOfficeSim::reply("<desk>1</desk>") + "tail");
    });
    ASSERT_TRUE(packet->sendPacketForNone(true));

    auto received = sim.requests();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].raw, *packet->sendMessage);
    EXPECT_EQ(received[0].uid, "null");
    EXPECT_EQ(received[0].dev, "iphone");
    EXPECT_EQ(received[0].cmd, NSTcpPacket::encipherCommand("updatemenu", "null"));
    EXPECT_EQ(received[0].command, "updatemenu");
    EXPECT_EQ(received[0].seq, "0");
    EXPECT_EQ(received[0].dnt, "1");
    EXPECT_EQ(packet->sendMessage->rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane UID=\"null\" "
                                         "dev=\"iphone\" cmd=\"",
                                         0),
              0u);
    // Bytes after the closing tag (other than white space) are no part of the reply.
    EXPECT_EQ(*packet->receiveMessage,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane><data><desk>1</desk></data></morvane>");
    EXPECT_GE(root->waitShown, 1);
    EXPECT_FALSE(root->waitUp);

    // Outside long-socket mode every exchange has a connection of its own.
    ASSERT_TRUE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    EXPECT_EQ(sim.connectionCount(), 2u);
    EXPECT_EQ(NSServer::getTcp()->sockfd(), 0);

    // No idle round follows the one that completed the reply: a round sat out after each reply
    // (or any fixed pause of a round per exchange) makes every exchange last a round at least.
    // A busy machine delays some exchanges, not each of ten over loopback by a whole round, so
    // only the fastest is held to less.
    constexpr int kExchanges = 10;
    double fastest = 1e9;
    for (int i = 0; i < kExchanges; ++i) {
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
        fastest = std::min(fastest, secondsSince(start));
    }
    EXPECT_LT(fastest, NSTcpNet::kReplyRoundSeconds);
}

TEST_F(LinkTest, AReplySplitIntoPiecesIsReadWhole) {
    struct Case { const char* name; std::size_t splitBytes; bool insideCharacter; } cases[] = {
        {"3-byte pieces (the closing tag spans pieces)", 3, false},
        {"cut inside a UTF-8 character", 0, true},
    };
    const std::string reply = BackOfficeSim::reply("<row code=\"1\" stat=\"0\">红烧肉</row>");
    sim.overrideReply("treedata", [&](const backoffice::ReceivedRequest&) { return std::optional<std::string>(reply); });
    for (const auto& c : cases) {
        Faults faults;
        faults.splitBytes = c.splitBytes;
        faults.splitInsideCharacter = c.insideCharacter;
        faults.splitPauseSeconds = 0.002;
        sim.setFaults(faults);
        auto packet = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
        ASSERT_TRUE(packet->sendPacketForNone(true)) << c.name;
        EXPECT_EQ(*packet->receiveMessage, reply) << c.name;
    }
    EXPECT_EQ(sim.requests().size(), 2u);  // no retries
}

TEST_F(LinkTest, ASilentOrCutReplyFailsAfterTheTimeOutAndIsWrittenOnceMore) {
    NSServer::setOutTime(1);  // two idle rounds of 0.5 s
    struct Case { const char* name; Faults faults; } cases[4];
    cases[0] = {"silence", {}};
    cases[0].faults.silence = true;
    cases[1] = {"truncated", {}};
    cases[1].faults.truncateAt = 20;
    cases[2] = {"closed in mid-reply", {}};
    cases[2].faults.closeAt = 20;
    cases[3] = {"a closing tag in text that never decodes", {}};
    cases[3].faults.garbage = std::string("<morvane>\xff\xfe</morvane>");
    for (auto& c : cases) {
        sim.clearRecords();
        sim.setFaults(c.faults);
        auto packet = NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu);
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(packet->sendPacketForNone(true)) << c.name;
        // Two tries of a second each; without the idle limit each would read on until the reply
        // deadline of a minute.
        EXPECT_LT(secondsSince(start), 20.0) << c.name;
        EXPECT_EQ(sim.requests().size(), 2u) << c.name;
        EXPECT_FALSE(packet->receiveMessage) << c.name;
        EXPECT_EQ(NSServer::getTcp()->sockfd(), 0) << c.name;
    }
    EXPECT_TRUE(root->alerts.empty());
    // The waiter learns why nothing happened, once per exchange.
    EXPECT_EQ(root->messages, std::vector<std::string>(4, "服务器没有应答,请稍后再试"));
}

TEST_F(LinkTest, ATimeOutOfZeroOrBelowNeverReachesAnExchange) {
    // It could never be waited for: the hub keeps the value it had, and requests go out once.
    NSServer::setOutTime(3);
    for (int outTime : {0, -5}) {
        sim.clearRecords();
        NSServer::setOutTime(outTime);
        EXPECT_EQ(NSServer::getOutTime(), 3) << outTime;
        EXPECT_TRUE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true)) << outTime;
        EXPECT_EQ(sim.requests().size(), 1u) << outTime;
    }
}

TEST_F(LinkTest, AnEndlessReplyIsCutOffAtItsBound) {
    // No closing tag and more than the bound: without it the link would read on until idle.
    sim.overrideReply("updatemenu", [](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(std::string(NSTcpNet::kMaxReplyBytes + 200000, 'a'));
    });
    // Without the bound each of the two tries would read on until a minute of silence; with it
    // they end once the bound is passed, which takes seconds even on a loaded machine.
    NSServer::setOutTime(60);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    EXPECT_LT(secondsSince(start), 45.0);
    EXPECT_EQ(sim.requests().size(), 2u);
}

TEST_F(LinkTest, ALargeRequestIsWrittenWhole) {
    sim.overrideReply("call", [](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(BackOfficeSim::reply(""));
    });
    auto packet = NSTcpPacket::initWithCustom("call", "", "");
    packet->addElement("note", std::string(6 * 1024 * 1024, 'x'));
    ASSERT_TRUE(packet->sendPacketForNone(true));
    auto received = sim.requests();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].raw, *packet->sendMessage);
}

TEST_F(LinkTest, AddressChoiceAndFailOver) {
    // 127.0.0.2 is on loopback but nothing listens there: a connect is refused at once.
    const std::string good = "127.0.0.1", dead = "127.0.0.2";
    struct Case {
        const char* name;
        bool wifi;
        std::string ip, ip2, jtNO;
        bool ok, useIP2;
        int connectFailures;
    } cases[] = {
        {"wifi, first address answers", true, good, dead, "0", true, false, 0},
        {"wifi, first fails over to second", true, dead, good, "0", true, true, 0},
        {"wifi, no first address: second only", true, "", good, "0", true, true, 0},
        {"off wifi: the second address only, though the first answers", false, good, dead, "0", false, true, 2},
        {"off wifi, no second address: the first", false, good, "", "0", true, false, 0},
        {"both empty, no company number: the demo host", true, "", "", "0", true, true, 0},
        {"both empty with a company number: nothing", true, "", "", "12", false, true, 2},
        {"a configured address never falls over to the demo host", true, dead, "", "0", false, false, 2},
    };
    for (const auto& c : cases) {
        root->messages.clear();
        sim.clearRecords();
        platform::setWifiForTesting(c.wifi);
        NSServer::setIP(c.ip);
        NSServer::setIP2(c.ip2);
        NSServer::setJtNO(c.jtNO);
        auto packet = NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu);
        EXPECT_EQ(packet->sendPacketForNone(true), c.ok) << c.name;
        EXPECT_EQ(packet->isUseIP2, c.useIP2) << c.name;
        EXPECT_EQ(sim.requests().size(), c.ok ? 1u : 0u) << c.name;
        EXPECT_EQ(std::count(root->messages.begin(), root->messages.end(), "网络连接失败"), c.connectFailures)
            << c.name;
    }
}

TEST_F(LinkTest, LongSocketModeKeepsOneConnectionUntilDisconnect) {
    NSServer::setIsLongSocket(true);
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    EXPECT_EQ(sim.connectionCount(), 1u);
    EXPECT_NE(NSServer::getTcp()->sockfd(), 0);
    EXPECT_EQ(sim.requests().at(0).dnt, "0");

    NSServer::getTcp()->allclose();
    EXPECT_EQ(NSServer::getTcp()->sockfd(), 0);
    ASSERT_TRUE(sim.waitForRequests(3, 60.0));
    auto bye = sim.requests().back();
    EXPECT_EQ(bye.cmd, "disconnect");
    EXPECT_EQ(bye.dnt, "0");
    EXPECT_EQ(bye.connection, 1u);
    ASSERT_TRUE(bye.data());
    auto fields = bye.data()->children();
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0]->name(), "param1");
    EXPECT_EQ(fields[1]->name(), "param2");
    EXPECT_EQ(bye.field("param1"), "");

    // A link without a socket closes nothing and says nothing.
    NSServer::getTcp()->allclose();
    EXPECT_EQ(sim.requests().size(), 3u);

    // A socket that the server broke is replaced by a new connection.
    ASSERT_TRUE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    EXPECT_EQ(sim.connectionCount(), 2u);
}

TEST_F(LinkTest, ErrorRepliesFollowTheAlertOrMessageRuleAndAreNotRetried) {
    Faults faults;
    faults.errorReply = "桌台已被占用";
    sim.setFaults(faults);
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    EXPECT_EQ(sim.requests().size(), 1u);
    EXPECT_EQ(root->alerts, std::vector<std::string>{"桌台已被占用"});
    EXPECT_TRUE(NSServer::getIsShowAlert());

    // While the alert is up, the next error goes to the message panel.
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    EXPECT_EQ(root->alerts.size(), 1u);
    EXPECT_EQ(root->messages, std::vector<std::string>{"桌台已被占用"});
    sim.clearFaults();

    // "error" in a reply that is no error document is just data.
    NSServer::setIsShowAlert(false);
    const std::string notErrors[] = {
        BackOfficeSim::reply("<row code=\"1\">terror</row>"),
        "<morvane><describe>error</describe></morvane>",
    };
    for (const auto& text : notErrors) {
        sim.overrideReply("treedata", [&](const backoffice::ReceivedRequest&) { return std::optional<std::string>(text); });
        auto packet = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
        EXPECT_TRUE(packet->sendPacketForNone(true)) << text;
        EXPECT_EQ(packet->receiveMessage.value_or(""), text);
    }
    // A table text is no document: "error" in one that does not parse is table data too.
    sim.overrideReply("query", [](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>("error, not XML</morvane>");
    });
    auto query = NSTcpPacket::initWithType(NSTcpPacket::kQuery);
    ASSERT_TRUE(query->setTableName("caip"));
    EXPECT_TRUE(query->sendPacketForRecord());
    EXPECT_EQ(query->receiveMessage.value_or(""), "error, not XML");
    EXPECT_EQ(root->alerts.size(), 1u);
    EXPECT_FALSE(NSServer::getIsShowAlert());
}

TEST_F(LinkTest, ARefusedServerShowsTheConnectFailurePerAttempt) {
    Faults faults;
    faults.refuse = true;
    sim.setFaults(faults);
    std::shared_ptr<NSATreeClass> tree;
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kTreeData)->sendPacketForTreeData("rebate", tree));
    ASSERT_TRUE(tree);  // handed back even on failure
    EXPECT_EQ(root->messages, (std::vector<std::string>{"网络连接失败", "网络连接失败"}));
    EXPECT_FALSE(root->waitUp);
}

TEST_F(LinkTest, TheRawFileExchangeReadsTheCountedBytes) {
    std::string bytes(300000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    sim.setFile("png", {"SKIN1.PNG", 1, bytes, std::nullopt});

    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kGetFile);
    std::optional<std::string> got;
    ASSERT_TRUE(packet->sendPacketForGetFile("SKIN1.PNG", static_cast<long long>(bytes.size()), "png", got));
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, bytes);
    auto request = sim.requests().at(0);
    EXPECT_EQ(request.command, "getfile");
    EXPECT_EQ(request.field("param1"), "SKIN1.PNG");
    EXPECT_EQ(request.field("param2"), "png");

    // Fewer bytes than announced: the transfer fails twice with its message.
    NSServer::setOutTime(1);
    Faults faults;
    faults.truncateAt = 1000;
    sim.setFaults(faults);
    root->messages.clear();
    std::optional<std::string> none;
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kGetFile)
                     ->sendPacketForGetFile("SKIN1.PNG", static_cast<long long>(bytes.size()), "png", none));
    EXPECT_FALSE(none);
    EXPECT_EQ(root->messages,
              (std::vector<std::string>{"接收图片数据异常,请检查网络", "接收图片数据异常,请检查网络"}));

    // A count beyond the bound is refused without reading.
    sim.clearFaults();
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kGetFile)
                     ->sendPacketForGetFile("SKIN1.PNG", static_cast<long long>(NSTcpNet::kMaxReplyBytes) + 1, "png", none));
}

TEST_F(LinkTest, LateBytesOnAKeptConnectionNeverBecomeTheNextReply) {
    NSServer::setIsLongSocket(true);
    auto listOf = [](const char* entry) { return BackOfficeSim::reply(std::string("<row code=\"1\">") + entry + "</row>"); };
    auto exchange = [] {
        auto packet = NSTcpPacket::initWithType(NSTcpPacket::kTreeData);
        std::shared_ptr<NSATreeClass> tree;
        bool ok = packet->sendPacketForTreeData("rebate", tree);
        return ok && tree->m_length > 1 ? tree->m_name[1] : std::string("(failed)");
    };

    // Bytes right behind the reply: the reply is read without them and the connection ends.
    sim.overrideReply("treedata", [&](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(listOf("first") + listOf("stale"));
    });
    EXPECT_EQ(exchange(), "first");
    EXPECT_EQ(NSServer::getTcp()->sockfd(), 0);
    sim.overrideReply("treedata", [&](const backoffice::ReceivedRequest&) { return std::optional<std::string>(listOf("second")); });
    EXPECT_EQ(exchange(), "second");
    EXPECT_EQ(sim.connectionCount(), 2u);

    // Bytes that come after the reply was read wait on the kept connection: they are thrown away
    // before the next request goes out.
    Faults late;
    late.lateBytes = listOf("stale");
    late.lateBytesOnRelease = true;
    late.times = 1;
    sim.setFaults(late);
    EXPECT_EQ(exchange(), "second");
    ASSERT_TRUE(sim.releaseLateBytes());
    ASSERT_TRUE(inputWaits(NSServer::getTcp()->sockfd())) << "the late bytes wait on the kept connection";
    sim.overrideReply("treedata", [&](const backoffice::ReceivedRequest&) { return std::optional<std::string>(listOf("third")); });
    EXPECT_EQ(exchange(), "third");
    EXPECT_EQ(sim.connectionCount(), 2u);

    // Nothing before the first closing tag is no reply (a table text would be stored empty).
    NSServer::setOutTime(1);
    sim.overrideReply("query", [&](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(" \n</morvane>QUJD</morvane>");
    });
    auto query = NSTcpPacket::initWithType(NSTcpPacket::kQuery);
    ASSERT_TRUE(query->setTableName("caip"));
    EXPECT_FALSE(query->sendPacketForRecord());
}

TEST_F(LinkTest, ATricklingServerIsGivenUpAtTheReplyDeadline) {
    // Each byte comes before the idle rule would end the read; only the overall deadline of three
    // times the time-out does (its floor of a minute lowered for the test).
    NSTcpNet::setReplyDeadlineFloorForTesting(0.1);
    NSServer::setOutTime(1);
    Faults trickle;
    trickle.splitBytes = 1;
    trickle.splitPauseSeconds = 0.2;
    sim.setFaults(trickle);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(NSTcpPacket::initWithType(NSTcpPacket::kUpdateMenu)->sendPacketForNone(true));
    double seconds = secondsSince(start);
    EXPECT_GT(seconds, 5.5);
    // Two tries of three seconds; a later deadline (or none) would see the whole reply come (18 s).
    EXPECT_LT(seconds, 15.0);
    EXPECT_EQ(sim.requests().size(), 2u);
    NSTcpNet::setReplyDeadlineFloorForTesting(0);
}

}  // namespace
