#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks). Decoding is strict: it is how
// the enciphered table files and message fields are read, so anything not exactly well formed is
// refused rather than guessed at.

#include <optional>
#include <string>

class GTMBase64 {
public:
    // Nothing for empty input.
    static std::optional<std::string> encodeData(const std::string& data);
    // White space (tab, LF, VT, FF, CR, space) and the bytes 0xA0 and 0xFF are skipped wherever
    // they stand; a zero byte ends the input. Padding is required. Nothing for a bad byte, wrong
    // or missing padding, non-zero unused bits in the last character, or nothing to decode.
    static std::optional<std::string> decodeData(const std::string& data);
};
