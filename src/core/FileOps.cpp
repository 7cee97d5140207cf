// Enciphered table files, plain files and dish pictures.

#include <algorithm>

#include "GData/GDataXML.h"
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

int NSServer::reencipherStoredFiles(const std::string& oldKey) {
    const std::string newKey = getMacAdr();
    if (newKey == oldKey) return 0;
    int taken = 0;
    // Table files: Base64 of an XML document enciphered with the key. The device key file is
    // enciphered with the device identifier and never changes key here.
    for (const std::string& name : platform::fs::regularFileNames(getDataPath())) {
        if (name == "mac.dat") continue;
        const std::string path = platform::fs::join(getDataPath(), name);
        const std::string text = stringDataReadFromFile(path, oldKey);
        if (text.empty() || !GDataXMLDocument::initWithDataOptionsError(text, 0, nullptr)) continue;
        if (stringDataWriteToFile(path, newKey, text)) ++taken;
    }
    // Dish pictures: only the head is enciphered; descriptions and the index are plain.
    const std::string pictures = getCaippicPath();
    for (const std::string& name : platform::fs::regularFileNames(pictures)) {
        const std::string path = platform::fs::join(pictures, name);
        if (!isCaipImageReadable(path, oldKey)) continue;
        auto bytes = platform::fs::readAll(path, kMaxFileBytes);
        if (!bytes) continue;
        const std::size_t head = std::min(bytes->size(), kPictureHead);
        const std::string plain = NSEncDec().Encrypt(bytes->substr(0, head), oldKey);
        bytes->replace(0, head, NSEncDec().Decrypt(plain, newKey));
        if (platform::fs::writeAtomically(path, *bytes, platform::fs::Durability::Quick)) ++taken;
    }
    platform::fs::flushFileSystemOf(pictures);
    return taken;
}
