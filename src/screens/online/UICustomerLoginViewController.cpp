#include "screens/online/UICustomerLoginViewController.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSWebPages.h"
#include "screens/online/UIFunctionViewController.h"

UICustomerLoginViewController::UICustomerLoginViewController(std::string nibName)
    : UIOnlinePage(std::move(nibName), "会员登录") {}

void UICustomerLoginViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    double y = kit::kBarHeight + 40;
    auto f = formFields(v, y, {{"用户名"}, {"密码", true}});
    tf_userid_ = f[0];
    tf_password_ = f[1];
    tf_userid_->setReturnKeyType(ui::ReturnKeyType::Next);
    tf_password_->setReturnKeyType(ui::ReturnKeyType::Go);
    y += 24;
    kit::button(v, {w / 2 - 220, y, 200, 56}, "登录", act(&UICustomerLoginViewController::login),
                kit::ButtonKind::Primary);
    kit::button(v, {w / 2 + 20, y, 200, 56}, "注册", act(&UICustomerLoginViewController::regist));
}

bool UICustomerLoginViewController::textFieldShouldReturn(ui::TextField& field) {
    if (&field == tf_userid_.get()) tf_password_->becomeFirstResponder();
    else if (&field == tf_password_.get()) login();
    return true;
}

void UICustomerLoginViewController::login() {
    requestBlocking(webpages::login(tf_userid_->text(), tf_password_->text()),
                    &UICustomerLoginViewController::receiveServerMessage);
}

void UICustomerLoginViewController::regist() {
    if (auto* r = root()) r->showRegist();
}

void UICustomerLoginViewController::receiveServerMessage(const std::string& answer) {
    if (answer.empty()) {
        tip("网络连接异常");
        return;
    }
    NSJsonResolver resolver;
    const auto json = resolver.resolveJson(answer);
    // Only the text "1" is a success: the service answers refusals with other values.
    if (!json || !json_read::textEquals(*json, "state", "1")) {
        tip("登录失败");
        return;
    }
    auto customer = std::make_shared<NSCustomerClass>();
    customer->m_id = json_read::text(*json, "userid");
    customer->m_name = tf_userid_->text();
    customer->m_password = tf_password_->text();
    if (auto store = NSServer::getShopDB()) {
        store->m_nowuser = customer;
        store->saveToDB();
    }
    if (auto* r = root(); r && r->functionViewController) r->functionViewController->showUser();
    later([](UIOnlinePage& page) { page.onBack(); });
}

void UICustomerLoginViewController::onBack() {
    if (auto* r = root()) r->customerLoginBack();
    auto store = NSServer::getShopDB();
    if (store && store->m_nowuser && !store->m_nowuser->m_id.empty()) store->getUserInfoFromServer();
}
