#include "platform/foundation/Pasteboard.h"

#include "platform/foundation/Digest.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"

namespace platform {

namespace {

// The pasteboards of this process, for the current home folder.
std::mutex gBoardsMutex;
std::map<std::string, std::shared_ptr<Pasteboard>> gBoards;
std::uint64_t gBoardsGeneration = 0;

std::string boardsFolder() { return fs::join(homeFolder(), "Pasteboards"); }

// Any name maps to a plain file name of bounded length inside the folder.
std::string fileFor(const std::string& name) {
    std::string encoded = hex(name);
    if (encoded.size() > 200) {
        auto digest = md5(name);
        encoded = "md5-" + hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
    }
    return fs::join(boardsFolder(), encoded + ".plist");
}

// The map is per home: a new home (a test, another device) starts with no pasteboards in memory.
void syncGenerationLocked() {
    std::uint64_t generation = homeFolderGeneration();
    if (generation != gBoardsGeneration) {
        gBoards.clear();
        gBoardsGeneration = generation;
    }
}

}  // namespace

std::shared_ptr<Pasteboard> Pasteboard::withName(const std::string& name, bool create) {
    std::lock_guard<std::mutex> lock(gBoardsMutex);
    syncGenerationLocked();
    auto it = gBoards.find(name);
    if (it != gBoards.end()) return it->second;

    std::shared_ptr<Pasteboard> board;
    if (auto stored = readPlistDictFile(fileFor(name))) {
        board.reset(new Pasteboard(name));
        board->persistent_ = true;
        for (const auto& [type, value] : *stored)
            if (const PlistData* data = value.data()) board->items_[type] = data->bytes;
    } else if (create) {
        board.reset(new Pasteboard(name));
    } else {
        return nullptr;
    }
    gBoards[name] = board;
    return board;
}

std::string Pasteboard::folder() { return boardsFolder(); }

void Pasteboard::removeWithName(const std::string& name) {
    std::lock_guard<std::mutex> lock(gBoardsMutex);
    syncGenerationLocked();
    gBoards.erase(name);
    fs::remove(fileFor(name));
}

void Pasteboard::setPersistent(bool persistent) {
    std::lock_guard<std::mutex> lock(mutex_);
    persistent_ = persistent;
    if (persistent) save();
    else fs::remove(fileFor(name_));
}

std::optional<std::string> Pasteboard::dataForType(const std::string& type) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = items_.find(type);
    if (it == items_.end()) return std::nullopt;
    return it->second;
}

void Pasteboard::setData(const std::string& type, const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    items_[type] = bytes;
    if (persistent_) save();
}

bool Pasteboard::save() const {
    PlistDict dict;
    for (const auto& [type, bytes] : items_) dict[type] = PlistData{bytes};
    fs::createFolder(boardsFolder());
    return writePlistDictFile(fileFor(name_), dict);
}

}  // namespace platform
