#pragma once
// Named pasteboards. A persistent pasteboard lives as a property-list file in
// "<home>/Pasteboards", one per name, so it survives restarts of the program; items are bytes
// stored under a type name.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace platform {

class Pasteboard {
public:
    // The pasteboard of that name; with `create` NO, nothing when it does not exist yet.
    static std::shared_ptr<Pasteboard> withName(const std::string& name, bool create);
    static void removeWithName(const std::string& name);
    // The folder the persistent pasteboards are kept in.
    static std::string folder();

    const std::string& name() const { return name_; }
    void setPersistent(bool persistent);
    bool isPersistent() const { return persistent_; }
    std::optional<std::string> dataForType(const std::string& type) const;
    void setData(const std::string& type, const std::string& bytes);

private:
    explicit Pasteboard(std::string name) : name_(std::move(name)) {}
    bool save() const;  // the caller holds mutex_
    std::string name_;
    bool persistent_ = false;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> items_;  // type -> bytes
};

}  // namespace platform
