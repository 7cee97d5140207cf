#include "net/ServerClient.h"

#include "core/NSServer.h"

void installServerClient() {
    NSServer::setEnrolmentHook([] { NSServer().loadMacFormServer(); });
}
