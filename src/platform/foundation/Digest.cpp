#include "platform/foundation/Digest.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <random>

namespace platform {

namespace {

void randomBytes(unsigned char* out, int n) {
    if (RAND_bytes(out, n) == 1) return;
    // Without the system's entropy source, a seeded generator still gives distinct identifiers.
    static thread_local std::mt19937_64 engine{std::random_device{}()};
    for (int i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(engine());
}

}  // namespace

std::array<std::uint8_t, 16> md5(std::string_view bytes) {
    std::array<std::uint8_t, 16> digest{};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_md5(), nullptr);
    return digest;
}

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

std::string uuidString() {
    unsigned char b[16];
    randomBytes(b, sizeof b);
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += digits[b[i] >> 4];
        out += digits[b[i] & 0x0F];
    }
    return out;
}

std::uint32_t random32() {
    unsigned char b[4];
    randomBytes(b, sizeof b);
    return static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
           static_cast<std::uint32_t>(b[2]) << 8 | b[3];
}

}  // namespace platform
