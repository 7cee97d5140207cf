// The waiter login gate and panel against the back-office simulator: success, refusal, a result
// code of the server's own, the administrator code, cancelling with the keyboard up, demo mode.

#include "DialogFixture.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSUserClass.h"

namespace {

// A screen that asks for a login and writes down what it hears.
struct Requester : ui::ViewController, NSLoginDlg {
    std::vector<std::pair<int, bool>> heard;
    void loginBack(int loginType, bool ok) override { heard.emplace_back(loginType, ok); }
};

class Login : public DialogFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        launch("127.0.0.1");
        requester = std::make_shared<Requester>();
        requester->view()->setFrame(root->frameRect());
        root->view()->addSubview(requester->view());
    }
    UILoginViewController& panel() { return *root->loginViewController; }
    void logIn(const std::string& name, const std::string& password) {
        root->login(requester, 765002);
        logInOnPanel(name, password);
    }
    int loginRequests() const { return static_cast<int>(sim.requestsFor("login").size()); }

    std::shared_ptr<Requester> requester;
};

TEST_F(Login, ASuccessfulLoginSlidesThePanelAwayAndThenTellsTheRequester) {
    NSServer::getNowUser()->m_iDishCount = 12;
    root->login(requester, 765002);
    ASSERT_TRUE(root->loginViewController);
    // The panel lies at the bottom of the screen; the requester slid up to uncover it.
    const ui::Rect screen = root->frameRect();
    EXPECT_EQ(panel().view()->frame(), (ui::Rect{0, screen.y() + screen.height() - 160, screen.width(), 160}));
    EXPECT_EQ(requester->view()->frame().y(), screen.y() - 160);
    EXPECT_EQ(root->view()->subviews().back(), requester->view()) << "the requester lies over the panel";

    logIn("0001", "123");
    EXPECT_EQ(loginRequests(), 1);
    EXPECT_EQ(NSServer::getNowUser()->m_strUserID, "0001");
    EXPECT_TRUE(requester->heard.empty()) << "the requester hears only when the panel has gone";
    root->loginBack();  // a screen closing the panel while it already slides away
    advance(0.3);
    EXPECT_EQ(requester->heard, (std::vector<std::pair<int, bool>>{{765002, true}}));
    EXPECT_FALSE(root->loginViewController);
    EXPECT_EQ(requester->view()->frame(), screen);
    EXPECT_EQ(NSServer::getNowUser()->m_iDishCount, 12) << "line numbers go on across logins";
}

TEST_F(Login, ANamePickedFromTheListLogsInUnderItsIDWithItsRole) {
    auto users = std::make_shared<NSATreeClass>();
    users->AddItem("0003", "小王", "");
    users->m_str1[1] = "*领班";
    NSServer::getCaipDB()->m_users = users;
    root->login(requester, 765002);
    advance(0.3);
    tap("小王");
    EXPECT_EQ(panel().userId->text(), "小王");
    fill(*panel().userPassword, "123");
    advance(0.3);
    tap("确定");
    auto sent = sim.requestsFor("login");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(backoffice::BackOfficeSim::decipherField(sent[0].field("waiterid"), "0"), "0003");
    EXPECT_EQ(NSServer::getNowUser()->m_strUserName, "小王");
    EXPECT_EQ(NSServer::getNowUser()->m_strUserDesc, "*领班");
}

TEST_F(Login, RefusalsShowTheirReasonAndKeepThePanel) {
    sim.overrideReply("login", [](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        // A result code only this server knows; the password "777" asks for it.
        if (backoffice::BackOfficeSim::decipherField(r.field("password"), "0") != "777") return std::nullopt;
        return backoffice::BackOfficeSim::reply("<waiterid>" + r.field("waiterid") + "</waiterid><code>7</code>");
    });
    auto before = NSServer::getNowUser();
    struct Case { const char* name; const char* password; const char* shown; } cases[] = {
        {"0001", "999", "密码错误 (ID:2)"},
        {"无此人", "123", "用户不存在 (ID:1)"},
        {"0001", "777", "登录失败 (ID:7)"},
    };
    root->login(requester, 765003);
    advance(0.3);
    for (const Case& c : cases) {
        fill(*panel().userId, c.name);
        fill(*panel().userPassword, c.password);
        advance(0.3);
        tap("确定");
        EXPECT_EQ(alertMessage(), c.shown) << c.name << "/" << c.password;
        EXPECT_TRUE(NSServer::getIsShowAlert());
        tap("确定");  // the alert's button clears the flag, so the next refusal alerts again
        EXPECT_FALSE(NSServer::getIsShowAlert());
        panel().userId->setText("");
        panel().userPassword->setText("");
    }
    EXPECT_EQ(NSServer::getNowUser(), before);
    ASSERT_TRUE(root->loginViewController);

    // Cancel while a field is being edited: the keyboard goes down, then the panel slides away,
    // then the requester hears NO.
    auto r = ui::tapView(*window, *panel().userId);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(panel().hasKeyBoard);
    tap("取消");
    advance(0.3);
    ASSERT_TRUE(root->loginViewController);
    EXPECT_TRUE(requester->heard.empty());
    advance(0.3);
    EXPECT_FALSE(root->loginViewController);
    EXPECT_EQ(requester->heard, (std::vector<std::pair<int, bool>>{{765003, false}}));
}

TEST_F(Login, TheAdministratorCodeNeedsNoServer) {
    NSServer::getNowUser()->m_strUserID = "0009";
    logIn("", "4062");
    advance(0.3);
    EXPECT_EQ(loginRequests(), 0);
    auto user = NSServer::getNowUser();
    EXPECT_EQ(user->m_strUserDesc, "*系统管理员");
    EXPECT_EQ(user->m_strUserName, "4062");
    EXPECT_EQ(user->m_strUserID, "0009");
    EXPECT_EQ(requester->heard, (std::vector<std::pair<int, bool>>{{765002, true}}));
}

TEST_F(Login, WithAHardwareKeyboardThePanelStaysWhereItIs) {
    // A desktop window's keyboard covers nothing: the fields stay where the clicks go, and the
    // requester keeps covering everything but the panel.
    window->setHardwareKeyboard(true);
    root->login(requester, 765002);
    advance(0.3);
    const ui::Rect panelAt = panel().view()->frame(), requesterAt = requester->view()->frame();
    auto r = ui::tapView(*window, *panel().userId);
    ASSERT_TRUE(r.ok) << r.error;
    type("0001");
    advance(0.3);
    EXPECT_EQ(panel().view()->frame(), panelAt);
    EXPECT_EQ(requester->view()->frame(), requesterAt);
    ASSERT_TRUE(window->focusNextField());  // Tab
    EXPECT_TRUE(panel().userPassword->isFirstResponder());
    type("123");
    advance(0.3);
    EXPECT_EQ(panel().view()->frame(), panelAt);

    // Cancel with the password still being typed: the panel slides away at once and lets go of
    // the focus.
    tap("取消");
    advance(0.3);
    EXPECT_FALSE(root->loginViewController);
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(requester->heard, (std::vector<std::pair<int, bool>>{{765002, false}}));
    EXPECT_EQ(loginRequests(), 0);

    // Return from the number to the password, and after the password it logs in.
    root->login(requester, 765002);
    advance(0.3);
    ASSERT_TRUE(ui::tapView(*window, *panel().userId).ok);
    type("0001");
    ASSERT_TRUE(window->pressReturn());
    EXPECT_TRUE(panel().userPassword->isFirstResponder());
    type("123");
    ASSERT_TRUE(window->pressReturn());
    advance(0.3);
    EXPECT_EQ(loginRequests(), 1);
    EXPECT_EQ(requester->heard.back(), (std::pair<int, bool>{765002, true}));
}

class DemoLogin : public ScreenFixture {};

TEST_F(DemoLogin, LogsTheDemoUserInWithoutAPanelAndTellsAFailure) {
    platform::fs::createFolder(NSServer::getDataPath());
    platform::fs::writeAtomically(dataFile("CSH.dat"), "x");  // no demo offer in the way
    launch();
    auto requester = std::make_shared<Requester>();
    // The demo server answers the demo user.
    sim.overrideReply("login", [](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        return backoffice::BackOfficeSim::reply("<waiterid>" + r.field("waiterid") + "</waiterid><code>0</code>");
    });
    root->login(requester, 765005);
    EXPECT_FALSE(root->loginViewController);
    EXPECT_EQ(requester->heard, (std::vector<std::pair<int, bool>>{{765005, true}}));
    EXPECT_EQ(NSServer::getNowUser()->m_strUserID, "User");
    EXPECT_EQ(NSServer::getNowUser()->m_strUserDesc, "*测试");

    // A failed demo login says so and answers NO, so the requester does not wait for ever.
    sim.overrideReply("login", [](const backoffice::ReceivedRequest& r) -> std::optional<std::string> {
        return backoffice::BackOfficeSim::reply("<waiterid>" + r.field("waiterid") + "</waiterid><code>1</code>");
    });
    root->login(requester, 765005);
    EXPECT_FALSE(root->loginViewController);
    EXPECT_EQ(requester->heard.back(), (std::pair<int, bool>{765005, false}));
    EXPECT_EQ(alertMessage(), "用户不存在 (ID:1)");
}

}  // namespace
