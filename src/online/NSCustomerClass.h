#pragma once
// A customer account at the ordering web service. The empty account (every text "", sex 0) is the
// logged-out customer: a customer is logged in exactly when m_id is not empty.

#include <string>

class NSCustomerClass {
public:
    std::string m_id;        // "userid" of the login answer
    std::string m_name;      // user name
    std::string m_password;  // kept only to be written to the login file
    std::string m_tel;
    std::string m_truename;
    std::string m_email;
    std::string m_qq;
    std::string m_strJiF;    // points balance
    int m_sex = 0;

    bool isLoggedIn() const { return !m_id.empty(); }
};
