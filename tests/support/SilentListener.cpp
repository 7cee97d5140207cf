#include "support/SilentListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

SilentListener::SilentListener() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    // The kernel completes the connections in the backlog; nothing here ever reads them.
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd_, 16) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        return;
    port_ = ntohs(a.sin_port);
}

SilentListener::~SilentListener() {
    for (int c : taken_) close(c);
    if (fd_ >= 0) close(fd_);
}

int SilentListener::connectionsMade() {
    int n = 0;
    for (int c; fd_ >= 0 && (c = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK)) >= 0; ++n) taken_.push_back(c);
    return n;
}

}  // namespace testsupport
