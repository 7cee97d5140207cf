#include "platform/foundation/Date.h"

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

namespace {

TEST(Date, TestsCanFixTheWallClock) {
    platform::setCurrentDateForTesting(1234567890.25);
    EXPECT_DOUBLE_EQ(platform::currentDate(), 1234567890.25);
    platform::setCurrentDateForTesting(-1);
    EXPECT_GT(platform::currentDate(), 1.6e9);
}

TEST(Date, FormatsPatternsInUtcAndLocalTime) {
    const double t = 1234567890.123;  // 2009-02-13 23:31:30.123 UTC
    struct Case { const char* pattern; const char* out; } cases[] = {
        {"yyyy-MM-dd HH:mm:ss.SSS", "2009-02-13 23:31:30.123"},
        {"YYYY-MM-dd HH:mm:ss", "2009-02-13 23:31:30"},
        {"MM/dd/yyyy hh:mm:a", "02/13/2009 11:31:PM"},
        {"yyMMdd'T'HHmm 'o''clock' ''", "090213T2331 o'clock '"},
        {"d.M.y S", "13.2.2009 1"},
    };
    for (auto& c : cases) EXPECT_EQ(platform::formatDate(t, c.pattern, true), c.out) << c.pattern;

    const char* oldTz = std::getenv("TZ");
    std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "CST-8", 1);  // eight hours east of UTC, no daylight saving
    tzset();
    EXPECT_EQ(platform::formatDate(t, "yyyy-MM-dd HH:mm"), "2009-02-14 07:31");
    if (oldTz) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

}  // namespace
