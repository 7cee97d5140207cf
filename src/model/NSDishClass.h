#pragma once
// One order line: a dish ordered at a desk with its quantity, unit, price, tastes and cooking
// methods, surcharges, state and place in a line group. It knows nothing of desks or screens.
//
// The dish id is a shared text: `m_strCaipID` is a `std::shared_ptr<const std::string>` and two
// lines "share their dish id" when they hold the very same object (compared by address, see
// `sharesCaipID`), not merely equal characters. The object comes from the menu dish record
// (`CopyCaip`), from a parsed document (`GDataXMLNode::sharedStringValue`, one object per distinct
// text of a document) or from the source line of a copy (`CopyDish`). The returnable-quantity
// checks of a desk add up exactly the lines that share it.

#include <memory>
#include <string>
#include <vector>

class NSCaipClass;
class NSDishClass;

using NSDishList = std::vector<std::shared_ptr<NSDishClass>>;

class NSDishClass {
public:
    // Line states.
    static constexpr int kUnsent = 101;
    static constexpr int kSending = 102;
    static constexpr int kVoid = 4;

    // A fresh line: state 101, price mode -1, parent position -1, empty lists.
    NSDishClass();
    // Lines are shared objects; copies are made on purpose, with initWithDish or CopyDish.
    NSDishClass(const NSDishClass&) = delete;
    NSDishClass& operator=(const NSDishClass&) = delete;
    // A new line, a copy of the given one (every field but the choice flag, items copied deeply).
    static std::shared_ptr<NSDishClass> initWithDish(const NSDishClass& source);

    int m_parentpos = -1;  // position of the group head in the desk's line list; -1 no group
    std::string m_strCaipName;
    std::shared_ptr<const std::string> m_strCaipID;  // shared dish-id text (see above); never null
    std::string m_strKouw;  // the taste list as names (CreateKouwString)
    std::string m_strReason;
    std::string m_strRemark;
    std::string m_strPrice;  // the unit price as text
    float m_fPrice2 = 0;     // cooking-method surcharge of the whole line
    float m_fPrice3 = 0;     // manual surcharge of the whole line
    int m_iPrice2Type = 0;
    int m_iType = 0;  // serving mode; 7 stays out of the desk total
    std::string m_strTime;
    int m_iState = kUnsent;
    // Not on the server's bill: waiting to go, or going with the request being sent.
    bool isUnsent() const { return m_iState == kUnsent || m_iState == kSending; }
    std::string m_strXfmxID;  // the server's line id; empty until sent
    float m_fQuantity = 0;    // negative for a return
    float m_fQuantity2 = 0;   // kept by Release
    std::vector<std::string> m_KouwArray;  // taste and cooking-method ids and free-text entries
    int m_iPrice = -1;  // 1 entered price, 0 menu price, -1 unset
    int m_iMultizuof = 1;
    int m_iMustzuof = 0;
    bool m_bisSet = false;  // heads a line group
    bool m_bisExp = false;  // belongs to a line group
    bool m_bAddOn = false;  // kept by Release
    bool m_Digits = false;  // kept by Release
    int m_iVarQty = 0;      // non-zero: estimated quantity; kept by Release
    std::string m_strZuofID;    // cooking-method ids, "12,15,"
    std::string m_strZuofShul;  // quantities aligned with m_strZuofID; kept by Release
    std::string m_strZfjiag;    // surcharges aligned with m_strZuofID
    std::string m_strUserID;
    std::string m_strUserName;  // kept by Release
    std::string m_strWaiterID;
    std::string m_strWaiterName;
    std::string m_strUnits;
    std::string m_struid;  // line number: "" reset, "-1" not yet numbered, "-2" matched a sent line
    std::vector<std::string> m_muNameArray;   // unit names offered, the menu unit first
    std::vector<std::string> m_muPriceArray;  // aligned with m_muNameArray; may be empty texts
    std::string m_strCost;
    std::string m_strMLL;
    std::shared_ptr<NSCaipClass> pCaip;  // the menu dish the line was made from; kept by Release
    bool m_bisChoose = false;            // chosen in the order list; kept by Release
    NSDishList m_ExDishs;                // item lines of a set meal being composed

    // ---- the dish-id text ----
    const std::string& caipID() const;
    // Stores the very object given (none stores a new empty text).
    void setM_strCaipID(std::shared_ptr<const std::string> id);
    // A text of its own, shared with no other line.
    void setM_strCaipID(const std::string& id);
    bool sharesCaipID(const NSDishClass& other) const;

    // Back to the initial values but for the kept fields; empties the four lists.
    void Release();
    // Fills the line from a menu dish; none does nothing.
    void CopyCaip(const std::shared_ptr<NSCaipClass>& dish);
    // Makes this line a copy of the given one; none does nothing. Items are appended as copies.
    void CopyDish(const NSDishClass* source);
    // Equal dish-id characters and equal line numbers.
    bool isEqual(const NSDishClass& other) const;

    // ---- the taste list ----
    bool AddKouwID(const std::string& ids);           // new non-empty parts, once each
    bool GetKouwIDFromstrID(const std::string& ids);  // the non-empty parts, duplicates kept
    bool GetKouwIDFromString(const std::string& ids); // emptied, then AddKouwID
    bool AddKouwIDFromString(const std::string& names);
    // Removes known ids equal to one of the text's ","-parts, and free-text entries contained in
    // the text.
    bool DelKouwID(const std::string& ids);
    bool FindKouwID(const std::string& id) const;
    std::string GetKouwIDString() const;
    std::string CreateKouwString();
    std::string GetKouwShulString() const;
    std::string GetKouwDefine() const;
    const std::string& GetKouwString() const { return m_strKouw; }

    // ---- price ----
    float GetPrice() const;
    float GetAddPrice(float amount) const;
};

// Gives every line of an order its group position again from the lines' order, after lines were
// removed, reordered, merged or appended: a set-meal head and a plain line hold their own
// position, an item the position of the head before it (none, -1, when a plain line came
// between), an add-on (group flag or not) the position of the head or plain line it follows. A
// send then never names the wrong head, and a return finds a line's add-ons.
void renumberGroups(NSDishList& lines);
