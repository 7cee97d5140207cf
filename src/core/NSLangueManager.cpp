#include "core/NSLangueManager.h"

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {
constexpr std::uint64_t kMaxWordTableBytes = 16 << 20;
}

NSLangueManager::NSLangueManager() { loadLangue("CHINESE.TXT"); }

bool NSLangueManager::loadLangue(const std::string& name) {
    std::string path = platform::fmt("%@/%@", NSServer::getSkinsPath(), name);
    if (NSServer::getSkinsPath().empty() || !platform::fs::exists(path)) {
        auto resource = platform::Bundle::pathForResource(name);
        if (!resource) return false;
        path = *resource;
    }
    auto bytes = platform::fs::readAll(path, kMaxWordTableBytes);
    if (!bytes) return false;

    std::string text;
    if (platform::isValidUTF8(*bytes)) {
        text = *bytes;
    } else if (auto converted = platform::gb18030ToUtf8(*bytes)) {
        text = *converted;
    } else {
        return false;
    }

    auto json = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    // Only an object of texts is a word table; anything else would leave every screen guessing.
    if (!json.is_object()) return false;
    auto table = std::make_shared<Words>();
    for (auto it = json.begin(); it != json.end(); ++it) {
        if (it.value().is_string()) (*table)[it.key()] = it.value().get<std::string>();
    }
    setWords(std::move(table));
    return true;
}

std::optional<std::string> NSLangueManager::word(const std::string& key) const {
    if (!words_) return std::nullopt;
    auto it = words_->find(key);
    if (it == words_->end()) return std::nullopt;
    return it->second;
}
