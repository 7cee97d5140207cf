// The screen announcement: tells the back-office display which ordering screen is shown.

#include "core/NSServer.h"
#include "net/AsyncUdpSocket.h"
#include "platform/foundation/Text.h"

void NSServer::sendTV(const std::string& key, const std::optional<std::string>& deskID,
                      const std::optional<std::string>& param) {
    // An offline desk has no id: the server has nothing to show for it.
    if (!deskID || deskID->empty()) return;
    std::string text = platform::fmt("<%@:%@:%@>", key, *deskID, param.value_or(""));
    auto bytes = platform::utf8ToGb18030(text);
    if (!bytes) return;
    // The socket keeps itself alive through its queued steps until the datagram is handed over
    // or its 0.5 s are up; the answer is of no interest to anybody.
    auto socket = AsyncUdpSocket::initWithDelegate(nullptr);
    socket->sendDataToHostPortWithTimeoutTag(*bytes, getIp(),
                                             static_cast<std::uint16_t>(getPort()), 0.5, 1);
}
