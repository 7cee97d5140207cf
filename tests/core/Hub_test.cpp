#include <gtest/gtest.h>

#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "core/NSStaticUnit.h"
#include "model/NSATreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileSystem.h"

namespace {

class HubTest : public CoreTest {};

TEST_F(HubTest, CurrentDeskComesFromTheOfflineDesksOrIsMadeOnce) {
    // No offline desks: a new empty desk becomes current and joins the offline list once.
    auto first = NSServer::getNowDesk();
    ASSERT_TRUE(first);
    EXPECT_EQ(NSServer::getNowDesk(), first);
    ASSERT_TRUE(NSServer::getOutDesk());
    EXPECT_EQ(NSServer::getOutDesk()->size(), 1u);

    // Cleared: the first offline desk is chosen again, and the list keeps its length.
    auto other = std::make_shared<NSDeskClass>();
    NSServer::getOutDesk()->insert(NSServer::getOutDesk()->begin(), other);
    NSServer::setNowDesk(nullptr);
    EXPECT_EQ(NSServer::getNowDesk(), other);
    EXPECT_EQ(NSServer::getOutDesk()->size(), 2u);
}

TEST_F(HubTest, AccessorsWithSideEffects) {
    EXPECT_EQ(NSServer::getJtNO(), "0");
    NSServer::setJtNO("");
    EXPECT_EQ(NSServer::getJtNO(), "");
    NSServer::setJtNO(std::nullopt);
    EXPECT_EQ(NSServer::getJtNO(), "0");

    auto user = NSServer::getNowUser();
    ASSERT_TRUE(user);
    EXPECT_EQ(user->m_iDishCount, -1);
    EXPECT_EQ(NSServer::getNowUser(), user);

    EXPECT_EQ(NSServer::getRubbishs(), NSServer::getRubbishs());
    EXPECT_TRUE(NSServer::getRubbishs()->empty());
    EXPECT_EQ(NSServer::getCaipCopys(), NSServer::getCaipCopys());
    EXPECT_NE(NSServer::getRubbishs(), NSServer::getCaipCopys());

    NSServer::setIsSend(false);
    EXPECT_TRUE(NSServer::isSend());

    NSServer::setMustHeng(true);
    NSServer::setMustShu(true);
    EXPECT_FALSE(NSServer::isMustHeng());
    NSServer::setMustHeng(true);
    EXPECT_FALSE(NSServer::isMustShu());
    NSServer::setMustHeng(false);
    EXPECT_FALSE(NSServer::isMustHeng());

    EXPECT_TRUE(NSServer::getCanR());

    // Setting the text already held keeps it.
    NSServer::setSetDeskName("A1");
    NSServer::setSetDeskName(NSServer::getSetDeskName());
    EXPECT_EQ(NSServer::getSetDeskName(), "A1");
}

TEST_F(HubTest, EveryNonEmptyServerAddressStartsTheEnrolment) {
    int enrolments = 0;
    NSServer::setEnrolmentHook([&] { ++enrolments; });
    NSServer::setIP("");
    EXPECT_EQ(enrolments, 0);
    NSServer::setIP("10.1.1.1");
    NSServer::setIP("10.1.1.1");
    EXPECT_EQ(enrolments, 2);
    NSServer::setIP2("10.1.1.2");
    EXPECT_EQ(enrolments, 2);
}

TEST_F(HubTest, ReleaseStaticKeepsTheSecondAddressAndTheDeskTree) {
    NSServer::setIP("1.1.1.1");
    NSServer::setIP2("2.2.2.2");
    auto tree = std::make_shared<NSATreeClass>();
    NSServer::setDesks(tree);
    NSServer::setMacAdr("KEY");
    NSServer::getNowDesk();
    NSServer::getLangueManager();
    NSServer::releaseStatic();
    EXPECT_EQ(NSServer::getIp2(), "2.2.2.2");
    EXPECT_EQ(NSServer::getDesks(), tree);
    EXPECT_EQ(NSServer::getIp(), "");
    EXPECT_EQ(NSServer::getMacAdr(), "");
    EXPECT_FALSE(NSServer::getOutDesk());
    EXPECT_EQ(NSServer::getDataPath(), "");
}

TEST_F(HubTest, DebugLogGrowsByADatedLine) {
    NSServer::createDir();
    platform::setCurrentDateForTesting(1767139200);  // 2025-12-31 00:00:00 UTC
    NSServer::saveDebugLog("first");
    NSServer::saveDebugLog("second");
    platform::setCurrentDateForTesting(-1);
    std::string log = platform::fs::readAll(dataFile("log.log")).value_or("");
    // The calendar year, never the week-based one (which would read 2026 here in most zones).
    std::string date = platform::formatDate(1767139200, "yyyy-MM-dd HH:mm:ss");
    EXPECT_EQ(log, "\r\n" + date + " first\r\n" + date + " second");
}

TEST_F(HubTest, SmallMeasures) {
    EXPECT_DOUBLE_EQ(NSServer::D_jw(30, 120, 30, 120), 0);
    EXPECT_NEAR(NSServer::D_jw(30, 120, 31, 120), 111.2, 0.1);
    struct Fit {
        ui::Size picture;
        ui::Rect expected;
    } fits[] = {
        {{200, 100}, {0, 25, 100, 50}},
        {{50, 50}, {0, 0, 100, 100}},
        {{100, 400}, {37.5, 0, 25, 100}},
        {{0, 80}, {0, 0, 100, 100}},
    };
    for (const auto& f : fits) {
        ui::Rect r = NSStaticUnit::getCaipICGRect(f.picture, ui::Rect(0, 0, 100, 100));
        EXPECT_FLOAT_EQ(r.x(), f.expected.x());
        EXPECT_FLOAT_EQ(r.y(), f.expected.y());
        EXPECT_FLOAT_EQ(r.width(), f.expected.width());
        EXPECT_FLOAT_EQ(r.height(), f.expected.height());
    }
    double mb = NSServer::usedMemory();
    EXPECT_GT(mb, 1.0);
    EXPECT_LT(mb, 100000.0);
}

}  // namespace
