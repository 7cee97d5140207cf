#include "platform/ui/Application.h"

#include <cctype>

#include "platform/ui/NotificationCenter.h"

namespace ui {

Application& Application::shared() {
    static Application app;
    return app;
}

bool Application::openURL(const std::string& url) {
    opened_.push_back(url);
    auto colon = url.find(':');
    if (colon == std::string::npos) return false;
    std::string scheme = url.substr(0, colon);
    for (auto& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme == "telprompt" || scheme == "tel" || scheme == "http" || scheme == "https" || scheme == "mailto";
}

void Application::willResignActive(ApplicationDelegate* delegate) {
    if (delegate) delegate->willResignActive();
    NotificationCenter::defaultCenter().post(ApplicationWillResignActiveNotification, this);
}

void Application::didBecomeActive(ApplicationDelegate* delegate) {
    if (delegate) delegate->didBecomeActive();
    NotificationCenter::defaultCenter().post(ApplicationDidBecomeActiveNotification, this);
}

void Application::didEnterBackground() {
    NotificationCenter::defaultCenter().post(ApplicationDidEnterBackgroundNotification, this);
}

void Application::willEnterForeground() {
    NotificationCenter::defaultCenter().post(ApplicationWillEnterForegroundNotification, this);
}

}  // namespace ui
