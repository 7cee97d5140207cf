#include "screens/root/UIWebSearchViewController.h"

#include "core/NSServer.h"
#include "screens/kit/ScreenKit.h"
#include "screens/root/SwitchViewController.h"

UIWebSearchViewController::UIWebSearchViewController(std::string nibName) : ui::ViewController(std::move(nibName)) {}

void UIWebSearchViewController::loadView() {
    auto view = kit::screenView({0, 0, 768, 1004});
    iv_back_ = kit::pictureView(*view, {0, 0, 768, 1004}, "");
    tf_title_ = std::make_shared<ui::TextField>(ui::Rect{41, 55, 467, 31});
    tf_title_->setFont(kit::bodyFont());
    tf_title_->setText("查看报表");
    view->addSubview(tf_title_);
    bt_back_ = kit::button(*view, {640, 48, 110, kit::kTouch}, "返回", [this] { onCancel(); });
    wv_bbiao_ = std::make_shared<ui::WebView>(ui::Rect{0, 110, 768, 894});
    view->addSubview(wv_bbiao_);
    setView(view);
}

void UIWebSearchViewController::viewDidLoad() {
    ui::ViewController::viewDidLoad();
    showInterface(true);
    wv_bbiao_->loadRequest(kAddress);
}

void UIWebSearchViewController::viewDidUnload() {
    wv_bbiao_.reset();
    iv_back_.reset();
    bt_back_.reset();
    tf_title_.reset();
}

void UIWebSearchViewController::showInterface(bool) {
    const bool landscape = NSServer::getIsHengB();
    const std::string background = kit::interfacePicture(landscape ? 53 : 4);
    tf_title_->setFrame(landscape ? ui::Rect{53, 62, 467, 31} : ui::Rect{41, 55, 467, 31});
    if (auto picture = kit::picture(background)) iv_back_->setImage(picture);
    if (auto picture = kit::picture(kit::interfacePicture(17))) bt_back_->setBackgroundImage(picture);
}

bool UIWebSearchViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    const ui::Rect f = view()->frame();
    if (orientation == kLandscapeLeft || orientation == kLandscapeRight)
        view()->setFrame({f.origin.x, f.origin.y, 1024, 748});
    else if (orientation == kPortrait || orientation == kPortraitUpsideDown)
        view()->setFrame({f.origin.x, f.origin.y, 768, 1004});
    showInterface(false);
    return true;
}

void UIWebSearchViewController::onCancel() {
    if (rootController_) rootController_->WebSearchBack();
}
