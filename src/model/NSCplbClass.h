#pragma once
// One dish category as read from the category file.

#include <string>

class NSCplbClass {
public:
    std::string m_strUid;
    std::string m_strCtname;
    std::string m_strCtparentid;  // the own id for a top-level category
    std::string m_strCtorder;     // kept only: categories keep the order of the file

    void Clear();
};
