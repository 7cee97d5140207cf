#pragma once
// One taste or cooking method with its surcharge (the surcharge and remark only for the options
// of an imported web menu).

#include <string>

class NSKouwClass {
public:
    std::string m_strKouw;        // name
    std::string m_strKouwid;      // id
    std::string m_strCtparentid;  // taste category id, when the taste file gives one
    std::string m_strBZ;          // remark of a web-menu option
    std::string m_strJiaj;        // surcharge of a web-menu option
    bool m_bZuof = false;         // a cooking method rather than a taste
};
