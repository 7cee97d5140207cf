#pragma once
// The menu database: the terminal's local copy of the restaurant's menu (dishes, category tree,
// tastes and cooking methods, units) and the small tables that go with it (users, reasons,
// set meals), loaded from the seven enciphered menu data files of the data folder, or the
// built-in demo menu when there is no category file. The hub holds one; every load builds a new
// one. The sold-out and discount lists are filled later by the server's replies.

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSKouwClass.h"

using NSKouwList = std::vector<std::shared_ptr<NSKouwClass>>;

class NSCaipDBClass : public std::enable_shared_from_this<NSCaipDBClass> {
public:
    NSCaipDBClass();

    NSCplbTreeList rootCplbTrees;  // top-level categories in file order
    bool isOneLevel = false;       // the category tree has no second level
    std::shared_ptr<NSATreeClass> m_Units;     // alternative units: code dish id, name unit, state price
    NSKouwList m_KwzfArray;                    // every taste and cooking method in file order
    std::shared_ptr<NSATreeClass> m_AllUnits;  // distinct unit names of the dishes
    NSCaipList m_CaipArray;                    // every dish in file order
    std::shared_ptr<NSATreeClass> m_kouws;     // taste tree: code taste id, name taste name
    std::shared_ptr<NSATreeClass> m_users;     // code user id, name user name, state f4, str1 f3
    std::shared_ptr<NSATreeClass> m_SellOut;   // code dish id, state remaining quantity ("0" sold out)
    std::shared_ptr<NSATreeClass> m_Tuidyy;    // code reason code, name text, state kind
    // Set-meal rows from index 1 in the columns only (m_length stays 1): str1 set-meal dish id,
    // str2 candidate items, name how many to choose, code f4, state f5.
    std::shared_ptr<NSATreeClass> m_Bom;
    // The set-meal rows' group names, one slot per row (index 0 the root's ""), "" where a row
    // has none. Kept beside m_Bom because the tree table's parent column holds integers; one slot
    // per row keeps every name on its own row even when some rows have no group name.
    std::vector<std::string> m_BomGroupName;
    std::shared_ptr<NSATreeClass> m_AddOnList;
    std::string m_spec;
    std::shared_ptr<NSATreeClass> m_rebate;  // discount list
    bool hasKouwC = false;  // some taste names a taste category
    std::string m_strSpec;  // the last free-text requirement typed by a waiter
    // A shop's web menu was imported here in place of the restaurant's own (a guest's online
    // order). Nothing of it is on disk: a load from the menu files makes a database without it.
    bool isWebMenu = false;

    // Loads the files in their fixed order; NO (after filling the demo menu) only when the
    // category file is missing. A missing, undecipherable or unparsable file leaves its table
    // empty and the load goes on.
    bool loadDB();
    bool loadDBCplb();
    bool loadDBCaip();
    bool loadDBKwzf();
    bool loadDBUsers();
    bool loadDBTuidyy();
    bool loadDBBom();
    void loadDefalutCaip();

    // Appends to the caller's list, in menu order, each dish whose quick code contains the
    // upper-cased text, or else whose name does; answers the list's count.
    int GetCaipArrayBySQCode(const std::string& text, NSCaipList& caips) const;
    // The first dish of that id in the list, found through an index of the ids.
    std::shared_ptr<NSCaipClass> GetCaipFromID(const std::string& id) const;
    std::shared_ptr<NSCaipClass> GetCaipFromName(const std::string& name) const;
    // Sold out only when the dish's first sold-out row says exactly "0".
    bool IsCaipSellOut(const std::string& id) const;
    bool FindKouwid(const std::string& id) const;
    // These answer their argument when nothing matches.
    std::string GetKouwIDByName(const std::string& name) const;
    std::string GetKouwNameByID(const std::string& id) const;
    std::string GetUserIDFromUserName(const std::string& name) const;
    std::string GetUserNameFromUserID(const std::string& id) const;

private:
    void addUnitName(const std::string& unit);
    void pruneCplbTrees();

    // Dish ids with their first position in m_CaipArray, made again when the list has changed
    // its length or storage (the list is open to its users); every answer is checked against the
    // list itself. A copy starts without one.
    struct IdIndex {
        IdIndex() = default;
        IdIndex(const IdIndex&) {}
        IdIndex& operator=(const IdIndex&) {
            std::lock_guard<std::mutex> lock(mutex);
            positions.clear();
            data = nullptr;
            return *this;
        }
        std::mutex mutex;
        std::unordered_map<std::string, std::size_t> positions;
        const void* data = nullptr;
        std::size_t size = 0;
    };
    mutable IdIndex m_idIndex;
};
