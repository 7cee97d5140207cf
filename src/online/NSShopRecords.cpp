#include "online/NSShopRecords.h"

#include <nlohmann/json.hpp>

#include "online/NSHTTPServer.h"
#include "online/NSJsonResolver.h"
#include "platform/foundation/Text.h"

namespace shoprecords {

std::shared_ptr<NSShopClass> readListRow(const nlohmann::json& row) {
    auto shop = std::make_shared<NSShopClass>();
    shop->m_strID = json_read::text(row, "DataID");
    shop->m_strName = json_read::text(row, "TogoName");
    shop->m_strSortName = json_read::text(row, "sortname");
    shop->m_strAddress = json_read::text(row, "address");
    shop->m_strPicUrl = NSHTTPServer::pictureURL(json_read::text(row, "Picture"));
    shop->m_strCityid = json_read::text(row, "ctid");
    for (int n = 1; n <= 3; ++n) {
        const std::string start = platform::fmt("Time%iStart", n), end = platform::fmt("Time%iEnd", n);
        if (json_read::member(row, start.c_str()).is_null() || json_read::member(row, end.c_str()).is_null()) break;
        shop->m_strTimeStart.push_back(json_read::text(row, start.c_str()));
        shop->m_strTimeEnd.push_back(json_read::text(row, end.c_str()));
    }
    shop->m_strAPrice = json_read::text(row, "mymoney");
    shop->lat = json_read::number(row, "lat") - kLatOffset;
    shop->lng = json_read::number(row, "lng") - kLngOffset;
    return shop;
}

void readDetail(NSShopClass& shop, const nlohmann::json& answer) {
    shop.m_strLandmarkName = json_read::text(answer, "LandmarkName");
    shop.m_strFoodclass = json_read::text(answer, "Foodclass");
    shop.m_strTel = json_read::text(answer, "Tel");
    shop.m_strPicUrl = NSHTTPServer::pictureURL(json_read::text(answer, "Picture"));
    shop.m_strTogoUrl = json_read::text(answer, "TogoUrl");
    shop.distance = json_read::boolean(answer, "distance");
    shop.m_iType = json_read::integer(answer, "TogoType");
    shop.m_strIntroduce = json_read::text(answer, "Introduce");
}

}  // namespace shoprecords
