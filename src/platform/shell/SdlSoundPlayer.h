#pragma once
// Plays short WAV files through SDL audio: each sound is converted to the output format and
// queued, so it plays in the background while the program goes on. Installed by the window
// shell; needs SDL's audio to be initialised (it answers false without an output device).

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/foundation/Sound.h"

namespace shell {

class SdlSoundPlayer : public platform::SoundPlayer {
public:
    // A sound file larger than this is not a short system sound.
    static constexpr std::uint64_t kMaxWavBytes = 16ull * 1024 * 1024;

    SdlSoundPlayer();
    ~SdlSoundPlayer() override;
    bool play(const std::string& path) override;

private:
    bool openDevice();

    std::mutex mutex_;
    std::uint32_t device_ = 0;
    bool triedOpen_ = false;
    int freq_ = 44100;
    std::uint16_t format_ = 0;
    std::uint8_t channels_ = 2;
};

}  // namespace shell
