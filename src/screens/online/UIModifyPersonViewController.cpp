#include "screens/online/UIModifyPersonViewController.h"

#include "core/NSServer.h"
#include "online/NSShopDBClass.h"
#include "online/NSCustomerClass.h"
#include "online/NSWebPages.h"

UIModifyPersonViewController::UIModifyPersonViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "修改资料") {}

void UIModifyPersonViewController::buildContent(ui::View& v) {
    double y = kit::kBarHeight + 32;
    auto f = formFields(v, y, {{"用户名"}, {"邮箱", false, ui::KeyboardType::EmailAddress},
                               {"电话", false, ui::KeyboardType::PhonePad}, {"真实姓名"}});
    tf_username_ = f[0];
    tf_email_ = f[1];
    tf_telephone_ = f[2];
    tf_truename_ = f[3];
    formButton(v, y + 16, "提交", act(&UIModifyPersonViewController::onSubmit));
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
