#pragma once
// The root controller's side of the services the server client calls while it talks to the back
// office: the wait logo, progress texts and alerts go to the root; the idle timer to the
// application.

#include <memory>
#include <string>

#include "net/RootServices.h"

class SwitchViewController;

class HostServices : public NSRootServices {
public:
    explicit HostServices(std::weak_ptr<SwitchViewController> root) : root_(std::move(root)) {}

    void showWaitLogo() override;
    void releaseWaitLogo() override;
    void showAyncStyle(const std::string& text) override;
    // An alert whose delegate is the root: its answer clears the alert-shown flag.
    void showAlert(const std::string& title, const std::string& message, const std::string& button) override;
    void setIdleTimerDisabled(bool disabled) override;

private:
    std::weak_ptr<SwitchViewController> root_;
};
