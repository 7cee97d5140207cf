#include "platform/shell/SdlSoundPlayer.h"

#include <vector>

#include <SDL.h>

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Log.h"

namespace shell {

SdlSoundPlayer::SdlSoundPlayer() = default;

SdlSoundPlayer::~SdlSoundPlayer() {
    if (device_) SDL_CloseAudioDevice(device_);
}

bool SdlSoundPlayer::openDevice() {
    if (triedOpen_) return device_ != 0;
    triedOpen_ = true;
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        platform::log(std::string("sound: no audio: ") + SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 2048;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device_) {
        platform::log(std::string("sound: no output device: ") + SDL_GetError());
        return false;
    }
    freq_ = want.freq;
    format_ = want.format;
    channels_ = want.channels;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool SdlSoundPlayer::play(const std::string& path) {
    // Checked before SDL reads the file whole.
    auto bytes = platform::fs::readAll(path, kMaxWavBytes);
    if (!bytes) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!openDevice()) return false;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &samples, &length)) return false;
    SDL_AudioStream* stream = SDL_NewAudioStream(spec.format, spec.channels, spec.freq, format_, channels_, freq_);
    bool ok = false;
    if (stream && SDL_AudioStreamPut(stream, samples, static_cast<int>(length)) == 0 && SDL_AudioStreamFlush(stream) == 0) {
        std::vector<Uint8> out(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
        const int got = out.empty() ? 0 : SDL_AudioStreamGet(stream, out.data(), static_cast<int>(out.size()));
        ok = got >= 0 && SDL_QueueAudio(device_, out.data(), static_cast<Uint32>(got)) == 0;
    }
    if (stream) SDL_FreeAudioStream(stream);
    SDL_FreeWAV(samples);
    return ok;
}

}  // namespace shell
