// Named system sounds: the skin's own WAV file first, else the package's.

#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Sound.h"
#include "platform/foundation/Text.h"

bool NSServer::playSound(const std::string& name) {
    std::string path = platform::fmt("%@/%@.WAV", getSkinsPath(), name);
    if (getSkinsPath().empty() || !platform::fs::exists(path)) {
        auto resource = platform::Bundle::pathForResource(name, "WAV");
        if (!resource) return false;
        path = *resource;
    }
    return platform::soundPlayer().play(path);
}
