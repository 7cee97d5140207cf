#pragma once
// The logged-in user (waiter) with the counter that numbers new order lines.

#include <memory>
#include <string>

class NSUserClass {
public:
    int m_iDishCount = -1;  // -1 until the login reply gives the server's count
    std::string m_strUserID;
    std::string m_strPassword;
    std::string m_strUserName;
    std::string m_strUserDesc;
    std::string m_strCaipuID;
    std::string m_strLostDishList;

    NSUserClass() = default;
    // A new user with the other's counter, id, password, name, description and menu id.
    static std::shared_ptr<NSUserClass> initWithUser(const NSUserClass& other);
    // The next line number; the counter moves on only once the server has given it (not negative).
    std::string GetDishCount();
    // Moves the counter past a line number already in use.
    void CheckDishUid(const std::string& uid);
};
