// Loading the menu database at start-up, after a synchronisation and from the settings screen.

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"

void NSServer::loadCaipXml() {
    // Installed before loading, so that the old database is let go of first and the new one is
    // the hub's while it loads.
    auto db = std::make_shared<NSCaipDBClass>();
    setCaipDB(db);
    db->loadDB();
    NSServer().loadCaipu();
}
