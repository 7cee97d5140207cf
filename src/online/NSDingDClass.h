#pragma once
// One online order (reservation or take-away): the row of the order list, completed by the order
// detail, and the record the online submit sends its dishes under.

#include <string>

class NSDingDClass {
public:
    std::string m_strOrderid;
    std::string m_strTogoName;
    std::string m_strOrderTime;  // time of the meal (reservation) or of delivery (take-away)
    std::string m_strTotalPrice;
    int m_iState = 0;  // the online order state, 0 to 6
    std::string m_strSendmoney;
    std::string m_strPackagefree;
    int m_iOrderType = 0;  // 0 take-away, any other value reservation
    std::string m_strMode;
    std::string m_strPayMode;
    std::string m_strPayTime;
    std::string m_strPayState;
    std::string m_strTogoId;
    std::string m_strSendTime;
    std::string m_strRemark;
    std::string m_strEatNum;
    std::string m_strUserName;
    std::string m_strUserTel;
    std::string m_strAddress;
    int m_iTogoType = 0;
};
