#pragma once
// One desk (table) with its order lines, guests, bill and waiter; it computes the order total,
// the dish count and the questions the send and the line operations ask of its lines.

#include <memory>
#include <string>
#include <vector>

class NSDishClass;

class NSDeskClass {
public:
    std::string m_kongjmc;
    int m_iDeskConfirm = 0;
    int m_iRes = 0;
    int m_iCaipCount = 0;  // dish count of the last computed (not manual) total
    bool m_bOffLine = false;
    bool m_bSale = false;
    std::string m_strDeskID;  // empty for an offline desk; names the desk's saved-order file
    std::string m_strDeskName;
    std::string m_strDeskState;
    std::string m_strConsumeID;
    std::string m_strWaiterID;
    int m_iClientNum = 0;
    std::string m_strResName;
    std::string m_strBeginTime;
    std::string m_strKongjID;
    std::vector<std::shared_ptr<NSDishClass>> m_DishList;
    float m_strAllDishPrice = 0;  // manual total typed in the order list; above 0 it wins
    // The last read of the desk's lines from the server failed: the lines shown may not be the
    // server's, so a booking reads the desk first.
    bool m_bStaleView = false;
    // A cart a web menu import made for a guest's online order: its dishes are the shop's, so it
    // is never merged into a desk, sent to the back office or kept in the offline file.
    bool isGuestCart = false;

    NSDeskClass() = default;
    // The copy of CopyDesk: the same line objects, not copies of them.
    static std::shared_ptr<NSDeskClass> initWithCopy(const NSDeskClass& other);

    // Back to a free desk without lines (state "1").
    void Init();
    // The order total; recounts m_iCaipCount unless the manual total is used.
    float GetAllDishPrice();
    // Lines not in state 101 first, both parts in their former order.
    void OrderDish();
    bool HaveAddDish() const;  // an unsent or sending line with a quantity above 0
    bool HaveDelDish() const;  // an unsent or sending line with a quantity below 0
    // Sum of the quantities of the lines that share the given line's dish-id text.
    float GetDelDishQty(const NSDishClass& line) const;
    bool HasDishRemain(const NSDishClass& line) const;
    int GetChooseQuantity() const;
    void clearAllChoose();
    void SetUpdate(bool updated) { m_iDeskConfirm = updated ? 1 : 0; }
    bool GetUpdate() const { return m_iDeskConfirm == 1; }
    float GetAllCost() const;
    bool DelDelDish();  // drops sending lines whose quantity is not above 0
    bool DelAddDish();  // drops sending lines whose quantity is not below 0
    // Appends the other desk's lines, sent ones turned back to unsent with its waiter.
    void Adddesk(const NSDeskClass& other, const std::string& unused = {});
    void CopyDesk(const NSDeskClass& other);
    std::string GetDishValue(const std::string&, const std::string&, const std::string&) const { return {}; }
    std::string GetValue(const std::string&, const std::string&) const { return {}; }
    bool UpdateDataMod(const std::string&, const std::string&) { return true; }
    bool PrepareMod(const std::string&) { return true; }
    bool ClearDesk() { return true; }
    bool OpenDesk() { return true; }
};
