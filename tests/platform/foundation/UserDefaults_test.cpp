#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include "platform/foundation/FileSystem.h"
#include "support/TempHome.h"

using namespace platform;

namespace {

TEST(UserDefaults, PersistAcrossARestartAndBelongToTheirHome) {
    testsupport::TempHome first;
    UserDefaults& defaults = UserDefaults::standard();
    EXPECT_FALSE(defaults.objectForKey("OpenUDID"));
    defaults.setObject("OpenUDID_appUID", "6F9619FF-8B86-4011-B42D-00C04FC964FF");
    defaults.setObject("OpenUDID", PlistDict{{"OpenUDID", "abc"}, {"OpenUDID_createdTS", PlistDate{1e9}}});
    defaults.setObject("gone", 1);
    defaults.removeObject("gone");
    EXPECT_TRUE(fs::exists(preferencesFolder() + "/defaults.plist"));

    defaults.reload();
    EXPECT_EQ(defaults.stringForKey("OpenUDID_appUID"), "6F9619FF-8B86-4011-B42D-00C04FC964FF");
    auto dict = defaults.dictionaryForKey("OpenUDID");
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->at("OpenUDID"), PlistValue("abc"));
    EXPECT_FALSE(defaults.stringForKey("OpenUDID"));          // a dictionary, not a string
    EXPECT_FALSE(defaults.dictionaryForKey("OpenUDID_appUID"));
    EXPECT_FALSE(defaults.objectForKey("gone"));

    {
        testsupport::TempHome second;  // another device: its own, empty defaults
        EXPECT_FALSE(defaults.objectForKey("OpenUDID_appUID"));
        second.writeFile("Library/Preferences/defaults.plist", "<plist><dict><key>x</key>");
        defaults.reload();
        EXPECT_FALSE(defaults.objectForKey("x"));  // a damaged file reads as empty defaults
        defaults.setObject("x", "1");
        EXPECT_TRUE(defaults.synchronize());
        defaults.reload();
        EXPECT_EQ(defaults.stringForKey("x"), "1");
    }
}

}  // namespace
