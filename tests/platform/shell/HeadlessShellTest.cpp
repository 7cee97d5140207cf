#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <string>

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
    struct Case { const char* script; const char* error; bool ran = true; } cases[] = {
        {"tap 被盖住", "line 1: tap \"被盖住\": "},
        {"tap 禁用", "line 1: tap \"禁用\": "},
        {"tap 没有", "line 1: tap \"没有\": "},
        {"tap tag 4242", "line 1: tap tag 4242: "},
        {"dump\ntype 5", "line 2: type: no text field has the focus"},
        {"tap 10 2000", "line 1: tap at a point: "},
        {"screenshot /nonexistent/dir/a.png", "line 1: screenshot: cannot write"},
        {"tap tag x", "line 1: tap tag needs", false},
        {"drag 被盖住 by 0 50", "line 1: drag \"被盖住\": Button \"被盖住\" is covered by View"},
        {"swipe 10 2000 left 50", "line 1: swipe at (10,2000): nothing takes a touch"},
        {"drag tag 4242 by 1 1", "line 1: drag tag 4242: no visible view"},
        {"backspace", "line 1: backspace: no text field has the focus"},
        {"return", "line 1: return: no text field has the focus"},
        {"pick 厨房", "line 1: pick \"厨房\": no picker shows a row titled \"厨房\""},
        {"wait 0.02", "line 1: wait: no worker thread posted anything within 0.02 s"},
        {"expect 合计", "line 1: expect \"合计\": it is not on screen"},
        {"expect no 送单", "line 1: expect no \"送单\": it is on screen"},
        {"expect tag 4242", "line 1: expect tag 4242: it is not on screen"},
        {"tap 送单\nexpect tag 7 \"已送 2\"", "line 2: expect tag 7 \"已送 2\": it shows \"已送 1\""},
    };
    for (auto& c : cases) {
        EXPECT_EQ(run(c.script), 1) << c.script;
        EXPECT_EQ(err.str().rfind(c.error, 0), 0u) << c.script << " -> " << err.str();
        if (!c.ran) continue;
        // The view tree as it was follows the failure, so the failure shows what was on screen.
        const auto tree = err.str().find("\nWindow frame=(0,0,768,1024)\n");
        EXPECT_NE(tree, std::string::npos) << c.script;
        EXPECT_EQ(err.str().find("\n"), tree) << c.script;
    }
    // A failed step stops the script: the tap after it never happens.
    const int taps = app.screen->taps;
    EXPECT_EQ(run("tap 被盖住\ntap 送单"), 1);
    EXPECT_EQ(app.screen->taps, taps);
}

TEST_F(HeadlessShellTest, ATriedStepMayBeRefusedAndTheScriptGoesOn) {
    const int taps = app.screen->taps;
    EXPECT_EQ(run("try tap 被盖住\ntry type 5\ntap 送单"), 0) << err.str();
    EXPECT_EQ(app.screen->taps, taps + 1);
    EXPECT_EQ(err.str().rfind("line 1: tried, refused: tap \"被盖住\": ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("line 2: tried, refused: type: no text field has the focus\n"), std::string::npos) << err.str();
}

TEST_F(HeadlessShellTest, StepsComingOneLineAtATimeAreEachAnswered) {
    std::istringstream in("tap 送单\ntap 没有\nsleep 3\n\ndump\n");
    shell.runSteps(in, out);
    const std::string said = out.str();
    EXPECT_EQ(said.rfind("= ok\n= refused tap \"没有\": no visible view titled \"没有\"\n"
                         "= error line 1: unknown step \"sleep\"\n= ok\nWindow frame=(0,0,768,1024)\n", 0),
              0u)
        << said;
    EXPECT_EQ(said.substr(said.size() - 5), "= ok\n");
}

// Input that a driver sends when it pleases, as a pipe would bring it: the reader blocks until
// something is sent or the feed is closed.
class Feed : public std::streambuf {
public:
    void send(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ += text;
        changed_.notify_all();
    }
    void close() {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }
    // Waits until the reader took all that was sent and asks for more (it is done with every
    // line sent so far). The minute is reached only by a reader that does not read meanwhile.
    bool waitUntilTaken() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(60), [this] { return reading_ && pending_.empty(); });
    }

protected:
    int_type underflow() override {
        std::unique_lock<std::mutex> lock(mutex_);
        reading_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !pending_.empty() || closed_; });
        reading_ = false;
        if (pending_.empty()) return traits_type::eof();
        buffer_.swap(pending_);
        pending_.clear();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
        return traits_type::to_int_type(buffer_[0]);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string pending_, buffer_;
    bool reading_ = false;
    bool closed_ = false;
};

TEST_F(HeadlessShellTest, AStepSentWhileAnExchangeHoldsTheScreenIsRefused) {
    Feed feed;
    std::istream in(&feed);
    // While 等待 holds the screen, the driver sends a tap on 送单, then ends its input.
    app.screen->blocking = [&feed] {
        feed.send("tap 送单\n");
        EXPECT_TRUE(feed.waitUntilTaken());
        feed.close();
    };
    feed.send("tap 等待\n");
    shell.runSteps(in, out);
    EXPECT_EQ(out.str(), "= ok\n= refused the step came while an exchange held the screen\n");
    EXPECT_EQ(app.screen->taps, 0);
}

TEST_F(HeadlessShellTest, ExpectationsSeeOnlyWhatIsOnScreen) {
    // Covered is still on screen; a row scrolled out of its list, or a hidden view, is not.
    EXPECT_EQ(run("expect 送单\nexpect tag 7 未送\nexpect 被盖住\nexpect 第3行\nexpect no 第9行\n"
                  "expect no 没有\nexpect tag 9 数量\nexpect no tag 4242"),
              0)
        << err.str();
    EXPECT_EQ(run("drag 第3行 by 0 -600 over 0\nexpect 第9行\nexpect no 第1行"), 0) << err.str();
    app.screen->count->setHidden(true);
    EXPECT_EQ(run("expect no tag 7\nexpect no 未送"), 0) << err.str();
}

TEST_F(HeadlessShellTest, TapByTagReachesAKeyThatTakesNoTouchesOfItsOwn) {
    ASSERT_EQ(run("tap tag 102\ntap tag 101\ntap tag 103\nexpect tag 11 213"), 0) << err.str();
    EXPECT_EQ(app.screen->amount->text(), "213");
}

TEST_F(HeadlessShellTest, DragsAndSwipesMoveTheFingerOverTheClock) {
    auto& list = *app.screen->list;
    list.setTag(14);
    struct Case { std::string script; double offset, inset; } cases[] = {
        {"drag 第1行 by 0 -150", 150, 0},
        {"drag tag 14 by 0 -150 over 0", 150, 0},
        {"drag 650 300 by 0 -150", 150, 0},
        {"swipe 第2行 up 150", 150, 0},
        {"swipe 第1行 down 100", 0, 0},          // only 50 points past the top: springs back
        // Pulled 100 points past the top and let go: the list rests open at the inset its
        // end-of-drag handler set.
        {"drag 第1行 by 0 200", -60, 60},
    };
    for (auto& c : cases) {
        list.setContentInset({});
        list.setContentOffset({0, 0});
        ASSERT_EQ(run(c.script + "\nadvance 1"), 0) << c.script << ": " << err.str();
        EXPECT_DOUBLE_EQ(list.contentOffset().y, c.offset) << c.script;
        EXPECT_DOUBLE_EQ(list.contentInset().top, c.inset) << c.script;
    }

    // The finger takes the time on the clock: an animation started before ends during the drag.
    const double start = home.loop().now();
    ASSERT_EQ(run("tap 滑动\ndrag 第3行 by 0 -100 over 0.5"), 0) << err.str();
    EXPECT_EQ(app.screen->stopped, std::vector<std::string>{"slide"});
    EXPECT_NEAR(home.loop().now() - start, 0.5, 1e-9);
}

TEST_F(HeadlessShellTest, PickTurnsTheWheelToARowAndTheDumpShowsTheRows) {
    ASSERT_EQ(run("pick 外卖\nexpect tag 12 外卖\npick 包间\ndump"), 0) << err.str();
    EXPECT_EQ(app.screen->rooms->selectedRowInComponent(0), 1);
    EXPECT_EQ(app.screen->room->text(), "包间");
    EXPECT_NE(out.str().find("    PickerView frame=(20,480,300,160)\n"
                             "      Row 0/0 title=\"大厅\"\n"
                             "      Row 0/1 title=\"包间\" [selected]\n"
                             "      Row 0/2 title=\"露台\"\n"),
              std::string::npos)
        << out.str();
    // Choosing the row already chosen tells nobody.
    app.screen->room->setText("");
    ASSERT_EQ(run("pick 包间"), 0) << err.str();
    EXPECT_EQ(app.screen->room->text(), "");
}

TEST_F(HeadlessShellTest, TypingStepsEditTheFieldWithTheFocus) {
    ASSERT_EQ(run("tap tag 9\ntype 12\nbackspace\ntype 3份\nbackspace 2\ntype 4\nreturn"), 0) << err.str();
    EXPECT_EQ(app.screen->returned, std::vector<std::string>{"14"});
}

TEST_F(HeadlessShellTest, WaitRunsWhatAWorkerThreadPosted) {
    ASSERT_EQ(run("tap 载入\nwait\nexpect tag 13 已载入"), 0) << err.str();
}

TEST_F(HeadlessShellTest, AWholeTrialOrderRunsFromItsScript) {
    const auto script = shell::loadScript(SHELL_TEST_DIR "/trial-order.txt");
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(shell.runScript(script, out, err), 0) << err.str();
    auto& s = *app.screen;
    EXPECT_EQ(s.returned, std::vector<std::string>{"2"});
    EXPECT_EQ(s.taps, 1);
    EXPECT_EQ(s.room->text(), "包间");
    EXPECT_EQ(s.stopped, std::vector<std::string>{"slide"});
    EXPECT_DOUBLE_EQ(s.list->contentInset().top, 60);
    EXPECT_DOUBLE_EQ(s.list->contentOffset().y, 240);
    EXPECT_NE(out.str().find("title=\"已载入\""), std::string::npos) << out.str();
}

TEST_F(HeadlessShellTest, TerminatingTellsTheDelegateOnce) {
    shell.terminate();
    EXPECT_TRUE(app.terminated);
    app.terminated = false;
    shell.terminate();
    EXPECT_FALSE(app.terminated);
}

}  // namespace
