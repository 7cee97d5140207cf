#pragma once
// A city of the ordering web service (one "datelist" element of the city answer).

#include <string>

class NSCityClass {
public:
    std::string m_id;      // "cityid"
    bool isHot = false;    // "ishotcity"
    std::string cityname;  // "cname"
    std::string adddate;   // "adddate"
};
