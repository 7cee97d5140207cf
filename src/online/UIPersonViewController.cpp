#include "online/UIPersonViewController.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "online/NSJsonResolver.h"
#include "online/NSShopDBClass.h"
#include "online/NSWebPages.h"
#include "online/UIJiFenViewController.h"
#include "online/UIModifyPersonViewController.h"
#include "online/UIPasswordViewController.h"
#include "platform/foundation/Text.h"

// The personal centre and its three pages live here together: they share the customer and the
// way the service answers a change.

namespace {

const NSCustomerClass& customer() {
    static const NSCustomerClass none;
    auto store = NSServer::getShopDB();
    return store && store->m_nowuser ? *store->m_nowuser : none;
}

// The message of a change's answer ("" when there is no answer): the state picks it.
std::string changeMessage(const std::string& answer, const char* done, const char* refused, int& state) {
    if (answer.empty()) return "网络连接异常";
    NSJsonResolver resolver;
    const auto json = resolver.resolveJson(answer).value_or(nlohmann::json());
    state = json_read::integer(json, "state");
    if (state == 1) return done;
    if (state == 0) return refused;
    return platform::fmt("失败，错误代码[%@]", json_read::text(json, "state"));
}

}  // namespace

// ---- Personal centre ---------------------------------------------------------------------------

UIPersonViewController::UIPersonViewController(std::string nibName) : UIOnlineBackPage(std::move(nibName), "个人中心") {}

void UIPersonViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    double y = kit::kBarHeight + 40;
    struct Item {
        const char* title;
        void (SwitchViewController::*open)();
    };
    for (const Item& item : {Item{"修改资料", &SwitchViewController::modifyPerson},
                             Item{"修改密码", &SwitchViewController::modifyPassword},
                             Item{"我的积分", &SwitchViewController::showJif}}) {
        auto open = item.open;
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        kit::button(v, {(w - 360) / 2, y, 360, 64}, item.title, [weak, open] {
            auto self = std::static_pointer_cast<UIPersonViewController>(weak.lock());
            if (auto* r = self ? self->root() : nullptr) (r->*open)();
        });
        y += 88;
    }
}

// ---- Password change ---------------------------------------------------------------------------

UIPasswordViewController::UIPasswordViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "修改密码") {}

void UIPasswordViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    double y = kit::kBarHeight + 32;
    const double step = kit::kTouch + 16;
    tf_username_ = formField(v, y, "用户名");
    y += step;
    tf_opassword_ = formField(v, y, "原密码", true);
    y += step;
    tf_password_ = formField(v, y, "新密码", true);
    y += step;
    tf_password2_ = formField(v, y, "确认新密码", true);
    y += step + 16;
    kit::button(v, {(w - 240) / 2, y, 240, 56}, "提交", act(&UIPasswordViewController::onSubmit),
                kit::ButtonKind::Primary);
}

void UIPasswordViewController::viewDidLoad() {
    tf_username_->setText(customer().m_name);
    tf_username_->setEnabled(false);
}

void UIPasswordViewController::onSubmit() {
    if (tf_password_->text().empty() || tf_password_->text() != tf_password2_->text()) {
        tip("密码不能为空,或者两次输入密码不一致");
        return;
    }
    requestBlocking(webpages::resetPassword(customer().m_id, tf_opassword_->text(), tf_password_->text()),
                    &UIPasswordViewController::receiveServerMessage);
}

void UIPasswordViewController::receiveServerMessage(const std::string& answer) {
    int state = -1;
    tip(changeMessage(answer, "密码修改成功", "失败，旧密码错误", state));
    if (state == 1) later([](UIOnlinePage& page) { page.onBack(); });
}

// ---- Profile edit ------------------------------------------------------------------------------

UIModifyPersonViewController::UIModifyPersonViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "修改资料") {}

void UIModifyPersonViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    double y = kit::kBarHeight + 32;
    const double step = kit::kTouch + 16;
    tf_username_ = formField(v, y, "用户名");
    y += step;
    tf_email_ = formField(v, y, "邮箱");
    y += step;
    tf_telephone_ = formField(v, y, "电话");
    y += step;
    tf_truename_ = formField(v, y, "真实姓名");
    y += step + 16;
    kit::button(v, {(w - 240) / 2, y, 240, 56}, "提交", act(&UIModifyPersonViewController::onSubmit),
                kit::ButtonKind::Primary);
}

void UIModifyPersonViewController::viewDidLoad() {
    const NSCustomerClass& c = customer();
    tf_email_->setText(c.m_email);
    tf_telephone_->setText(c.m_tel);
    tf_truename_->setText(c.m_truename);
    tf_username_->setText(c.m_name);
}

void UIModifyPersonViewController::onSubmit() {
    const NSCustomerClass& c = customer();
    requestBlocking(webpages::saveUserInfo(c.m_id, tf_email_->text(), tf_username_->text(), tf_telephone_->text(),
                                           tf_truename_->text(), c.m_sex),
                    &UIModifyPersonViewController::receiveServerMessage);
}

void UIModifyPersonViewController::receiveServerMessage(const std::string& answer) {
    int state = -1;
    tip(changeMessage(answer, "修改成功", "失败！用户名已存在", state));
    if (state != 1) return;
    later([](UIOnlinePage& page) { page.onBack(); });
    if (auto store = NSServer::getShopDB()) store->getUserInfoFromServer();
}

// ---- Points ------------------------------------------------------------------------------------

UIJiFenViewController::UIJiFenViewController(std::string nibName) : UIOnlineBackPage(std::move(nibName), "我的积分") {}

void UIJiFenViewController::buildContent(ui::View& v) {
    const double w = v.bounds().width();
    kit::label(v, {0, kit::kBarHeight + 60, w, 40}, "当前积分", kit::bodyFont(), ui::TextAlignment::Center, kit::kMuted);
    lb_jif_ = kit::label(v, {0, kit::kBarHeight + 110, w, 80}, "", kit::bigFont(), ui::TextAlignment::Center);
}

void UIJiFenViewController::viewDidLoad() {
    getUserInfoFromServer();
    lb_jif_->setText(customer().m_strJiF);
}

void UIJiFenViewController::getUserInfoFromServer() {
    request(webpages::userInfo(customer().m_id), &UIJiFenViewController::receiveServerUserInfo);
}

void UIJiFenViewController::receiveServerUserInfo(const std::string& answer) {
    if (answer.empty()) return;
    NSJsonResolver resolver;
    const std::string point = json_read::text(resolver.resolveJson(answer).value_or(nlohmann::json()), "point");
    if (auto store = NSServer::getShopDB(); store && store->m_nowuser) store->m_nowuser->m_strJiF = point;
    if (lb_jif_) lb_jif_->setText(point);
}
