#include "screens/online/UICustomerRegistViewController.h"

#include <nlohmann/json.hpp>

#include "online/NSJsonResolver.h"
#include "online/NSWebPages.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Image.h"

namespace {

constexpr double kMarkerX = 169;
constexpr double kSexStep = 91;

}  // namespace

UICustomerRegistViewController::UICustomerRegistViewController(std::string nibName)
    : UIOnlineBackPage(std::move(nibName), "注册") {
    gpsoper_ = std::make_shared<NSGPSOper>();
    gpsoper_->upviewcontroller = this;
    gpsoper_->screenFrame = ScreenRoot::currentFrame;
    gpsoper_->begin();
}

UICustomerRegistViewController::~UICustomerRegistViewController() { gpsoper_->upviewcontroller = nullptr; }

void UICustomerRegistViewController::buildContent(ui::View& v) {
    double y = kit::kBarHeight + 24;
    auto f = formFields(v, y, {{"用户名"}, {"密码", true}, {"确认密码", true},
                               {"邮箱", false, ui::KeyboardType::EmailAddress},
                               {"手机号码", false, ui::KeyboardType::PhonePad}, {"真实姓名"}});
    tf_userid_ = f[0];
    tf_password_ = f[1];
    tf_password2_ = f[2];
    tf_email_ = f[3];
    tf_telephone_ = f[4];
    tf_truename_ = f[5];
    kit::label(v, {formLeft(), y, 120, kit::kTouch}, "性别");
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    for (int tag : {0, 1}) {
        kit::button(v, {kMarkerX + 24 + kSexStep * tag, y, 64, kit::kTouch}, tag == 0 ? "男" : "女", [weak, tag] {
            if (auto s = weak.lock()) static_cast<UICustomerRegistViewController&>(*s).onSex(tag);
        })->setTag(tag);
    }
    iv_sex_ = std::make_shared<ui::ImageView>(ui::Rect{kMarkerX, y + 13, 21, 18});
    iv_sex_->setImage(ui::Image::named("2-83.png"));
    iv_sex_->setTag(0);
    v.addSubview(iv_sex_);
    y += kFormStep;
    tf_address_ = formField(v, y, "地址");
    formButton(v, y + kFormStep + 16, "注册", act(&UICustomerRegistViewController::onRegist));
}

void UICustomerRegistViewController::gpsOnOk(NSGPSOper& oper) {
    // What the guest typed stays.
    if (tf_address_ && tf_address_->text().empty()) tf_address_->setText(oper.address.value_or(""));
}

void UICustomerRegistViewController::onSex(int tag) {
    iv_sex_->setTag(tag);
    iv_sex_->setFrame({kMarkerX + kSexStep * tag, iv_sex_->frame().y(), 21, 18});
}

void UICustomerRegistViewController::onRegist() {
    if (tf_userid_->text().empty() || tf_telephone_->text().empty() || tf_email_->text().empty()) {
        tip("用户名、邮箱、手机号码不能为空");
        return;
    }
    if (tf_password_->text().empty() || tf_password_->text() != tf_password2_->text()) {
        tip("密码不能为空,或者两次输入密码不一致");
        return;
    }
    requestBlocking(webpages::regedit(tf_email_->text(), tf_userid_->text(), tf_password_->text(),
                                      tf_telephone_->text(), gpsoper_->lattitude, gpsoper_->longitude,
                                      tf_address_->text(), iv_sex_->tag(), tf_truename_->text(), ""),
                    &UICustomerRegistViewController::receiveServerMessage);
}

void UICustomerRegistViewController::receiveServerMessage(const std::string& answer) {
    if (answer.empty()) {
        tip("网络连接异常");
        return;
    }
    NSJsonResolver resolver;
    const auto json = resolver.resolveJson(answer).value_or(nlohmann::json());
    const int state = json_read::integer(json, "state");
    switch (state) {
        case 1: tip("注册成功"); break;
        case -2: tip("失败！用户名已存在"); break;
        case -3: tip("失败！手机号码已被注册"); break;
        case -4: tip("失败！邮箱已被注册"); break;
        default: tip(platform::fmt("失败，错误代码[%@]", json_read::text(json, "state"))); break;
    }
    if (state == 1) later([](UIOnlinePage& page) { page.onBack(); });
}
