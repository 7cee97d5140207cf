#include "net/AsyncUdpSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// How long to wait before testing a socket that was not writable again; the run loop does not
// watch descriptors, so the write callback is a short poll instead.
constexpr double kWritablePollInterval = 0.01;

int openUdpSocket(int family) {
    int fd = ::socket(family, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0) return -1;
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    return fd;
}

AsyncUdpSocketError errnoError(int code) {
    return {"NSPOSIXErrorDomain", code, std::strerror(code)};
}

}  // namespace

AsyncUdpSocket::AsyncUdpSocket(AsyncUdpSocketDelegate* delegate, long userData)
    : delegate_(delegate), userData_(userData), runLoop_(&platform::RunLoop::main()) {}

std::shared_ptr<AsyncUdpSocket> AsyncUdpSocket::initWithDelegate(AsyncUdpSocketDelegate* delegate) {
    return initWithDelegateUserDataEnableIPv4EnableIPv6(delegate, 0, true, true);
}

std::shared_ptr<AsyncUdpSocket> AsyncUdpSocket::initWithDelegateUserDataEnableIPv4EnableIPv6(
    AsyncUdpSocketDelegate* delegate, long userData, bool enableIPv4, bool enableIPv6) {
    std::shared_ptr<AsyncUdpSocket> s(new AsyncUdpSocket(delegate, userData));
    if (enableIPv4) s->socket4_ = openUdpSocket(AF_INET);
    if (enableIPv6) s->socket6_ = openUdpSocket(AF_INET6);
    return s;
}

AsyncUdpSocket::~AsyncUdpSocket() {
    // No delegate notice from here: the delegate cannot be handed an object being destroyed.
    delegate_ = nullptr;
    // A pending step holds this object, so one still recorded here was dropped with its loop:
    // there is nothing left to cancel.
    sendStep_ = 0;
    close();
}

int AsyncUdpSocket::convertForSendHostPortIntoAddress4Address6(const std::string& host,
                                                               std::uint16_t port,
                                                               std::string* address4,
                                                               std::string* address6) {
    if (address4) address4->clear();
    if (address6) address6->clear();
    // No host at all is told apart from a failed lookup: getaddrinfo's errors are negative here.
    if (host.empty()) return 8;
    if (host == "localhost" || host == "loopback") {
        sockaddr_in a4{};
        a4.sin_family = AF_INET;
        a4.sin_port = htons(port);
        a4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sockaddr_in6 a6{};
        a6.sin6_family = AF_INET6;
        a6.sin6_port = htons(port);
        a6.sin6_addr = in6addr_loopback;
        if (address4) address4->assign(reinterpret_cast<const char*>(&a4), sizeof a4);
        if (address6) address6->assign(reinterpret_cast<const char*>(&a6), sizeof a6);
        return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* list = nullptr;
    std::string service = std::to_string(port);
    int error = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (error != 0) return error;
    for (addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET && address4 && address4->empty())
            address4->assign(reinterpret_cast<const char*>(ai->ai_addr), ai->ai_addrlen);
        else if (ai->ai_family == AF_INET6 && address6 && address6->empty())
            address6->assign(reinterpret_cast<const char*>(ai->ai_addr), ai->ai_addrlen);
    }
    ::freeaddrinfo(list);
    return 0;
}

bool AsyncUdpSocket::sendDataToHostPortWithTimeoutTag(const std::string& data,
                                                      const std::string& host, std::uint16_t port,
                                                      double timeout, long tag) {
    if (data.empty() || closed_ || isConnected()) return false;
    std::string address4, address6;
    if (convertForSendHostPortIntoAddress4Address6(host, port, &address4, &address6) != 0)
        return false;
    std::string address;
    if (!address4.empty() && socket4_ >= 0) address = address4;
    else if (!address6.empty() && socket6_ >= 0) address = address6;
    else return false;
    sendQueue_.push_back({data, address, timeout, tag});
    scheduleDequeueSend();
    return true;
}

void AsyncUdpSocket::scheduleDequeueSend() {
    if (sendStep_ != 0 || closed_) return;
    // The step holds the socket: an announcement's maker lets go of it at once.
    sendStep_ = runLoop_->schedule(0, [self = shared_from_this()] {
        self->sendStep_ = 0;
        self->maybeDequeueSend();
    });
}

void AsyncUdpSocket::maybeDequeueSend() {
    if (currentSend_ || sendQueue_.empty() || closed_) return;
    currentSend_ = std::make_unique<SendPacket>(std::move(sendQueue_.front()));
    sendQueue_.pop_front();
    if (currentSend_->timeout >= 0) {
        sendTimer_ = platform::Timer::schedule(*runLoop_, currentSend_->timeout, false,
                                               [self = shared_from_this()](platform::Timer& t) {
                                                   if (self->sendTimer_.get() == &t)
                                                       self->doSendTimeout();
                                               });
    }
    doSend();
}

int AsyncUdpSocket::socketForPacket(const SendPacket& packet) const {
    if (socket4_ >= 0 && socket6_ < 0) return socket4_;
    if (socket6_ >= 0 && socket4_ < 0) return socket6_;
    const auto* sa = reinterpret_cast<const sockaddr*>(packet.address.data());
    return sa->sa_family == AF_INET ? socket4_ : socket6_;
}

bool AsyncUdpSocket::canAcceptBytes(int fd) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    timeval zero{0, 0};
    return ::select(fd + 1, nullptr, &set, nullptr, &zero) > 0;
}

void AsyncUdpSocket::doSend() {
    if (!currentSend_) return;
    int fd = socketForPacket(*currentSend_);
    if (fd < 0) {
        failCurrentSend({kErrorDomain, -1, "General CFSocket error"});
        scheduleDequeueSend();
        return;
    }
    if (!canAcceptBytes(fd)) {
        // Try again once the system has room; the time-out timer bounds the wait.
        runLoop_->schedule(kWritablePollInterval, [self = shared_from_this()] { self->doSend(); });
        return;
    }
    const SendPacket& p = *currentSend_;
    ssize_t sent = ::sendto(fd, p.buffer.data(), p.buffer.size(), MSG_NOSIGNAL,
                            reinterpret_cast<const sockaddr*>(p.address.data()),
                            static_cast<socklen_t>(p.address.size()));
    if (sent < 0) {
        failCurrentSend(errnoError(errno));
    } else {
        bound_ = true;
        completeCurrentSend();
    }
    scheduleDequeueSend();
}

void AsyncUdpSocket::completeCurrentSend() {
    long tag = currentSend_->tag;
    if (delegate_) delegate_->onUdpSocketDidSendDataWithTag(*this, tag);
    endCurrentSend();
}

void AsyncUdpSocket::failCurrentSend(const AsyncUdpSocketError& error) {
    long tag = currentSend_->tag;
    if (delegate_) delegate_->onUdpSocketDidNotSendDataWithTagDueToError(*this, tag, error);
    endCurrentSend();
}

void AsyncUdpSocket::endCurrentSend() {
    if (sendTimer_) {
        auto timer = std::move(sendTimer_);
        timer->invalidate();
    }
    currentSend_.reset();
}

void AsyncUdpSocket::doSendTimeout() {
    if (!currentSend_) return;
    failCurrentSend({kErrorDomain, 4, "Send operation timed out"});
    scheduleDequeueSend();
}

void AsyncUdpSocket::close() {
    sendQueue_.clear();
    if (currentSend_) endCurrentSend();
    if (sendStep_ != 0) {
        runLoop_->cancel(sendStep_);
        sendStep_ = 0;
    }
    if (socket4_ >= 0) ::close(socket4_);
    if (socket6_ >= 0) ::close(socket6_);
    socket4_ = socket6_ = -1;
    bool wasClosed = closed_;
    closed_ = true;
    if (!wasClosed && delegate_) {
        auto* delegate = delegate_;
        std::weak_ptr<AsyncUdpSocket> weak = weak_from_this();
        runLoop_->schedule(0, [delegate, weak] {
            if (auto self = weak.lock()) delegate->onUdpSocketDidClose(*self);
        });
    }
}
