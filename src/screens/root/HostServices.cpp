#include "screens/root/HostServices.h"

#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "screens/root/SwitchViewController.h"

void HostServices::showWaitLogo() {
    if (auto root = root_.lock()) root->showWaitLogo();
}

void HostServices::releaseWaitLogo() {
    if (auto root = root_.lock()) root->releaseWaitLogo();
}

void HostServices::showAyncStyle(const std::string& text) {
    if (auto root = root_.lock()) root->showAyncStyle(text);
}

void HostServices::showAlert(const std::string& title, const std::string& message, const std::string& button) {
    auto root = root_.lock();
    if (!root) return;
    auto alert = std::make_shared<ui::AlertView>(title, message, root.get(), button);
    alert->show();
}

void HostServices::setIdleTimerDisabled(bool disabled) { ui::Application::shared().setIdleTimerDisabled(disabled); }
