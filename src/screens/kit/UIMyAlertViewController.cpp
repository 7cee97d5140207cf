#include "screens/kit/UIMyAlertViewController.h"

#include "core/NSServer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"

namespace {

constexpr const char* kSeparator = "2-100.png";

std::shared_ptr<ui::Button> panelButton(ui::View& body, double top, const std::string& title, bool bold) {
    auto button = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect,
                                               ui::Rect{0, top, UIMyAlertViewController::kWidth,
                                                        UIMyAlertViewController::kButtonHeight});
    button->setTitle(title);
    button->setTitleFont(bold ? ui::Font::boldSystemFont(16) : ui::Font::systemFont(16));
    body.addSubview(button);
    kit::pictureView(body, {0, top, UIMyAlertViewController::kWidth, 1}, kSeparator);
    return button;
}

}  // namespace

UIMyAlertViewController::UIMyAlertViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

void UIMyAlertViewController::updateWithTitle(const std::string& title, const std::string& message,
                                              std::shared_ptr<UIMyAlertViewDelegate> delegate,
                                              const std::string& cancelButtonTitle,
                                              const std::vector<std::string>& otherButtonTitles) {
    s_title_ = title;
    s_message_ = message;
    upobj_ = std::move(delegate);
    cbTitle_ = cancelButtonTitle;
    obTitles_ = otherButtonTitles;
}

void UIMyAlertViewController::loadView() {
    // A shade over the whole screen keeps touches off the screens beneath while the panel is up.
    auto shade = std::make_shared<ui::View>(ui::Rect{0, 0, 768, 1004});
    shade->setBackgroundColor(kit::kShade);
    v_view1_ = std::make_shared<ui::View>(ui::Rect{(768 - kWidth) / 2, 200, kWidth, kHeight});
    v_view1_->setBackgroundColor(kit::kPanel);
    v_view1_->setCornerRadius(10);
    v_view1_->setClipsToBounds(true);
    shade->addSubview(v_view1_);
    lb_title_ = kit::label(*v_view1_, {10, 10, kWidth - 20, 34}, "", kit::titleFont(), ui::TextAlignment::Center);
    lb_message_ = kit::label(*v_view1_, {10, 48, kWidth - 20, 60}, "", kit::smallFont(), ui::TextAlignment::Center);
    lb_message_->setNumberOfLines(3);
    setView(shade);
}

void UIMyAlertViewController::show() {
    self_ = std::static_pointer_cast<UIMyAlertViewController>(shared_from_this());
    if (auto root = ScreenRoot::current()) root->view()->addSubview(view());
    v_view1_->setTag(tag_);
    lb_title_->setText(s_title_);
    lb_message_->setText(s_message_);

    auto cancel = panelButton(*v_view1_, kCancelTop, cbTitle_, true);
    cancel->addTarget(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { unShow(); });
    for (std::size_t i = 0; i < obTitles_.size(); ++i) {
        auto button = panelButton(*v_view1_, kCancelTop - kButtonHeight * static_cast<double>(i + 1), obTitles_[i], false);
        button->setTag(static_cast<int>(i) + 1);
        button->addTarget(ui::ControlEvent::TouchUpInside,
                          [this](ui::Control& sender) { buttonDown(static_cast<ui::Button&>(sender)); });
    }
    if (upobj_) upobj_->willPresentAlertView(*v_view1_);
}

void UIMyAlertViewController::buttonDown(ui::Button& button) {
    // Every button of an alert ends the alert as far as the alert-or-message rule is concerned.
    NSServer::setIsShowAlert(false);
    if (upobj_) upobj_->alertViewClickedButtonAtIndex(*v_view1_, button.tag());
    unShow();
}

void UIMyAlertViewController::unShow() {
    // The cancel button too: otherwise a flag set before the panel showed would stay set, and
    // every later failure would only reach the message panel.
    NSServer::setIsShowAlert(false);
    if (isViewLoaded()) view()->removeFromSuperview();
    // Closed from one of its own buttons: it ends after that button's handler.
    if (self_) platform::RunLoop::main().releaseLater(std::move(self_));
    self_.reset();
}
