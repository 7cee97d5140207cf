// The device enrolment and the waiter login against the back-office simulator.

#include <map>
#include <memory>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/CoreFixture.h"
#include "net/SimFixture.h"
#include "core/NSEncDec.h"
#include "model/NSCaipDBClass.h"
#include "model/NSUserClass.h"
#include "net/NSTcpNet.h"
#include "net/RootServices.h"
#include "net/ServerClient.h"
#include "platform/foundation/FileSystem.h"
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

TEST_F(OpsEnrolTest, TheMenuStoredBeforeEnrollingStaysReadableUnderTheNewKey) {
    // The demo download comes before the enrolment: tables and pictures under the key "null".
    const std::string bmp = "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4) + std::string(2000, 'p');
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(300, 't');
    sim.removeFiles("bmp");
    sim.setFile("bmp", {"4001.BMP", 5, bmp, std::nullopt});
    sim.setFile("bmp", {"4001T.BMP", 5, png, std::nullopt});
    sim.setFile("bmp", {"4001M.TXT", 5, "主料", std::nullopt});
    NSServer::setIP("127.0.0.1");
    ASSERT_TRUE(NSServer().loadMacFormServer());  // enrolled under "null" first: undo it
    platform::fs::remove(macFile());
    NSServer::setMacAdr("null");
    ASSERT_TRUE(NSServer().ayncCaip());
    const std::string tables[] = {"caip.dat", "stCategory.dat", "zuot.dat", "ssdept.dat", "kouw.dat", "stBom.dat"};
    std::map<std::string, std::string> before;
    for (const auto& t : tables) before[t] = NSServer().stringDataReadFromFile(dataFile(t));
    platform::fs::writeAtomically(dataFile("0101.ATD"), "<desk/>");
    const auto ini = platform::fs::readAll(dataFile("Kovra.ini"));
    const std::string pics = NSServer::getCaippicPath();
    const auto index = platform::fs::readAll(pics + "/caippic.dat");

    sim.setNextDeviceKey("KEY-42");
    ASSERT_TRUE(NSServer().loadMacFormServer());
    ASSERT_EQ(NSServer::getMacAdr(), "KEY-42");

    for (const auto& t : tables) {
        EXPECT_FALSE(before[t].empty()) << t;
        EXPECT_EQ(NSServer().stringDataReadFromFile(dataFile(t)), before[t]) << t;
    }
    EXPECT_EQ(NSServer().readCaipImageData(pics + "/4001.BMP"), bmp);
    EXPECT_EQ(NSServer().readCaipImageData(pics + "/4001T.BMP"), png);
    // Plain files stay as they were; the device key file keeps its own key.
    EXPECT_EQ(platform::fs::readAll(pics + "/4001M.TXT"), "主料");
    EXPECT_EQ(platform::fs::readAll(pics + "/caippic.dat"), index);
    EXPECT_EQ(platform::fs::readAll(dataFile("0101.ATD")), "<desk/>");
    EXPECT_EQ(platform::fs::readAll(dataFile("Kovra.ini")), ini);
    EXPECT_EQ(NSServer().stringDataReadFromFile(macFile(), OpenUDID::value()), "KEY-42");

    // A restart's menu load reads the tables, and the next synchronisation fetches no picture again.
    NSServer::loadCaipXml();
    EXPECT_FALSE(NSServer::getCaipDB()->rootCplbTrees.empty());
    sim.clearRecords();
    ASSERT_TRUE(NSServer().ayncPic());
    EXPECT_TRUE(sim.requestsFor("getfile").empty());
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
