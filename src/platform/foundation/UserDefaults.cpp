#include "platform/foundation/UserDefaults.h"

#include "platform/foundation/FileSystem.h"

namespace platform {

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults;
    return defaults;
}

void UserDefaults::ensureLoaded() const {
    std::uint64_t generation = homeFolderGeneration();
    if (loaded_ && generation == homeGeneration_) return;
    homeGeneration_ = generation;
    path_ = fs::join(preferencesFolder(), "defaults.plist");
    // A missing or damaged file gives empty defaults.
    values_ = readPlistDictFile(path_).value_or(PlistDict());
    loaded_ = true;
}

std::optional<PlistValue> UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ensureLoaded();
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ensureLoaded();
    auto it = values_.find(key);
    if (it == values_.end() || !it->second.string()) return std::nullopt;
    return *it->second.string();
}

std::optional<PlistDict> UserDefaults::dictionaryForKey(const std::string& key) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ensureLoaded();
    auto it = values_.find(key);
    if (it == values_.end() || !it->second.dict()) return std::nullopt;
    return *it->second.dict();
}

void UserDefaults::setObject(const std::string& key, const PlistValue& value) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ensureLoaded();
    values_[key] = value;
    write();
}

void UserDefaults::removeObject(const std::string& key) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ensureLoaded();
    if (values_.erase(key) > 0) write();
}

bool UserDefaults::synchronize() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ensureLoaded();
    return write();
}

void UserDefaults::reload() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    values_.clear();
    loaded_ = false;
}

bool UserDefaults::write() {
    fs::createFolder(preferencesFolder());
    return writePlistDictFile(path_, values_);
}

}  // namespace platform
