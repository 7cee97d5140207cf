#include <gtest/gtest.h>

#include "core/CoreFixture.h"
#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Sound.h"
#include "platform/foundation/Text.h"

namespace {

class WordsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        NSServer::createDir();
    }
    void putInSkins(const std::string& name, const std::string& bytes) {
        platform::fs::writeAtomically(NSServer::getSkinsPath() + "/" + name, bytes);
    }
};

TEST_F(WordsTest, TheSkinsTableWinsOverThePackage) {
    putInPackage("CHINESE.TXT", R"({"onok":"确定","tishi":"提示"})");
    EXPECT_EQ(NSLangueManager().text("onok"), "确定");
    putInSkins("CHINESE.TXT", R"({"onok":"好"})");
    NSLangueManager words;
    EXPECT_EQ(words.text("onok"), "好");
    EXPECT_EQ(words.word("tishi"), std::nullopt);  // no fallback to the package's table
}

TEST_F(WordsTest, AGb18030TableReadsLikeItsUtf8Twin) {
    const std::string utf8 = R"({"dishl26":"送单失败，请重试","yuan":"元"})";
    putInPackage("CHINESE.TXT", *platform::utf8ToGb18030(utf8));
    NSLangueManager gb;
    putInPackage("CHINESE.TXT", utf8);
    NSLangueManager plain;
    ASSERT_TRUE(gb.words());
    EXPECT_EQ(*gb.words(), *plain.words());
    EXPECT_EQ(gb.text("yuan"), "元");
}

TEST_F(WordsTest, OnlyAnObjectOfTextsIsInstalled) {
    NSLangueManager words;  // no file anywhere
    EXPECT_FALSE(words.words());
    EXPECT_EQ(words.word("onok"), std::nullopt);
    EXPECT_EQ(words.text("onok"), "");

    putInPackage("T1.TXT", R"({"a":"甲","n":5,"o":{"x":"y"}})");
    ASSERT_TRUE(words.loadLangue("T1.TXT"));
    EXPECT_EQ(words.text("a"), "甲");
    EXPECT_EQ(words.word("n"), std::nullopt);

    // Not an object, not JSON, not text: NO, and the table stays as it was.
    for (std::string bad : {std::string(R"(["a","b"])"), std::string("{oops"), std::string("\x81\x30\xff", 3)}) {
        putInPackage("BAD.TXT", bad);
        EXPECT_FALSE(words.loadLangue("BAD.TXT")) << bad;
        EXPECT_EQ(words.text("a"), "甲");
    }
    EXPECT_FALSE(words.loadLangue("MISSING.TXT"));
}

TEST_F(WordsTest, TheProgramsOwnTableIsComplete) {
    // Every key the screens look up has a text in the shipped table.
    platform::Bundle::setResourceFolder(KOVRA_SOURCE_DIR "/resources");
    NSLangueManager words;
    ASSERT_TRUE(words.words());
    for (const char* key : {"onok", "cancel", "tishi", "yuan", "dishl26", "dishl27", "shez1",
                            "switch1", "login1", "selectcaip4", "caipf1", "yuding1", "zuof2"})
        EXPECT_FALSE(words.text(key).empty()) << key;
}

TEST_F(WordsTest, SoundsComeFromTheSkinThenThePackage) {
    auto player = std::make_shared<platform::RecordingSoundPlayer>();
    platform::setSoundPlayer(player);
    putInPackage("SEND.WAV", "RIFF");
    putInPackage("WELC.WAV", "RIFF");
    putInSkins("WELC.WAV", "RIFF");
    EXPECT_TRUE(NSServer().playSound("SEND"));
    EXPECT_TRUE(NSServer().playSound("WELC"));
    EXPECT_FALSE(NSServer().playSound("RENS"));
    ASSERT_EQ(player->played.size(), 2u);
    EXPECT_EQ(player->played[0], package + "/SEND.WAV");
    EXPECT_EQ(player->played[1], NSServer::getSkinsPath() + "/WELC.WAV");
    platform::setSoundPlayer(std::make_shared<platform::RecordingSoundPlayer>());
}

}  // namespace
