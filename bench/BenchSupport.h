#pragma once
// What the benchmarks share: a clock reading, a device home on the demo menu talking to an
// in-process back-office simulator, and a bare socket client for the baselines.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "backoffice/BackOfficeSim.h"
#include "core/NSServer.h"
#include "model/NSUserClass.h"
#include "net/NSTcpNet.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Network.h"

namespace bench {

inline double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A fresh device home in a temporary folder with the demo menu, configured for a simulator in
// this process, with waiter "0001" logged in. Removed with everything in it at the end.
struct World {
    std::string home;
    backoffice::BackOfficeSim sim;

    explicit World(const char* folderTemplate) {
        std::string pattern = folderTemplate;
        const char* folder = mkdtemp(pattern.data());
        if (!folder) std::abort();
        home = folder;
        platform::setHomeFolder(home);
        platform::setWifiForTesting(true);
        NSServer::loadEnc();
        NSServer::loadPath();
        NSServer::createDir();
        NSServer::loadMacAdr();
        NSServer::loadCaipXml();
        sim.setLogging(false);
        if (!sim.start(0)) std::abort();
        NSServer::setIP("127.0.0.1");
        NSServer::setPort(sim.port());
        NSServer::setOutTime(20);  // the configuration's default
        NSServer::setJtNO(std::string(backoffice::BackOfficeSim::kCompanyNumber));
        NSServer::getNowUser()->m_strUserID = "0001";
    }
    ~World() {
        NSServer::setTcp(nullptr);
        sim.stop();
        platform::fs::remove(home);
    }
};

// A bare client: connect, write every byte, read until `end` arrives (or, without one, `count`
// bytes), close.
inline std::string bareExchange(int port, const std::string& request, const std::string& end, size_t count = 0) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) std::abort();
    size_t off = 0;
    while (off < request.size()) {
        ssize_t n = ::send(fd, request.data() + off, request.size() - off, MSG_NOSIGNAL);
        if (n <= 0) std::abort();
        off += static_cast<size_t>(n);
    }
    std::string reply;
    std::vector<char> buf(102400);
    for (;;) {
        ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
        if (n <= 0) break;
        reply.append(buf.data(), static_cast<size_t>(n));
        if (!end.empty() ? reply.find(end) != std::string::npos : reply.size() >= count) break;
    }
    ::close(fd);
    return reply;
}

}  // namespace bench
