#pragma once
// A shop of the ordering web service, filled from the shop-list answers and the shop detail.

#include <string>
#include <vector>

class NSShopClass {
public:
    NSShopClass() {
        m_strTimeStart.reserve(3);
        m_strTimeEnd.reserve(3);
    }

    std::string m_strID;        // "DataID"
    std::string m_strName;      // "TogoName"
    std::string m_strSortName;  // cuisine-type name
    std::string m_strAddress;
    // Up to three opening periods; the two lists stay aligned.
    std::vector<std::string> m_strTimeStart;
    std::vector<std::string> m_strTimeEnd;
    std::string m_strAPrice;  // average spend ("mymoney")
    std::string m_strLandmarkName;
    std::string m_strFoodclass;
    std::string m_strTel;
    std::string m_strPicUrl;  // absolute picture address
    std::string m_strTogoUrl;
    bool distance = false;
    std::string m_strIntroduce;
    // 1 dine-in ordering, 2 seat reservation, 3 take-away ordering, 4 dine-in and take-away (also
    // until the detail has been loaded).
    int m_iType = 4;
    float lat = 0;  // device coordinates (the service's position minus the offset)
    float lng = 0;
    std::string m_strCityid;
};
