// The customer's account pages: login and logout from the online home, registration with the
// device's position and address, and the personal centre with its password change, profile edit
// and points.

#include "PagesFixture.h"
#include "platform/foundation/FileSystem.h"
#include "screens/online/UICustomerLoginViewController.h"
#include "screens/online/UICustomerRegistViewController.h"
#include "screens/online/UIFunctionViewController.h"
#include "screens/online/UIJiFenViewController.h"
#include "screens/online/UIModifyPersonViewController.h"
#include "screens/online/UIPasswordViewController.h"

namespace {

using pagestest::PagesTest;

class Account : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        root->showFunction();
    }
    void fill(const std::string& field, const std::string& text) {
        tap(field);
        type(text);
    }
    UIFunctionViewController& home() { return *root->functionViewController; }
};

TEST_F(Account, LoginAndLogoutFromTheHome) {
    tap("未登录");
    fill("用户名", "demo");
    fill("密码", "wrong");
    tapAndWait("登录");
    EXPECT_EQ(alertMessage(), "登录失败");
    tap("确定");
    EXPECT_TRUE(NSServer::getShopDB()->m_nowuser->m_id.empty());

    // Only the text "1" is a success.
    root->customerLoginViewController->receiveServerMessage(R"({"state":1,"userid":"1001"})");
    EXPECT_EQ(alertMessage(), "登录失败");
    tap("确定");

    // The keyboard's return goes from the name to the password, and there logs in.
    root->customerLoginViewController->tf_password()->setText("");
    tap("demo");
    pressReturn();
    type("123456");
    pressReturn();
    ASSERT_TRUE(answers());
    auto& store = *NSServer::getShopDB();
    EXPECT_EQ(store.m_nowuser->m_id, "1001");
    EXPECT_EQ(store.m_nowuser->m_strJiF, "120") << "the profile loaded after the login";
    EXPECT_EQ(home().bt_user()->currentTitle(), "已登录");
    const std::string userFile = platform::fs::join(NSServer::getShopPath(), "user.dat");
    const std::string loggedIn = platform::fs::readAll(userFile).value_or("");

    tap("已登录");
    EXPECT_EQ(alertMessage(), "您确定要注销当前用户吗？");
    tap("确定");
    EXPECT_EQ(home().bt_user()->currentTitle(), "未登录");
    EXPECT_TRUE(store.m_nowuser->m_id.empty());
    EXPECT_NE(platform::fs::readAll(userFile).value_or(""), loggedIn) << "the empty customer is saved";

    web.setFault("Login", websim::Fault::Status);
    tap("未登录");
    tapAndWait("登录");
    EXPECT_EQ(alertMessage(), "网络连接异常");
}

TEST_F(Account, ALoginAnswerNestedTooDeepIsARefusal) {
    web.setFault("Login", websim::Fault::DeepJson);
    tap("未登录");
    fill("用户名", "demo");
    fill("密码", "123456");
    tapAndWait("登录");
    EXPECT_EQ(alertMessage(), "登录失败");
    EXPECT_TRUE(NSServer::getShopDB()->m_nowuser->m_id.empty());
}

TEST_F(Account, RegistrationChecksItsFieldsAndSendsThePlace) {
    tap("未登录");
    tap("注册");
    auto page = root->customerRegistViewController.get();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->tf_address()->text(), "中国上海市上海市黄浦区中山路10号");

    fill("用户名", "newguest");
    fill("手机号码", "13900000001");
    tap("注册");
    EXPECT_EQ(alertMessage(), "用户名、邮箱、手机号码不能为空");
    tap("确定");
    fill("邮箱", "new@example.com");
    fill("密码", "abc");
    fill("确认密码", "abd");
    tap("注册");
    EXPECT_EQ(alertMessage(), "密码不能为空,或者两次输入密码不一致");
    tap("确定");
    EXPECT_TRUE(requestsFor("Regedit").empty());

    page->tf_password2()->setText("abc");
    tap("女");
    EXPECT_EQ(page->iv_sex()->tag(), 1);
    EXPECT_EQ(page->iv_sex()->frame().x(), 169 + 91);
    tapAndWait("注册");
    ASSERT_EQ(requestsFor("Regedit").size(), 1u);
    auto r = requestsFor("Regedit")[0];
    EXPECT_EQ(value(r, "lat"), "31.230400");
    EXPECT_EQ(value(r, "lng"), "121.473701");  // the fix as single precision holds it
    EXPECT_EQ(value(r, "sex"), "1");
    EXPECT_EQ(value(r, "address"), "中国上海市上海市黄浦区中山路10号");
    EXPECT_EQ(value(r, "receiver"), "");
    EXPECT_EQ(alertMessage(), "注册成功");
    tap("确定");
    EXPECT_FALSE(root->customerRegistViewController);
    EXPECT_TRUE(root->customerLoginViewController) << "the guest logs in next";
    EXPECT_TRUE(NSServer::getShopDB()->m_nowuser->m_id.empty());

    // The service's refusals, each in its words.
    struct Case {
        const char* answer;
        const char* message;
    } cases[] = {
        {R"({"state":-2})", "失败！用户名已存在"}, {R"({"state":-3})", "失败！手机号码已被注册"},
        {R"({"state":-4})", "失败！邮箱已被注册"}, {R"({"state":7})", "失败，错误代码[7]"},
        {"", "网络连接异常"},
    };
    tap("注册");
    page = root->customerRegistViewController.get();
    for (auto& c : cases) {
        page->receiveServerMessage(c.answer);
        EXPECT_EQ(alertMessage(), c.message) << c.answer;
        tap("确定");
        loop().drain();
        EXPECT_TRUE(root->customerRegistViewController) << c.answer;
    }
}

TEST_F(Account, RegistrationBeforeAFixSendsZeroAndKeepsATypedAddress) {
    location::LocationManager::setDevicePosition(std::nullopt);
    root->showRegist();
    loop().drain();
    auto page = root->customerRegistViewController.get();
    tap("确定");  // no position
    EXPECT_FALSE(page->gpsoper()->uv_wait()) << "the page is handed back";
    fill("地址", "人民广场");
    EXPECT_LT(page->view()->frame().y(), root->frameRect().y()) << "a low field lifts the page";
    pressReturn();
    EXPECT_EQ(page->view()->frame().y(), root->frameRect().y());
    page->gpsoper()->address = "中国上海市";
    page->gpsOnOk(*page->gpsoper());
    EXPECT_EQ(page->tf_address()->text(), "人民广场");
    for (auto [field, text] : {std::pair{"用户名", "later"}, {"手机号码", "13900000002"}, {"邮箱", "l@example.com"},
                               {"密码", "p"}, {"确认密码", "p"}})
        fill(field, text);
    tapAndWait("注册");
    ASSERT_EQ(requestsFor("Regedit").size(), 1u);
    EXPECT_EQ(value(requestsFor("Regedit")[0], "lat"), "0.000000");
    EXPECT_EQ(value(requestsFor("Regedit")[0], "lng"), "0.000000");
}

class Personal : public Account {
protected:
    void SetUp() override {
        Account::SetUp();
        logIn();
        NSServer::getShopDB()->m_nowuser->m_strJiF = "80";
        tap("个人中心");
        ASSERT_TRUE(root->personViewController);
    }
};

TEST_F(Personal, PasswordChangeTellsEachAnswer) {
    tap("修改密码");
    auto page = root->passwordViewCOntroller.get();
    EXPECT_EQ(page->tf_username()->text(), "demo");
    EXPECT_FALSE(page->tf_username()->isEnabled());
    fill("新密码", "n1");
    fill("确认新密码", "n2");
    tap("提交");
    EXPECT_EQ(alertMessage(), "密码不能为空,或者两次输入密码不一致");
    tap("确定");
    EXPECT_TRUE(requestsFor("ResetPassword").empty());

    page->tf_password2()->setText("n1");
    tapAndWait("提交");
    EXPECT_EQ(value(requestsFor("ResetPassword")[0], "oldpassword"), "") << "an empty old password is sent empty";
    EXPECT_EQ(alertMessage(), "失败，旧密码错误");
    tap("确定");
    page->receiveServerMessage(R"({"state":5})");
    EXPECT_EQ(alertMessage(), "失败，错误代码[5]");
    tap("确定");
    EXPECT_TRUE(root->passwordViewCOntroller);

    fill("原密码", "123456");
    tapAndWait("提交");
    EXPECT_EQ(alertMessage(), "密码修改成功");
    tap("确定");
    EXPECT_FALSE(root->passwordViewCOntroller);
    EXPECT_EQ(web.withWorld([](websim::World& w) { return w.customer("1001")->password; }), "n1");
}

TEST_F(Personal, WithAHardwareKeyboardThePasswordPageStaysWhereTheClicksGo) {
    window->setHardwareKeyboard(true);
    tap("修改密码");
    auto page = root->passwordViewCOntroller.get();
    const ui::Rect home = page->view()->frame();
    // Where a person sees the confirmation field before typing the new password.
    auto& confirm = *page->tf_password2();
    const ui::Rect seen = confirm.convertRectTo(confirm.bounds(), nullptr);
    fill("新密码", "n1");
    EXPECT_EQ(page->view()->frame(), home);
    window->tap({seen.midX(), seen.midY()});
    type("n2");
    EXPECT_EQ(page->tf_password()->text(), "n1");
    EXPECT_EQ(confirm.text(), "n2");
}

TEST_F(Personal, ProfileEditAndPoints) {
    web.withWorld([](websim::World& w) {
        websim::Customer other;
        other.id = "1002";
        other.username = "taken";
        w.customers.push_back(other);
    });
    tap("修改资料");
    auto page = root->modifyPersonViewController.get();
    EXPECT_EQ(page->tf_truename()->text(), "王小明");
    page->tf_username()->setText("taken");
    tapAndWait("提交");
    EXPECT_EQ(alertMessage(), "失败！用户名已存在");
    tap("确定");
    EXPECT_TRUE(root->modifyPersonViewController);

    page->tf_username()->setText("demo2");
    page->tf_truename()->setText("王大明");
    tapAndWait("提交");
    auto r = requestsFor("SaveUserInfo").back();
    EXPECT_EQ(value(r, "sex"), "1");
    EXPECT_EQ(value(r, "phone"), "13800000000");
    EXPECT_EQ(alertMessage(), "修改成功");
    tap("确定");
    ASSERT_TRUE(answers());
    EXPECT_FALSE(root->modifyPersonViewController);
    EXPECT_EQ(NSServer::getShopDB()->m_nowuser->m_truename, "王大明") << "the profile is read again";

    // The points: the stored balance at once, the service's when it answers; none on a failure.
    web.setFault("GetUserInfo", websim::Fault::NoAnswer);
    tap("我的积分");
    EXPECT_EQ(root->jiFenViewController->lb_jif()->text(), NSServer::getShopDB()->m_nowuser->m_strJiF);
    web.clearFaults();
    ASSERT_TRUE(answers());
    EXPECT_EQ(root->jiFenViewController->lb_jif()->text(), "120");
    root->jiFenViewController->receiveServerUserInfo("");
    EXPECT_EQ(root->jiFenViewController->lb_jif()->text(), "120");
}

}  // namespace
