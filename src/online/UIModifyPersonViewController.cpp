#include "online/UIModifyPersonViewController.h"

#include "core/NSServer.h"
#include "online/NSShopDBClass.h"
#include "online/NSCustomerClass.h"
#include "online/NSWebPages.h"

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
