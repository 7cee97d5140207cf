// The screen announcement and its UDP sender, against the back-office simulator's UDP port.

#include <arpa/inet.h>
#include <netinet/in.h>

#include <memory>

#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "net/AsyncUdpSocket.h"
#include "support/EventWait.h"

namespace {

class UdpAnnounceTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        sim.setLogging(false);
        ASSERT_TRUE(sim.start(0));
        NSServer::setIP("127.0.0.1");
        NSServer::setPort(sim.port());
    }
    backoffice::BackOfficeSim sim;
};

struct Recorder : AsyncUdpSocketDelegate {
    int sent = 0, failed = 0, lastCode = 0;
    void onUdpSocketDidSendDataWithTag(AsyncUdpSocket&, long) override { ++sent; }
    void onUdpSocketDidNotSendDataWithTagDueToError(AsyncUdpSocket&, long,
                                                    const AsyncUdpSocketError& e) override {
        ++failed;
        lastCode = e.code;
    }
};

TEST_F(UdpAnnounceTest, SendsTheTextInGb18030OnALaterTurnOnly) {
    NSServer::sendTV("caipdlg", std::string("桌一"), std::string("鱼"));
    NSServer::sendTV("dishlistdlg", std::string("A1"), std::nullopt);
    // Nothing goes out inside the call: the send waits for the run loop.
    EXPECT_FALSE(sim.waitForAnnouncements(1, 0.2));
    home.loop().drain();
    ASSERT_TRUE(sim.waitForAnnouncements(2, testsupport::kEventWaitSeconds));
    auto got = sim.announcements();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].bytes, "<caipdlg:\xd7\xc0\xd2\xbb:\xd3\xe3>");
    EXPECT_EQ(got[1].bytes, "<dishlistdlg:A1:>");  // a missing parameter leaves the field empty
}

TEST_F(UdpAnnounceTest, NoDeskIdOrNoAddressSendsNothing) {
    NSServer::sendTV("selectcaipdlg", std::nullopt, std::string("x"));
    NSServer::sendTV("selectcaipdlg", std::string(""), std::string("x"));
    NSServer::setIP("");
    NSServer::sendTV("selectcaipdlg", std::string("A1"), std::string("x"));
    home.loop().drain();
    NSServer::setIP("127.0.0.1");
    NSServer::sendTV("marker", std::string("A1"), std::string(""));
    home.loop().drain();
    ASSERT_TRUE(sim.waitForAnnouncements(1, testsupport::kEventWaitSeconds));
    auto got = sim.announcements();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "<marker:A1:>");
}

TEST_F(UdpAnnounceTest, TheSocketLivesUntilItsDatagramIsHandedOver) {
    Recorder rec;
    std::weak_ptr<AsyncUdpSocket> weak;
    {
        auto s = AsyncUdpSocket::initWithDelegate(&rec);
        weak = s;
        EXPECT_FALSE(s->sendDataToHostPortWithTimeoutTag("", "127.0.0.1", sim.port(), 0.5, 1));
        EXPECT_TRUE(s->sendDataToHostPortWithTimeoutTag("x", "localhost", sim.port(), 0.5, 1));
    }
    EXPECT_FALSE(weak.expired());  // held by its queued step
    home.loop().drain();
    EXPECT_EQ(rec.sent, 1);
    home.loop().advanceBy(1.0);  // the time-out passes without failing a finished send
    EXPECT_EQ(rec.failed, 0);
    EXPECT_TRUE(weak.expired());
    ASSERT_TRUE(sim.waitForAnnouncements(1, testsupport::kEventWaitSeconds));
    EXPECT_EQ(sim.announcements()[0].bytes, "x");

    auto s = AsyncUdpSocket::initWithDelegate(&rec);
    s->close();
    EXPECT_FALSE(s->sendDataToHostPortWithTimeoutTag("y", "127.0.0.1", sim.port(), 0.5, 2));
}

TEST(UdpAddress, LocalhostIsLoopbackWithoutLookupAndEmptyHostFails) {
    std::string a4, a6;
    ASSERT_EQ(AsyncUdpSocket::convertForSendHostPortIntoAddress4Address6("loopback", 7992, &a4, &a6), 0);
    ASSERT_EQ(a4.size(), sizeof(sockaddr_in));
    auto* in = reinterpret_cast<const sockaddr_in*>(a4.data());
    EXPECT_EQ(ntohl(in->sin_addr.s_addr), INADDR_LOOPBACK);
    EXPECT_EQ(ntohs(in->sin_port), 7992);
    EXPECT_EQ(a6.size(), sizeof(sockaddr_in6));
    EXPECT_EQ(AsyncUdpSocket::convertForSendHostPortIntoAddress4Address6("", 7992, &a4, &a6), 8);
    EXPECT_TRUE(a4.empty());
    EXPECT_NE(AsyncUdpSocket::convertForSendHostPortIntoAddress4Address6("no.such.host.invalid", 1,
                                                                        &a4, &a6), 0);
}

}  // namespace
