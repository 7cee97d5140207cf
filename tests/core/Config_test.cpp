#include <gtest/gtest.h>

#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"

namespace {

const char* kDefaultIni =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><deskName></deskName><userName></userName>"
    "<userPassword></userPassword><ip></ip><ip2></ip2><outtime>20</outtime><iscaiph>1</iscaiph>"
    "<isLongSocket>0</isLongSocket><FMIDSTYLE>2.000000</FMIDSTYLE><FBIGSTYLE>3.000000</FBIGSTYLE>"
    "<InterType>2</InterType><canheng>1</canheng><isShowTitleMoney>1</isShowTitleMoney></morvane>";

class ConfigTest : public CoreTest {};

void expectDefaults() {
    EXPECT_EQ(NSServer::getOutTime(), 20);
    EXPECT_FLOAT_EQ(NSServer::getFMIDSTYLE(), 2.0f);
    EXPECT_FLOAT_EQ(NSServer::getFBIGSTYLE(), 3.0f);
    EXPECT_TRUE(NSServer::isCaiph());
    EXPECT_FALSE(NSServer::isLongSocket());
    EXPECT_EQ(NSServer::getInterfaceType(), 2);
    EXPECT_TRUE(NSServer::getCanHeng());
    EXPECT_TRUE(NSServer::getIsShowTitleMoney());
    EXPECT_EQ(NSServer::getIp(), "");
    EXPECT_EQ(NSServer::getIp2(), "");
    EXPECT_EQ(NSServer::getSetDeskName(), "");
    EXPECT_EQ(NSServer::getSetUserName(), "");
    EXPECT_EQ(NSServer::getSetUserPassword(), "");
    EXPECT_EQ(NSServer::getPort(), 7992);
}

TEST_F(ConfigTest, NoFileGivesTheDefaultsAndWritesNothing) {
    int enrolments = 0;
    NSServer::setEnrolmentHook([&] { ++enrolments; });
    NSServer::loadIni();
    expectDefaults();
    EXPECT_EQ(enrolments, 0);
    EXPECT_FALSE(platform::fs::exists(dataFile("Kovra.ini")));
}

TEST_F(ConfigTest, WritesTheDefaultsByteForByte) {
    NSServer::loadIni();
    NSServer::writeINI();
    EXPECT_EQ(platform::fs::readAll(dataFile("Kovra.ini")).value_or(""), kDefaultIni);
}

TEST_F(ConfigTest, RoundTripKeepsEveryValueAndEscapesMarkup) {
    NSServer::loadIni();
    NSServer::setSetDeskName("A<1>&2");
    NSServer::setSetUserName("王五");
    NSServer::setSetUserPassword("p&w");
    NSServer::setIP("10.0.0.5");
    NSServer::setIP2("10.0.0.6");
    NSServer::setOutTime(35);
    NSServer::setisCaiph(false);
    NSServer::setIsLongSocket(true);
    NSServer::setFMIDSTYLE(1.5f);
    NSServer::setFBIGSTYLE(2.25f);
    NSServer::setInterfaceType(3);
    NSServer::setCanHeng(false);
    NSServer::setIsShowTitleMoney(false);
    NSServer::writeINI();
    std::string text = platform::fs::readAll(dataFile("Kovra.ini")).value_or("");
    EXPECT_NE(text.find("<deskName>A&lt;1&gt;&amp;2</deskName>"), std::string::npos);
    EXPECT_NE(text.find("<FMIDSTYLE>1.500000</FMIDSTYLE>"), std::string::npos);

    NSServer::resetForTesting();
    NSServer::loadPath();
    NSServer::loadIni();
    EXPECT_EQ(NSServer::getSetDeskName(), "A<1>&2");
    EXPECT_EQ(NSServer::getSetUserName(), "王五");
    EXPECT_EQ(NSServer::getSetUserPassword(), "p&w");
    EXPECT_EQ(NSServer::getIp(), "10.0.0.5");
    EXPECT_EQ(NSServer::getIp2(), "10.0.0.6");
    EXPECT_EQ(NSServer::getOutTime(), 35);
    EXPECT_FALSE(NSServer::isCaiph());
    EXPECT_TRUE(NSServer::isLongSocket());
    EXPECT_FLOAT_EQ(NSServer::getFMIDSTYLE(), 1.5f);
    EXPECT_FLOAT_EQ(NSServer::getFBIGSTYLE(), 2.25f);
    EXPECT_EQ(NSServer::getInterfaceType(), 3);
    EXPECT_FALSE(NSServer::getCanHeng());
    EXPECT_FALSE(NSServer::getIsShowTitleMoney());
}

TEST_F(ConfigTest, ReadsLenientlyAndFillsMissingKeysWithDefaults) {
    struct Case {
        const char* file;
        int outtime;
        bool caiph;
        bool longSocket;
        int interType;
    } cases[] = {
        // Only some keys: the others take their defaults.
        {"<morvane><outtime>7</outtime></morvane>", 7, true, false, 2},
        // Leading numbers; a BOOL keeps the low 8 bits of its integer (256 is NO).
        {"<morvane><outtime> 9s</outtime><iscaiph>256</iscaiph><isLongSocket>3x</isLongSocket>"
         "<InterType>-4</InterType></morvane>", 9, false, true, -4},
        // A time-out of 0 or less, or none at all, reads as 20.
        {"<morvane><outtime>0</outtime></morvane>", 20, true, false, 2},
        {"<morvane><outtime>-5</outtime></morvane>", 20, true, false, 2},
        {"<morvane><outtime></outtime></morvane>", 20, true, false, 2},
        // A damaged file gives the defaults.
        {"<morvane><outtime>", 20, true, false, 2},
        {"", 20, true, false, 2},
    };
    for (const auto& c : cases) {
        NSServer::resetForTesting();
        NSServer::loadPath();
        platform::fs::createFolder(NSServer::getDataPath());
        platform::fs::writeAtomically(dataFile("Kovra.ini"), c.file);
        NSServer::loadIni();
        EXPECT_EQ(NSServer::getOutTime(), c.outtime) << c.file;
        EXPECT_EQ(NSServer::isCaiph(), c.caiph) << c.file;
        EXPECT_EQ(NSServer::isLongSocket(), c.longSocket) << c.file;
        EXPECT_EQ(NSServer::getInterfaceType(), c.interType) << c.file;
        EXPECT_EQ(NSServer::getPort(), 7992);
    }
}

TEST_F(ConfigTest, TheEnrolmentSeesTheConfiguredValues) {
    platform::fs::createFolder(NSServer::getDataPath());
    platform::fs::writeAtomically(
        dataFile("Kovra.ini"),
        "<morvane><ip>192.168.1.9</ip><outtime>45</outtime><isLongSocket>1</isLongSocket></morvane>");
    int port = 0, outtime = 0;
    bool longSocket = false;
    std::string ip;
    NSServer::setEnrolmentHook([&] {
        port = NSServer::getPort();
        outtime = NSServer::getOutTime();
        longSocket = NSServer::isLongSocket();
        ip = NSServer::getIp();
    });
    NSServer::loadIni();
    EXPECT_EQ(port, 7992);
    EXPECT_EQ(outtime, 45);
    EXPECT_TRUE(longSocket);
    EXPECT_EQ(ip, "192.168.1.9");
}

TEST_F(ConfigTest, CreateDirMakesTheFoldersAndCopiesTheDefaultSkinOnce) {
    putInPackage("INTERFACE.XML", "<form/>");
    putInPackage("1.jpg", "one");
    putInPackage("2.jpg", "two");
    putInPackage("4.jpg", "four");  // after a gap: not copied
    NSServer::createDir();
    for (auto path : {NSServer::getDataPath(), NSServer::getCaippicPath(), NSServer::getSkinsPath(),
                      NSServer::getShopPath(), NSServer::getMediaPath()})
        EXPECT_TRUE(platform::fs::isFolder(path)) << path;
    const std::string skins = NSServer::getSkinsPath();
    EXPECT_EQ(platform::fs::readAll(skins + "/INTERFACE.XML").value_or(""), "<form/>");
    EXPECT_EQ(platform::fs::readAll(skins + "/1.JPG").value_or(""), "one");
    EXPECT_EQ(platform::fs::readAll(skins + "/2.JPG").value_or(""), "two");
    EXPECT_FALSE(platform::fs::exists(skins + "/4.JPG"));

    // An existing skins folder, even an emptied one, receives nothing.
    platform::fs::remove(skins + "/1.JPG");
    NSServer::createDir();
    EXPECT_FALSE(platform::fs::exists(skins + "/1.JPG"));
}

TEST_F(ConfigTest, ACompanySkinIsNotOverwrittenByTheDefault) {
    putInPackage("1.jpg", "one");
    NSServer::setJtNO("3");
    NSServer::createDir();
    EXPECT_TRUE(platform::fs::isFolder(NSServer::getSkinsPath()));
    EXPECT_FALSE(platform::fs::exists(NSServer::getSkinsPath() + "/1.JPG"));
}

TEST_F(ConfigTest, DevicePresetReplacesOnlyWhatItHolds) {
    NSServer::createDir();
    NSServer::setMacAdr("null");
    NSServer::setSetUserName("configured-user");
    NSServer::setSetUserPassword("configured-pass");
    NSServer::setSetDeskName("configured-desk");
    NSServer().stringDataWriteToFile(
        dataFile("caipu.dat"), std::nullopt,
        "<morvane><data><user>88</user><compid>12</compid></data></morvane>");
    EXPECT_TRUE(NSServer().loadCaipu());
    EXPECT_EQ(NSServer::getSetUserName(), "88");
    EXPECT_EQ(NSServer::getJtNO(), "12");
    EXPECT_EQ(NSServer::getSetUserPassword(), "configured-pass");
    EXPECT_EQ(NSServer::getSetDeskName(), "configured-desk");

    // No preset at all changes nothing.
    platform::fs::remove(dataFile("caipu.dat"));
    EXPECT_TRUE(NSServer().loadCaipu());
    EXPECT_EQ(NSServer::getSetUserName(), "88");
}

TEST_F(ConfigTest, ATextXmlCannotHoldNeverCostsTheOtherSettings) {
    NSServer::setOutTime(35);
    NSServer::setIsLongSocket(true);
    NSServer::setSetUserName("waiter\r\n2");
    NSServer::setSetUserPassword("p\x01w\xfe");
    NSServer::writeINI();
    NSServer::resetForTesting();
    NSServer::loadPath();
    NSServer::loadIni();
    EXPECT_EQ(NSServer::getSetUserPassword(), "p\xEF\xBF\xBDw\xEF\xBF\xBD");
    EXPECT_EQ(NSServer::getSetUserName(), "waiter\r\n2");
    EXPECT_EQ(NSServer::getOutTime(), 35);
    EXPECT_TRUE(NSServer::isLongSocket());
}

}  // namespace
