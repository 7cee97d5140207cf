#include "screens/skin/UIWelcomeViewController.h"

#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "model/NSUserClass.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Text.h"
#include "platform/media/MoviePlayer.h"
#include "platform/ui/Window.h"
#include "screens/kit/ScreenKit.h"
#include "screens/kit/ScreenRoot.h"
#include "screens/skin/NSScreen.h"
#include "screens/skin/UISetViewController.h"
#include "screens/skin/VirtualForm.h"

namespace {

// The hidden settings gesture: two releases in the top-left corner, then two in the lower right.
constexpr double kCornerSize = 50;
constexpr double kLowerRightX = 300;
constexpr double kLowerRightY = 400;
constexpr int kGestureDone = 4;

constexpr double kToolBarHeight = 88;

// The demo user and the administrator code of the login panel.
constexpr const char* kDemoDesc = "*测试";
constexpr const char* kAdminCode = "4062";

std::string word(const std::string& key) { return ScreenRoot::word(key); }

}  // namespace

UIWelcomeViewController::UIWelcomeViewController(std::string nibName, bool copy)
    : ui::ViewController(std::move(nibName)), copy_(copy) {
    // The screen saver starts once the skin is loaded, when the view is made (startSkin).
    hasXml_ = false;
}

UIWelcomeViewController::~UIWelcomeViewController() {
    if (screen_) screen_->screenOver();
    if (clearPlayTimer_) clearPlayTimer_->invalidate();
    forgetPlayer();
    if (moviePlayer_) {
        moviePlayer_->stop();
        if (moviePlayer_->view()) moviePlayer_->view()->removeFromSuperview();
    }
}

void UIWelcomeViewController::loadView() {
    ui::Rect frame{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight - ui::Window::kStatusBarHeight};
    if (rootController_) frame = rootController_->frameRect();
    setView(kit::screenView(frame));
    makeControls();
}

void UIWelcomeViewController::makeControls() {
    auto& v = *view();
    const double w = v.bounds().width(), h = v.bounds().height();
    imageView_ = std::make_shared<ui::ImageView>(ui::Rect{0, 0, w, h});
    imageView_->setContentMode(ui::ContentMode::ScaleAspectFill);
    v.addSubview(imageView_);

    toolBar_ = std::make_shared<ui::ImageView>(ui::Rect{0, h - kToolBarHeight, w, kToolBarHeight});
    toolBar_->setBackgroundColor(kit::kBar);
    v.addSubview(toolBar_);

    // The buttons reach the screen weakly: a view may outlive its controller for a moment.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto self = [weak] { return std::static_pointer_cast<UIWelcomeViewController>(weak.lock()); };
    const double y = h - kToolBarHeight + (kToolBarHeight - 56) / 2;
    // All three sit on the accent face of the package's button picture: light titles read on it.
    bt_set_ = kit::button(v, {24, y, 200, 56}, "", [self] { if (auto s = self()) s->set(std::nullopt); },
                          kit::ButtonKind::Primary);
    bt_begin_ = kit::button(v, {w - 24 - 200, y, 200, 56}, "", [self] { if (auto s = self()) s->begin(); },
                            kit::ButtonKind::Primary);
    // The guests' own way into the online ordering service.
    bt_online_ = kit::button(v, {(w - 200) / 2, y, 200, 56}, "在线服务", [self] {
        if (auto s = self()) s->openOnline();
    }, kit::ButtonKind::Primary);
    if (auto back = kit::picture(kit::interfacePicture(16))) bt_online_->setBackgroundImage(back);
}

void UIWelcomeViewController::viewDidLoad() {
    showInterface();
    ui::ViewController::viewDidLoad();
    if (!copy_) startSkin();
}

void UIWelcomeViewController::viewDidUnload() {
    toolBar_.reset();
    stop();
    imageView_.reset();
    bt_set_.reset();
    bt_begin_.reset();
    bt_online_.reset();
}

void UIWelcomeViewController::showInterface() {
    // A picture the package lacks leaves the view as it was made: the palette's colours and the
    // titles still show.
    if (auto bar = kit::picture(kit::interfacePicture(2)); bar && toolBar_) toolBar_->setImage(bar);
    if (auto back = kit::picture(kit::interfacePicture(16))) {
        if (bt_set_) bt_set_->setBackgroundImage(back);
        if (bt_begin_) bt_begin_->setBackgroundImage(back);
    }
    ui::Rect screen = rootController_ ? rootController_->frameRect() : view()->frame();
    // Tall phone screens have a background of their own.
    const bool tall = screen.height() > 0 && screen.width() / screen.height() < 0.6;
    if (auto background = kit::picture(tall ? "Default-568h@2x.png" : "Default.png"); background && imageView_)
        imageView_->setImage(background);
    if (bt_set_) bt_set_->setTitle(word("set"));
    if (bt_begin_) bt_begin_->setTitle(word("begin"));
}

bool UIWelcomeViewController::isSubViewShow(bool keep) {
    if (!rootController_ || !rootController_->loginViewController) return false;
    if (!keep) rootController_->loginBack();
    return true;
}

void UIWelcomeViewController::begin() {
    if (isSubViewShow(false)) return;
    if (rootController_) rootController_->begin(std::nullopt);
}

void UIWelcomeViewController::openOnline() {
    if (isSubViewShow(false) || !rootController_) return;
    // The guests' pages cover this screen: a skin video playing on it ends, and gives the
    // touches back for when the screen shows again.
    if (moviePlayer_) {
        stop();
        canTouch_ = true;
    }
    rootController_->showFunction();
}

void UIWelcomeViewController::keepOnlineEntryInFront() {
    if (bt_online_ && bt_online_->superview() == view().get()) view()->bringSubviewToFront(bt_online_.get());
}

void UIWelcomeViewController::set(const std::optional<std::string>& argument) {
    if (isSubViewShow(false)) return;
    if (!rootController_) return;
    // Without a screen-layout file every way in opens the settings at once, for the
    // administrator. The mark belongs to the settings screen about to open, not to the user:
    // rewriting the waiter's description would leave him unable to send orders afterwards.
    UISetViewController::markNextOpeningAsAdministrator(!hasXml_);

    // First set-up (no company, no server) needs no login.
    if (platform::leadingInt(NSServer::getJtNO()) < 1 && NSServer::getIp().empty()) {
        rootController_->set();
        return;
    }
    if (argument != kNoLogin && hasXml_) {
        auto user = NSServer::getNowUser();
        if (user->m_strUserDesc == kDemoDesc) {
            rootController_->set();
            return;
        }
        // The administrator code must be typed again: it is no waiter's name.
        if (user->m_strUserDesc == UISetViewController::kAdminDesc && user->m_strUserName == kAdminCode)
            user->m_strUserName = "";
        if (auto self = std::dynamic_pointer_cast<UIWelcomeViewController>(shared_from_this()))
            rootController_->login(self, kLoginSettings);
        return;
    }
    rootController_->set();
}

void UIWelcomeViewController::loginBack(int loginType, bool ok) {
    if (!ok) return;
    if (loginType == kLoginSettings) {
        set(std::string(kNoLogin));
    } else if (loginType == kLoginSetDesk) {
        if (rootController_) rootController_->chooseSetDesk(kNoLogin);
    }
    NSServer::setIsWaiterUser(false);
}

void UIWelcomeViewController::alertViewClickedButtonAtIndex(ui::AlertView&, int) {
    NSServer::setIsShowAlert(false);
}

void UIWelcomeViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event*) {
    // Any touch restarts the screen saver's idle time.
    restartScreenSaver();
    if (!canTouch_ || isSubViewShow(true)) return;
    auto* touch = touches.anyObject();
    if (!touch) return;
    gestureStartPoint_ = touch->locationInView(view().get());
    if (auto form = nowForm_) form->onButtonDown(gestureStartPoint_, *this);
}

void UIWelcomeViewController::touchesEnded(const ui::TouchSet& touches, const ui::Event*) {
    auto* touch = touches.anyObject();
    if (!touch) return;
    if (!canTouch_) {
        // A double tap ends a windowed skin video and gives the touches back.
        if (touch->tapCount() == 2) {
            stop();
            canTouch_ = true;
        }
        return;
    }
    if (isSubViewShow(false)) return;
    gestureStartPoint_ = touch->locationInView(view().get());
    const double x = gestureStartPoint_.x, y = gestureStartPoint_.y;
    if (x < kCornerSize && y < kCornerSize && touchNum_ < 2) {
        ++touchNum_;
    } else if (x > kLowerRightX && y > kLowerRightY && touchNum_ >= 2) {
        // The count stays at 4 after the settings opened, until a release elsewhere.
        if (++touchNum_ == kGestureDone) {
            set(std::nullopt);
            return;
        }
    } else {
        touchNum_ = 0;
    }
    if (auto form = nowForm_) form->onButtonUp(gestureStartPoint_, *this);
}
