#include "online/NSWebMenuImport.h"

#include <algorithm>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "online/NSJsonResolver.h"
#include "online/NSWebPages.h"
#include "platform/foundation/Log.h"

namespace {

// Only the newest import may change the menu: two imports started close together (an order
// form and an order detail) would otherwise leave a mix of both shops' menus.
NSRequestTurn& importTurn() {
    static NSRequestTurn turn;
    return turn;
}

constexpr const char* kNetworkFailure = "网络连接异常";
constexpr const char* kDefaultUnit = "份";

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const auto at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// What the imports of the guest's order changed besides the menu: the carts they made, and the
// desk that was current before the first of them.
struct GuestOrder {
    std::vector<std::weak_ptr<NSDeskClass>> carts;
    std::shared_ptr<NSDeskClass> deskBefore;
};

GuestOrder& guestOrder() {
    static GuestOrder order;
    return order;
}

bool holds(const std::vector<std::shared_ptr<NSDeskClass>>& desks, const std::shared_ptr<NSDeskClass>& desk) {
    return std::find(desks.begin(), desks.end(), desk) != desks.end();
}

std::shared_ptr<NSCaipDBClass> menuDatabase() {
    auto db = NSServer::getCaipDB();
    if (!db) {
        db = std::make_shared<NSCaipDBClass>();
        NSServer::setCaipDB(db);
    }
    return db;
}

}  // namespace

void NSWebMenuImport::loadShopCaip() {
    // Without a shop the requests would ask the service for no shop's menu: nothing to import.
    if (!m_dingd || m_dingd->m_strTogoId.empty()) return;
    // The waiter's desk comes back when the guest's order ends; a later import of the same
    // order (the detail after the form) keeps the desk of the first.
    if (auto before = NSServer::getNowDesk(); !isGuestCart(before)) guestOrder().deskBefore = before;
    auto desk = std::make_shared<NSDeskClass>();
    desk->isGuestCart = true;
    guestOrder().carts.push_back(desk);
    NSServer::setNowDesk(desk);
    auto outDesks = NSServer::getOutDesk();
    if (!outDesks) {
        outDesks = std::make_shared<NSDeskList>();
        NSServer::setOutDesk(outDesks);
    }
    outDesks->push_back(desk);

    turn_ = importTurn().next();
    categories_.clear();
    NSHTTPServer::getText(webpages::foodTypeList(m_dingd->m_strTogoId), shared_from_this(),
                          &NSWebMenuImport::receiveCplb);
}

bool NSWebMenuImport::isGuestCart(const std::shared_ptr<NSDeskClass>& desk) { return desk && desk->isGuestCart; }

void NSWebMenuImport::endGuestOrder() {
    // An answer still out would bring the shop's menu in over the restaurant's.
    importTurn().next();
    if (auto web = NSServer::getCaipDB(); web && web->isWebMenu) {
        NSServer::loadCaipXml();
        // These come from the back office's replies, not from the menu files.
        if (auto own = NSServer::getCaipDB()) {
            own->m_SellOut = web->m_SellOut;
            own->m_rebate = web->m_rebate;
        }
        NSServer::setUseCplbTree(nullptr);
    }

    GuestOrder& order = guestOrder();
    std::vector<std::shared_ptr<NSDeskClass>> carts;
    for (const auto& cart : order.carts)
        if (auto desk = cart.lock()) carts.push_back(std::move(desk));
    order.carts.clear();
    auto before = std::move(order.deskBefore);
    order.deskBefore = nullptr;
    if (carts.empty()) return;

    // The cart's dishes are the shop's: in a waiter's offline orders they would be merged into a
    // desk and sent to the back office, which knows none of them.
    auto outDesks = NSServer::getOutDesk();
    if (outDesks && std::erase_if(*outDesks, [&](const auto& desk) { return holds(carts, desk); }) > 0)
        NSServer::saveOutDesk();
    if (holds(carts, NSServer::getNowDesk())) {
        // An offline desk merged or dropped meanwhile is no order any more.
        if (before && (!before->m_strDeskID.empty() || (outDesks && holds(*outDesks, before)))) {
            // Held again as it was: its saved lines are in it already and must not be read twice.
            auto lines = before->m_DishList;
            NSServer::setNowDesk(before);
            before->m_DishList = std::move(lines);
        } else {
            NSServer::setNowDesk(nullptr);  // the first offline desk, or a new one, as at start-up
        }
    }
}

void NSWebMenuImport::fail() {
    if (showMessage) showMessage(kNetworkFailure);
}

void NSWebMenuImport::receiveCplb(const std::string& answer, NSHTTPServer&) {
    if (!importTurn().isCurrent(turn_)) return;
    if (answer.empty()) {
        fail();
        return;
    }
    platform::log(answer);
    NSJsonResolver resolver;
    categories_ = readCategories(resolver.resolveJson(answer).value_or(nlohmann::json()));
    // The foods are asked for also when the types did not parse: the dishes still come in.
    NSHTTPServer::getText(webpages::foodList(m_dingd->m_strTogoId), shared_from_this(),
                          &NSWebMenuImport::receiveCaip);
}

void NSWebMenuImport::receiveCaip(const std::string& answer, NSHTTPServer&) {
    if (!importTurn().isCurrent(turn_)) return;
    if (answer.empty()) {
        fail();
        return;
    }
    NSJsonResolver resolver;
    auto foods = resolver.resolveJson(answer);
    // A food answer that is no JSON leaves the menu as it was rather than half replaced.
    if (!foods) return;
    applyMenu(*menuDatabase(), std::move(categories_), *foods);
    categories_.clear();
}

NSCplbTreeList NSWebMenuImport::readCategories(const nlohmann::json& answer) {
    NSCplbTreeList nodes;
    NSCplbTreeClass::beginCplbTreeBuild(nullptr);
    for (const auto& e : json_read::list(answer, "foodtypelist")) {
        auto cplb = std::make_shared<NSCplbClass>();
        cplb->m_strCtname = json_read::text(e, "SortName");
        cplb->m_strCtorder = json_read::text(e, "JOrder");
        cplb->m_strUid = json_read::text(e, "SortID");
        cplb->m_strCtparentid = cplb->m_strUid;  // a top-level category is its own parent
        auto node = std::make_shared<NSCplbTreeClass>();
        node->cplb = std::move(cplb);
        NSCplbTreeClass::addCplbTreeToCplbTrees(node, nodes);
    }
    return nodes;
}

void NSWebMenuImport::applyMenu(NSCaipDBClass& db, NSCplbTreeList categories, const nlohmann::json& answer) {
    db.rootCplbTrees = std::move(categories);
    db.isOneLevel = true;
    db.isWebMenu = true;
    db.m_CaipArray.clear();
    db.m_Units->RemoveAll();
    db.m_kouws->RemoveAll();
    db.m_KwzfArray.clear();

    int optionNumber = 1000;  // options are numbered 1001, 1002, ... across the whole import
    for (const auto& food : json_read::list(answer, "foodlist")) {
        auto caip = std::make_shared<NSCaipClass>();
        caip->Clear();
        caip->m_strCategory = json_read::text(food, "FoodType");
        caip->setM_strID(json_read::text(food, "FoodID"));
        caip->m_strPic = NSHTTPServer::pictureURL(json_read::text(food, "Picture"));
        caip->m_strName = json_read::text(food, "Name");
        caip->m_strPrice = json_read::text(food, "Price");
        caip->m_strDanw = kDefaultUnit;

        int k = 0;
        for (const auto& style : json_read::list(food, "foodstylelist")) {
            std::string unit = json_read::text(style, "Title");
            if (unit.empty()) unit = kDefaultUnit;
            const std::string price = json_read::text(style, "Price");
            if (k == 0) {
                caip->m_strDanw = unit;
                caip->m_strPrice = price;
            } else {
                db.m_Units->AddItem(caip->strID(), unit, price);
                caip->m_iPrice = 1;  // several units: the price follows the unit chosen
            }
            ++k;
        }

        for (const auto& group : json_read::list(food, "foodattrlist")) {
            const std::string title = json_read::text(group, "Title");
            for (const std::string& option : split(json_read::text(group, "Attributes"), '#')) {
                // An empty piece (an empty list, a doubled or trailing "#") names no option.
                if (option.empty()) continue;
                const std::string number = std::to_string(++optionNumber);
                const auto pieces = split(option, '?');
                const std::string price = pieces.size() > 1 ? pieces[1] : std::string();
                // A free option (price "0", or none given) has an empty surcharge entry.
                const bool free = price == "0" || pieces.size() < 2;
                const std::string surcharge = free ? std::string() : price;
                caip->m_strZuofID += number + ",";
                caip->m_strZfjiag += surcharge + (free ? "," : ";1,");
                caip->m_iMustzuof = 1;

                auto kouw = std::make_shared<NSKouwClass>();
                kouw->m_bZuof = true;
                kouw->m_strBZ = title;
                kouw->m_strKouwid = number;
                kouw->m_strKouw = pieces[0];
                kouw->m_strCtparentid = number;
                kouw->m_strJiaj = surcharge;
                db.m_KwzfArray.push_back(std::move(kouw));
            }
        }
        if (!caip->m_strZuofID.empty()) caip->m_strZuofID.pop_back();
        if (!caip->m_strZfjiag.empty()) caip->m_strZfjiag.pop_back();

        db.m_CaipArray.push_back(caip);
        if (!caip->m_strCategory.empty()) NSCplbTreeClass::addCaipToCplbTrees(caip, db.rootCplbTrees);
    }
}
