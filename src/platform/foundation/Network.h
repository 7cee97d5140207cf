#pragma once
// Questions about the machine's network interfaces.

#include <optional>

namespace platform {

// Whether the device has a local network: an interface that is up, not loopback, and has an
// IPv4 address. A value set for testing answers instead.
bool hasWifi();
// Makes hasWifi answer the given value; none asks the interfaces again.
void setWifiForTesting(std::optional<bool> value);

}  // namespace platform
