#include "platform/foundation/Sound.h"

#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "support/TempHome.h"

namespace {

TEST(Sound, RecordingPlayerStandsInUntilAnotherIsSet) {
    testsupport::TempHome home;
    platform::setSoundPlayer(nullptr);
    auto* recorder = dynamic_cast<platform::RecordingSoundPlayer*>(&platform::soundPlayer());
    ASSERT_NE(recorder, nullptr);
    std::string welc = home.writeFile("WELC.WAV", "RIFF");
    EXPECT_TRUE(platform::soundPlayer().play(welc));
    EXPECT_FALSE(platform::soundPlayer().play(home.path() + "/SEND.WAV"));
    EXPECT_EQ(recorder->played, (std::vector<std::string>{welc, home.path() + "/SEND.WAV"}));

    auto mine = std::make_shared<platform::RecordingSoundPlayer>();
    platform::setSoundPlayer(mine);
    platform::soundPlayer().play(welc);
    EXPECT_EQ(mine->played.size(), 1u);
}

TEST(Log, WritesLinesToStandardErrorUnlessQuiet) {
    testing::internal::CaptureStderr();
    platform::log("connect failed");
    platform::setLogQuiet(true);
    platform::log("hidden");
    platform::setLogQuiet(false);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "connect failed\n");
}

}  // namespace
