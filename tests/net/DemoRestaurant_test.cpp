// The simulator's demo restaurant as a newcomer's terminal meets it: downloaded by the menu
// synchronisation and read by the terminal's own readers, everything it names is there (a set
// meal's candidate, a dish's cooking method and its surcharge, a unit's dish, a desk's lines), and
// the features it is there to show exist.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "GData/GDataXML.h"
#include "backoffice/BackOfficeSim.h"
#include "core/NSServer.h"
#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSKouwClass.h"
#include "model/NSUserClass.h"
#include "model/NSYuDingClass.h"
#include "net/SimFixture.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace {

std::vector<std::string> split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= text.size()) {
        const auto at = text.find(by, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    return parts;
}

// The f1 values of a table document's records.
std::set<std::string> firstColumn(const std::string& document) {
    std::set<std::string> values;
    auto doc = GDataXMLDocument::initWithDataOptionsError(document, 0, nullptr);
    auto data = doc ? firstElement(doc->rootElement(), "data") : nullptr;
    if (auto rows = data ? data->elementsForName("record") : std::nullopt)
        for (const auto& r : *rows) values.insert(attributeText(r, "f1"));
    return values;
}

unsigned little32(const std::string& b, std::size_t at) {
    unsigned v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

class DemoRestaurantTest : public SimTest {
protected:
    DemoRestaurantTest() : SimTest(backoffice::Restaurant::Demo) {}

    void SetUp() override {
        SimTest::SetUp();
        NSServer::setIP("127.0.0.1");
        NSServer::setJtNO(std::string(backoffice::BackOfficeSim::kCompanyNumber));
        NSServer::setOutTime(5);
        NSServer::createDir();
        NSServer::loadMacAdr();
    }
    // The tables as the synchronisation stores them, without the pictures.
    void storeTables() {
        for (const char* t : {"yonghxx", "caip", "stCategory", "ssdept", "tuidyy", "zuot", "zuotzt", "stBom",
                              "stUnits", "kouw"})
            NSServer().stringDataWriteToFile(dataFile(std::string(t) + ".dat"), std::nullopt, sim.tableDocument(t));
        NSServer::loadCaipXml();
    }
};

TEST_F(DemoRestaurantTest, TheDownloadedMenuHasPicturesAndEveryReferenceItMakesResolves) {
    ASSERT_TRUE(NSServer().ayncCaip());
    auto db = NSServer::getCaipDB();
    ASSERT_TRUE(db);
    ASSERT_GE(db->m_CaipArray.size(), 30u);
    EXPECT_FALSE(db->isOneLevel);

    // Every dish is in a category (a wrong category id would hide it from the menu).
    std::size_t placed = 0;
    for (const auto& top : db->rootCplbTrees) {
        placed += top->caips.size();
        for (const auto& sub : top->subCplbTrees) placed += sub->caips.size();
    }
    EXPECT_EQ(placed, db->m_CaipArray.size());

    std::map<std::string, const NSKouwClass*> kouws;
    for (const auto& k : db->m_KwzfArray) kouws[k->m_strKouwid] = k.get();

    int weighed = 0, pricedAtOrder = 0, choiceSetMeals = 0, fixedSetMeals = 0, surcharged = 0;
    for (const auto& dish : db->m_CaipArray) {
        const std::string id = dish->strID();
        SCOPED_TRACE(id + " " + dish->m_strName);
        EXPECT_FALSE(dish->m_strCXDM.empty());
        // Its picture, thumbnail and description, as the menu screens read them.
        for (auto [suffix, w, h] : {std::tuple{".BMP", 320u, 240u}, std::tuple{"T.BMP", 210u, 158u}}) {
            const std::string bytes = NSServer().readCaipImageData(NSServer::getCaippicPath() + "/" + id + suffix);
            ASSERT_GE(bytes.size(), 54u) << suffix;
            EXPECT_EQ(bytes.substr(0, 2), "BM") << suffix;
            EXPECT_EQ(little32(bytes, 18), w) << suffix;
            EXPECT_EQ(little32(bytes, 22), h) << suffix;
        }
        auto description = platform::fs::readAll(NSServer::getCaippicPath() + "/" + id + "M.TXT");
        EXPECT_TRUE(description && platform::isValidUTF8(*description) && !description->empty());

        // Cooking methods: each a method of the method table, each with its surcharge entry (a
        // method past the last entry is never offered).
        if (!dish->m_strZuofID.empty()) {
            auto ids = split(dish->m_strZuofID, ',');
            ASSERT_EQ(ids.back(), "");
            ids.pop_back();
            const auto entries = split(dish->m_strZfjiag, ',');
            EXPECT_EQ(entries.size(), ids.size());
            for (std::size_t i = 0; i < ids.size(); ++i) {
                ASSERT_TRUE(kouws.count(ids[i])) << ids[i];
                EXPECT_TRUE(kouws[ids[i]]->m_bZuof) << ids[i];
                // A method named like a dish would cost that dish's price.
                EXPECT_FALSE(db->GetCaipFromName(kouws[ids[i]]->m_strKouw)) << ids[i];
                if (i < entries.size() && platform::leadingDouble(entries[i]) > 0) ++surcharged;
            }
        }
        EXPECT_TRUE(dish->m_iMustzuof == 0 || !dish->m_strZuofID.empty());
        weighed += dish->m_bVarQty;
        pricedAtOrder += dish->m_iPrice == 1;

        if (!dish->m_bisSet) continue;
        int groups = 0;
        bool choice = false;
        for (std::size_t k = 1; k < db->m_Bom->m_str1.size(); ++k) {
            if (db->m_Bom->m_str1[k] != id) continue;
            ++groups;
            EXPECT_GE(platform::leadingInt(db->m_Bom->m_name[k]), 1);
            const auto entries = split(db->m_Bom->m_str2[k], ';');
            choice = choice || entries.size() > 1;
            for (const auto& entry : entries) {
                auto item = db->GetCaipFromID(entry.substr(0, entry.find(',')));
                ASSERT_TRUE(item) << entry;
                EXPECT_FALSE(item->m_bisSet) << entry;
            }
        }
        EXPECT_GE(groups, 2);
        (choice ? choiceSetMeals : fixedSetMeals) += 1;
    }
    EXPECT_GE(weighed, 2);
    EXPECT_GE(pricedAtOrder, 1);
    EXPECT_GE(surcharged, 3);
    EXPECT_GE(choiceSetMeals, 2);
    EXPECT_GE(fixedSetMeals, 1);

    // Further units: each of a dish, with a price; some dish has three units in all.
    std::map<std::string, int> units;
    for (int k = 1; k < db->m_Units->m_length; ++k) {
        EXPECT_TRUE(db->GetCaipFromID(db->m_Units->m_code[k])) << db->m_Units->m_code[k];
        EXPECT_GT(platform::leadingDouble(db->m_Units->m_state[k]), 0) << db->m_Units->m_code[k];
        ++units[db->m_Units->m_code[k]];
    }
    int most = 0;
    for (auto& [dish, n] : units) most = std::max(most, n);
    EXPECT_GE(most, 2);

    // Tastes in their categories, and reasons of every kind.
    EXPECT_TRUE(db->hasKouwC);
    std::set<std::string> kinds(db->m_Tuidyy->m_state.begin() + 1, db->m_Tuidyy->m_state.end());
    EXPECT_EQ(kinds, (std::set<std::string>{"01", "02", "03"}));
}

TEST_F(DemoRestaurantTest, EveryWaiterLogsInAndTheFloorShowsEveryDeskStateWithItsOrders) {
    storeTables();
    auto db = NSServer::getCaipDB();
    ASSERT_GE(db->m_users->m_length, 3);
    for (int k = 1; k < db->m_users->m_length; ++k) {
        NSUserClass waiter;
        waiter.m_strUserID = db->m_users->m_code[k];
        waiter.m_strPassword = "123";
        EXPECT_EQ(NSServer().login(waiter), 0) << waiter.m_strUserID;
    }

    ASSERT_TRUE(NSServer().DownloadDeskState(false));
    auto tree = NSServer::getDesks();
    std::set<std::string> shown, desks;
    for (int row = 1; row < tree->m_length; ++row) {
        if (tree->m_code[row].empty()) continue;  // a room
        desks.insert(tree->m_code[row]);
        shown.insert(tree->m_state[row]);
        auto desk = std::make_shared<NSDeskClass>();
        desk->m_strDeskID = tree->m_code[row];
        desk->m_strConsumeID = tree->m_str1[row];
        SCOPED_TRACE(tree->m_name[row] + " " + tree->m_state[row]);
        // The details complete every line from the menu, or stop at a dish it lacks.
        ASSERT_TRUE(NSServer().XDeskDetail(*desk));
        if (tree->m_state[row] == "6" || tree->m_state[row] == "7") EXPECT_FALSE(desk->m_DishList.empty());
        if (tree->m_state[row] == "4" || tree->m_state[row] == "5") {
            NSYuDingClass reservation;
            ASSERT_TRUE(NSServer().XYuDingInfo(*desk, reservation));
            EXPECT_GT(reservation.clientNum, 0);
            for (const auto& line : reservation.m_DishList) EXPECT_TRUE(db->GetCaipFromID(line->caipID()));
        }
    }
    // Every desk is in a room, and each state of the state table is on the floor.
    EXPECT_EQ(desks, firstColumn(sim.tableDocument("zuot")));
    const auto states = firstColumn(sim.tableDocument("zuotzt"));
    EXPECT_GE(states.size(), 4u);
    EXPECT_EQ(shown, states);

    // The desk replies carry the sold-out list: some dish of the menu is sold out.
    bool soldOut = false;
    for (const auto& dish : db->m_CaipArray) soldOut = soldOut || db->IsCaipSellOut(dish->strID());
    EXPECT_TRUE(soldOut);
}

}  // namespace
