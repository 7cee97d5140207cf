#include "online/UIPasswordViewController.h"

#include "online/NSCustomerClass.h"
#include "online/NSWebPages.h"

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
