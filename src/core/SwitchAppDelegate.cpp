#include "core/SwitchAppDelegate.h"

#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Pasteboard.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {
SwitchAppDelegate::RootControllerMaker& rootControllerMaker() {
    static SwitchAppDelegate::RootControllerMaker maker;
    return maker;
}

// A write interrupted by a crash or a power cut leaves its temporary file beside the file it
// was to replace (which is still whole); nothing else ever removes it.
void removeStaleTemporaries() {
    for (const std::string& folder :
         {NSServer::getDataPath(), NSServer::getCaippicPath(), NSServer::getSkinsPath(), NSServer::getMediaPath(),
          NSServer::getShopPath(), platform::preferencesFolder(), platform::Pasteboard::folder()})
        if (!folder.empty()) platform::fs::removeStaleTemporaries(folder);
}

}  // namespace

void SwitchAppDelegate::setRootControllerMaker(RootControllerMaker maker) {
    rootControllerMaker() = std::move(maker);
}

SwitchAppDelegate::SwitchAppDelegate() {
    // The loaders run strictly in this order; each falls back to its defaults on failure, so
    // the start always goes on.
    NSServer::setIsShowAlert(false);
    NSServer::loadEnc();
    NSServer::loadPath();
    removeStaleTemporaries();
    NSServer::loadMacAdr();
    NSServer::loadIni();  // a configured server address enrols the device here
    NSServer::createDir();
    NSServer::loadCaipXml();
    NSServer::loadOutDesk();
    NSServer::loadDesks(std::nullopt, false);  // no desk states, no offline section at start-up
    NSServer::getLangueManager();
}

bool SwitchAppDelegate::didFinishLaunching(ui::Window& window) {
    // Without a screen host the window shows an empty root view.
    if (rootControllerMaker()) {
        switchViewController_ = rootControllerMaker()();
        if (switchViewController_) window.setRootViewController(switchViewController_);
    }
    window.makeKeyAndVisible();
    return true;
}

SwitchAppDelegate::~SwitchAppDelegate() {
    switchViewController_.reset();
    NSServer::releaseStatic();
}

void SwitchAppDelegate::willTerminate() {
    // The window still shows the screens; they go with it, after this.
    switchViewController_.reset();
}
