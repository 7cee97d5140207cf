#pragma once
// The one TCP link to the restaurant's back-office server, shared by every request (the hub holds
// it: NSServer::getTcp/setTcp). It connects with a time-out, reuses a live socket in long-socket
// mode, writes a whole request, and reads a reply text or a counted run of raw file bytes.
// Everything blocks the calling (main) thread; the root's wait logo is up meanwhile.

#include <cstddef>
#include <optional>
#include <string>

// The server used when no address is configured at all (demo mode): the demo back office runs on
// this machine.
inline constexpr const char* kDemoServerHost = "127.0.0.1";

class NSTcpNet {
public:
    // Read rounds: a reply text waits at most this long per round, raw file bytes the second.
    static constexpr double kReplyRoundSeconds = 0.5;
    static constexpr double kFileRoundSeconds = 0.2;
    static constexpr double kConnectSeconds = 5.0;
    static constexpr std::size_t kRecvChunk = 102400;
    static constexpr int kMaxChunks = 10000;
    // A reply text or a raw download larger than this is refused (the server is not trusted).
    // Each reply kind has its own, lower limit where its real replies are far smaller.
    static constexpr std::size_t kMaxReplyBytes = 64u * 1024u * 1024u;
    static constexpr const char* kReplyEnd = "</morvane>";
    // A reply must complete within this many times the time-out, and never less than the floor,
    // however steadily its bytes trickle in.
    static constexpr int kReplyTimeOutFactor = 3;
    static constexpr double kReplyDeadlineFloorSeconds = 60;
    // Tests lower the floor so that a trickling server is given up quickly; 0 or less restores it.
    static void setReplyDeadlineFloorForTesting(double seconds);

    NSTcpNet() = default;
    ~NSTcpNet();  // allclose
    NSTcpNet(const NSTcpNet&) = delete;
    NSTcpNet& operator=(const NSTcpNet&) = delete;

    // Whether the device has a local network (platform::hasWifi).
    static bool IsWIFIConnection();
    // The first IPv4 address of a host name or dotted address, in dotted form; none when it does
    // not resolve.
    static std::optional<std::string> getIpAddressForHost(const std::optional<std::string>& host);

    // Connects, or keeps a live socket whatever address is asked. An empty address means the
    // demo host only when no company number is set and both configured addresses are empty.
    bool openWithIpPort(const std::optional<std::string>& ip, int port);
    // Writes every byte of the text, continuing partial writes until done or the configured
    // time-out. Answers the bytes written, or -1 after breaking the link.
    long writeNSString(const std::string& text);
    // One reply: the text up to its first "</morvane>" (and the white space after it) once that
    // text is valid UTF-8 and not empty before the tag; none (and the link broken) after as many
    // idle seconds as the configured time-out, after the reply deadline, 10,000 chunks or more
    // than `maxBytes`. Other bytes after the reply belong to no request: the connection is ended
    // so that they cannot become the head of the next reply.
    std::optional<std::string> readNSString(std::size_t maxBytes = kMaxReplyBytes);
    // Raw bytes until at least `count` have come; none (and the link broken) on the idle limit
    // of five times the time-out in rounds, the reply deadline, the chunk limit, or a count
    // beyond `maxBytes`. At least one round is always made. Bytes beyond the count (in the
    // answer; they belong to no file) end the connection. A reply document that arrives instead
    // of the file (an error reply) is answered as soon as it is complete, also when it is shorter
    // than the count.
    std::optional<std::string> readPic(long long count, std::size_t maxBytes = kMaxReplyBytes);

    // Ends an exchange: the wait logo goes; the socket stays open in long-socket mode.
    void close();
    // Breaks the link after a failure: wait logo released, socket closed.
    void closeForBreak();
    // Whether a socket is held and reports no pending error; one with an error is broken.
    bool isSocketLink();
    // Says "disconnect" on a live socket (no reply awaited), then closes it.
    void allclose();

    // The connected descriptor; 0 while the link holds no socket.
    int sockfd() const { return fd_ < 0 ? 0 : fd_; }
    void setSockfd(int fd) { fd_ = fd > 0 ? fd : -1; }

private:
    void closeSocket();
    // Throws away what a kept connection received after its last reply; false when the peer has
    // closed it or keeps sending.
    bool discardPendingInput();
    int fd_ = -1;
};
