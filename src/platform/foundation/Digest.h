#pragma once
// Digests, identifiers and random numbers.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

std::array<std::uint8_t, 16> md5(std::string_view bytes);
std::string hex(std::string_view bytes);  // lower-case
// A new random UUID in its usual upper-case text form (8-4-4-4-12).
std::string uuidString();
std::uint32_t random32();

}  // namespace platform
