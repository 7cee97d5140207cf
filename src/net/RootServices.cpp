#include "net/RootServices.h"

#include "core/NSServer.h"

namespace {

// Never destroyed: the shared link may still close itself (and release the wait logo) while
// static objects are being torn down at exit.
std::shared_ptr<NSRootServices>& installed() {
    static auto* services = new std::shared_ptr<NSRootServices>();
    return *services;
}

}  // namespace

NSRootServices& rootServices() {
    static auto* nothing = new NSRootServices();
    auto& services = installed();
    return services ? *services : *nothing;
}

void setRootServices(std::shared_ptr<NSRootServices> services) { installed() = std::move(services); }

void showAlertOrMessage(const std::string& title, const std::string& text, const std::string& button) {
    if (NSServer::getIsShowAlert()) {
        rootServices().showAyncStyle(text);
        return;
    }
    NSServer::setIsShowAlert(true);
    rootServices().showAlert(title, text, button);
}
