#include "platform/foundation/Pasteboard.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/foundation/FileSystem.h"
#include "support/TempHome.h"

using platform::Pasteboard;

namespace {

// A new run of the program: the process forgets its pasteboards, the files stay.
void restart(const testsupport::TempHome& home) { platform::setHomeFolder(home.path()); }

TEST(Pasteboard, PersistentOnesSurviveARestartOthersDoNot) {
    testsupport::TempHome home;
    const std::string slot = "org.kovra.slot.3";
    EXPECT_EQ(Pasteboard::withName(slot, false), nullptr);

    auto board = Pasteboard::withName(slot, true);
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(Pasteboard::withName(slot, false), board);  // one object per name
    board->setPersistent(true);
    board->setData("org.kovra", std::string("plist\0bytes", 11));
    auto scratch = Pasteboard::withName("scratch", true);
    scratch->setData("text", "kept in memory only");
    EXPECT_EQ(scratch->dataForType("text"), "kept in memory only");
    EXPECT_FALSE(scratch->dataForType("other"));

    restart(home);
    auto again = Pasteboard::withName(slot, false);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isPersistent());
    EXPECT_EQ(again->dataForType("org.kovra"), std::string("plist\0bytes", 11));
    EXPECT_EQ(Pasteboard::withName("scratch", false), nullptr);

    Pasteboard::removeWithName(slot);
    EXPECT_EQ(Pasteboard::withName(slot, false), nullptr);
    restart(home);
    EXPECT_EQ(Pasteboard::withName(slot, false), nullptr);
}

TEST(Pasteboard, AnyNameStaysInsideThePasteboardsFolder) {
    testsupport::TempHome home;
    for (std::string name : {std::string("../../escape"), std::string("a/b"), std::string(300, 'n')}) {
        auto board = Pasteboard::withName(name, true);
        board->setPersistent(true);
        board->setData("t", name);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path())) {
        if (!entry.is_regular_file()) continue;
        EXPECT_EQ(entry.path().parent_path(), home.path() + "/Pasteboards") << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 3);
    restart(home);
    EXPECT_EQ(Pasteboard::withName("a/b", false)->dataForType("t"), "a/b");
}

}  // namespace
