#pragma once
// One dish of the menu as read from the dish file (or built for the demo menu, or imported from a
// restaurant's web menu). A plain record: the menu database owns it, category nodes and order
// lines share it.

#include <memory>
#include <string>
#include <vector>

class NSCaipClass {
public:
    // The dish id is one immutable text object per record, and order lines made from the record
    // keep that very object: lines that share a dish-id text are recognised by comparing these
    // pointers (std::shared_ptr<const std::string> compared by address). Read from a file it is
    // the document's interned text, so equal ids read from one document are one object.
    // Null until set (reads as ""); Clear gives the record a new empty text of its own.
    std::shared_ptr<const std::string> m_strID;
    std::string m_strCode;
    std::string m_strCXDM;  // quick code: upper-case initials of the name
    std::string m_strName;
    std::string m_strName2;
    std::string m_strName3;  // the demo menu's dishes carry "测试^" and a picture number here
    std::string m_strFenl;
    std::string m_strDanw;  // unit name
    std::string m_strPrice;
    std::string m_strCategory;
    int m_iPrice = 0;       // 1: price entered at ordering time; 0: menu price; -1 unset
    int m_iMultizuof = 0;   // 1: several cooking methods together
    int m_iMustzuof = 0;    // 8 when a cooking method must be chosen
    bool m_bisSet = false;
    bool m_bCustom = false;
    bool m_bVarQty = false;
    bool m_Digits = false;
    std::string m_strZuofID;  // cooking-method ids joined by "," with a trailing ","
    std::string m_strZfjiag;  // surcharges, one per cooking method: "price;flag" joined by ","
    std::string m_strCost;
    std::string m_strMLL;
    bool m_bRebate = false;
    bool m_bAddOn = false;
    std::string m_strPic;  // picture address of a web-menu dish

    // Bits of the dish file's flag field.
    static constexpr int kFlagSet = 0x01, kFlagCustom = 0x02, kFlagVarQty = 0x04, kFlagMustZuof = 0x08,
                         kFlagDigits = 0x20, kFlagRebate = 0x40, kFlagAddOn = 0x80;

    // The id's characters ("" while none is set).
    const std::string& strID() const;
    // A new id text owned by this record.
    void setM_strID(const std::string& id);
    // Keeps the given text object (shared with whoever else holds it).
    void setM_strID(std::shared_ptr<const std::string> id);

    // Empties the fields an ordering screen relies on; code, second and third names, cost,
    // margin and the discount, add-on and digits flags keep their values.
    void Clear();
    // Copies what ordering needs from another dish (the id object is shared).
    void CopyCaip(const NSCaipClass& other);
    // Sets the booleans and the method-required value from the dish file's flag field.
    void setFlags(int flags);
};

using NSCaipList = std::vector<std::shared_ptr<NSCaipClass>>;
