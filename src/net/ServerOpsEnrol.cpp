// The device enrolment, its address list and the waiter login.

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>

#include "core/NSServer.h"
#include "core/OpenUDID.h"
#include "model/NSUserClass.h"
#include "net/NSTcpPacket.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

// The interface table the address list is read from; rebuilt by every deviceIPAdress.
constexpr int kMaxAddresses = 32;
struct InterfaceTable {
    std::array<std::string, kMaxAddresses> if_names;
    std::array<std::string, kMaxAddresses> ip_names;
    std::array<std::uint32_t, kMaxAddresses> ip_addrs{};
    std::array<std::string, kMaxAddresses> hw_addrs;
    int nextAddr = 0;
};

InterfaceTable& table() {
    static InterfaceTable t;
    return t;
}

// A key the server hands out is kept in mac.dat and sent in every request: only short plain
// ASCII is taken, so a broken or hostile reply cannot plant a key that breaks every request.
constexpr std::size_t kMaxDeviceKeyBytes = 158;

bool isAcceptableDeviceKey(const std::string& key) {
    if (key.empty() || key.size() > kMaxDeviceKeyBytes) return false;
    for (unsigned char c : key)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

void NSServer::InitAddresses() {
    auto& t = table();
    for (int i = 0; i < kMaxAddresses; ++i) {
        t.if_names[i].clear();
        t.ip_names[i].clear();
        t.ip_addrs[i] = 0;
        t.hw_addrs[i].clear();
    }
    t.nextAddr = 0;
}

void NSServer::GetIPAddresses() {
    auto& t = table();
    for (int i = 0; i < kMaxAddresses; ++i) {
        t.if_names[i].clear();
        t.ip_names[i].clear();
        t.ip_addrs[i] = 0;
    }
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        std::fprintf(stderr, "socket failed: %s\n", std::strerror(errno));
        return;
    }
    // Records are fixed-size ifreq entries here; the walk keeps the order the system gives.
    alignas(ifreq) char buffer[4000];
    ifconf conf{};
    conf.ifc_len = sizeof buffer;
    conf.ifc_buf = buffer;
    if (::ioctl(fd, SIOCGIFCONF, &conf) < 0) {
        std::fprintf(stderr, "ioctl error: %s\n", std::strerror(errno));
        ::close(fd);
        return;
    }
    std::string lastName;
    int count = conf.ifc_len / static_cast<int>(sizeof(ifreq));
    for (int i = 0; i < count && t.nextAddr < kMaxAddresses; ++i) {
        ifreq& rec = conf.ifc_req[i];
        if (rec.ifr_addr.sa_family != AF_INET) continue;
        std::string name(rec.ifr_name, strnlen(rec.ifr_name, IFNAMSIZ));
        if (auto colon = name.find(':'); colon != std::string::npos) name.resize(colon);
        if (name == lastName) continue;
        lastName = name;
        ifreq flags{};
        // The flags of the interface itself, not of an alias such as "eth0:1".
        std::memcpy(flags.ifr_name, name.c_str(), std::min<std::size_t>(name.size(), IFNAMSIZ - 1));
        if (::ioctl(fd, SIOCGIFFLAGS, &flags) < 0 || !(flags.ifr_flags & IFF_UP)) continue;
        const auto* sin = reinterpret_cast<const sockaddr_in*>(&rec.ifr_addr);
        char dotted[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &sin->sin_addr, dotted, sizeof dotted);
        t.if_names[t.nextAddr] = name;
        t.ip_names[t.nextAddr] = dotted;
        t.ip_addrs[t.nextAddr] = sin->sin_addr.s_addr;
        ++t.nextAddr;
    }
    ::close(fd);
}

std::string NSServer::deviceIPAdress() {
    InitAddresses();
    GetIPAddresses();
    const auto& t = table();
    std::string text;
    // The first interface found (the loopback as a rule) is left out.
    for (int i = 1; i < kMaxAddresses && !t.ip_names[i].empty(); ++i) text += t.ip_names[i] + ",";
    return text;
}

bool NSServer::loadMacFormServer() {
    std::string path = platform::fmt("%@/mac.dat", getDataPath());
    if (platform::fs::exists(path)) return true;
    auto packet = NSTcpPacket::initWithCustom("check", deviceIPAdress(), "");
    packet->replyIsDocument = false;  // the key is taken from the text as it is
    if (!packet->sendPacketForNone(true) || !packet->receiveMessage) return false;
    const std::string& reply = *packet->receiveMessage;
    static const std::string kMark = "uuid=\"";
    auto start = reply.find(kMark);
    if (start == std::string::npos) return false;
    start += kMark.size();
    auto end = reply.find('"', start);
    if (end == std::string::npos) return false;
    std::string key = reply.substr(start, end - start);
    if (!isAcceptableDeviceKey(key)) return false;
    const std::string oldKey = getMacAdr();
    if (!stringDataWriteToFile(path, OpenUDID::value(), key)) return false;
    loadMacAdr();
    // The menu stored before (the demo data, under the key "null") stays readable under the new key.
    reencipherStoredFiles(oldKey);
    return true;
}

int NSServer::login(NSUserClass& user) {
    auto packet = NSTcpPacket::initWithType(NSTcpPacket::kLogin);
    if (!packet->setUser(user)) return -1;
    if (!packet->addElement("openuid", OpenUDID::value())) return -1;
    int code = -1;
    if (!packet->sendPacketForLogin(&code, user)) return -1;
    return code;
}
