#include "base64/GTMBase64.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Decoding classes of every byte: 0..63 the sextet, then the special kinds.
constexpr uint8_t kSkip = 0x80;
constexpr uint8_t kPad = 0x81;
constexpr uint8_t kEnd = 0x82;
constexpr uint8_t kBad = 0xFF;

constexpr std::array<uint8_t, 256> makeDecodeTable() {
    std::array<uint8_t, 256> t{};
    for (auto& v : t) v = kBad;
    for (int i = 0; i < 64; ++i) t[static_cast<uint8_t>(kAlphabet[i])] = static_cast<uint8_t>(i);
    for (uint8_t c : {'\t', '\n', '\v', '\f', '\r', ' '}) t[c] = kSkip;
    t[0xA0] = kSkip;
    t[0xFF] = kSkip;
    t['='] = kPad;
    t[0] = kEnd;
    return t;
}

constexpr std::array<uint8_t, 256> kDecode = makeDecodeTable();

}  // namespace

std::optional<std::string> GTMBase64::encodeData(const std::string& data) {
    if (data.empty()) return std::nullopt;
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    const auto* p = reinterpret_cast<const uint8_t*>(data.data());
    size_t n = data.size(), i = 0;
    for (; i + 3 <= n; i += 3) {
        uint32_t v = (uint32_t(p[i]) << 16) | (uint32_t(p[i + 1]) << 8) | p[i + 2];
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (n - i == 1) {
        uint32_t v = uint32_t(p[i]) << 16;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (n - i == 2) {
        uint32_t v = (uint32_t(p[i]) << 16) | (uint32_t(p[i + 1]) << 8);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::optional<std::string> GTMBase64::decodeData(const std::string& data) {
    std::string out;
    out.reserve(data.size() / 4 * 3 + 3);
    uint8_t quad[4];
    int have = 0;
    size_t i = 0;
    const size_t n = data.size();

    for (; i < n; ++i) {
        uint8_t k = kDecode[static_cast<uint8_t>(data[i])];
        if (k == kSkip) continue;
        if (k == kEnd) break;
        if (k == kPad) break;
        if (k == kBad) return std::nullopt;
        quad[have++] = k;
        if (have == 4) {
            out += static_cast<char>((quad[0] << 2) | (quad[1] >> 4));
            out += static_cast<char>(((quad[1] & 0x0F) << 4) | (quad[2] >> 2));
            out += static_cast<char>(((quad[2] & 0x03) << 6) | quad[3]);
            have = 0;
        }
    }

    const bool padded = i < n && data[i] == '=';
    if (!padded) {
        if (have != 0 || out.empty()) return std::nullopt;
        return out;
    }

    // Padding: "xx==" or "xxx=", then only skipped bytes up to the end (or a zero byte).
    int padsNeeded;
    if (have == 2) {
        if (quad[1] & 0x0F) return std::nullopt;
        padsNeeded = 2;
    } else if (have == 3) {
        if (quad[2] & 0x03) return std::nullopt;
        padsNeeded = 1;
    } else {
        return std::nullopt;
    }
    int pads = 0;
    for (; i < n; ++i) {
        uint8_t k = kDecode[static_cast<uint8_t>(data[i])];
        if (k == kSkip) continue;
        if (k == kEnd) break;
        if (k == kPad && pads < padsNeeded) {
            ++pads;
            continue;
        }
        return std::nullopt;
    }
    if (pads != padsNeeded) return std::nullopt;

    out += static_cast<char>((quad[0] << 2) | (quad[1] >> 4));
    if (have == 3) out += static_cast<char>(((quad[1] & 0x0F) << 4) | (quad[2] >> 2));
    return out;
}
