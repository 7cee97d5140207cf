// The stored device key (mac.dat), enciphered with the device identifier.

#include "core/NSServer.h"
#include "core/OpenUDID.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

void NSServer::loadMacAdr() {
    std::string path = platform::fmt("%@/mac.dat", getDataPath());
    if (platform::fs::exists(path)) {
        std::string key = NSServer().stringDataReadFromFile(path, OpenUDID::value());
        if (!key.empty() && platform::isValidUTF8(key)) {
            setMacAdr(key);
            return;
        }
        // Not readable with this device's identifier: enrol again on the next server address.
        platform::fs::remove(path);
    }
    setMacAdr("null");
}
