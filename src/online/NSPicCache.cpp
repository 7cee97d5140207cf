#include "online/NSPicCache.h"

#include <cctype>
#include <cstring>

#include "core/NSServer.h"
#include "online/NSHTTPServer.h"
#include "platform/foundation/Digest.h"
#include "platform/foundation/FileSystem.h"

namespace piccache {

namespace {
// A short extension of the address's last component, kept so the file still tells its type.
std::string extensionOf(const std::string& url) {
    const auto slash = url.find_last_of('/');
    const std::string last = slash == std::string::npos ? url : url.substr(slash + 1);
    const auto dot = last.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string ext = last.substr(dot + 1);
    if (ext.empty() || ext.size() > 5) return {};
    for (char& c : ext) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return {};
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return "." + ext;
}

bool startsWith(const std::string& bytes, const char* magic, std::size_t n, std::size_t at = 0) {
    return bytes.size() >= at + n && std::memcmp(bytes.data() + at, magic, n) == 0;
}
}  // namespace

std::string cachePath(const std::string& url) {
    const std::string& tem = NSServer::getTemPath();
    if (tem.empty()) return {};
    const std::string folder = platform::fs::join(tem, "pic");
    if (!platform::fs::isFolder(folder)) platform::fs::createFolder(folder);
    const auto digest = platform::md5(url);
    const std::string name =
        platform::hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())) +
        extensionOf(url);
    return platform::fs::join(folder, name);
}

bool isPicture(const std::string& b) {
    return startsWith(b, "\x89PNG\r\n\x1a\n", 8) || startsWith(b, "\xff\xd8\xff", 3) ||
           startsWith(b, "GIF87a", 6) || startsWith(b, "GIF89a", 6) || startsWith(b, "BM", 2) ||
           (startsWith(b, "RIFF", 4) && startsWith(b, "WEBP", 4, 8));
}

bool store(const std::string& url, const std::string& bytes) {
    const std::string path = cachePath(url);
    if (path.empty()) return false;
    // An error page or a truncated answer must not stand in for the picture in every later run.
    if (isPicture(bytes)) platform::fs::writeAtomically(path, bytes, platform::fs::Durability::Quick);
    return platform::fs::exists(path);
}

void fetch(const std::string& url, std::shared_ptr<void> receiver,
           std::function<void(const std::string& path)> done) {
    const std::string path = cachePath(url);
    if (path.empty()) {
        done({});
        return;
    }
    if (platform::fs::exists(path)) {
        done(path);
        return;
    }
    auto request = NSHTTPServer::initWithAddress(url);
    request->setM_tag(url);
    // Without a receiver of its own the callback still needs one for the delivery to happen.
    request->setReceiveDelegate(receiver ? std::move(receiver) : std::make_shared<char>());
    request->setnetServerDidReceiveSelector([done = std::move(done)](const std::string& bytes, NSHTTPServer& r) {
        done(store(r.m_tag(), bytes) ? cachePath(r.m_tag()) : std::string());
    });
    request->sendGetToServer();
}

}  // namespace piccache
