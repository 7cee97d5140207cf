#pragma once
// Little-endian integers appended to a byte string, as the WAV and BMP headers store them.

#include <cstdint>
#include <string>

namespace artgen {

inline void put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>((v >> 8) & 0xff));
}

inline void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace artgen
