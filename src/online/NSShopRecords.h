#pragma once
// Shops as the service describes them: a row of the shop-list answers (the search and the collected
// shops) and the shop detail answer.

#include <memory>

#include <nlohmann/json_fwd.hpp>

#include "online/NSShopClass.h"

namespace shoprecords {

// The service's positions are shifted by this much from the device's (single precision).
constexpr float kLatOffset = 0.006f;
constexpr float kLngOffset = 0.0065f;

// A shop from one "list" element: id, name, cuisine, address, picture address, city, opening
// periods (taken for 1, 2, 3 until one lacks its start or end), average spend, position.
std::shared_ptr<NSShopClass> readListRow(const nlohmann::json& row);
// The shop detail answer into the shop: landmark, food class, phone, picture address, web address,
// distance, shop type, introduction.
void readDetail(NSShopClass& shop, const nlohmann::json& answer);

}  // namespace shoprecords
