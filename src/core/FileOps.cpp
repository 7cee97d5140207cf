// Enciphered table files, plain files and dish pictures.

#include "base64/GTMBase64.h"
#include "core/NSEncDec.h"
#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"

namespace {

// Table files and pictures are small; anything far larger is not ours.
constexpr std::uint64_t kMaxFileBytes = 256ull * 1024 * 1024;
constexpr std::size_t kPictureHead = 1024;

std::string dataKey(const std::optional<std::string>& key) {
    return key ? *key : NSServer::getMacAdr();
}

}  // namespace

std::string NSServer::stringDataReadFromFile(const std::string& path, const std::optional<std::string>& key) {
    auto text = platform::fs::readAll(path, kMaxFileBytes);
    if (!text) return {};
    auto data = GTMBase64::decodeData(*text);
    if (!data) return {};
    return NSEncDec().Encrypt(*data, dataKey(key));
}

bool NSServer::stringDataWriteToFile(const std::string& path, const std::optional<std::string>& key,
                                     const std::string& data) {
    auto text = GTMBase64::encodeData(NSEncDec().Decrypt(data, dataKey(key)));
    if (!text) return false;
    return platform::fs::writeAtomically(path, *text);
}

bool NSServer::stringWriterToFile(const std::string& path, const std::string& text) {
    return platform::fs::writeAtomically(path, text);
}

bool NSServer::dataWriterToFile(const std::string& path, const std::string& data) {
    // Downloaded pictures, skin files and videos: many at a time, and all can be fetched again,
    // so the synchronisation flushes them once at the end of its run instead of one by one.
    return platform::fs::writeAtomically(path, data, platform::fs::Durability::Quick);
}

std::string NSServer::readCaipImageData(const std::string& path) {
    auto bytes = platform::fs::readAll(path, kMaxFileBytes);
    if (!bytes) return {};
    if (bytes->size() <= kPictureHead) return NSEncDec().Encrypt(*bytes, getMacAdr());
    return NSEncDec().Encrypt(bytes->substr(0, kPictureHead), getMacAdr()) + bytes->substr(kPictureHead);
}
