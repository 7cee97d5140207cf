#include <gtest/gtest.h>

#include "platform/shell/Script.h"

using shell::ScriptStep;

TEST(Script, ReadsEveryKindOfStepWithQuotesAndComments) {
    const auto script = shell::parseScript(
        "# a session\n"
        "\n"
        "tap \"确定 \\\"OK\\\"\"   # the alert\n"
        "tap 送单\n"
        "tap tag -12\n"
        "tap 120 340.5\n"
        "type \"12\\n\"\n"
        "advance 0.25\r\n"
        "dump\n"
        "dump tree.txt\n"
        "screenshot \"out dir/a.png\"");
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(script.steps.size(), 9u);
    const auto& s = script.steps;
    EXPECT_EQ(s[0].kind, ScriptStep::Kind::TapTitle);
    EXPECT_EQ(s[0].text, "确定 \"OK\"");
    EXPECT_EQ(s[0].line, 3);
    EXPECT_EQ(s[1].text, "送单");
    EXPECT_EQ(s[2].kind, ScriptStep::Kind::TapTag);
    EXPECT_EQ(s[2].tag, -12);
    EXPECT_EQ(s[3].kind, ScriptStep::Kind::TapPoint);
    EXPECT_DOUBLE_EQ(s[3].x, 120);
    EXPECT_DOUBLE_EQ(s[3].y, 340.5);
    EXPECT_EQ(s[4].kind, ScriptStep::Kind::Type);
    EXPECT_EQ(s[4].text, "12\n");
    EXPECT_EQ(s[5].kind, ScriptStep::Kind::Advance);
    EXPECT_DOUBLE_EQ(s[5].seconds, 0.25);
    EXPECT_EQ(s[6].kind, ScriptStep::Kind::Dump);
    EXPECT_EQ(s[6].text, "");
    EXPECT_EQ(s[7].text, "tree.txt");
    EXPECT_EQ(s[8].kind, ScriptStep::Kind::Screenshot);
    EXPECT_EQ(s[8].text, "out dir/a.png");
    EXPECT_EQ(s[8].line, 11);
}

TEST(Script, AMistakeNamesItsLineAndKeepsNoSteps) {
    struct Case { const char* source; const char* error; } cases[] = {
        {"tap\n", "line 1: tap needs"},
        {"dump\ntap \"open", "line 2: unterminated quote"},
        {"tap tag x", "line 1: tap tag needs a whole number"},
        {"tap tag 99999999999", "line 1: tap tag needs a whole number"},
        {"tap 1 nan", "line 1: tap needs"},
        {"advance -1", "line 1: advance needs"},
        {"advance 3601", "line 1: advance needs"},
        {"advance inf", "line 1: advance needs"},
        {"type", "line 1: type needs one text"},
        {"type a b", "line 1: type needs one text"},
        {"screenshot", "line 1: screenshot needs a file"},
        {"dump a b", "line 1: dump takes"},
        {"type \"\\q\"", "line 1: unknown escape"},
        {"\n\nwait 3", "line 3: unknown step \"wait\""},
        {"\"tap\" x", "line 1: a step starts"},
    };
    for (auto& c : cases) {
        const auto script = shell::parseScript(c.source);
        EXPECT_FALSE(script.ok()) << c.source;
        EXPECT_EQ(script.error.rfind(c.error, 0), 0u) << c.source << " -> " << script.error;
        EXPECT_TRUE(script.steps.empty()) << c.source;
    }
}

TEST(Script, AMissingFileIsAnError) {
    EXPECT_FALSE(shell::loadScript("/nonexistent/script.txt").ok());
}
