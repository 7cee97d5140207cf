#include "model/NSUserClass.h"

#include "platform/foundation/Text.h"

std::shared_ptr<NSUserClass> NSUserClass::initWithUser(const NSUserClass& other) {
    auto user = std::make_shared<NSUserClass>();
    user->m_iDishCount = other.m_iDishCount;
    user->m_strUserID = other.m_strUserID;
    user->m_strPassword = other.m_strPassword;
    user->m_strUserName = other.m_strUserName;
    user->m_strUserDesc = other.m_strUserDesc;
    user->m_strCaipuID = other.m_strCaipuID;
    return user;
}

std::string NSUserClass::GetDishCount() {
    std::string text = std::to_string(m_iDishCount);
    if (m_iDishCount >= 0 && m_iDishCount < 2147483647) ++m_iDishCount;
    return text;
}

void NSUserClass::CheckDishUid(const std::string& uid) {
    int used = platform::leadingInt(uid);
    if (m_iDishCount <= used && used < 2147483647) m_iDishCount = used + 1;
}
