#pragma once
// The application's user defaults: a property-list dictionary kept in
// "<preferences>/defaults.plist" and written through on every change.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/PropertyList.h"

namespace platform {

class UserDefaults {
public:
    // The store of the current home folder (re-read when the home folder changes).
    static UserDefaults& standard();

    std::optional<PlistValue> objectForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;  // only a string value
    std::optional<PlistDict> dictionaryForKey(const std::string& key) const;
    void setObject(const std::string& key, const PlistValue& value);
    void removeObject(const std::string& key);
    bool synchronize();  // write the file now; answers whether it was written

    // Drop what is held in memory and read the file again (a restart of the program).
    void reload();

private:
    UserDefaults() = default;
    // Read lazily, and again whenever the home folder changed since the last read.
    mutable std::recursive_mutex mutex_;
    mutable std::string path_;
    mutable PlistDict values_;
    mutable bool loaded_ = false;
    mutable std::uint64_t homeGeneration_ = 0;
    void ensureLoaded() const;
    bool write();
};

}  // namespace platform
