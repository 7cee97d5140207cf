#include "online/NSWebPages.h"

#include "online/NSHTTPServer.h"
#include "platform/foundation/Text.h"

namespace webpages {

namespace {
std::string v(const std::string& value) { return NSHTTPServer::escapeValue(value); }

template <typename... Args>
std::string page(std::string_view form, Args&&... args) {
    return NSHTTPServer::getHTTPAddress() + platform::fmt(form, std::forward<Args>(args)...);
}
}  // namespace

std::string login(const std::string& username, const std::string& password) {
    return page("Login.aspx?username=%@&password=%@", v(username), v(password));
}

std::string regedit(const std::string& email, const std::string& username, const std::string& password,
                    const std::string& tel, float lat, float lng, const std::string& address, int sex,
                    const std::string& truename, const std::string& receiver) {
    return page("Regedit.aspx?email=%@&username=%@&password=%@&tel=%@&lat=%f&lng=%f&address=%@&sex=%i"
                "&truename=%@&receiver=%@",
                v(email), v(username), v(password), v(tel), lat, lng, v(address), sex, v(truename),
                v(receiver));
}

std::string shopListByName(const std::string& ctid, const std::string& shopname, int ty, std::optional<int> pageindex) {
    if (!pageindex) return page("GetShopListByLocation.aspx?ctid=%@&shopname=%@&ty=%i", v(ctid), v(shopname), ty);
    return page("GetShopListByLocation.aspx?ctid=%@&shopname=%@&ty=%i&pageindex=%i", v(ctid), v(shopname), ty,
                *pageindex);
}

std::string shopListByLocation(float lat, float lng, int nearfilter, const std::string& shoptype,
                               const std::string& sortname, int sortflag, int ty, std::optional<int> pageindex) {
    if (!pageindex) {
        return page("GetShopListByLocation.aspx?lat=%f&lng=%f&nearfilter=%i&shoptype=%@&sortname=%@&sortflag=%i&ty=%i",
                    lat, lng, nearfilter, v(shoptype), v(sortname), sortflag, ty);
    }
    return page("GetShopListByLocation.aspx?lat=%f&lng=%f&nearfilter=%i&shoptype=%@&sortname=%@&sortflag=%i"
                "&pageindex=%i&ty=%i",
                lat, lng, nearfilter, v(shoptype), v(sortname), sortflag, *pageindex, ty);
}

std::string shopDetail(const std::string& shopid) {
    return page("GetShopDetailByShopId.aspx?shopid=%@", v(shopid));
}

std::string collectionShop(const std::string& shopID, const std::string& userID, const std::string& comType) {
    return page("CollectionShopByUser.aspx?shopID=%@&userID=%@&comType=%@", v(shopID), v(userID), v(comType));
}

std::string collectionList(const std::string& userid, std::optional<int> pageindex) {
    if (!pageindex) return page("GetCollectionListByUserId.aspx?userid=%@", v(userid));
    return page("GetCollectionListByUserId.aspx?userid=%@&pageindex=%i", v(userid), *pageindex);
}

std::string shopTypeList() { return page("GetShopTypeList.aspx"); }
std::string cityInfo() { return page("getcityinfo.aspx"); }
std::string userInfo(const std::string& userid) { return page("GetUserInfo.aspx?userid=%@", v(userid)); }

std::string resetPassword(const std::string& userid, const std::string& oldpassword,
                          const std::string& newpassword) {
    return page("ResetPassword.aspx?userid=%@&oldpassword=%@&newpassword=%@", v(userid), v(oldpassword),
                v(newpassword));
}

std::string saveUserInfo(const std::string& userid, const std::string& email, const std::string& username,
                         const std::string& phone, const std::string& truename, int sex) {
    return page("SaveUserInfo.aspx?userid=%@&email=%@&username=%@&phone=%@&truename=%@&sex=%i", v(userid),
                v(email), v(username), v(phone), v(truename), sex);
}

std::string submitOrder(const std::string& ordermodel) {
    return page("SubmitOrder.aspx?orderForm=&ordermodel=%@", v(ordermodel));
}

std::string orderList(const std::string& userid) {
    return page("GetOrderListByUserId.aspx?userid=%@", v(userid));
}

std::string orderDetail(const std::string& orderid) {
    return page("GetOrderDetailByOrderId.aspx?orderid=%@", v(orderid));
}

std::string foodTypeList(const std::string& shopid) {
    return page("GetFoodTypeListByShopId.aspx?shopid=%@", v(shopid));
}

std::string foodList(const std::string& shopid) {
    return page("GetFoodListByShopId.aspx?shopid=%@", v(shopid));
}

}  // namespace webpages
