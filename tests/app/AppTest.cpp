// The program as a tester runs it: `kovra --headless` under a script, with its own data folder.

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/render/Bitmap.h"
#include "support/SilentListener.h"
#include "support/TempHome.h"

namespace {

struct Outcome {
    int status = -1;
    std::string output;  // standard output and standard error
};

class Kovra : public testsupport::TempHomeTest {
protected:
    // The program's own home is the test's, so it never touches the real one.
    Outcome kovra(const std::string& args) {
        const std::string command = "HOME='" + home.path() + "' '" KOVRA_EXECUTABLE "' " + args + " 2>&1";
        Outcome r;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return r;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
        const int status = pclose(pipe);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }
};

TEST_F(Kovra, RunsAScriptHeadlessInItsDataFolder) {
    const std::string data = home.path() + "/terminal";
    const std::string shot = home.path() + "/shot.png";
    const std::string script = home.writeFile("s.txt", "advance 1\ndump\n");
    const Outcome r = kovra("--data-dir '" + data + "' --headless --script '" + script + "' --screenshot '" + shot + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.rfind("Window frame=(0,0,768,1024)", 0), 0u) << r.output;
    EXPECT_TRUE(platform::fs::isFolder(data));
    EXPECT_TRUE(platform::fs::isFolder(data + "/tmp")) << "its temporary files are kept there too";
    auto picture = render::decodeImageFile(shot);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 768);
    EXPECT_EQ(picture->height, 1024);
}

// Two terminals with two data folders are two devices: each keeps its own identifier in the user
// defaults of its folder, and nothing lands in the home.
TEST_F(Kovra, EachDataFolderIsADeviceOfItsOwn) {
    auto identifierIn = [&](const std::string& folder) -> std::string {
        const std::string data = home.path() + "/" + folder;
        // A device key from an earlier enrolment: the start opens it with the device identifier.
        home.writeFile(folder + "/data/mac.dat", "a key of another device");
        const Outcome r = kovra("--data-dir '" + data + "' --headless");
        EXPECT_EQ(r.status, 0) << r.output;
        auto defaults = platform::readPlistDictFile(data + "/Library/Preferences/defaults.plist");
        if (!defaults || !defaults->count("OpenUDID") || !defaults->at("OpenUDID").dict()) return "";
        const auto& stored = *defaults->at("OpenUDID").dict();
        auto it = stored.find("OpenUDID");
        return it != stored.end() && it->second.string() ? *it->second.string() : "";
    };
    const std::string first = identifierIn("first");
    const std::string second = identifierIn("second");
    EXPECT_FALSE(first.empty());
    EXPECT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_FALSE(platform::fs::exists(home.path() + "/.kovra")) << "the home is left alone";
}

TEST_F(Kovra, StartsOnTheWelcomeScreenWithTheDemoOfferThatAScriptCanAnswer) {
    const std::string script = home.writeFile("s.txt", "dump\ntap \"否\"\nadvance 1\ndump\n");
    const Outcome r = kovra("--data-dir '" + home.path() + "/terminal' --headless --script '" + script + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    const auto offer = r.output.find("您需要下载演示数据么？");
    ASSERT_NE(offer, std::string::npos) << r.output;
    EXPECT_NE(r.output.find("开始点菜"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("您需要下载演示数据么？", offer + 1), std::string::npos) << "answered, the offer is gone";
}

TEST_F(Kovra, AFailedStepOrAWrongOptionEndsWithAnError) {
    const std::string script = home.writeFile("s.txt", "dump\ntap \"没有这个按钮\"\ndump\n");
    const Outcome failed = kovra("--headless --script '" + script + "'");
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.output.find("line 2: tap \"没有这个按钮\""), std::string::npos) << failed.output;

    const std::string broken = home.writeFile("b.txt", "tap \"open\n");
    EXPECT_EQ(kovra("--headless --script '" + broken + "'").status, 1);
    EXPECT_EQ(kovra("--headless --script '" + home.path() + "/missing.txt'").status, 1);

    // A failed expectation names its line, shows the tree, and still leaves the picture asked for.
    const std::string shot = home.path() + "/failed.png";
    const std::string expecting = home.writeFile("e.txt", "advance 1\n# the total\nexpect \"合计 58\"\ndump\n");
    const Outcome expected = kovra("--headless --script '" + expecting + "' --screenshot '" + shot + "'");
    EXPECT_EQ(expected.status, 1);
    EXPECT_NE(expected.output.find("line 3: expect \"合计 58\": it is not on screen\nWindow frame=(0,0,768,1024)\n"),
              std::string::npos)
        << expected.output;
    auto picture = render::decodeImageFile(shot);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 768);

    for (const char* args : {"--bogus", "--data-dir", "--script x.txt", "--headless --script", "--position 91,0",
                             "--position 31.2", "--position 31.2,x", "--position 31.2,121.4,", "--place 上海市",
                             "--web-service", "--web-service 127.0.0.1:7993"}) {
        const Outcome r = kovra(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.output.find("usage: kovra"), std::string::npos) << args;
    }
}

// The program ends in order, whatever it was doing: the screens go before the focus and the hub,
// and the web requests still waiting let go of their pages before the program's own lists go. The
// runs are built with the address checker, which ends a run that touches freed memory.
TEST_F(Kovra, EndsCleanlyWithAFieldFocusedOrAWebRequestUnanswered) {
    // The settings screen's first field has the focus (typing reaches it) when the script ends.
    const std::string focused = home.writeFile("focused.txt", "tap \"否\"\ntap \"设置\"\ntap 480 141\ntype \"10\"\n");
    const Outcome withFocus = kovra("--data-dir '" + home.path() + "/terminal' --headless --script '" + focused + "'");
    EXPECT_EQ(withFocus.status, 0) << withFocus.output;
    EXPECT_EQ(withFocus.output.find("AddressSanitizer"), std::string::npos) << withFocus.output;

    // The list of shops nearby asks the service, which never answers; then an alert (the position
    // is unknown) is up as the program ends.
    testsupport::SilentListener service;
    ASSERT_GT(service.port(), 0);
    const std::string data = home.path() + "/online";
    home.writeFile("online/data/CSH.dat", "demo answered");  // no demo question at the start
    const std::string waiting = home.writeFile(
        "waiting.txt", "tap \"在线服务\"\ntap \"附近商家\"\ntap \"确定\"\ntap \"刷新\"\ntap \"返回\"\n"
                       "tap \"附近商家\"\nexpect \"无法定位到你的位置!\"\n");
    const Outcome unanswered =
        kovra("--data-dir '" + data + "' --web-service 'http://127.0.0.1:" + std::to_string(service.port()) +
              "/app/Android/' --headless --script '" + waiting + "'");
    EXPECT_EQ(unanswered.status, 0) << unanswered.output;
    EXPECT_EQ(unanswered.output.find("AddressSanitizer"), std::string::npos) << unanswered.output;
    EXPECT_GE(service.connectionsMade(), 1);
}

}  // namespace
