#pragma once
// The device identifier: 40 hexadecimal digits made once on the device and kept in the user
// defaults and in shared named slots (persistent pasteboards), so that it survives for the life
// of the installation. It is the data key of mac.dat and the openuid of the login.

#include <optional>
#include <string>

#include "platform/foundation/PropertyList.h"

class OpenUDID {
public:
    struct Error {
        int code = 0;
        std::string description;
    };

    static std::string value();
    static std::string valueWithError(Error* error);
    static std::string _generateFreshOpenUDID();
    static platform::PlistDict _getDictFromPasteboard(const std::string& slotName);
    static void _setDictForPasteboard(const platform::PlistDict& dict, const std::string& slotName);
    static void setOptOut(bool optOut);

    // The name of slot n ("<prefix>.slot.<n>").
    static std::string slotName(int n);
    // Forgets the identifier cached for this process (a new run of the program).
    static void clearCacheForTesting();
};
