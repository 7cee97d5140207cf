#pragma once
// What the server client asks of the root screen controller while it talks to the back office:
// the wait logo, progress texts on the message panel, alerts and the screen's idle timer. The
// screen host installs its implementation at launch; until then (and in tools) nothing is shown.

#include <memory>
#include <string>

class NSRootServices {
public:
    virtual ~NSRootServices() = default;

    // The wait logo over the whole screen while an exchange blocks the main thread. The host
    // must draw it before returning (ui::Window::displayNow), since the caller blocks right after.
    virtual void showWaitLogo() {}
    virtual void releaseWaitLogo() {}
    // A text on the message panel (progress, and failures when an alert is already up).
    virtual void showAyncStyle(const std::string& text) { (void)text; }
    // Raises an alert with one button. Tapping the button must clear the hub's alert-shown flag
    // (NSServer::setIsShowAlert(false)).
    virtual void showAlert(const std::string& title, const std::string& message,
                           const std::string& button) {
        (void)title; (void)message; (void)button;
    }
    // Keeps the screen awake during a long download (true) or lets it sleep again (false).
    virtual void setIdleTimerDisabled(bool disabled) { (void)disabled; }
};

// The services in use; a do-nothing instance while none is installed. Main thread only.
NSRootServices& rootServices();
// Installs the host's services (none goes back to the do-nothing instance).
void setRootServices(std::shared_ptr<NSRootServices> services);

// The alert-or-message rule: while an alert is shown the text goes to the message panel;
// otherwise the alert-shown flag is set and an alert is raised.
void showAlertOrMessage(const std::string& title, const std::string& text,
                        const std::string& button = "确定");
