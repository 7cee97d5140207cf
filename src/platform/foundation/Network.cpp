#include "platform/foundation/Network.h"

#include <atomic>

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace platform {

namespace {
// -1 ask the interfaces, 0 no, 1 yes.
std::atomic<int> forced{-1};
}  // namespace

bool hasWifi() {
    int value = forced.load();
    if (value >= 0) return value == 1;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool found = false;
    for (ifaddrs* i = list; i && !found; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        found = true;
    }
    freeifaddrs(list);
    return found;
}

void setWifiForTesting(std::optional<bool> value) { forced = value ? (*value ? 1 : 0) : -1; }

}  // namespace platform
