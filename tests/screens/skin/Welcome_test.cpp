// The welcome screen on the real root: its entries to the settings (button, hidden gesture, a
// finished login) and what they leave of the logged-in waiter.

#include <functional>
#include <vector>

#include "model/NSUserClass.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Image.h"
#include "screens/skin/SkinFixture.h"

namespace {

class WelcomeScreen : public SkinFixture {};

TEST_F(WelcomeScreen, HiddenGestureOpensTheSettingsOnlyInItsOrder) {
    start();
    const ui::Point corner{10, 10}, lowerRight{400, 600}, elsewhere{400, 200};
    struct Case {
        const char* name;
        std::vector<ui::Point> releases;
        bool opens;
    } cases[] = {
        {"two corner taps, then two lower right", {corner, corner, lowerRight, lowerRight}, true},
        {"a third corner tap starts again", {corner, corner, corner, lowerRight, lowerRight}, false},
        {"one corner tap is not enough", {corner, lowerRight, lowerRight}, false},
        {"x exactly 300 is outside", {corner, corner, {300, 600}, lowerRight}, false},
        {"y exactly 400 is outside", {corner, corner, {400, 400}, lowerRight}, false},
        {"a tap elsewhere in between starts again", {corner, corner, lowerRight, elsewhere, lowerRight}, false},
        {"the corner edge at 50 is outside", {corner, {10, 50}, lowerRight, lowerRight}, false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(tapWelcomeAt(elsewhere.x, elsewhere.y)) << dump();  // a fresh count
        for (auto p : c.releases) ASSERT_TRUE(tapWelcomeAt(p.x, p.y)) << c.name << "\n" << dump();
        settle();
        EXPECT_EQ(settings() != nullptr, c.opens) << c.name;
        if (settings()) {
            // The count stays at 4 after opening, until a release elsewhere.
            EXPECT_EQ(welcome()->touchNum(), 4) << c.name;
            root->setBack();
            settle();
        }
    }
}

TEST_F(WelcomeScreen, SettingsOpenForTheAdministratorWithoutRewritingTheWaiter) {
    start(true);  // past the first set-up: a server is configured
    setSkin(true);
    auto waiter = std::make_shared<NSUserClass>();
    waiter->m_strUserName = "0001";
    waiter->m_strUserDesc = "领班";
    NSServer::setNowUser(waiter);

    tap("设置");
    settle();
    ASSERT_TRUE(settings());
    EXPECT_TRUE(settings()->isRunByAdministrator());
    EXPECT_EQ(rows(), (std::array<int, 3>{6, 4, 4})) << "every row for the administrator";
    EXPECT_EQ(settings()->view()->frame(), root->frameRect());
    // The waiter who looked at the settings is still himself, and may still send.
    EXPECT_EQ(NSServer::getNowUser(), waiter);
    EXPECT_EQ(waiter->m_strUserDesc, "领班");
    EXPECT_EQ(waiter->m_strUserName, "0001");

    tap("返回");
    settle();
    EXPECT_FALSE(settings());
    EXPECT_EQ(welcome()->view()->frame(), root->frameRect());

    // The mark was for that opening only.
    root->set();
    settle();
    ASSERT_TRUE(settings());
    EXPECT_FALSE(settings()->isRunByAdministrator());
    EXPECT_EQ(rows(), (std::array<int, 3>{0, 3, 1}));
}

TEST_F(WelcomeScreen, BeginOpensTheWholeMenu) {
    start();
    tap("开始点菜");
    settle();
    EXPECT_TRUE(root->selectCaipViewController) << dump();
    EXPECT_FALSE(root->welcomeViewController) << "the root lets the welcome screen go";
}

TEST_F(WelcomeScreen, FinishedLoginsOpenTheSettingsAndEndWaiterMode) {
    start(true);
    struct Case {
        int type;
        bool ok;
        bool opensSettings;
        bool endsWaiterMode;
    } cases[] = {
        {UIWelcomeViewController::kLoginSettings, true, true, true},
        {UIWelcomeViewController::kLoginSettings, false, false, false},
        {UIWelcomeViewController::kLoginSetDesk, false, false, false},
        {765003, true, false, true},  // any other type only ends waiter mode
    };
    for (const auto& c : cases) {
        NSServer::setIsWaiterUser(true);
        welcome()->loginBack(c.type, c.ok);
        settle();
        EXPECT_EQ(settings() != nullptr, c.opensSettings) << c.type << " " << c.ok;
        EXPECT_EQ(NSServer::isWaiterUser(), !c.endsWaiterMode) << c.type << " " << c.ok;
        if (settings()) {
            root->setBack();
            settle();
        }
    }
}

TEST_F(WelcomeScreen, WithAScreenLayoutTheSettingsAskForALoginPastTheFirstSetUp) {
    start();
    welcome()->setHasXml(true);
    auto user = NSServer::getNowUser();
    struct Case {
        bool server;
        const char* desc;
        const char* name;
        bool opensAtOnce;
        const char* nameAfter;
    } cases[] = {
        {false, "", "0001", true, "0001"},                 // first set-up needs no login
        {true, "*测试", "User", true, "User"},             // the demo user
        {true, "", "0001", false, "0001"},                 // a waiter logs in first
        {true, "*系统管理员", "4062", false, ""},          // the code is typed again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desc << " " << c.name);
        if (c.server) NSServer::setIP("127.0.0.1");
        user->m_strUserDesc = c.desc;
        user->m_strUserName = c.name;
        tap("设置");
        settle();
        EXPECT_EQ(settings() != nullptr, c.opensAtOnce);
        EXPECT_EQ(root->loginViewController != nullptr, !c.opensAtOnce);
        EXPECT_EQ(user->m_strUserName, c.nameAfter);
        EXPECT_EQ(user->m_strUserDesc, c.desc);
        if (settings()) {
            EXPECT_FALSE(settings()->isRunByAdministrator());
        }
        root->setBack();
        root->loginBack();
        settle();
    }
}

TEST_F(WelcomeScreen, WhileTheLoginPanelIsOpenATapOnlyClosesIt) {
    start(true);  // a configured server: the gate shows its panel
    struct Case {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"begin", [&] { tap("开始点菜"); }},
        {"settings", [&] { tap("设置"); }},
        {"a release on the screen", [&] { ASSERT_TRUE(tapWelcomeAt(400, 600)); }},
    };
    for (const auto& c : cases) {
        root->login(root->welcomeViewController.get(), 765003);
        settle();
        ASSERT_TRUE(root->loginViewController) << c.what;
        c.act();
        settle();
        EXPECT_FALSE(root->loginViewController) << c.what;
        EXPECT_FALSE(settings()) << c.what;
        EXPECT_FALSE(root->selectCaipViewController) << c.what;
        EXPECT_EQ(welcome()->view()->frame(), root->frameRect()) << c.what;
    }
}

TEST_F(WelcomeScreen, PicturesComeFromThePackageAndTheBackgroundFollowsTheScreenShape) {
    render::installUiHooks();  // the picture decoder
    start();
    struct Case {
        ui::Rect screen;
        const char* background;
    } cases[] = {
        {{0, 0, 320, 548}, "Default-568h@2x.png"},  // a tall phone, about 0.58
        {{0, 0, 320, 460}, "Default.png"},
        {{0, 0, 768, 1004}, "Default.png"},
    };
    for (const auto& c : cases) {
        root->setFrameRect(c.screen);
        auto screen = std::make_shared<UIWelcomeViewController>();
        screen->setRootController(root.get());
        screen->view();
        ASSERT_TRUE(screen->imageView()->image()) << c.background;
        EXPECT_EQ(screen->imageView()->image()->name(), c.background);
        ASSERT_TRUE(screen->toolBar()->image());
        EXPECT_EQ(screen->toolBar()->image()->name(), "2-2.png");
        EXPECT_EQ(screen->bt_set()->currentTitle(), "设置");
        EXPECT_EQ(screen->bt_begin()->currentTitle(), "开始点菜");
    }

    // A package without the pictures leaves the views as they were made, titles and all.
    platform::Bundle::setResourceFolder(package);
    ui::Image::clearCache();
    auto bare = std::make_shared<UIWelcomeViewController>();
    bare->setRootController(root.get());
    bare->view();
    EXPECT_FALSE(bare->imageView()->image());
    EXPECT_FALSE(bare->toolBar()->image());
    EXPECT_FALSE(bare->bt_begin()->currentBackgroundImage());
    EXPECT_EQ(bare->bt_begin()->currentTitle(), "开始点菜");
}

}  // namespace
