// Feeds arbitrary bytes to the web-service client as an answer: read as JSON, then by every
// answer reader (shop rows and details, orders and their dishes, the web menu), and the value
// copied and written out again, as the pages and the store do with it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/NSCaipDBClass.h"
#include "online/NSDingDClass.h"
#include "online/NSJsonResolver.h"
#include "online/NSOnlineOrders.h"
#include "online/NSShopRecords.h"
#include "online/NSWebMenuImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NSJsonResolver resolver;
    const auto value = resolver.resolveJson(std::string(reinterpret_cast<const char*>(data), size));
    if (!value) return 0;
    const nlohmann::json copy = *value;
    (void)NSJsonResolver::codeJson(copy);
    for (const auto& row : json_read::list(copy, "list")) (void)shoprecords::readListRow(row);
    NSShopClass shop;
    shoprecords::readDetail(shop, copy);
    int page = 0, total = 0;
    (void)dingd::readOrderList(copy, page, total);
    NSDingDClass order;
    (void)dingd::readOrderDetail(order, copy);
    NSCaipDBClass db;
    NSWebMenuImport::applyMenu(db, NSWebMenuImport::readCategories(copy), copy);
    return 0;
}
