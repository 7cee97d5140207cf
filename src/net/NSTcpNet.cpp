#include "net/NSTcpNet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/NSServer.h"
#include "net/NSTcpPacket.h"
#include "net/RootServices.h"
#include "platform/foundation/Network.h"
#include "platform/foundation/Text.h"

namespace {

// Waits until the socket is ready for the events or the seconds are over; true when ready (also
// for an error or a closed peer, which the following call then reports).
bool waitFor(int fd, short events, double seconds) {
    using clock = std::chrono::steady_clock;
    auto deadline = clock::now() + std::chrono::duration<double>(std::max(seconds, 0.0));
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        pollfd p{fd, events, 0};
        int r = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 0)));
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return true;  // let the caller's call report the fault
    }
}

double& deadlineFloor() {
    static double seconds = NSTcpNet::kReplyDeadlineFloorSeconds;
    return seconds;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

using Clock = std::chrono::steady_clock;

double secondsUntil(Clock::time_point t) { return std::chrono::duration<double>(t - Clock::now()).count(); }

// When a reply that starts now must have completed.
Clock::time_point replyDeadline() {
    double seconds = std::max(static_cast<double>(NSTcpNet::kReplyTimeOutFactor) * NSServer::getOutTime(),
                              deadlineFloor());
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

int pendingError(int fd) {
    int error = 0;
    socklen_t length = sizeof(error);
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno ? errno : -1;
    return error;
}

}  // namespace

NSTcpNet::~NSTcpNet() { allclose(); }

void NSTcpNet::setReplyDeadlineFloorForTesting(double seconds) {
    deadlineFloor() = seconds > 0 ? seconds : kReplyDeadlineFloorSeconds;
}

bool NSTcpNet::IsWIFIConnection() { return platform::hasWifi(); }

std::optional<std::string> NSTcpNet::getIpAddressForHost(const std::optional<std::string>& host) {
    if (!host) return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host->c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    std::optional<std::string> dotted;
    for (addrinfo* a = found; a && !dotted; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        char text[INET_ADDRSTRLEN] = {};
        auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text))) dotted = std::string(text);
    }
    ::freeaddrinfo(found);
    return dotted;
}

bool NSTcpNet::openWithIpPort(const std::optional<std::string>& ip, int port) {
    std::string address = ip.value_or("");
    // Demo mode: nothing configured at all and no company number. A configured address that
    // fails never falls over to the demo host.
    if (address.empty() && platform::leadingInt(NSServer::getJtNO()) < 1 && NSServer::getIp().empty() &&
        NSServer::getIp2().empty())
        address = kDemoServerHost;
    if (address.empty() || port < 0) {
        closeForBreak();
        return false;
    }
    rootServices().showWaitLogo();
    if (isSocketLink()) {
        // Whatever is still pending there belongs to no request of ours.
        if (discardPendingInput()) return true;
        closeSocket();
    }

    auto dotted = getIpAddressForHost(address);
    if (!dotted) {
        closeForBreak();
        return false;
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        closeForBreak();
        return false;
    }
    fd_ = fd;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, dotted->c_str(), &to.sin_addr) != 1) {
        closeForBreak();
        return false;
    }
    int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, (flags < 0 ? 0 : flags) | O_NONBLOCK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) == 0) return true;
    if (errno != EINPROGRESS && errno != EINTR) {
        closeForBreak();
        return false;
    }
    if (!waitFor(fd, POLLOUT, kConnectSeconds) || pendingError(fd) != 0) {
        closeForBreak();
        return false;
    }
    return true;
}

long NSTcpNet::writeNSString(const std::string& text) {
    if (fd_ < 0) {
        closeForBreak();
        return -1;
    }
    // A partial write goes on until everything is out or the configured time-out has passed.
    using clock = std::chrono::steady_clock;
    auto deadline = clock::now() + std::chrono::seconds(std::max(NSServer::getOutTime(), 0));
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::send(fd_, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            double left = std::chrono::duration<double>(deadline - clock::now()).count();
            if (left > 0 && waitFor(fd_, POLLOUT, left)) continue;
        }
        closeForBreak();
        return -1;
    }
    return static_cast<long>(done);
}

std::optional<std::string> NSTcpNet::readNSString(std::size_t maxBytes) {
    std::string received;
    // Written by recv before it is read: no need to clear it first.
    std::unique_ptr<char[]> chunk(new char[kRecvChunk]);
    const std::string_view end = kReplyEnd;
    int chunks = 0;
    int idle = 0;
    const long long idleLimit = 2LL * NSServer::getOutTime();
    const auto deadline = replyDeadline();
    for (;;) {
        if (chunks >= kMaxChunks || idle >= idleLimit || fd_ < 0) break;
        double left = secondsUntil(deadline);
        if (left <= 0) break;
        // A round waits for data at most its length, instead of sleeping it out.
        bool ready = waitFor(fd_, POLLIN, std::min(kReplyRoundSeconds, left));
        ssize_t n = ready ? ::recv(fd_, chunk.get(), kRecvChunk, 0) : -1;
        if (n < 1) {
            ++idle;
            continue;
        }
        if (received.size() + static_cast<std::size_t>(n) > maxBytes) break;
        idle = 0;
        ++chunks;
        std::size_t from = received.size() >= end.size() - 1 ? received.size() - (end.size() - 1) : 0;
        received.append(chunk.get(), static_cast<std::size_t>(n));
        std::size_t tag = received.find(end, from);
        if (tag == std::string::npos) continue;
        // The reply ends with its first closing tag. Nothing but white space before it is no
        // reply, and a text that does not decode never becomes one.
        std::size_t replyEnd = tag + end.size();
        std::string_view head(received.data(), tag);
        if (head.find_first_not_of(" \t\r\n") == std::string_view::npos) break;
        if (platform::scanUtf8(std::string_view(received.data(), replyEnd)) != replyEnd) break;
        std::size_t after = replyEnd;
        while (after < received.size() && isSpace(received[after])) ++after;
        if (after < received.size()) {
            // Late bytes of some other answer: the connection cannot be trusted any more.
            received.resize(replyEnd);
            closeSocket();
        }
        return received;
    }
    closeForBreak();
    return std::nullopt;
}

std::optional<std::string> NSTcpNet::readPic(long long count, std::size_t maxBytes) {
    // The count is compared as unsigned: a negative one could never be reached.
    unsigned long long want = static_cast<unsigned long long>(count);
    if (want > maxBytes) {
        closeForBreak();
        return std::nullopt;
    }
    std::string received;
    std::vector<char> chunk(kRecvChunk);
    const std::string_view end = kReplyEnd;
    int chunks = 0;
    int idle = 0;
    const long long idleLimit = 5LL * NSServer::getOutTime();
    const auto deadline = replyDeadline();
    for (;;) {
        if (chunks >= kMaxChunks || idle >= idleLimit || fd_ < 0) break;
        double left = secondsUntil(deadline);
        if (left <= 0) break;
        bool ready = waitFor(fd_, POLLIN, std::min(kFileRoundSeconds, left));
        ssize_t n = ready ? ::recv(fd_, chunk.data(), chunk.size(), 0) : -1;
        if (n < 1) {
            ++idle;
        } else {
            idle = 0;
            ++chunks;
            std::size_t from = received.size() >= end.size() - 1 ? received.size() - (end.size() - 1) : 0;
            received.append(chunk.data(), static_cast<std::size_t>(n));
            // An answer that is a reply document instead of the file: no more bytes will come.
            if (received.size() < want && received.front() == '<' &&
                received.find(end, from) != std::string::npos)
                return received;
        }
        if (received.size() >= want) {
            // Bytes past the file's end would become the head of the next answer.
            if (received.size() > want) closeSocket();
            return received;
        }
    }
    closeForBreak();
    return std::nullopt;
}

bool NSTcpNet::discardPendingInput() {
    std::vector<char> chunk(kRecvChunk);
    std::size_t discarded = 0;
    for (;;) {
        ssize_t n = ::recv(fd_, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (n > 0) {
            discarded += static_cast<std::size_t>(n);
            if (discarded > kMaxReplyBytes) return false;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // Nothing more pending; a closed peer (0) or an error ends the connection.
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void NSTcpNet::close() {
    rootServices().releaseWaitLogo();
    if (fd_ >= 0 && !NSServer::isLongSocket()) closeSocket();
}

void NSTcpNet::closeForBreak() {
    rootServices().releaseWaitLogo();
    closeSocket();
}

bool NSTcpNet::isSocketLink() {
    if (fd_ < 0) return false;
    if (pendingError(fd_) == 0) return true;
    closeForBreak();
    return false;
}

void NSTcpNet::allclose() {
    if (fd_ < 0) return;
    if (isSocketLink()) {
        NSTcpPacket bye(*this);
        bye.buildType(NSTcpPacket::kDisconnect);
        bye.sendPacketForNone(false);
    }
    closeSocket();
}

void NSTcpNet::closeSocket() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}
