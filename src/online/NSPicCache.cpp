#include "online/NSPicCache.h"

#include <cctype>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

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

// Those who asked for one address while its download is under way, each with the receiver it
// keeps until the answer. The request's callback owns it: a request dropped without an answer
// (the program's end) takes it along, and the next fetch of the address asks again.
struct Waiters {
    std::vector<std::pair<std::shared_ptr<void>, std::function<void(const std::string&)>>> list;
};

// The downloads under way, by address (main thread only).
std::map<std::string, std::weak_ptr<Waiters>>& downloads() {
    static std::map<std::string, std::weak_ptr<Waiters>> all;
    return all;
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
    // One download per address: a screen asking while it is under way waits for the same answer.
    auto& all = downloads();
    if (auto under = all.find(url); under != all.end()) {
        if (auto waiting = under->second.lock()) {
            waiting->list.emplace_back(std::move(receiver), std::move(done));
            return;
        }
        all.erase(under);
    }
    auto waiting = std::make_shared<Waiters>();
    waiting->list.emplace_back(std::move(receiver), std::move(done));
    all[url] = waiting;
    auto request = NSHTTPServer::initWithAddress(url);
    request->setM_tag(url);
    request->setReceiveDelegate(waiting);
    request->setnetServerDidReceiveSelector([waiting](const std::string& bytes, NSHTTPServer& r) {
        const std::string file = store(r.m_tag(), bytes) ? cachePath(r.m_tag()) : std::string();
        auto& all = downloads();
        if (auto under = all.find(r.m_tag()); under != all.end() && under->second.lock() == waiting) all.erase(under);
        const auto list = std::move(waiting->list);
        for (const auto& [receiver, done] : list) done(file);
    });
    request->sendGetToServer();
}

}  // namespace piccache
