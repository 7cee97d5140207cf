#pragma once
// One reservation of a desk as the server's reservation reply gives it: the guest, the times,
// the reserved desks and the pre-ordered lines.

#include <memory>
#include <string>
#include <vector>

class NSDeskClass;
class NSDishClass;

class NSYuDingClass {
public:
    std::string CompanyName;
    std::string GuestName;
    std::string DiningTime;
    std::string YuDingTime;
    int clientNum = 0;
    std::string telephone;
    std::string consumeid;
    std::string bz;
    std::vector<std::shared_ptr<NSDeskClass>> m_DeskList;
    std::vector<std::shared_ptr<NSDishClass>> m_DishList;
};
