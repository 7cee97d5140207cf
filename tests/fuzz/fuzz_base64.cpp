// Decodes arbitrary bytes as the enciphered files are read; whatever decodes must survive a round
// trip. The same bytes also serve as data and key of the cipher, which must undo itself for any key.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base64/GTMBase64.h"
#include "core/NSEncDec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (auto decoded = GTMBase64::decodeData(bytes)) {
        if (decoded->empty()) __builtin_trap();
        auto encoded = GTMBase64::encodeData(*decoded);
        if (!encoded) __builtin_trap();
        auto again = GTMBase64::decodeData(*encoded);
        if (!again || *again != *decoded) __builtin_trap();
    }

    size_t split = size ? data[0] % (size + 1) : 0;
    std::string key = bytes.substr(0, split), plain = bytes.substr(split);
    NSEncDec cipher;
    std::string written = cipher.Decrypt(plain, key);
    if (written.size() != plain.size() || cipher.Encrypt(written, key) != plain) __builtin_trap();
    return 0;
}
