#pragma once
// The web service's pages: the complete request address of each, the service base URL followed by
// the page and its query. Every text value is passed through NSHTTPServer::escapeValue, so a value
// holding "&", "=", "+", "?", "#" or "%" reaches the service as typed; the address of any other
// value is exactly the page's form.

#include <optional>
#include <string>

namespace webpages {

std::string login(const std::string& username, const std::string& password);
std::string regedit(const std::string& email, const std::string& username, const std::string& password,
                    const std::string& tel, float lat, float lng, const std::string& address, int sex,
                    const std::string& truename, const std::string& receiver);
// The shop list by name within a city (the first page of a search names no page).
std::string shopListByName(const std::string& ctid, const std::string& shopname, int ty, std::optional<int> pageindex = std::nullopt);
// The shop list near a position (the first page of a search names no page).
std::string shopListByLocation(float lat, float lng, int nearfilter, const std::string& shoptype,
                               const std::string& sortname, int sortflag, int ty, std::optional<int> pageindex = std::nullopt);
std::string shopDetail(const std::string& shopid);
// comType is "Add" or "Del".
std::string collectionShop(const std::string& shopID, const std::string& userID, const std::string& comType);
std::string collectionList(const std::string& userid, std::optional<int> pageindex = std::nullopt);
std::string shopTypeList();
std::string cityInfo();
std::string userInfo(const std::string& userid);
std::string resetPassword(const std::string& userid, const std::string& oldpassword,
                          const std::string& newpassword);
std::string saveUserInfo(const std::string& userid, const std::string& email, const std::string& username,
                         const std::string& phone, const std::string& truename, int sex);
// ordermodel is the JSON text of the order model (NSJsonResolver::codeJson).
std::string submitOrder(const std::string& ordermodel);
std::string orderList(const std::string& userid);
std::string orderDetail(const std::string& orderid);
std::string foodTypeList(const std::string& shopid);
std::string foodList(const std::string& shopid);

}  // namespace webpages
