// The device enrolment and the waiter login against the back-office simulator.

#include <memory>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "net/SimFixture.h"
#include "core/NSEncDec.h"
#include "model/NSUserClass.h"
#include "net/NSTcpNet.h"
#include "net/RootServices.h"
#include "net/ServerClient.h"
#include "platform/foundation/Network.h"

namespace {

class OpsEnrolTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        NSServer::setJtNO(std::string(backoffice::BackOfficeSim::kCompanyNumber));
        NSServer::setOutTime(2);
        NSServer::createDir();
        NSServer::loadMacAdr();
    }
    std::string macFile() const { return dataFile("mac.dat"); }
};

TEST_F(OpsEnrolTest, SettingAnAddressEnrolsOnceAndStoresTheKeyEnciphered) {
    installServerClient();
    sim.setNextDeviceKey("KEY-42");
    NSServer::setIP("127.0.0.1");

    auto checks = sim.requestsFor("check");
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].uid, "null");  // the key held before enrolment
    EXPECT_EQ(checks[0].field("param1"), NSServer().deviceIPAdress());
    EXPECT_EQ(checks[0].field("param2"), "");
    for (const char* f : {"waiterid", "deskid", "consumeid"}) EXPECT_EQ(checks[0].field(f), "") << f;

    EXPECT_EQ(NSServer::getMacAdr(), "KEY-42");
    EXPECT_EQ(NSServer().stringDataReadFromFile(macFile(), OpenUDID::value()), "KEY-42");

    // With a key stored, a new address asks nothing, and later requests carry the key.
    NSServer::setIP("127.0.0.1");
    EXPECT_EQ(sim.requestsFor("check").size(), 1u);
    EXPECT_TRUE(NSServer().XCall());
    EXPECT_EQ(sim.requestsFor("call").at(0).uid, "KEY-42");
}

TEST_F(OpsEnrolTest, ABadKeyReplyFailsAsWithNoKeyAndWritesNothing) {
    NSServer::setIP("127.0.0.1");
    const std::string longest(158, 'k');
    struct Case { std::string reply; bool accepted; } cases[] = {
        {backoffice::BackOfficeSim::reply("<device/>"), false},
        {backoffice::BackOfficeSim::reply("<device uuid=\"ABC/>"), false},  // no closing quote
        {backoffice::BackOfficeSim::reply("<device uuid=\"\"/>"), false},
        {backoffice::BackOfficeSim::reply("<device uuid=\"" + longest + "k\"/>"), false},
        {backoffice::BackOfficeSim::reply("<device uuid=\"caf\xc3\xa9\"/>"), false},
        {backoffice::BackOfficeSim::reply("<device uuid=\"" + longest + "\"/>"), true},
    };
    for (const auto& c : cases) {
        sim.overrideReply("check", [&](const backoffice::ReceivedRequest&) {
            return std::optional<std::string>(c.reply);
        });
        EXPECT_EQ(NSServer().loadMacFormServer(), c.accepted) << c.reply;
        EXPECT_EQ(platform::fs::exists(macFile()), c.accepted) << c.reply;
        EXPECT_EQ(NSServer::getMacAdr(), c.accepted ? longest : "null") << c.reply;
    }
    EXPECT_EQ(sim.requestsFor("check").size(), 6u);  // each refusal left the enrolment to run again
}

TEST_F(OpsEnrolTest, LoginSendsTheDeviceIdentifierAndAppliesTheReply) {
    NSServer::setIP("127.0.0.1");
    NSServer().loadMacFormServer();
    backoffice::LoginOptions options;
    options.longSocket = 0;
    options.scaleMid = "1.25";
    options.dishCount = 17;
    sim.setLoginOptions(options);

    NSUserClass user;
    user.m_strUserID = "0001";
    user.m_strPassword = "123";
    user.m_iDishCount = 3;
    EXPECT_EQ(NSServer().login(user), 0);
    auto login = sim.requestsFor("login").at(0);
    EXPECT_EQ(login.field("openuid"), OpenUDID::value());
    EXPECT_EQ(backoffice::BackOfficeSim::decipherField(login.field("waiterid"), "0"), "0001");
    EXPECT_EQ(login.field("maxdishid"), "3");
    EXPECT_EQ(user.m_iDishCount, 17);
    EXPECT_FLOAT_EQ(NSServer::getFMIDSTYLE(), 1.25f);
    // The configuration file was rewritten with the server's factor.
    auto ini = platform::fs::readAll(dataFile("Kovra.ini"));
    ASSERT_TRUE(ini);
    EXPECT_NE(ini->find("1.25"), std::string::npos);

    user.m_strPassword = "999";
    EXPECT_EQ(NSServer().login(user), 2);  // the server's own refusal code

    // The demo server knows the terminal's own demo user, who has no password.
    NSUserClass demo;
    demo.m_strUserID = "User";
    EXPECT_EQ(NSServer().login(demo), 0);

    // A reply naming another waiter is no answer to this login.
    sim.overrideReply("login", [](const backoffice::ReceivedRequest&) {
        return std::optional<std::string>(backoffice::BackOfficeSim::reply(
            "<waiterid>" + backoffice::BackOfficeSim::encipherField("0002", "0") + "</waiterid><code>0</code>"));
    });
    EXPECT_EQ(NSServer().login(user), -1);
    EXPECT_EQ(user.m_iDishCount, 17);
}

}  // namespace
