#pragma once
// A UDP sender driven by the main run loop: a send is queued and handed to the system on a later
// turn, without waiting for the network, and given up after its time-out. The loop's pending
// steps keep the socket alive, so a caller may drop it right after queuing a datagram.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"

class AsyncUdpSocket;

// The socket's error: a code of its own domain (4 = the send timed out, -1 = general failure) or
// of the POSIX domain (errno).
struct AsyncUdpSocketError {
    std::string domain;  // "AsyncUdpSocketErrorDomain" or "NSPOSIXErrorDomain"
    int code = 0;
    std::string description;
};

// Callbacks a delegate may implement; the defaults do nothing.
class AsyncUdpSocketDelegate {
public:
    virtual ~AsyncUdpSocketDelegate() = default;
    virtual void onUdpSocketDidSendDataWithTag(AsyncUdpSocket&, long /*tag*/) {}
    virtual void onUdpSocketDidNotSendDataWithTagDueToError(AsyncUdpSocket&, long /*tag*/,
                                                            const AsyncUdpSocketError&) {}
    virtual void onUdpSocketDidClose(AsyncUdpSocket&) {}
};

class AsyncUdpSocket : public std::enable_shared_from_this<AsyncUdpSocket> {
public:
    static constexpr const char* kErrorDomain = "AsyncUdpSocketErrorDomain";

    // Both address families, user data 0. The delegate is not owned.
    static std::shared_ptr<AsyncUdpSocket> initWithDelegate(AsyncUdpSocketDelegate* delegate);
    static std::shared_ptr<AsyncUdpSocket> initWithDelegateUserDataEnableIPv4EnableIPv6(
        AsyncUdpSocketDelegate* delegate, long userData, bool enableIPv4, bool enableIPv6);
    ~AsyncUdpSocket();
    AsyncUdpSocket(const AsyncUdpSocket&) = delete;
    AsyncUdpSocket& operator=(const AsyncUdpSocket&) = delete;

    // Queues one datagram for host:port. NO for empty data, a closed or connected socket, a host
    // that does not resolve, or no socket of the resolved family. A negative time-out never
    // expires.
    bool sendDataToHostPortWithTimeoutTag(const std::string& data, const std::string& host,
                                          std::uint16_t port, double timeout, long tag);

    // Resolves a host for sending: 8 for an empty host, 0 with the loopback addresses for
    // "localhost" and "loopback", else the getaddrinfo error (0 on success). The addresses are
    // socket-address bytes; either may come back empty.
    static int convertForSendHostPortIntoAddress4Address6(const std::string& host,
                                                          std::uint16_t port, std::string* address4,
                                                          std::string* address6);

    // Ends every queued and current send, closes both sockets; later sends answer NO.
    void close();
    bool isClosed() const { return closed_; }
    bool isConnected() const { return false; }  // this sender never connects
    long userData() const { return userData_; }

private:
    struct SendPacket {
        std::string buffer;
        std::string address;  // sockaddr bytes
        double timeout;
        long tag;
    };

    AsyncUdpSocket(AsyncUdpSocketDelegate* delegate, long userData);
    void scheduleDequeueSend();
    void maybeDequeueSend();
    int socketForPacket(const SendPacket& packet) const;
    static bool canAcceptBytes(int fd);
    void doSend();
    void completeCurrentSend();
    void failCurrentSend(const AsyncUdpSocketError& error);
    void endCurrentSend();
    void doSendTimeout();

    AsyncUdpSocketDelegate* delegate_;
    long userData_;
    platform::RunLoop* runLoop_;
    int socket4_ = -1;
    int socket6_ = -1;
    std::deque<SendPacket> sendQueue_;
    std::unique_ptr<SendPacket> currentSend_;
    std::shared_ptr<platform::Timer> sendTimer_;
    platform::RunLoop::TaskId sendStep_ = 0;  // the scheduled send step, 0 when none
    bool closed_ = false;
    bool bound_ = false;
};
