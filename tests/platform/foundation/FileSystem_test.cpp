#include "platform/foundation/FileSystem.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/foundation/Pasteboard.h"
#include "support/TempHome.h"

namespace fs = platform::fs;
using testsupport::TempHomeTest;

namespace {

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(TempHomeTest, HomeHoldsTheDeviceFoldersAndADataFolderHoldsThemAll) {
    EXPECT_EQ(platform::homeFolder(), home.path());
    EXPECT_EQ(platform::cachesFolder(), home.path() + "/Library/Caches");
    EXPECT_EQ(platform::temporaryFolder(), home.path() + "/tmp");
    EXPECT_EQ(platform::preferencesFolder(), home.path() + "/Library/Preferences");
    for (auto folder : {platform::cachesFolder(), platform::temporaryFolder(), platform::preferencesFolder()})
        EXPECT_TRUE(fs::isFolder(folder)) << folder;

    // Everything the device keeps goes into the data folder, its preferences (the device
    // identifier) among them; the caches lie at its top.
    auto generation = platform::homeFolderGeneration();
    std::string data = home.path() + "/data-dir";
    platform::setDataFolder(data);
    EXPECT_EQ(platform::homeFolder(), data);
    EXPECT_EQ(platform::cachesFolder(), data);
    EXPECT_EQ(platform::temporaryFolder(), data + "/tmp");
    EXPECT_EQ(platform::preferencesFolder(), data + "/Library/Preferences");
    EXPECT_EQ(platform::Pasteboard::folder(), data + "/Pasteboards");
    for (auto folder : {platform::cachesFolder(), platform::temporaryFolder(), platform::preferencesFolder()})
        EXPECT_TRUE(fs::isFolder(folder)) << folder;
    EXPECT_NE(platform::homeFolderGeneration(), generation);

    platform::setHomeFolder(home.path());
    EXPECT_EQ(platform::cachesFolder(), home.path() + "/Library/Caches") << "a new home brings its own back";
    EXPECT_EQ(platform::preferencesFolder(), home.path() + "/Library/Preferences");
}

TEST_F(TempHomeTest, WriteAtomicallyReplacesWholeOrKeepsTheOldFile) {
    std::string path = fs::join(platform::cachesFolder(), "Kovra.ini");
    ASSERT_TRUE(fs::writeAtomically(path, "old content"));
    ASSERT_TRUE(fs::writeAtomically(path, "new content"));
    EXPECT_EQ(fs::readAll(path), "new content");

    // A write that runs out of room (here: the file size limit) fails and leaves the old file.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool wrote = fs::writeAtomically(path, std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(fs::readAll(path), "new content");

    // A missing folder or a folder in the way fails too.
    EXPECT_FALSE(fs::writeAtomically(home.path() + "/missing/x.dat", "x"));
    fs::createFolder(home.path() + "/Library/Caches/sub");
    EXPECT_FALSE(fs::writeAtomically(home.path() + "/Library/Caches/sub", "x"));
    EXPECT_TRUE(fs::isFolder(home.path() + "/Library/Caches/sub"));

    // No temporary file is ever left behind.
    EXPECT_EQ(entriesOf(platform::cachesFolder()), (std::vector<std::string>{"Kovra.ini", "sub"}));
}

TEST_F(TempHomeTest, ReadAllIsBoundedAndOnlyReadsFiles) {
    std::string path = home.writeFile("tmp/hundred.dat", std::string(100, 'a'));
    EXPECT_EQ(fs::readAll(path, 100)->size(), 100u);
    EXPECT_FALSE(fs::readAll(path, 99));
    EXPECT_FALSE(fs::readAll(platform::temporaryFolder()));
    EXPECT_FALSE(fs::readAll(home.path() + "/nothing"));
    EXPECT_EQ(fs::readAll(home.writeFile("tmp/empty", "")), "");
}

TEST_F(TempHomeTest, FoldersCopiesAndRemoval) {
    std::string deep = home.path() + "/a/b/c";
    EXPECT_TRUE(fs::createFolder(deep));
    EXPECT_TRUE(fs::createFolder(deep));  // already there
    std::string file = home.writeFile("a/b/c/caip.dat", std::string("\0bin\xff", 5));
    EXPECT_FALSE(fs::createFolder(file));

    std::string copy = home.path() + "/copy.dat";
    EXPECT_TRUE(fs::copyFile(file, copy));
    EXPECT_EQ(fs::readAll(copy), std::string("\0bin\xff", 5));
    EXPECT_FALSE(fs::copyFile(home.path() + "/nothing", copy));
    EXPECT_FALSE(fs::copyFile(deep, copy));
    EXPECT_EQ(fs::readAll(copy), std::string("\0bin\xff", 5));

    EXPECT_TRUE(fs::remove(home.path() + "/a"));
    EXPECT_FALSE(fs::exists(deep));
    EXPECT_FALSE(fs::remove(home.path() + "/a"));
    EXPECT_TRUE(fs::exists(copy));
}

TEST(FilePaths, JoinAndLastComponent) {
    struct Case { const char* folder; const char* name; const char* joined; } joins[] = {
        {"/data", "pic", "/data/pic"}, {"/data/", "pic", "/data/pic"}, {"/data/", "/pic", "/data/pic"},
        {"", "pic", "pic"}, {"/data", "", "/data"},
    };
    for (auto& c : joins) EXPECT_EQ(fs::join(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
    struct Last { const char* path; const char* last; } lasts[] = {
        {"/a/b/12.ATD", "12.ATD"}, {"/a/b/", "b"}, {"name", "name"}, {"/", "/"}, {"", ""},
    };
    for (auto& c : lasts) EXPECT_EQ(fs::lastComponent(c.path), c.last) << c.path;
}

TEST_F(TempHomeTest, BundleFindsResourcesButNeverOutsideItsFolder) {
    EXPECT_EQ(platform::Bundle::resourceFolder(), std::string(KOVRA_SOURCE_DIR) + "/resources");
    std::string resources = home.path() + "/res";
    home.writeFile("res/WELC.WAV", "RIFF");
    home.writeFile("res/CHINESE.TXT", "words");
    home.writeFile("secret.txt", "outside");
    platform::Bundle::setResourceFolder(resources);

    EXPECT_EQ(platform::Bundle::pathForResource("WELC", "WAV"), resources + "/WELC.WAV");
    EXPECT_EQ(platform::Bundle::pathForResource("CHINESE.TXT"), resources + "/CHINESE.TXT");
    EXPECT_FALSE(platform::Bundle::pathForResource("SEND", "WAV"));

    struct Case { std::string name, type; } escapes[] = {
        {"../secret", "txt"}, {"../secret.txt", ""}, {"..", ""}, {".", ""}, {"", ""},
        {"..\\secret", "txt"}, {"secret", "/../../secret.txt"}, {std::string("WELC\0x", 6), "WAV"},
        {"WELC", std::string("WAV\0", 4)}, {resources + "/WELC", "WAV"},
    };
    for (auto& c : escapes) EXPECT_FALSE(platform::Bundle::pathForResource(c.name, c.type)) << c.name;
    platform::Bundle::setResourceFolder(std::string(KOVRA_SOURCE_DIR) + "/resources");
}

}  // namespace
