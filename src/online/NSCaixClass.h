#pragma once
// A cuisine type of the ordering web service (one "shoptypelist" element).

#include <memory>
#include <string>
#include <vector>

class NSCaixClass {
public:
    std::string m_srtSortID;
    std::string m_srtSortName;
    int m_iJOrder = 0;
    std::string m_strParentid;  // only types under "1" are offered as cuisines
    std::vector<std::shared_ptr<NSCaixClass>> m_subCaix;  // never filled by the service answers
};
