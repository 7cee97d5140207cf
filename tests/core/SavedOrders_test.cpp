#include <gtest/gtest.h>

#include <functional>

#include "GData/GDataXML.h"
#include "core/CoreFixture.h"
#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "platform/foundation/FileSystem.h"

namespace {

class SavedOrdersTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        platform::fs::createFolder(NSServer::getDataPath());
        db = std::make_shared<NSCaipDBClass>();
        setMeal = menuDish("S1", NSCaipClass::kFlagSet);
        plain = menuDish("P1", 0);
        auto taste = std::make_shared<NSKouwClass>();
        taste->m_strKouwid = "1";
        taste->m_strKouw = "辣";
        db->m_KwzfArray.push_back(taste);
        NSServer::setCaipDB(db);
    }

    std::shared_ptr<NSCaipClass> menuDish(const std::string& id, int flags) {
        auto d = std::make_shared<NSCaipClass>();
        d->Clear();
        d->setM_strID(id);
        d->m_strName = "menu " + id;
        d->m_strDanw = "份";
        d->m_strPrice = "10";
        d->setFlags(flags);
        db->m_CaipArray.push_back(d);
        return d;
    }

    static std::shared_ptr<NSDishClass> orderLine(const std::shared_ptr<NSCaipClass>& dish, int state = 101) {
        auto line = std::make_shared<NSDishClass>();
        line->CopyCaip(dish);
        line->m_fQuantity = 1;
        line->m_iState = state;
        line->m_struid = "-1";
        return line;
    }

    static std::shared_ptr<NSDeskClass> desk(const std::string& id, NSDishList lines = {}) {
        auto d = std::make_shared<NSDeskClass>();
        d->m_strDeskID = id;
        d->m_DishList = std::move(lines);
        return d;
    }

    static std::shared_ptr<NSDishClass> group(const std::shared_ptr<NSDishClass>& line, bool head) {
        line->m_bisSet = head;
        line->m_bisExp = true;
        return line;
    }

    std::shared_ptr<NSCaipDBClass> db;
    std::shared_ptr<NSCaipClass> setMeal, plain;
};

TEST_F(SavedOrdersTest, DeskFileHoldsTheUnsentLinesInTheFixedLayout) {
    auto line = orderLine(plain);
    line->m_strCaipName = "A&B <custom>";
    line->m_fQuantity = 1.5f;
    line->m_fQuantity2 = 0.25f;
    line->m_iPrice = -1;
    line->m_iType = 1;
    line->m_struid = "57";
    line->m_strXfmxID = "X9";
    line->AddKouwID("1,少油");
    line->m_strZuofShul = "2,";
    line->m_strPrice = "12.5";
    line->m_strReason = "r";
    line->m_strRemark = "不要辣";
    line->m_iVarQty = 4;
    line->m_strUnits = "半份";
    line->m_strWaiterID = "W1";
    line->m_strWaiterName = "王";
    line->m_fPrice2 = 2;
    line->m_fPrice3 = 1234567;
    line->m_bAddOn = true;
    auto k = desk("A01", {orderLine(plain, 1), line, orderLine(plain, 102)});
    k->m_iClientNum = 6;
    k->m_strWaiterID = "W7";
    NSServer::saveSelectDish1(k);

    auto bytes = platform::fs::readAll(dataFile("A01.ATD"));
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find("encoding=\"UTF-8\""), std::string::npos);
    auto doc = GDataXMLDocument::initWithDataOptionsError(*bytes, 0, nullptr);
    ASSERT_TRUE(doc);
    auto root = doc->rootElement();
    EXPECT_EQ(root->name(), "morvane");
    auto deskElement = firstElement(root, "desk");
    EXPECT_EQ(attributeText(deskElement, "m_strDeskID"), "A01");
    EXPECT_EQ(attributeText(deskElement, "m_iClientNum"), "6");
    EXPECT_EQ(attributeText(deskElement, "m_strWaiterID"), "W7");
    auto dishes = deskElement->elementsForName("dish");
    ASSERT_TRUE(dishes);
    ASSERT_EQ(dishes->size(), 1u);  // only the unsent line
    std::vector<std::pair<std::string, std::string>> fields;
    for (auto& child : (*dishes)[0]->children())
        if (child->isElement()) fields.emplace_back(child->name(), child->stringValue().value_or(""));
    std::vector<std::pair<std::string, std::string>> expected = {
        {"m_strCaipID", "P1"}, {"m_strCaipName", "A&B <custom>"}, {"m_strXfmxID", "X9"},
        {"m_bAddOn", "1"}, {"m_struid", "57"}, {"m_fQuantity", "1.5"}, {"m_iPrice", "-1"},
        {"m_iType", "1"}, {"KouwIDString", "1,少油"}, {"m_strZuofShul", "2,"},
        {"m_strPrice", "12.5"}, {"m_strReason", "r"}, {"m_strRemark", "不要辣"}, {"m_iVarQty", "4"},
        {"m_fQuantity2", "0.25"}, {"m_strUnits", "半份"}, {"m_strWaiterID", "W1"},
        {"m_strWaiterName", "王"}, {"m_fPrice2", "2"}, {"m_fPrice3", "1.23457e+06"},
    };
    EXPECT_EQ(fields, expected);

    // Read back into a desk already holding a line: the restored line comes after it.
    auto back = desk("A01", {orderLine(plain, 1)});
    back->m_strWaiterID = "mine";
    NSServer::loadSelectDish(back);
    ASSERT_EQ(back->m_DishList.size(), 2u);
    EXPECT_EQ(back->m_iClientNum, 6);
    EXPECT_EQ(back->m_strWaiterID, "mine");  // a desk file's waiter is not read
    auto& r = *back->m_DishList[1];
    EXPECT_EQ(r.m_strCaipID, plain->m_strID);  // linked to the menu dish again
    EXPECT_EQ(r.pCaip, plain);
    EXPECT_EQ(r.m_strCaipName, "A&B <custom>");
    EXPECT_EQ(r.m_fQuantity, 1.5f);
    EXPECT_EQ(r.m_fQuantity2, 0.25f);
    EXPECT_EQ(r.m_iPrice, -1);
    EXPECT_EQ(r.m_iType, 1);
    EXPECT_EQ(r.m_strKouw, "辣,少油");
    EXPECT_EQ(r.m_muNameArray, std::vector<std::string>{"份"});
    EXPECT_TRUE(r.m_bAddOn);
    EXPECT_FALSE(r.m_bisSet);
    EXPECT_EQ(r.m_parentpos, -1);
    EXPECT_EQ(r.m_strRemark, "不要辣");
    EXPECT_EQ(r.m_fPrice3, 1234570.0f);
    EXPECT_EQ(r.m_strWaiterName, "王");

    // Written straight, a desk's file has the very bytes the offline file's document has for the
    // same desk: one layout, whichever way it is written.
    for (const auto& lines : {NSDishList{line, orderLine(setMeal)}, NSDishList{}}) {
        auto same = desk("A01", lines);
        same->m_iClientNum = 6;
        same->m_strWaiterID = "W7";
        NSServer::saveSelectDish1(same);
        NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{same}));
        NSServer::saveOutDesk();
        EXPECT_EQ(platform::fs::readAll(dataFile("A01.ATD")), platform::fs::readAll(dataFile("OUTDESK.ATD")));
    }
}

TEST_F(SavedOrdersTest, LineGroupsAreRebuiltAtTheirNewPositions) {
    auto save = [&] {
        NSServer::saveSelectDish1(desk("G1", {group(orderLine(setMeal), true), group(orderLine(plain), false),
                                              group(orderLine(plain), false)}));
    };
    save();
    auto empty = desk("G1");
    NSServer::loadSelectDish(empty);
    ASSERT_EQ(empty->m_DishList.size(), 3u);
    for (auto& line : empty->m_DishList) EXPECT_EQ(line->m_parentpos, 0);

    auto busy = desk("G1", {orderLine(plain, 1), orderLine(plain, 1), orderLine(plain, 1)});
    NSServer::loadSelectDish(busy);
    ASSERT_EQ(busy->m_DishList.size(), 6u);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(busy->m_DishList[i]->m_parentpos, 3);

    // An item before any head has no group; the set flag of a saved line without its element
    // comes from the menu dish.
    auto itemFirst = group(orderLine(plain), false);
    auto head = orderLine(setMeal);
    head->m_bisSet = false;  // not written ...
    NSServer::saveSelectDish1(desk("G2", {itemFirst, head}));
    auto k = desk("G2");
    NSServer::loadSelectDish(k);
    ASSERT_EQ(k->m_DishList.size(), 2u);
    EXPECT_EQ(k->m_DishList[0]->m_parentpos, -1);
    EXPECT_TRUE(k->m_DishList[1]->m_bisSet);  // ... but the menu says set meal
    EXPECT_EQ(k->m_DishList[1]->m_parentpos, 1);
}

TEST_F(SavedOrdersTest, OfflineDesksSurviveARestartWithAllTheirLines) {
    auto first = desk("", {orderLine(plain, 101), orderLine(plain, 1), orderLine(plain, 102)});
    first->m_iClientNum = 2;
    first->m_strWaiterID = "W2";
    // The second desk starts with an item: the head position starts again for every desk.
    auto second = desk("", {group(orderLine(setMeal), true), group(orderLine(plain), false)});
    auto third = desk("", {group(orderLine(plain), false)});
    NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{first, second, third}));
    NSServer::setNowDesk(first);
    NSServer::saveSelectDish0();  // the current desk is offline: every offline desk is written

    NSServer::setNowDesk(nullptr);
    NSServer::setOutDesk(nullptr);
    NSServer::loadOutDesk();
    auto desks = NSServer::getOutDesk();
    ASSERT_TRUE(desks);
    ASSERT_EQ(desks->size(), 3u);
    auto& a = *(*desks)[0];
    EXPECT_EQ(a.m_iClientNum, 2);
    EXPECT_EQ(a.m_strWaiterID, "W2");
    ASSERT_EQ(a.m_DishList.size(), 3u);
    for (auto& line : a.m_DishList) EXPECT_EQ(line->m_iState, 101);  // 102 comes back unsent
    EXPECT_EQ((*desks)[1]->m_DishList[1]->m_parentpos, 0);
    EXPECT_EQ((*desks)[2]->m_DishList[0]->m_parentpos, -1);

    // One document: lines of one dish read from it share their dish-id text when the dish is
    // not in the menu any more.
    NSServer::setCaipDB(std::make_shared<NSCaipDBClass>());
    NSServer::loadOutDesk();
    auto& lines = (*NSServer::getOutDesk())[0]->m_DishList;
    EXPECT_EQ(lines[0]->caipID(), "P1");
    EXPECT_FALSE(lines[0]->pCaip);
    EXPECT_TRUE(lines[0]->sharesCaipID(*lines[1]));
}

TEST_F(SavedOrdersTest, MissingAndDamagedFilesGiveTheDefaults) {
    NSServer::loadOutDesk();
    ASSERT_TRUE(NSServer::getOutDesk());
    EXPECT_TRUE(NSServer::getOutDesk()->empty());

    platform::fs::writeAtomically(dataFile("OUTDESK.ATD"), "<morvane><desk");
    platform::fs::writeAtomically(dataFile("D1.ATD"), "not xml");
    platform::fs::writeAtomically(dataFile("D2.ATD"), "<morvane><other/></morvane>");
    NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{desk("")}));
    NSServer::loadOutDesk();
    EXPECT_TRUE(NSServer::getOutDesk()->empty());
    for (const char* id : {"D1", "D2", "none"}) {
        auto k = desk(id, {orderLine(plain)});
        NSServer::loadSelectDish(k);
        EXPECT_EQ(k->m_DishList.size(), 1u) << id;
        EXPECT_EQ(k->m_strDeskID, id);
    }

    // An empty offline list still writes a file: the root alone.
    NSServer::setOutDesk(std::make_shared<NSDeskList>());
    NSServer::saveOutDesk();
    NSServer::loadOutDesk();
    EXPECT_TRUE(NSServer::getOutDesk()->empty());
    EXPECT_TRUE(platform::fs::exists(dataFile("OUTDESK.ATD")));
}

TEST_F(SavedOrdersTest, DeskIdsThatCouldLeaveTheFolderNameNoFile) {
    // An offline file and a file just outside the data folder that must stay untouched.
    NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{desk("", {orderLine(plain)})}));
    NSServer::saveOutDesk();
    const std::string outside = NSServer::getDataPath() + "/../x.ATD";
    platform::fs::writeAtomically(outside, "keep");
    const auto offline = *platform::fs::readAll(dataFile("OUTDESK.ATD"));

    const std::string unsafe[] = {"../x", "a/b", "a\\b", std::string("a\0b", 3), ".", "..", "OUTDESK"};
    for (const auto& id : unsafe) {
        auto k = desk(id, {orderLine(plain)});
        NSServer::saveSelectDish1(k);
        NSServer::setNowDesk(k);  // reads nothing
        EXPECT_EQ(k->m_DishList.size(), 1u);
        NSServer::saveSelectDish0();
        NSServer::delSaveDish(id);
        NSServer::setNowDesk(nullptr);
    }
    EXPECT_EQ(*platform::fs::readAll(outside), "keep");
    EXPECT_EQ(*platform::fs::readAll(dataFile("OUTDESK.ATD")), offline);
    EXPECT_FALSE(platform::fs::exists(dataFile("a/b.ATD")));
    EXPECT_FALSE(platform::fs::exists(dataFile("..ATD")));

    // Ordinary ids keep their plain file names, odd characters included.
    for (const std::string id : {"00010024", "A 1", "outdesk", "桌.1"}) {
        NSServer::saveSelectDish1(desk(id, {orderLine(plain)}));
        EXPECT_TRUE(platform::fs::exists(dataFile(id + ".ATD"))) << id;
        NSServer::delSaveDish(id);
        EXPECT_FALSE(platform::fs::exists(dataFile(id + ".ATD"))) << id;
    }
}

TEST_F(SavedOrdersTest, CurrentDeskSavesAndRestoresItsUnsentLinesOnce) {
    auto k = desk("B7", {orderLine(plain), orderLine(plain, 1)});
    NSServer::setNowDesk(k);
    NSServer::saveSelectDish0();
    EXPECT_TRUE(platform::fs::exists(dataFile("B7.ATD")));
    EXPECT_FALSE(platform::fs::exists(dataFile("OUTDESK.ATD")));

    // Back to the desk later: its saved unsent line is appended once, also when set again.
    auto again = desk("B7");
    NSServer::setNowDesk(again);
    NSServer::setNowDesk(again);
    EXPECT_EQ(again->m_DishList.size(), 1u);
}

TEST_F(SavedOrdersTest, TextsXmlCannotHoldAreReplacedSoEveryLineReadsBack) {
    const std::string odd = "a\x01" "b\xff" "c\x1b";
    const std::string repaired = "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD";
    auto line = orderLine(plain);
    line->m_strRemark = odd;
    auto second = orderLine(plain);
    auto offline = desk("", {line, second});
    offline->m_strWaiterID = odd;
    NSServer::setOutDesk(std::make_shared<NSDeskList>(NSDeskList{offline, desk("", {orderLine(plain)})}));
    NSServer::saveOutDesk();
    NSServer::setNowDesk(desk("D1", {orderLine(plain), line}));
    NSServer::saveNowDesk();

    NSServer::loadOutDesk();
    auto desks = NSServer::getOutDesk();
    ASSERT_EQ(desks->size(), 2u);
    ASSERT_EQ(desks->at(0)->m_DishList.size(), 2u);
    EXPECT_EQ(desks->at(0)->m_DishList[0]->m_strRemark, repaired);
    EXPECT_EQ(desks->at(0)->m_strWaiterID, repaired);
    auto back = desk("D1");
    NSServer::loadSelectDish(back);
    ASSERT_EQ(back->m_DishList.size(), 2u);
    EXPECT_EQ(back->m_DishList[1]->m_strRemark, repaired);
}

TEST_F(SavedOrdersTest, AnUnreadableFileIsMovedAsideNeverOverwritten) {
    struct Case { const char* file; std::function<void()> read, save; } cases[] = {
        {"OUTDESK.ATD", [] { NSServer::loadOutDesk(); }, [] { NSServer::saveOutDesk(); }},
        {"D1.ATD", [this] { NSServer::loadSelectDish(desk("D1")); },
         [this] { NSServer::saveSelectDish1(desk("D1", {orderLine(plain)})); }},
    };
    for (const auto& c : cases) {
        const std::string path = dataFile(c.file);
        for (const char* damaged : {"<morvane><desk", "second damage"}) {
            platform::fs::writeAtomically(path, damaged);
            c.read();
            c.save();
        }
        EXPECT_EQ(platform::fs::readAll(path + ".damaged"), "<morvane><desk") << c.file;
        EXPECT_EQ(platform::fs::readAll(path + ".damaged-2"), "second damage") << c.file;
        // The next save wrote a new, readable file in its place.
        auto written = platform::fs::readAll(path);
        ASSERT_TRUE(written) << c.file;
        EXPECT_TRUE(GDataXMLDocument::initWithDataOptionsError(*written, 0, nullptr)) << c.file;
    }
}

TEST_F(SavedOrdersTest, ADeskIdTooLongForAFileNameNamesNoFile) {
    const std::string id(245, '7');  // "<id>.ATD" would fit, its temporary file would not
    NSServer::setNowDesk(desk(id, {orderLine(plain)}));
    NSServer::saveNowDesk();
    EXPECT_FALSE(NSServer::isSafeDeskFileName(id));
    EXPECT_TRUE(NSServer::isSafeDeskFileName(std::string(200, '7')));
    EXPECT_FALSE(platform::fs::exists(dataFile(id + ".ATD")));
}

}  // namespace
