#include "online/NSShopDBClass.h"

#include "core/NSServer.h"

namespace {
// The hub keeps the store here rather than in core, so that the core does not depend on the
// online part.
std::shared_ptr<NSShopDBClass>& heldShopDB() {
    static std::shared_ptr<NSShopDBClass> db;
    return db;
}
}  // namespace

std::shared_ptr<NSShopDBClass> NSServer::getShopDB() {
    auto& db = heldShopDB();
    if (!db) db = std::make_shared<NSShopDBClass>();
    return db;
}

void NSServer::setShopDB(std::shared_ptr<NSShopDBClass> db) {
    // The new store is held before the old one goes, so handing back the same store keeps it.
    heldShopDB().swap(db);
}

void NSShopDBClass::saveToDB() {}

void NSShopDBClass::loadFromDB() {}
