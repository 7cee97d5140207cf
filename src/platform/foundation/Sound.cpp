#include "platform/foundation/Sound.h"

#include <mutex>

#include "platform/foundation/FileSystem.h"

namespace platform {

namespace {
std::mutex gPlayerMutex;
std::shared_ptr<SoundPlayer> gPlayer;
}  // namespace

bool RecordingSoundPlayer::play(const std::string& path) {
    played.push_back(path);
    return fs::exists(path) && !fs::isFolder(path);
}

SoundPlayer& soundPlayer() {
    std::lock_guard<std::mutex> lock(gPlayerMutex);
    if (!gPlayer) gPlayer = std::make_shared<RecordingSoundPlayer>();
    return *gPlayer;
}

void setSoundPlayer(std::shared_ptr<SoundPlayer> player) {
    std::shared_ptr<SoundPlayer> old;
    std::lock_guard<std::mutex> lock(gPlayerMutex);
    old = std::move(gPlayer);
    gPlayer = std::move(player);
}

}  // namespace platform
