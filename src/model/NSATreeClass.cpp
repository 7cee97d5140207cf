#include "model/NSATreeClass.h"

#include "model/PinyinTable.inc"

NSATreeClass::NSATreeClass() { RemoveAll(); }

bool NSATreeClass::RemoveAll() {
    m_uint.assign(1, 0);
    m_pid.assign(1, 0);
    m_code.assign(1, std::string());
    m_name.assign(1, std::string());
    m_state.assign(1, std::string());
    m_str1.assign(1, std::string());
    m_str2.assign(1, std::string());
    m_int2.assign(1, 0);
    m_length = 1;
    m_iPos = 1;
    m_iPosParent = 0;
    return true;
}

int NSATreeClass::AddChild4(int parent, const std::string& code, const std::string& name,
                            const std::string& state) {
    const int index = m_length;
    m_uint.push_back(0);
    m_str1.emplace_back();
    m_str2.emplace_back();
    m_int2.push_back(0);
    m_state.push_back(state);
    m_name.push_back(name);
    m_code.push_back(code);
    m_pid.push_back(parent);
    m_iPos = index;
    m_iPosParent = parent;
    m_length = index + 1;
    return index;
}

int NSATreeClass::AddChild3(const std::string& code, const std::string& name, const std::string& state) {
    // Until something is added the cursor names the index the new node itself takes; such a node
    // goes under the root rather than becoming its own parent.
    const int parent = m_iPos < m_length ? m_iPos : 0;
    return AddChild4(parent, code, name, state);
}

int NSATreeClass::AddItem(const std::string& code, const std::string& name, const std::string& state) {
    return AddChild4(m_iPosParent, code, name, state);
}

bool NSATreeClass::GotoParent() {
    m_iPos = m_iPosParent;
    m_iPosParent = (m_iPos >= 0 && static_cast<size_t>(m_iPos) < m_pid.size()) ? m_pid[m_iPos] : 0;
    return true;
}

int NSATreeClass::FindID(const std::optional<std::string>& code) const {
    if (!code) return -1;
    for (size_t i = 0; i < m_code.size(); ++i)
        if (m_code[i] == *code) return static_cast<int>(i);
    return -1;
}

int NSATreeClass::GetChildNumber(int node) const {
    int count = 0;
    for (size_t i = 1; i < m_pid.size(); ++i)
        if (m_pid[i] == node) ++count;
    return count;
}

std::string NSATreeClass::GetIDFromName(const std::string& name) const {
    for (size_t i = 0; i < m_name.size() && i < m_code.size(); ++i)
        if (m_name[i] == name) return m_code[i];
    return name;
}

std::string NSATreeClass::GetNameFromID(const std::string& code) const {
    for (size_t i = 0; i < m_code.size() && i < m_name.size(); ++i)
        if (m_code[i] == code) return m_name[i];
    return code;
}

void NSATreeClass::ClearAllCheck() {
    for (int& mark : m_uint) mark = 0;
}

bool NSATreeClass::copy(const NSATreeClass& other) {
    if (&other == this) return true;
    m_length = other.m_length;
    m_iPos = other.m_iPos;
    m_iPosParent = other.m_iPosParent;
    m_uint = other.m_uint;
    m_pid = other.m_pid;
    m_code = other.m_code;
    m_name = other.m_name;
    m_state = other.m_state;
    m_str1 = other.m_str1;
    m_str2 = other.m_str2;
    m_int2 = other.m_int2;
    return true;
}

char pinyinFirstLetter(char16_t c) {
    if (c < 0x4E00 || c > 0x9FA5) return '#';
    return kPinyinInitials[c - 0x4E00];
}
