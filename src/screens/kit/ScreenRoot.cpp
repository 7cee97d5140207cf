#include "screens/kit/ScreenRoot.h"

#include "core/NSLangueManager.h"
#include "core/NSServer.h"
#include "platform/foundation/Text.h"

namespace {

std::function<std::shared_ptr<ScreenRoot>()>& currentLookup() {
    static std::function<std::shared_ptr<ScreenRoot>()> lookup;
    return lookup;
}

}  // namespace

std::shared_ptr<ScreenRoot> ScreenRoot::current() { return currentLookup() ? currentLookup()() : nullptr; }

void ScreenRoot::setCurrentLookup(std::function<std::shared_ptr<ScreenRoot>()> lookup) {
    currentLookup() = std::move(lookup);
}

std::optional<ui::Rect> ScreenRoot::currentFrame() {
    if (auto root = current()) return root->frameRect();
    return std::nullopt;
}

std::string ScreenRoot::word(const std::string& key) {
    auto words = NSServer::getLangueManager();
    return words ? words->text(key) : std::string();
}

std::string ScreenRoot::wordFormat(const std::string& key, const std::vector<std::string>& args) {
    std::vector<platform::FormatArg> values(args.begin(), args.end());
    return platform::format(word(key), values);
}
