#pragma once
// The web menu import: loads one shop's web menu into the menu database in place of the
// restaurant's own (food types as categories, foods as dishes, food styles as extra units, food
// attributes as cooking methods with surcharges) and makes a new empty offline desk current, on
// which the guest's dishes are collected. Three steps joined by two requests.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "model/NSCplbTreeClass.h"
#include "online/NSDingDClass.h"
#include "online/NSHTTPServer.h"

class NSCaipDBClass;
class NSDeskClass;

class NSWebMenuImport : public std::enable_shared_from_this<NSWebMenuImport> {
public:
    // The order whose shop (m_strTogoId) is imported.
    std::shared_ptr<NSDingDClass> m_dingd = std::make_shared<NSDingDClass>();
    // Where the import's failure message goes (the root's message panel); an import holder has
    // none and its messages are dropped.
    std::function<void(const std::string&)> showMessage;

    // Step 1: the new current desk, then the food-type request. An order without a shop is not
    // imported at all.
    void loadShopCaip();
    // Step 2: the food types, kept until the foods arrive; then the food request.
    void receiveCplb(const std::string& answer, NSHTTPServer& request);
    // Step 3: the foods; with a food answer that parses, the menu database takes the categories
    // of step 2 and the dishes, units and cooking methods together.
    void receiveCaip(const std::string& answer, NSHTTPServer& request);

    // The categories of a food-type answer, as top-level nodes in answer order.
    static NSCplbTreeList readCategories(const nlohmann::json& answer);
    // Replaces the categories, dishes, extra units, tastes and cooking methods of the database by
    // the given categories and the foods of a food answer, and marks it a web menu.
    static void applyMenu(NSCaipDBClass& db, NSCplbTreeList categories, const nlohmann::json& answer);

    // ---- The end of a guest's order ----
    // One terminal serves guests and waiters: what an import changed belongs to the guest's order
    // and must not outlive it into a waiter's screens.
    //
    // Whether the desk is a cart an import made for a guest's order.
    static bool isGuestCart(const std::shared_ptr<NSDeskClass>& desk);
    // Ends the guest's order: imports still under way are dropped; a web menu gives way to the
    // restaurant's own, loaded again from its files as at start-up (the sold-out and discount
    // lists the back office sent stay); the carts leave the offline desks and the offline file;
    // and when a cart is current, the desk that was current before the first import is again
    // (or, when that one has gone, the first offline desk or a new one).
    static void endGuestOrder();

private:
    void fail();

    NSCplbTreeList categories_;
    std::uint64_t turn_ = 0;
};
