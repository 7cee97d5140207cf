#include "platform/foundation/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string_view>

namespace platform {

namespace stdfs = std::filesystem;

namespace {

std::mutex gFoldersMutex;
std::string gHome;
std::string gCaches;  // empty: "Library/Caches" under the home
std::uint64_t gGeneration = 0;

std::string defaultHome() {
    const char* home = std::getenv("HOME");
    std::string base = home && *home ? home : stdfs::temp_directory_path().string();
    return fs::join(base, ".kovra");
}

// The caches folder of the current home; the lock is held by the caller.
std::string cachesLocked() { return gCaches.empty() ? fs::join(gHome, "Library/Caches") : gCaches; }

// Makes the device folders of the current home; the lock is held by the caller.
void makeHomeFolders() {
    fs::createFolder(cachesLocked());
    fs::createFolder(fs::join(gHome, "tmp"));
    fs::createFolder(fs::join(gHome, "Library/Preferences"));
}

std::string currentHome() {
    std::lock_guard<std::mutex> lock(gFoldersMutex);
    if (gHome.empty()) {
        gHome = defaultHome();
        makeHomeFolders();
        ++gGeneration;
    }
    return gHome;
}

bool writeAllToFd(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The temporary file of a write is ".NAME.tmp-XXXXXX" beside the file NAME.
constexpr const char* kTemporarySuffix = ".tmp-";
constexpr std::size_t kTemporaryExtraBytes = 1 + 5 + 6;
constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX of the file systems we run on

// Writes a temporary file beside `path` through `fill`, flushes it to disk (when durable) and
// renames it over `path`. On any failure the temporary file is removed and `path` is left as it
// was.
bool replaceFile(const std::string& path, const std::function<bool(int fd)>& fill, bool durable = true) {
    if (path.empty() || path.back() == '/') return false;
    stdfs::path target(path);
    stdfs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string tmpl = (folder / ("." + target.filename().string() + kTemporarySuffix + "XXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    bool ok = fill(fd) && ::fchmod(fd, 0644) == 0 && (!durable || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.c_str());
        return false;
    }
    if (!durable) return true;
    // Make the rename itself durable.
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace

void setHomeFolder(const std::string& path) {
    std::lock_guard<std::mutex> lock(gFoldersMutex);
    gHome = path.empty() ? defaultHome() : path;
    gCaches.clear();
    makeHomeFolders();
    ++gGeneration;
}

void setDataFolder(const std::string& path) {
    if (path.empty()) return setHomeFolder(path);
    std::lock_guard<std::mutex> lock(gFoldersMutex);
    gHome = path;
    gCaches = path;
    makeHomeFolders();
    ++gGeneration;
}

std::string homeFolder() { return currentHome(); }

std::string cachesFolder() {
    currentHome();
    std::lock_guard<std::mutex> lock(gFoldersMutex);
    return cachesLocked();
}

std::string temporaryFolder() { return fs::join(currentHome(), "tmp"); }

std::string preferencesFolder() { return fs::join(currentHome(), "Library/Preferences"); }

std::uint64_t homeFolderGeneration() {
    currentHome();
    std::lock_guard<std::mutex> lock(gFoldersMutex);
    return gGeneration;
}

namespace fs {

bool exists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> readAll(const std::string& path, std::uint64_t maxBytes) {
    if (path.empty()) return std::nullopt;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        // The file may grow while it is read; the bound holds regardless.
        if (bytes.size() + static_cast<std::uint64_t>(n) > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

bool isStorableFileName(const std::string& name) {
    return isPlainFileName(name) && name.size() + kTemporaryExtraBytes <= kMaxNameBytes;
}

int removeStaleTemporaries(const std::string& folder) {
    std::error_code error;
    stdfs::directory_iterator it(folder, error), end;
    int removed = 0;
    for (; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        // ".NAME.tmp-" and the six characters mkstemp filled in.
        const std::size_t suffix = std::string_view(kTemporarySuffix).size() + 6;
        if (name.size() < kTemporaryExtraBytes + 1 || name[0] != '.' ||
            name.compare(name.size() - suffix, 5, kTemporarySuffix) != 0)
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || typeError) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

std::vector<std::string> regularFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    stdfs::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && !typeError) names.push_back(it->path().filename().string());
    }
    return names;
}

bool writeAtomically(const std::string& path, const std::string& bytes, Durability durability) {
    return replaceFile(path, [&](int fd) { return writeAllToFd(fd, bytes.data(), bytes.size()); },
                       durability == Durability::Durable);
}

void flushFileSystemOf(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}

bool remove(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    auto removed = stdfs::remove_all(path, ec);
    return !ec && removed != static_cast<std::uintmax_t>(-1) && removed > 0;
}

bool createFolder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    stdfs::create_directories(path, ec);
    return isFolder(path);
}

bool copyFile(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    bool ok = replaceFile(to, [in](int out) {
        char buffer[65536];
        for (;;) {
            ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (n == 0) return true;
            if (!writeAllToFd(out, buffer, static_cast<std::size_t>(n))) return false;
        }
    });
    ::close(in);
    return ok;
}

std::string lastComponent(const std::string& path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos) return path.empty() ? std::string() : std::string("/");
    std::size_t start = path.rfind('/', end);
    start = start == std::string::npos ? 0 : start + 1;
    return path.substr(start, end + 1 - start);
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (name.empty()) return folder;
    bool folderSlash = folder.back() == '/';
    bool nameSlash = name.front() == '/';
    if (folderSlash && nameSlash) return folder + name.substr(1);
    if (folderSlash || nameSlash) return folder + name;
    return folder + "/" + name;
}

}  // namespace fs

// --- Bundle

namespace {

std::mutex gBundleMutex;
std::string gResourceFolder = KOVRA_RESOURCE_DIR;

}  // namespace

void Bundle::setResourceFolder(const std::string& path) {
    std::lock_guard<std::mutex> lock(gBundleMutex);
    gResourceFolder = path;
}

std::string Bundle::resourceFolder() {
    std::lock_guard<std::mutex> lock(gBundleMutex);
    return gResourceFolder;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name) {
    if (!fs::isPlainFileName(name)) return std::nullopt;
    std::string path = fs::join(resourceFolder(), name);
    if (!fs::exists(path)) return std::nullopt;
    return path;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) {
    if (type.empty()) return pathForResource(name);
    if (!fs::isPlainFileName(name) || !fs::isPlainFileName(type)) return std::nullopt;
    return pathForResource(name + "." + type);
}

}  // namespace platform
