#include <gtest/gtest.h>

#include "core/NSServer.h"
#include "model/NSCaipDBClass.h"
#include "model/NSDishClass.h"

namespace {

// A menu with tastes 1, 2 and 12 and cooking methods 7 and 15, and alternative units for dish
// "D1" and another dish.
class OrderLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSServer::resetForTesting();
        db = std::make_shared<NSCaipDBClass>();
        addKouw("1", "辣", false);
        addKouw("2", "甜", false);
        addKouw("12", "咸", false);
        addKouw("7", "蒸", true);
        addKouw("15", "炒", true);
        db->m_Units->AddItem("D1", "半份", "6");
        db->m_Units->AddItem("D9", "大份", "30");
        db->m_Units->AddItem("D1", "大份", "18");
        NSServer::setCaipDB(db);
    }
    void TearDown() override { NSServer::resetForTesting(); }

    void addKouw(const std::string& id, const std::string& name, bool zuof) {
        auto k = std::make_shared<NSKouwClass>();
        k->m_strKouwid = id;
        k->m_strKouw = name;
        k->m_bZuof = zuof;
        db->m_KwzfArray.push_back(k);
    }

    static std::shared_ptr<NSCaipClass> dish(const std::string& id, bool custom = false) {
        auto d = std::make_shared<NSCaipClass>();
        d->Clear();
        d->setM_strID(id);
        d->m_strName = "鱼";
        d->m_strDanw = "份";
        d->m_strPrice = "12";
        d->m_iPrice = 0;
        d->m_iMultizuof = 0;
        d->setFlags(NSCaipClass::kFlagSet | NSCaipClass::kFlagVarQty | NSCaipClass::kFlagMustZuof |
                    (custom ? NSCaipClass::kFlagCustom : 0));
        d->m_strZuofID = "7,15,";
        d->m_strZfjiag = "2;0,3;1";
        d->m_strCost = "5";
        return d;
    }

    std::shared_ptr<NSCaipDBClass> db;
};

TEST_F(OrderLineTest, FreshLineAndReleaseKeepTheKeptFields) {
    NSDishClass line;
    EXPECT_EQ(line.m_iState, 101);
    EXPECT_EQ(line.m_iPrice, -1);
    EXPECT_EQ(line.m_iMultizuof, 1);
    EXPECT_EQ(line.m_parentpos, -1);
    EXPECT_EQ(line.GetPrice(), 0.0f);
    EXPECT_EQ(line.caipID(), "");

    line.CopyCaip(dish("D1"));
    line.m_fQuantity = 3;
    line.m_fQuantity2 = 2;
    line.m_strZuofShul = "1,";
    line.m_strUserName = "王";
    line.m_bisChoose = true;
    line.m_iState = 1;
    line.m_ExDishs.push_back(std::make_shared<NSDishClass>());
    line.Release();
    EXPECT_EQ(line.caipID(), "");
    EXPECT_EQ(line.m_fQuantity, 0.0f);
    EXPECT_EQ(line.m_iState, 101);
    EXPECT_FALSE(line.m_bisSet);
    EXPECT_TRUE(line.m_ExDishs.empty() && line.m_muNameArray.empty() && line.m_muPriceArray.empty());
    // Kept: second quantity, add-on and digits flags, estimate, method quantities, operator name,
    // menu link and choice flag.
    EXPECT_EQ(line.m_fQuantity2, 2.0f);
    EXPECT_EQ(line.m_iVarQty, 4);
    EXPECT_EQ(line.m_strZuofShul, "1,");
    EXPECT_EQ(line.m_strUserName, "王");
    EXPECT_TRUE(line.pCaip);
    EXPECT_TRUE(line.m_bisChoose);
}

TEST_F(OrderLineTest, PriceIsUnitPriceTimesQuantityPlusWholeLineSurcharges) {
    struct Case { const char* price; float qty, s2, s3, expected; } cases[] = {
        {"", 4, 2, 3, 5},           // no unit price: only the surcharges
        {"12", 2, 1, 0.5f, 25.5f},
        {"12", -1, 1, 0.5f, -10.5f},  // a return keeps its surcharges positive
        {"12.5元", 2, 0, 0, 25},     // the leading number of the text
        {"abc", 3, 0, 1, 1},
    };
    for (auto& c : cases) {
        NSDishClass line;
        line.m_strPrice = c.price;
        line.m_fQuantity = c.qty;
        line.m_fPrice2 = c.s2;
        line.m_fPrice3 = c.s3;
        EXPECT_FLOAT_EQ(line.GetPrice(), c.expected) << c.price << " x " << c.qty;
    }
}

TEST_F(OrderLineTest, TasteListBuildingAndItsTextForms) {
    NSDishClass line;
    line.AddKouwID("3,,5,3");
    line.AddKouwID("5,6");
    EXPECT_EQ(line.GetKouwIDString(), "3,5,6");
    EXPECT_TRUE(line.FindKouwID("5"));
    EXPECT_FALSE(line.FindKouwID("35"));
    line.AddKouwID("");
    EXPECT_EQ(line.m_KouwArray.size(), 3u);

    line.GetKouwIDFromstrID("3,,3,");
    EXPECT_EQ(line.m_KouwArray, (std::vector<std::string>{"3", "3"}));
    line.GetKouwIDFromstrID("");
    EXPECT_TRUE(line.m_KouwArray.empty());
    EXPECT_EQ(line.GetKouwIDString(), "");

    // Names by id, free text as it stands; the free text alone is the requirement.
    line.GetKouwIDFromstrID("1,少油,15,7");
    EXPECT_EQ(line.CreateKouwString(), "辣,少油,炒,蒸");
    EXPECT_EQ(line.m_strKouw, "辣,少油,炒,蒸");
    EXPECT_EQ(line.GetKouwDefine(), "少油");

    line.AddKouwIDFromString("甜,不要葱");
    EXPECT_EQ(line.m_KouwArray, (std::vector<std::string>{"2", "不要葱"}));
}

TEST_F(OrderLineTest, CookingMethodQuantitiesFollowTheirNames) {
    NSDishClass line;
    line.m_strZuofID = "7,15,7,";
    line.m_strZuofShul = "2,,3";
    line.GetKouwIDFromstrID("7,1,15");
    // 7 stands twice in the method list: both quantities follow it; 15 has an empty quantity.
    EXPECT_EQ(line.GetKouwShulString(), "蒸×2×3,辣,炒");
    line.m_strZuofShul = "";
    EXPECT_EQ(line.GetKouwShulString(), "蒸,辣,炒");
}

TEST_F(OrderLineTest, RemovingTastesMatchesKnownIdsByWholePart) {
    struct Case { const char* start; const char* remove; const char* left; } cases[] = {
        {"1,2,12,3", "12,", "1,2,3"},   // 1 and 2 are known ids, not parts of "12,"
        {"1,2,12,3", "1,", "2,12,3"},
        {"1,少油,12", "少油", "1,12"},   // free text goes when the text contains it
        {"1,油", "少油,", "1"},          // ... also as part of a longer entry
        {"3,5", "3", "5"},              // unknown ids are free text: contained is enough
        {"33,3", "33,", ""},
        {"1,2", "", "1,2"},
    };
    for (auto& c : cases) {
        NSDishClass line;
        line.GetKouwIDFromstrID(c.start);
        EXPECT_TRUE(line.DelKouwID(c.remove));
        EXPECT_EQ(line.GetKouwIDString(), c.left) << c.start << " less " << c.remove;
    }
}

TEST_F(OrderLineTest, MadeFromAMenuDishWithItsUnits) {
    auto d = dish("D1");
    NSDishClass line;
    line.m_fQuantity = 2;
    line.m_strKouw = "old";
    line.AddKouwID("1");
    line.m_fPrice3 = 4;
    line.CopyCaip(d);
    EXPECT_EQ(line.m_strCaipID, d->m_strID);  // the record's own text object
    EXPECT_EQ(line.m_strCaipName, "鱼");
    EXPECT_EQ(line.m_strUnits, "份");
    EXPECT_EQ(line.m_iPrice, 0);
    EXPECT_EQ(line.m_iMultizuof, 0);
    EXPECT_NE(line.m_iMustzuof, 0);
    EXPECT_TRUE(line.m_bisSet);
    EXPECT_EQ(line.m_iVarQty, 4);
    EXPECT_EQ(line.m_strZuofID, "7,15,");
    EXPECT_EQ(line.m_strCost, "5");
    EXPECT_TRUE(line.m_KouwArray.empty());
    EXPECT_EQ(line.m_strKouw, "old");
    EXPECT_EQ(line.m_fPrice3, 0.0f);
    EXPECT_EQ(line.m_fQuantity, 2.0f);
    EXPECT_EQ(line.m_muNameArray, (std::vector<std::string>{"份", "半份", "大份"}));
    EXPECT_EQ(line.m_muPriceArray, (std::vector<std::string>{"12", "6", "18"}));

    NSDishClass custom;
    custom.CopyCaip(dish("C1", true));
    EXPECT_EQ(custom.m_muNameArray, (std::vector<std::string>{"份", "半份", "大份", "大份"}));
    EXPECT_EQ(custom.m_muPriceArray, (std::vector<std::string>{"12", "", "", ""}));

    NSDishClass untouched;
    untouched.CopyCaip(nullptr);
    EXPECT_EQ(untouched.caipID(), "");
}

TEST_F(OrderLineTest, CopiesShareTheDishIdAndOwnTheirLists) {
    auto source = std::make_shared<NSDishClass>();
    source->CopyCaip(dish("D1"));
    source->m_fQuantity = 2;
    source->m_struid = "-1";
    source->m_iState = 1;
    source->m_parentpos = 3;
    source->m_bisChoose = true;
    source->AddKouwID("1,2");
    auto item = std::make_shared<NSDishClass>();
    item->setM_strCaipID(std::string("I1"));
    source->m_ExDishs.push_back(item);

    auto copy = NSDishClass::initWithDish(*source);
    EXPECT_TRUE(copy->sharesCaipID(*source));
    EXPECT_TRUE(copy->isEqual(*source));
    EXPECT_EQ(copy->m_iState, 1);
    EXPECT_EQ(copy->m_parentpos, 3);
    EXPECT_EQ(copy->pCaip, source->pCaip);
    EXPECT_FALSE(copy->m_bisChoose);
    EXPECT_EQ(copy->m_muNameArray, source->m_muNameArray);
    ASSERT_EQ(copy->m_ExDishs.size(), 1u);
    EXPECT_NE(copy->m_ExDishs[0], item);
    EXPECT_TRUE(copy->m_ExDishs[0]->sharesCaipID(*item));
    copy->AddKouwID("12");
    EXPECT_EQ(source->GetKouwIDString(), "1,2");

    // Copying onto a line that holds items appends the copies after them.
    copy->CopyDish(source.get());
    EXPECT_EQ(copy->m_ExDishs.size(), 2u);
    copy->CopyDish(nullptr);
    EXPECT_EQ(copy->m_ExDishs.size(), 2u);

    // Equal characters from elsewhere: equal lines, but no shared dish id.
    NSDishClass typed;
    typed.setM_strCaipID(std::string("D1"));
    typed.m_struid = "-1";
    EXPECT_TRUE(typed.isEqual(*source));
    EXPECT_FALSE(typed.sharesCaipID(*source));
}

}  // namespace

TEST(OrderGroups, PositionsFollowTheOrderOfTheLines) {
    // kind: H head, I item, A add-on, E add-on with the group flag (as a refresh lists it),
    // P plain line; positions start stale (99).
    struct Case {
        const char* kinds;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"HIIP", {0, 0, 0, 3}},
        {"PIHI", {0, -1, 2, 2}},  // an item without a head before it names none
        {"HIPI", {0, 0, 2, -1}},  // a plain line ends the group
        {"PAHAIA", {0, 0, 2, 2, 2, 2}},  // an add-on belongs to the head or plain line before it
        {"AP", {0, 1}},  // nothing before it: an add-on stands alone
        {"HIPEEI", {0, 0, 2, 2, 2, -1}},  // a plain line's add-ons stay with it, an item does not
        {"HIEPE", {0, 0, 0, 3, 3}},
    };
    for (const auto& c : cases) {
        NSDishList lines;
        for (const char* k = c.kinds; *k; ++k) {
            auto line = std::make_shared<NSDishClass>();
            line->m_bisSet = *k == 'H';
            line->m_bisExp = *k == 'H' || *k == 'I' || *k == 'E';
            line->m_bAddOn = *k == 'A' || *k == 'E';
            line->m_parentpos = 99;
            lines.push_back(line);
        }
        renumberGroups(lines);
        std::vector<int> got;
        for (const auto& line : lines) got.push_back(line->m_parentpos);
        EXPECT_EQ(got, c.positions) << c.kinds;
    }
}
