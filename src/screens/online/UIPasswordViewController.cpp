#include "screens/online/UIPasswordViewController.h"

#include "online/NSCustomerClass.h"
#include "online/NSWebPages.h"

UIPasswordViewController::UIPasswordViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "修改密码") {}

void UIPasswordViewController::buildContent(ui::View& v) {
    double y = kit::kBarHeight + 32;
    auto f = formFields(v, y, {{"用户名"}, {"原密码", true}, {"新密码", true}, {"确认新密码", true}});
    tf_username_ = f[0];
    tf_opassword_ = f[1];
    tf_password_ = f[2];
    tf_password2_ = f[3];
    formButton(v, y + 16, "提交", act(&UIPasswordViewController::onSubmit));
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
