// The waiter login gate: actions that must know their waiter pass here first.
#include "screens/root/SwitchViewController.h"

#include "core/NSServer.h"
#include "model/NSUserClass.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "screens/kit/UILoginViewController.h"

namespace {

// Demo mode: no skin layout, no company number and no server address.
bool demoMode() {
    return !platform::fs::exists(platform::fs::join(NSServer::getSkinsPath(), "INTERFACE.XML")) &&
           platform::leadingInt(NSServer::getJtNO()) < 1 && NSServer::getIp().empty();
}

}  // namespace

void SwitchViewController::login(const std::shared_ptr<NSLoginDlg>& requester, int loginType) {
    if (demoMode()) {
        NSServer::setJtNO(std::string("0"));
        auto user = std::make_shared<NSUserClass>();
        user->m_strUserID = "User";
        user->m_strUserName = "User";
        user->m_strUserDesc = "*测试";
        NSServer::setNowUser(user);
        const int result = NSServer().login(*user);
        if (result == 0) {
            if (requester) requester->loginBack(loginType, true);
            return;
        }
        // A failed demo login is told like any refused login, and the requester hears it.
        showRootAlert(UILoginViewController::failureText(result));
        if (requester) requester->loginBack(loginType, false);
        return;
    }

    auto panel = std::make_shared<UILoginViewController>();
    loginViewController = panel;
    panel->lastViewController = requester;
    panel->loginType = loginType;
    panel->rootController = std::static_pointer_cast<SwitchViewController>(shared_from_this());
    view()->addSubview(panel->view());
    // The requester lies over the panel and uncovers it by sliding up.
    if (auto* screen = dynamic_cast<ui::ViewController*>(requester.get()); screen && screen->isViewLoaded())
        view()->bringSubviewToFront(screen->view().get());
}

void SwitchViewController::loginBack() {
    if (loginViewController) loginViewController->onCancel();
}
