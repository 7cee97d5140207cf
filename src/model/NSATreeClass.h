#pragma once
// A small tree or flat table of short texts kept as parallel columns indexed by node, node 0
// being an empty root, with a cursor that tells where the next node goes. It holds the desk tree,
// the taste tree, the menu's small tables, the server's named lists and the picker's contents.

#include <optional>
#include <string>
#include <vector>

class NSATreeClass {
public:
    NSATreeClass();

    // Builders append to or replace elements of single columns directly, so the columns are open
    // and may be longer than m_length; every scan below runs over its own column's length.
    int m_length = 1;      // nodes, the root included
    int m_iPos = 1;        // the cursor: the node added (or moved to) last
    int m_iPosParent = 0;  // the cursor node's parent
    std::vector<int> m_uint;  // check marks (1 checked, 0 not, -1 unmarked) or a table's integer
    std::vector<int> m_pid;   // parent index
    std::vector<std::string> m_code;
    std::vector<std::string> m_name;
    std::vector<std::string> m_state;
    std::vector<std::string> m_str1;
    std::vector<std::string> m_str2;
    std::vector<int> m_int2;

    // Back to the root alone.
    bool RemoveAll();
    // A node under the cursor node; the cursor moves down into it. Answers its index.
    int AddChild3(const std::string& code, const std::string& name, const std::string& state);
    // A node under the given parent; it becomes the cursor.
    int AddChild4(int parent, const std::string& code, const std::string& name, const std::string& state);
    // A sibling of the cursor node; on a fresh tree, flat rows 1, 2, 3 ...
    int AddItem(const std::string& code, const std::string& name, const std::string& state);
    // The cursor moves one level up.
    bool GotoParent();

    // First node (root included) with that code; -1 when none or when the code is absent.
    int FindID(const std::optional<std::string>& code) const;
    // Nodes from 1 upward whose parent is the given node.
    int GetChildNumber(int node) const;
    // Code of the first node with that name; the name itself when none.
    std::string GetIDFromName(const std::string& name) const;
    // Name of the first node with that code; the code itself when none.
    std::string GetNameFromID(const std::string& code) const;
    void ClearAllCheck();
    // Takes the other's counters and a copy of every column.
    bool copy(const NSATreeClass& other);
};

// The lower-case pinyin initial of one UTF-16 code unit; '#' outside U+4E00 .. U+9FA5.
char pinyinFirstLetter(char16_t c);
