#include <gtest/gtest.h>

#include <set>

#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "core/OpenUDID.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Pasteboard.h"
#include "platform/foundation/UserDefaults.h"

namespace {

class DeviceKeyTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        NSServer::createDir();
    }
    // A new run of the program: nothing cached, the stores read again from disk.
    void restart() {
        OpenUDID::clearCacheForTesting();
        platform::UserDefaults::standard().reload();
    }
    static void putSlot(int n, const std::string& udid, const std::string& appUID) {
        OpenUDID::_setDictForPasteboard({{"OpenUDID", udid}, {"OpenUDID_appUID", appUID}},
                                        OpenUDID::slotName(n));
    }
};

TEST_F(DeviceKeyTest, NoKeyFileMeansNotEnrolled) {
    NSServer::loadMacAdr();
    EXPECT_EQ(NSServer::getMacAdr(), "null");
    EXPECT_FALSE(platform::fs::exists(dataFile("mac.dat")));
}

TEST_F(DeviceKeyTest, TheKeyWrittenWithThisDevicesIdentifierReadsBackAcrossRestarts) {
    NSServer().stringDataWriteToFile(dataFile("mac.dat"), OpenUDID::value(), "A1B2-KEY");
    restart();
    NSServer::loadMacAdr();
    EXPECT_EQ(NSServer::getMacAdr(), "A1B2-KEY");
}

TEST_F(DeviceKeyTest, AnUnreadableKeyFileIsDeleted) {
    const std::string id = OpenUDID::value();
    struct Case {
        const char* what;
        std::string fileText;
    } cases[] = {
        {"not Base64", "@@@@"},
        {"empty", ""},
        {"not UTF-8", ""},
    };
    // Make the enciphered variants with the cipher the device uses.
    NSServer().stringDataWriteToFile(dataFile("x"), id, std::string("\xff\xfe", 2));
    cases[2].fileText = platform::fs::readAll(dataFile("x")).value_or("");
    for (const auto& c : cases) {
        platform::fs::writeAtomically(dataFile("mac.dat"), c.fileText);
        NSServer::setMacAdr("stale");
        NSServer::loadMacAdr();
        EXPECT_EQ(NSServer::getMacAdr(), "null") << c.what;
        EXPECT_FALSE(platform::fs::exists(dataFile("mac.dat"))) << c.what;
    }
}

TEST_F(DeviceKeyTest, TheIdentifierIsFortyHexDigitsAndSurvivesRestarts) {
    std::string fresh = OpenUDID::_generateFreshOpenUDID();
    ASSERT_EQ(fresh.size(), 40u);
    EXPECT_EQ(fresh.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(fresh, OpenUDID::_generateFreshOpenUDID());

    std::string id = OpenUDID::value();
    EXPECT_EQ(id.size(), 40u);
    // Cached within a run, even when the defaults change underneath.
    platform::UserDefaults::standard().removeObject("OpenUDID");
    EXPECT_EQ(OpenUDID::value(), id);
    restart();
    // The slot still holds it: adopted again and written back to the defaults.
    EXPECT_EQ(OpenUDID::value(), id);
    restart();
    EXPECT_EQ(OpenUDID::value(), id);
}

TEST_F(DeviceKeyTest, TheMostFrequentSlotIdentifierIsAdopted) {
    putSlot(0, "A", "app-1");
    putSlot(1, "B", "app-2");
    putSlot(2, "A", "app-3");
    EXPECT_EQ(OpenUDID::value(), "A");
    auto local = platform::UserDefaults::standard().dictionaryForKey("OpenUDID");
    ASSERT_TRUE(local);
    EXPECT_EQ(*local->at("OpenUDID").string(), "A");
    // Our own slot is the first free one.
    EXPECT_EQ(*local->at("OpenUDID_slot").string(), OpenUDID::slotName(3));
    EXPECT_EQ(*OpenUDID::_getDictFromPasteboard(OpenUDID::slotName(3)).at("OpenUDID").string(), "A");
}

TEST_F(DeviceKeyTest, ALocalDictionaryWithoutIdentifierReceivesTheChosenOne) {
    platform::UserDefaults::standard().setObject("OpenUDID", platform::PlistDict{{"OpenUDID_slot", "x"}});
    std::string id = OpenUDID::value();
    restart();
    // Remove every slot: only the local dictionary can still tell the identifier.
    for (int n = 0; n < 100; ++n) platform::Pasteboard::removeWithName(OpenUDID::slotName(n));
    EXPECT_EQ(OpenUDID::value(), id);
}

TEST_F(DeviceKeyTest, OptingOutGivesFortyZeros) {
    std::string id = OpenUDID::value();
    OpenUDID::setOptOut(true);
    EXPECT_EQ(OpenUDID::value(), std::string(40, '0'));
    OpenUDID::setOptOut(false);
    EXPECT_EQ(OpenUDID::value(), id);
}

}  // namespace
