// Dish pictures: the head of the file is enciphered with the device key.

#include <cstdint>
#include <fstream>
#include <string_view>

#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "platform/ui/Image.h"

namespace {

std::uint32_t le32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

// The start of a BMP, PNG or JPEG file. A BMP must also name one of the information headers in
// use, so that a head deciphered with a wrong key is practically never taken for one.
bool startsLikePicture(std::string_view b) {
    if (b.size() >= 8 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) return true;
    if (b.size() >= 3 && b.substr(0, 3) == "\xFF\xD8\xFF") return true;
    if (b.size() < 18 || b[0] != 'B' || b[1] != 'M') return false;
    const std::uint32_t header = le32(b, 14);
    return header == 40 || header == 52 || header == 56 || header == 108 || header == 124;
}

}  // namespace

std::shared_ptr<ui::Image> NSServer::readCaipImage(const std::string& path) {
    std::string bytes = readCaipImageData(path);
    if (bytes.empty()) return nullptr;
    return ui::Image::withData(bytes);
}

bool NSServer::isCaipImageReadable(const std::string& path, const std::optional<std::string>& key) {
    // The cipher works byte by byte: the first bytes decipher alone as they do in the whole head.
    constexpr std::size_t kSignature = 18;
    std::ifstream in(path, std::ios::binary);
    std::string head(kSignature, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return startsLikePicture(NSEncDec().Encrypt(head, key ? *key : getMacAdr()));
}
