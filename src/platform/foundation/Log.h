#pragma once
// Diagnostic lines to the platform log (standard error), like the device's console.

#include <string_view>

namespace platform {

void log(std::string_view line);
void setLogQuiet(bool quiet);

}  // namespace platform
