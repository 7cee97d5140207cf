#include <sstream>

#include <gtest/gtest.h>

#include "TestScreen.h"
#include "platform/foundation/FileSystem.h"
#include "platform/render/Bitmap.h"
#include "platform/shell/HeadlessShell.h"
#include "support/TempHome.h"

namespace {

class HeadlessShellTest : public testsupport::TempHomeTest {
protected:
    shelltest::TestDelegate app;
    shell::HeadlessShell shell;

    void SetUp() override { ASSERT_TRUE(shell.launch(app)); }
    int run(const std::string& source) {
        out.str("");
        err.str("");
        return shell.runScript(shell::parseScript(source), out, err);
    }
    std::ostringstream out, err;
};

TEST_F(HeadlessShellTest, AScriptWorksTheScreenThroughTapsTypingAndTheClock) {
    const std::string tree = home.path() + "/tree.txt";
    const std::string png = home.path() + "/screen.png";
    const int status = run("tap 送单\n"
                           "tap \"送单\"\n"
                           "tap tag 9\n"
                           "type \"3份\\n\"\n"
                           "tap 滑动\n"
                           "advance 0.29\n"
                           "dump\n"
                           "advance 0.02\n"
                           "dump " + tree + "\n"
                           "screenshot " + png + "\n");
    ASSERT_EQ(status, 0) << err.str();
    auto& s = *app.screen;
    EXPECT_EQ(s.taps, 2);
    EXPECT_EQ(s.count->text(), "已送 2");
    EXPECT_EQ(s.returned, std::vector<std::string>{"3份"});
    EXPECT_EQ(s.field->text(), "3份");
    EXPECT_EQ(shell.window().firstResponder(), nullptr);

    // The animation ends at its own time, not before.
    EXPECT_NE(out.str().find("已送 2"), std::string::npos);
    EXPECT_EQ(s.stopped, std::vector<std::string>{"slide"});
    auto saved = platform::fs::readAll(tree);
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("3份"), std::string::npos);

    auto shot = render::decodeImageFile(png);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width, 768);
    EXPECT_EQ(shot->height, 1024);
    // The red button sits at (20, 40) of the screen's view, which starts below the status bar.
    EXPECT_EQ(shot->at(25, 20 + 45), 0xFFC81E1Eu);
    // The panel moved to its new place.
    EXPECT_EQ(shot->at(450, 20 + 650), 0xFF1E1EC8u);
    EXPECT_EQ(shot->at(450, 20 + 450), 0xFFFFFFFFu);
}

TEST_F(HeadlessShellTest, AStepThatAPersonCouldNotDoFailsTheScriptAtItsLine) {
    struct Case { const char* script; const char* error; } cases[] = {
        {"tap 被盖住", "line 1: tap \"被盖住\": "},
        {"tap 禁用", "line 1: tap \"禁用\": "},
        {"tap 没有", "line 1: tap \"没有\": "},
        {"tap tag 4242", "line 1: tap tag 4242: "},
        {"dump\ntype 5", "line 2: type: no text field has the focus"},
        {"tap 10 2000", "line 1: tap at a point: "},
        {"screenshot /nonexistent/dir/a.png", "line 1: screenshot: cannot write"},
        {"tap tag x", "line 1: tap tag needs"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(run(c.script), 1) << c.script;
        EXPECT_EQ(err.str().rfind(c.error, 0), 0u) << c.script << " -> " << err.str();
    }
    // A failed step stops the script: the tap after it never happens.
    EXPECT_EQ(run("tap 被盖住\ntap 送单"), 1);
    EXPECT_EQ(app.screen->taps, 0);
}

TEST_F(HeadlessShellTest, TerminatingTellsTheDelegateOnce) {
    shell.terminate();
    EXPECT_TRUE(app.terminated);
    app.terminated = false;
    shell.terminate();
    EXPECT_FALSE(app.terminated);
}

}  // namespace
