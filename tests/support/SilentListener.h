#pragma once
// A TCP service on 127.0.0.1 (a port of its own) that takes connections and never answers: what
// a client sent it stays unanswered until the client gives up or goes.

#include <vector>

namespace testsupport {

class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    // 0 when no port could be had.
    int port() const { return port_; }
    // The connections made since the last call (taken now, and kept open unanswered: a closed one
    // would answer the client with its end).
    int connectionsMade();

private:
    int fd_ = -1;
    std::vector<int> taken_;
    int port_ = 0;
};

}  // namespace testsupport
