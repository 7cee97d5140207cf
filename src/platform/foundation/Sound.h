#pragma once
// System sounds: short WAV files played at once and forgotten. The window shell installs a real
// player; elsewhere a recording player stands in and keeps what it was asked to play.

#include <memory>
#include <string>
#include <vector>

namespace platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Answers whether a sound could be made from the file (it plays in the background).
    virtual bool play(const std::string& path) = 0;
};

class RecordingSoundPlayer : public SoundPlayer {
public:
    bool play(const std::string& path) override;
    std::vector<std::string> played;
};

SoundPlayer& soundPlayer();
void setSoundPlayer(std::shared_ptr<SoundPlayer> player);

}  // namespace platform
