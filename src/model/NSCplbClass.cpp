#include "model/NSCplbClass.h"

void NSCplbClass::Clear() {
    m_strUid.clear();
    m_strCtname.clear();
    m_strCtparentid.clear();
    m_strCtorder.clear();
}
