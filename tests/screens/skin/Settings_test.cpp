// The settings screen on the real root: which rows show, what the save stores into Kovra.ini,
// and the maintenance rows against the back-office simulator and the real folders.

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/NSLangueManager.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSUserClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Application.h"
#include "screens/skin/SkinFixture.h"

namespace {

std::set<std::string> entries(const std::string& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.insert(it->path().filename().string());
    return names;
}

class SettingsScreen : public SkinFixture {
protected:
    // Opens the settings as the root does for whoever asks, marked for the administrator or not.
    void open(bool admin) {
        UISetViewController::markNextOpeningAsAdministrator(admin);
        root->set();
        settle();
        ASSERT_TRUE(settings());
    }
    void close() {
        root->setBack();
        settle();
    }
    void save() {
        tap("确定");
        settle();
    }
};

TEST_F(SettingsScreen, RowsFollowTheSkinAndTheAdministrator) {
    start();
    struct Case {
        bool skin;
        bool markedAdmin;
        const char* userDesc;
        std::array<int, 3> rows;
    } cases[] = {
        {false, true, "", {6, 4, 1}},
        {true, true, "", {6, 4, 4}},
        {true, false, "", {0, 3, 1}},
        {false, false, "", {6, 4, 1}},
        {true, false, UISetViewController::kAdminDesc, {6, 4, 4}},  // the login panel's administrator
    };
    for (const auto& c : cases) {
        setSkin(c.skin);
        NSServer::getNowUser()->m_strUserDesc = c.userDesc;
        open(c.markedAdmin);
        EXPECT_EQ(rows(), c.rows) << c.skin << c.markedAdmin << c.userDesc;
        // A control exists exactly when its row was built.
        EXPECT_EQ(settings()->tf_ip1() != nullptr, c.rows[0] > 0);
        EXPECT_EQ(settings()->tf_userName() != nullptr, c.rows[2] > 1);
        EXPECT_EQ(shows("清除所有数据"), c.rows[1] == 4);
        close();
    }
    open(true);
    EXPECT_EQ(settings()->computerID()->text(),
              platform::fmt("本机编号：%@  版本：%@", NSServer::getMacAdr(), "00-201310241706"));
}

TEST_F(SettingsScreen, AdministratorSaveWritesWhatWasTypedAndBackWritesNothing) {
    start();
    NSServer::setSetUserName("0007");
    NSServer::setSetUserPassword("77");
    NSServer::setSetDeskName("3");
    NSServer::setInterfaceType(5);

    for (bool skin : {false, true}) {
        SCOPED_TRACE(skin ? "with a skin" : "without a skin");
        setSkin(skin);
        // Back leaves every value as stored.
        tap("设置");
        settle();
        edit(settings()->tf_ip2(), "10.0.0.2");
        tap("返回");
        settle();
        EXPECT_EQ(NSServer::getIp2(), "");

        tap("设置");
        settle();
        edit(settings()->tf_ip2(), "10.0.0.2");
        edit(settings()->tf_outtime(), "45");
        flip(settings()->iscaiph());
        flip(settings()->isShowTitleMoney());
        if (skin) {
            edit(settings()->tf_userName(), "0001");
            edit(settings()->tf_userPassword(), "123");
            edit(settings()->tf_deskName(), "15");
        } else {
            EXPECT_FALSE(settings()->tf_userName());  // no row, no control
        }
        save();
        EXPECT_FALSE(settings());

        EXPECT_EQ(ini("ip2"), "10.0.0.2");
        EXPECT_EQ(ini("outtime"), "45");
        EXPECT_EQ(ini("iscaiph"), "0");
        EXPECT_EQ(ini("isShowTitleMoney"), "0");
        EXPECT_EQ(ini("InterType"), "2");
        EXPECT_EQ(ini("canheng"), "1");  // no landscape switch on this screen
        EXPECT_EQ(ini("userName"), skin ? "0001" : "0007");
        EXPECT_EQ(ini("userPassword"), skin ? "123" : "77");
        EXPECT_EQ(ini("deskName"), skin ? "15" : "3");

        // Put the switches back for the next round.
        NSServer::setisCaiph(true);
        NSServer::setIsShowTitleMoney(true);
        NSServer::setIP2("");
        NSServer::setInterfaceType(5);
    }
}

TEST_F(SettingsScreen, OthersSaveOnlyAtFirstSetUp) {
    start();
    struct Case {
        bool skin;
        bool firstSetUp;
        bool stores;
    } cases[] = {
        {false, true, true},    // no company, no server: anyone names the server
        {false, false, false},  // a company is set: the rows show but nothing is taken
        {true, false, false},   // no row shows; only the interface type changes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "skin " << c.skin << " first set-up " << c.firstSetUp);
        setSkin(c.skin);
        NSServer::setJtNO(c.firstSetUp ? "0" : "1");
        NSServer::setIP2("");
        NSServer::setOutTime(20);
        NSServer::setInterfaceType(5);
        open(false);
        if (settings()->tf_ip2()) {
            edit(settings()->tf_ip2(), "10.1.1.1");
            edit(settings()->tf_outtime(), "33");
        }
        save();
        EXPECT_EQ(ini("ip2"), c.stores ? "10.1.1.1" : "");
        EXPECT_EQ(ini("outtime"), c.stores ? "33" : "20");
        EXPECT_EQ(ini("InterType"), "2");
    }
}

TEST_F(SettingsScreen, SavingTheFirstServerAddressEnrolsTheDevice) {
    start();
    ASSERT_EQ(NSServer::getMacAdr(), "null");
    tap("设置");
    settle();
    edit(settings()->tf_ip1(), "127.0.0.1");
    save();
    EXPECT_EQ(ini("ip"), "127.0.0.1");
    EXPECT_EQ(sim.requestsFor("check").size(), 1u);
    EXPECT_NE(NSServer::getMacAdr(), "null");
    EXPECT_TRUE(platform::fs::exists(dataFile("mac.dat")));
}

TEST_F(SettingsScreen, TimeOutKeepsThePreviousValueUnlessAPositiveNumberIsGiven) {
    start();
    struct Case {
        const char* text;
        int stored;
    } cases[] = {
        {"", 20}, {"abc", 20}, {"0", 20}, {"-5", 20}, {"12abc", 12}, {"30", 30},
    };
    for (const auto& c : cases) {
        NSServer::setOutTime(20);
        open(true);
        // Letters and signs do not come from the number pad, but a pasted text or a hardware
        // keyboard can bring them: the field's text is what the save reads.
        settings()->tf_outtime()->setText(c.text);
        save();
        EXPECT_EQ(NSServer::getOutTime(), c.stored) << '"' << c.text << '"';
        EXPECT_EQ(ini("outtime"), std::to_string(c.stored)) << '"' << c.text << '"';
    }
}

TEST_F(SettingsScreen, SynchronisationStoresTheTypedAddressesFirstAndReportsItsEnd) {
    start(true);
    for (const char* kind : {"bmp", "png", "mpg"}) sim.removeFiles(kind);
    for (bool serverUp : {true, false}) {
        SCOPED_TRACE(serverUp ? "server answers" : "server refuses");
        NSServer::setIP2("");
        if (!serverUp) {
            backoffice::Faults refuse;
            refuse.refuse = true;
            sim.setFaults(refuse);
        }
        sim.clearRecords();
        tap("设置");
        settle();
        edit(settings()->tf_ip2(), "127.0.0.1");
        tap("同步菜谱");

        // The addresses were stored and written before the download, whatever its end.
        EXPECT_EQ(NSServer::getIp2(), "127.0.0.1");
        EXPECT_EQ(ini("ip2"), "127.0.0.1");
        EXPECT_FALSE(ui::Application::shared().isIdleTimerDisabled());
        if (serverUp) {
            EXPECT_FALSE(sim.requestsFor("query").empty());
            EXPECT_EQ(root->style(), "菜谱同步成功");
            ASSERT_EQ(alerts().size(), 1u) << dump();
            EXPECT_EQ(alerts().back()->title(), "完成");
            EXPECT_EQ(alertMessage(), "菜谱已同步完成");
            tap("确定");
            EXPECT_FALSE(NSServer::getIsShowAlert());
        } else {
            EXPECT_EQ(root->style(), "菜谱同步失败");
            for (auto& alert : alerts()) alert->dismissWithClickedButtonIndex(0, false);
            NSServer::setIsShowAlert(false);
            sim.clearFaults();
        }
        advance(4);  // the message panel over the bar clears itself
        tap("返回");
        settle();
    }
}

TEST_F(SettingsScreen, UpdateStoresTheSkinFilesAndReportsByTheAlertRule) {
    start(true);
    sim.removeFiles("bmp");
    sim.removeFiles("mpg");
    sim.setFile("png", {"91.png", 3, "skin-bytes", std::nullopt});
    tap("设置");
    settle();

    tap("更新皮肤和视频");
    EXPECT_EQ(platform::fs::readAll(NSServer::getSkinsPath() + "/91.PNG"), "skin-bytes");
    EXPECT_EQ(root->style(), "皮肤和视频更新成功");
    EXPECT_EQ(alertMessage(), "皮肤和视频更新成功");
    tap("确定");
    EXPECT_FALSE(NSServer::getIsShowAlert());

    // With an alert already up the end goes to the message panel.
    NSServer::setIsShowAlert(true);
    tap("更新皮肤和视频");
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(root->style(), "皮肤和视频已更新");
}

TEST_F(SettingsScreen, WipeAsksFirstThenLeavesOnlyTheConfiguration) {
    start();
    NSServer::writeINI();
    for (const char* name : {"mac.dat", "OUTDESK.ATD", "D1.ATD", "CSH.dat", "caip.dat"})
        platform::fs::writeAtomically(dataFile(name), "x");
    platform::fs::writeAtomically(NSServer::getSkinsPath() + "/3.PNG", "x");
    platform::fs::createFolder(NSServer::getCaippicPath() + "/old");
    platform::fs::writeAtomically(NSServer::getCaippicPath() + "/old/A.BMP", "x");
    platform::fs::createFolder(NSServer::getMediaPath());
    platform::fs::writeAtomically(NSServer::getMediaPath() + "/v.mpg", "x");
    auto menuBefore = NSServer::getCaipDB();
    tap("设置");
    settle();

    tap("清除所有数据");
    EXPECT_EQ(alertMessage(), "确定清除所有数据吗？清除后需重新同步菜谱。");
    tap("取消");
    EXPECT_FALSE(NSServer::getIsShowAlert());
    EXPECT_TRUE(platform::fs::exists(dataFile("mac.dat")));

    tap("清除所有数据");
    tap("确定");
    EXPECT_FALSE(NSServer::getIsShowAlert());
    EXPECT_EQ(entries(NSServer::getDataPath()), (std::set<std::string>{"Kovra.ini"}));
    EXPECT_TRUE(entries(NSServer::getSkinsPath()).empty());
    EXPECT_TRUE(entries(NSServer::getCaippicPath()).empty());
    EXPECT_TRUE(entries(NSServer::getMediaPath()).empty());
    EXPECT_NE(NSServer::getCaipDB(), menuBefore) << "the menu is loaded again from the missing files";
    EXPECT_TRUE(settings()) << "the wipe leaves the screen open";
}

TEST_F(SettingsScreen, DeletingSavedOrdersDropsAnOfflineCurrentDeskOnly) {
    start();
    for (const char* deskID : {"", "D1"}) {
        SCOPED_TRACE(*deskID ? "opened desk" : "offline desk");
        for (const char* name : {"OUTDESK.ATD", "D1.ATD", "D2.ATD.bak", "caip.dat"})
            platform::fs::writeAtomically(dataFile(name), "x");
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = deskID;
        NSServer::setNowDesk(desk);
        tap("设置");
        settle();

        tap("删除本机保存的点单");
        EXPECT_EQ(entries(NSServer::getDataPath()).count("caip.dat"), 1u);
        for (const char* name : {"OUTDESK.ATD", "D1.ATD", "D2.ATD.bak"})
            EXPECT_FALSE(platform::fs::exists(dataFile(name))) << name;
        EXPECT_TRUE(NSServer::getOutDesk()->empty());
        if (*deskID)
            EXPECT_EQ(NSServer::getNowDesk(), desk);
        else
            EXPECT_NE(NSServer::getNowDesk(), desk);
        tap("返回");
        settle();
    }
}

TEST_F(SettingsScreen, WhileTheDeskPickerIsOpenAnActionOnlyClosesIt) {
    start(true);
    setSkin(true);
    platform::fs::writeAtomically(dataFile("OUTDESK.ATD"), "x");
    tap("设置");
    settle();
    tap("选择桌台");
    settle();
    ASSERT_TRUE(root->selectViewController) << "the desk picker opens with the offline section";

    // The picker covers the screen, so no finger reaches the actions now; a caller does.
    settings()->delOutDesk();
    settle();
    EXPECT_FALSE(root->selectViewController);
    EXPECT_TRUE(platform::fs::exists(dataFile("OUTDESK.ATD")));
    tap("删除本机保存的点单");
    EXPECT_FALSE(platform::fs::exists(dataFile("OUTDESK.ATD")));
}

}  // namespace
