#pragma once
// The customer's online orders: the order-list and order-detail requests with their readers, and
// the texts the two order screens show. The screens hold one loader each and draw what it holds.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "model/NSDishClass.h"
#include "online/NSDingDClass.h"
#include "online/NSHTTPServer.h"

class NSWebMenuImport;

namespace dingd {

// "未审核" ... "已失效" for the states 0 to 6, "" for any other.
std::string stateText(int state);
bool isTakeAway(const NSDingDClass& order);  // order type 0; any other is a reservation

// The texts of one order-list row.
struct OrderRowTexts {
    std::string number;    // "订单号:%@"
    std::string type;      // "外卖" or "中餐预订"
    std::string shop;
    std::string time;      // "送达时间:%@" or "就餐时间:%@"
    std::string state;
    std::string total;     // "总价:%@元"
    std::optional<std::string> deliveryFee;  // "外送费:%@元", take-away orders only
};
OrderRowTexts rowTexts(const NSDingDClass& order);
// The order detail's summary (number, shop, time and state, table type, guests, name, phone,
// address, payment; the delivery fee for a take-away order).
std::string summaryText(const NSDingDClass& order);

// The orders of an order-list answer, in answer order; "page" and "total" go to the two numbers.
std::vector<std::shared_ptr<NSDingDClass>> readOrderList(const nlohmann::json& answer, int& page, int& total);
// Completes the order from a detail answer and answers its dishes as unsent order lines.
NSDishList readOrderDetail(NSDingDClass& order, const nlohmann::json& answer);

}  // namespace dingd

// The order list of the logged-in customer. Every answer is read: no answer, or one that does
// not parse, gives no orders and no message.
class NSDingListLoader : public std::enable_shared_from_this<NSDingListLoader> {
public:
    int pagenum = 0;    // kept, not used: the list has one page
    int totelpage = 0;
    std::vector<std::shared_ptr<NSDingDClass>> a_dingds;
    std::function<void()> onLoaded;  // the screen reloads its table

    void loadList();
    void receiveServerMessage(const std::string& answer, NSHTTPServer& request);

private:
    NSRequestTurn turn_;
};

// One order's detail: its dishes, the rest of the record, and the import of its shop's menu. No
// answer, or one that is no JSON, shows "网络连接异常" and changes nothing.
class NSDingDetailLoader : public std::enable_shared_from_this<NSDingDetailLoader> {
public:
    NSDingDetailLoader();

    std::shared_ptr<NSDingDClass> m_dingd = std::make_shared<NSDingDClass>();
    NSDishList m_dishs;
    std::shared_ptr<NSWebMenuImport> importer;
    std::function<void(const std::string&)> showMessage;  // the root's message panel
    std::function<void()> onShown;  // the screen fills its summary and dish table
    // Whether the order is still the one the guest has open; an answer that comes after the
    // screen was left is taken without importing the shop's menu (a later order's import, or
    // the dishes already chosen on its desk, must not be replaced). None: always.
    std::function<bool()> isCurrent;

    void loadDingDanX();
    void receiveServerMessage(const std::string& answer, NSHTTPServer& request);
    // Imports the order's shop's web menu into the menu database (an order without a shop is not
    // imported).
    void loadShopCaip();
    // A shop that only takes seat reservations offers no dish choice.
    bool canSelectDish() const { return m_dingd->m_iTogoType != 2; }

private:
    NSRequestTurn turn_;
};
