#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/NSCaipClass.h"
#include "model/NSCaipDBClass.h"
#include "model/NSCplbTreeClass.h"

namespace {

std::shared_ptr<NSCplbTreeClass> node(const std::string& id, const std::string& parent) {
    auto n = std::make_shared<NSCplbTreeClass>();
    n->cplb = std::make_shared<NSCplbClass>();
    n->cplb->m_strUid = id;
    n->cplb->m_strCtparentid = parent;
    return n;
}

// "A[B,C] D[E]": top-level ids with their second-level ids.
std::string shape(const NSCplbTreeList& trees) {
    std::string out;
    for (auto& t : trees) {
        if (!out.empty()) out += " ";
        out += t->cplb->m_strUid;
        if (t->subCplbTrees.empty()) continue;
        out += "[";
        for (size_t i = 0; i < t->subCplbTrees.size(); ++i)
            out += (i ? "," : "") + t->subCplbTrees[i]->cplb->m_strUid;
        out += "]";
    }
    return out;
}

struct Built {
    NSCplbTreeList trees;
    bool oneLevel;
};

Built buildTree(const std::vector<std::pair<std::string, std::string>>& categories) {
    auto db = std::make_shared<NSCaipDBClass>();
    db->isOneLevel = true;
    Built b;
    NSCplbTreeClass::beginCplbTreeBuild(db);
    for (auto& [id, parent] : categories) NSCplbTreeClass::addCplbTreeToCplbTrees(node(id, parent), b.trees);
    b.oneLevel = db->isOneLevel;
    return b;
}

TEST(CategoryTree, PlacesEachCategoryByItsParent) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> categories;
        const char* shape;
        bool oneLevel;
    } cases[] = {
        {"two levels", {{"A", "A"}, {"B", "A"}, {"C", "A"}, {"D", "D"}, {"E", "D"}}, "A[B,C] D[E]", false},
        {"child of a second-level node takes its place", {{"A", "A"}, {"B", "A"}, {"C", "B"}}, "A[C]", false},
        {"unknown parent goes under the last top level", {{"A", "A"}, {"D", "D"}, {"X", "nope"}}, "A D[X]", false},
        {"before any top level: nowhere", {{"X", "A"}, {"A", "A"}}, "A", false},
        {"top levels only", {{"A", "A"}, {"B", "B"}}, "A B", true},
    };
    for (auto& c : cases) {
        Built b = buildTree(c.categories);
        EXPECT_EQ(shape(b.trees), c.shape) << c.what;
        EXPECT_EQ(b.oneLevel, c.oneLevel) << c.what;
    }
}

TEST(CategoryTree, DishesLandInTheirOwnNodeAndNodesAreFoundAtBothLevels) {
    Built b = buildTree({{"A", "A"}, {"B", "A"}, {"D", "D"}});
    auto dish = [](const std::string& category) {
        auto c = std::make_shared<NSCaipClass>();
        c->Clear();
        c->m_strCategory = category;
        return c;
    };
    auto inB = dish("B"), inA = dish("A"), nowhere = dish("Z");
    for (auto& d : {inB, inA, nowhere}) NSCplbTreeClass::addCaipToCplbTrees(d, b.trees);

    auto a = NSCplbTreeClass::getCplbTreeFromCplbTrees("A", b.trees);
    auto sub = NSCplbTreeClass::getCplbTreeFromCplbTrees("B", b.trees);
    ASSERT_TRUE(a && sub);
    EXPECT_EQ(a->caips, NSCaipList{inA});
    EXPECT_EQ(sub->caips, NSCaipList{inB});
    EXPECT_EQ(sub->superCplbTree.lock(), a);
    EXPECT_TRUE(NSCplbTreeClass::getCplbTreeFromCplbTrees("D", b.trees)->caips.empty());
    EXPECT_EQ(NSCplbTreeClass::getCplbTreeFromCplbTrees("Z", b.trees), nullptr);
}

TEST(Dish, FlagFieldSetsEachFlagFromItsBit) {
    struct Case {
        int flags;
        bool set, custom, varQty;
        int must;
        bool digits, rebate, addOn;
    } cases[] = {
        {129, true, false, false, 0, false, false, true},
        {8, false, false, false, 8, false, false, false},
        {0x02 | 0x04 | 0x20 | 0x40, false, true, true, 0, true, true, false},
        {0x10, false, false, false, 0, false, false, false},
    };
    for (auto& c : cases) {
        NSCaipClass d;
        d.setFlags(c.flags);
        EXPECT_EQ(d.m_bisSet, c.set) << c.flags;
        EXPECT_EQ(d.m_bCustom, c.custom) << c.flags;
        EXPECT_EQ(d.m_bVarQty, c.varQty) << c.flags;
        EXPECT_EQ(d.m_iMustzuof, c.must) << c.flags;
        EXPECT_EQ(d.m_Digits, c.digits) << c.flags;
        EXPECT_EQ(d.m_bRebate, c.rebate) << c.flags;
        EXPECT_EQ(d.m_bAddOn, c.addOn) << c.flags;
    }
}

TEST(Dish, ClearKeepsTheFieldsOrderingDoesNotReset) {
    NSCaipClass d;
    d.setM_strID("7");
    d.m_strCode = "c";
    d.m_strName = "n";
    d.m_strName2 = "n2";
    d.m_strName3 = "n3";
    d.m_strCost = "1";
    d.m_strMLL = "2";
    d.m_strPic = "p";
    d.setFlags(0xff);
    auto oldID = d.m_strID;
    d.Clear();
    EXPECT_EQ(d.strID(), "");
    EXPECT_EQ(*oldID, "7");  // the old id text object is not changed under those who share it
    EXPECT_EQ(d.m_strName, "");
    EXPECT_EQ(d.m_strPic, "");
    EXPECT_EQ(d.m_iPrice, -1);
    EXPECT_EQ(d.m_iMultizuof, 1);
    EXPECT_EQ(d.m_iMustzuof, 0);
    EXPECT_FALSE(d.m_bisSet || d.m_bCustom || d.m_bVarQty);
    EXPECT_EQ(d.m_strCode + d.m_strName2 + d.m_strName3 + d.m_strCost + d.m_strMLL, "cn2n312");
    EXPECT_TRUE(d.m_Digits && d.m_bRebate && d.m_bAddOn);
}

}  // namespace
