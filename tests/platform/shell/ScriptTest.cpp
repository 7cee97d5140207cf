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

TEST(Script, ReadsTheEscapesTheDumpPrintsAndStepsThatMayBeRefused) {
    const auto script = shell::parseScript("tap \"A01\\r\\n空闲\\x01\\x7F\"\ntry tap 开台\ntry type \"\\x1b\"\n");
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(script.steps.size(), 3u);
    EXPECT_EQ(script.steps[0].text, "A01\r\n空闲\x01\x7f");
    EXPECT_FALSE(script.steps[0].mayFail);
    EXPECT_EQ(script.steps[1].kind, ScriptStep::Kind::TapTitle);
    EXPECT_EQ(script.steps[1].text, "开台");
    EXPECT_TRUE(script.steps[1].mayFail);
    EXPECT_EQ(script.steps[2].text, "\x1b");
    for (const char* bad : {"tap \"\\x4\"", "tap \"\\xg0\"", "try", "try try tap a", "try expect a"})
        EXPECT_FALSE(shell::parseScript(bad).ok()) << bad;
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
        {"\n\nsleep 3", "line 3: unknown step \"sleep\""},
        {"drag 送单", "line 1: drag needs \"by DX DY\""},
        {"drag tag by 1 2", "line 1: drag tag needs a whole number"},
        {"drag 1 2 by 3", "line 1: drag needs \"by DX DY\""},
        {"drag 1 2 by 3 99999", "line 1: drag needs \"by DX DY\""},
        {"drag 1 2 by 3 4 over", "line 1: drag ends with"},
        {"drag 1 2 by 3 4 over 61", "line 1: drag ends with"},
        {"drag 1 2 by 3 4 slowly", "line 1: drag ends with"},
        {"swipe 1 2 left", "line 1: swipe needs left"},
        {"swipe 1 2 sideways 50", "line 1: swipe needs left"},
        {"swipe 1 2 up -50", "line 1: swipe needs left"},
        {"backspace 0", "line 1: backspace takes"},
        {"backspace x", "line 1: backspace takes"},
        {"return 1", "line 1: return takes nothing"},
        {"pick", "line 1: pick needs"},
        {"wait 0", "line 1: wait takes"},
        {"wait 61", "line 1: wait takes"},
        {"expect", "line 1: expect needs a title"},
        {"expect no", "line 1: expect needs a title"},
        {"expect 1 2", "line 1: expect takes"},
        {"expect no tag 3 \"x\"", "line 1: expect takes"},
        {"expect \"x\" \"y\"", "line 1: expect takes"},
        {"\"tap\" x", "line 1: a step starts"},
    };
    for (auto& c : cases) {
        const auto script = shell::parseScript(c.source);
        EXPECT_FALSE(script.ok()) << c.source;
        EXPECT_EQ(script.error.rfind(c.error, 0), 0u) << c.source << " -> " << script.error;
        EXPECT_TRUE(script.steps.empty()) << c.source;
    }
}

TEST(Script, ReadsTheStepsThatMoveTheFingerAndCheckTheScreen) {
    using Kind = ScriptStep::Kind;
    using Target = ScriptStep::Target;
    struct Case {
        const char* source;
        Kind kind;
        Target target;
        std::string text;
        int tag;
        double x, y, dx, dy, seconds;
    } cases[] = {
        {"drag 100 200 by 0 -80", Kind::Drag, Target::Point, "", 0, 100, 200, 0, -80, shell::kDragSeconds},
        {"drag \"第1行\" by 0 120 over 1.5", Kind::Drag, Target::Title, "第1行", 0, 0, 0, 0, 120, 1.5},
        {"drag tag 4 by -30 0 over 0", Kind::Drag, Target::Tag, "", 4, 0, 0, -30, 0, 0},
        {"drag \"5\" by 1 1", Kind::Drag, Target::Title, "5", 0, 0, 0, 1, 1, shell::kDragSeconds},
        {"swipe 列表 left 200", Kind::Swipe, Target::Title, "列表", 0, 0, 0, -200, 0, shell::kSwipeSeconds},
        {"swipe tag 2 down 50 over 0.4", Kind::Swipe, Target::Tag, "", 2, 0, 0, 0, 50, 0.4},
        {"swipe 10 20 up 5", Kind::Swipe, Target::Point, "", 0, 10, 20, 0, -5, shell::kSwipeSeconds},
        {"swipe 10 20 right 5", Kind::Swipe, Target::Point, "", 0, 10, 20, 5, 0, shell::kSwipeSeconds},
        {"pick \"包间\"", Kind::Pick, Target::Title, "包间", 0, 0, 0, 0, 0, 0},
        {"wait", Kind::Wait, Target::Title, "", 0, 0, 0, 0, 0, shell::kWaitSeconds},
        {"wait 0.5", Kind::Wait, Target::Title, "", 0, 0, 0, 0, 0, 0.5},
        {"return", Kind::Return, Target::Title, "", 0, 0, 0, 0, 0, 0},
    };
    for (auto& c : cases) {
        const auto script = shell::parseScript(c.source);
        ASSERT_TRUE(script.ok()) << c.source << ": " << script.error;
        ASSERT_EQ(script.steps.size(), 1u) << c.source;
        const auto& s = script.steps[0];
        EXPECT_EQ(s.kind, c.kind) << c.source;
        EXPECT_EQ(s.target, c.target) << c.source;
        EXPECT_EQ(s.text, c.text) << c.source;
        EXPECT_EQ(s.tag, c.tag) << c.source;
        EXPECT_DOUBLE_EQ(s.x, c.x) << c.source;
        EXPECT_DOUBLE_EQ(s.y, c.y) << c.source;
        EXPECT_DOUBLE_EQ(s.dx, c.dx) << c.source;
        EXPECT_DOUBLE_EQ(s.dy, c.dy) << c.source;
        EXPECT_DOUBLE_EQ(s.seconds, c.seconds) << c.source;
    }

    const auto script = shell::parseScript("backspace\nbackspace 3\nexpect 合计\nexpect no tag 7\n"
                                           "expect tag 7 \"已送 2\"\nexpect \"no\"");
    ASSERT_TRUE(script.ok()) << script.error;
    const auto& s = script.steps;
    ASSERT_EQ(s.size(), 6u);
    EXPECT_EQ(s[0].kind, Kind::Backspace);
    EXPECT_EQ(s[0].count, 1);
    EXPECT_EQ(s[1].count, 3);
    EXPECT_EQ(s[2].kind, Kind::Expect);
    EXPECT_EQ(s[2].target, Target::Title);
    EXPECT_EQ(s[2].text, "合计");
    EXPECT_FALSE(s[2].absent);
    EXPECT_FALSE(s[2].shows);
    EXPECT_EQ(s[3].target, Target::Tag);
    EXPECT_EQ(s[3].tag, 7);
    EXPECT_TRUE(s[3].absent);
    EXPECT_EQ(s[4].shows, std::optional<std::string>("已送 2"));
    EXPECT_FALSE(s[4].absent);
    EXPECT_EQ(s[5].text, "no");
    EXPECT_FALSE(s[5].absent);
}

TEST(Script, AMissingFileIsAnError) {
    EXPECT_FALSE(shell::loadScript("/nonexistent/script.txt").ok());
}
