#include <gtest/gtest.h>

#include "GData/GDataXML.h"
#include "model/NSDeskClass.h"
#include "model/NSDishClass.h"
#include "model/NSUserClass.h"

namespace {

struct L {
    float price;
    bool set = false, group = false, addOn = false;
    int type = 0, state = 1;
};

std::shared_ptr<NSDishClass> line(const L& l) {
    auto d = std::make_shared<NSDishClass>();
    d->m_strPrice = std::to_string(l.price);
    d->m_fQuantity = 1;
    d->m_bisSet = l.set;
    d->m_bisExp = l.group;
    d->m_bAddOn = l.addOn;
    d->m_iType = l.type;
    d->m_iState = l.state;
    return d;
}

TEST(OrderDesk, TotalsAndDishCountsFollowTheLineGroups) {
    const L head0{0, true, true}, head30{30, true, true};
    auto item = [](float p) { return L{p, false, true}; };
    struct Case {
        const char* what;
        std::vector<L> lines;
        float total;
        int count;
    } cases[] = {
        {"empty desk", {}, 0, 0},
        {"items priced after a free head", {head0, item(10), item(5), L{8}}, 23, 3},
        {"a priced head covers its items", {head30, item(10), item(5)}, 30, 2},
        {"a priced head does not end the run", {head0, item(10), head30, item(5)}, 45, 2},
        {"a plain line ends the run", {head0, item(10), L{8}, item(5)}, 18, 3},
        {"add-on items are covered by their dish", {L{20, true, true, true}, L{3, false, true, true}}, 20, 1},
        {"serving mode 7 is left out but counted", {head0, L{9, false, false, false, 7}, item(4)}, 4, 2},
        {"a void line is added but not counted", {L{6, false, false, false, 0, 4}, L{2}}, 8, 1},
        {"set and add-on without group counts", {L{5, true, false, true}}, 5, 0},
    };
    for (auto& c : cases) {
        NSDeskClass desk;
        for (auto& l : c.lines) desk.m_DishList.push_back(line(l));
        EXPECT_FLOAT_EQ(desk.GetAllDishPrice(), c.total) << c.what;
        EXPECT_EQ(desk.m_iCaipCount, c.count) << c.what;
    }
}

TEST(OrderDesk, ManualTotalWinsAndKeepsTheLastCount) {
    NSDeskClass desk;
    desk.m_DishList = {line({8}), line({4})};
    EXPECT_FLOAT_EQ(desk.GetAllDishPrice(), 12);
    desk.m_DishList.push_back(line({1}));
    desk.m_strAllDishPrice = 88;
    EXPECT_FLOAT_EQ(desk.GetAllDishPrice(), 88);
    EXPECT_EQ(desk.m_iCaipCount, 2);
    desk.m_strAllDishPrice = -1;
    EXPECT_FLOAT_EQ(desk.GetAllDishPrice(), 13);
    EXPECT_EQ(desk.m_iCaipCount, 3);
}

TEST(OrderDesk, SentLinesGoFirstAndRequestQuestions) {
    NSDeskClass desk;
    std::vector<std::shared_ptr<NSDishClass>> lines;
    for (int state : {101, 1, 101, 3}) {
        lines.push_back(line({1, false, false, false, 0, state}));
        desk.m_DishList.push_back(lines.back());
    }
    desk.OrderDish();
    EXPECT_EQ(desk.m_DishList, (std::vector<std::shared_ptr<NSDishClass>>{lines[1], lines[3], lines[0], lines[2]}));

    NSDeskClass pending;
    auto unsent = line({1, false, false, false, 0, 101});
    unsent->m_fQuantity = 0;
    pending.m_DishList = {unsent, line({1})};  // the second is sent
    EXPECT_FALSE(pending.HaveAddDish());
    EXPECT_FALSE(pending.HaveDelDish());
    unsent->m_fQuantity = -1;
    EXPECT_TRUE(pending.HaveDelDish());
    unsent->m_iState = 102;
    unsent->m_fQuantity = 2;
    EXPECT_TRUE(pending.HaveAddDish());

    unsent->m_bisChoose = true;
    EXPECT_EQ(pending.GetChooseQuantity(), 1);
    pending.clearAllChoose();
    EXPECT_EQ(pending.GetChooseQuantity(), 0);
}

TEST(OrderDesk, RemainingQuantityCountsOnlyLinesSharingTheDishIdText) {
    // Two sent lines of one dish from one reply share the document's text for their id.
    auto reply = GDataXMLDocument::initWithDataOptionsError(
        "<morvane><dish id=\"D1\"/><dish id=\"D1\"/></morvane>", 0, nullptr);
    ASSERT_TRUE(reply);
    auto elements = *reply->rootElement()->elementsForName("dish");
    auto sent = std::make_shared<NSDishClass>();
    sent->setM_strCaipID(elements[0]->attributeForName("id")->sharedStringValue());
    sent->m_fQuantity = 2;
    sent->m_iState = 1;
    auto sameReply = std::make_shared<NSDishClass>();
    sameReply->setM_strCaipID(elements[1]->attributeForName("id")->sharedStringValue());
    sameReply->m_fQuantity = 3;
    auto fromMenu = std::make_shared<NSDishClass>();
    fromMenu->setM_strCaipID(std::string("D1"));
    fromMenu->m_fQuantity = 5;
    auto returned = NSDishClass::initWithDish(*sent);
    returned->m_fQuantity = -2;

    NSDeskClass desk;
    desk.m_DishList = {sent, returned, fromMenu};
    EXPECT_FALSE(desk.HasDishRemain(*sent));
    EXPECT_FLOAT_EQ(desk.GetDelDishQty(*sent), 0);
    desk.m_DishList.push_back(sameReply);
    EXPECT_TRUE(desk.HasDishRemain(*sent));
    EXPECT_FLOAT_EQ(desk.GetDelDishQty(*returned), 3);

    // A return line copied from a sent line of 2, then a pending return of -1 from it.
    NSDeskClass other;
    other.m_DishList = {sent};
    auto pendingReturn = NSDishClass::initWithDish(*sent);
    EXPECT_FLOAT_EQ(other.GetDelDishQty(*pendingReturn), 2);
    pendingReturn->m_fQuantity = -1;
    other.m_DishList.push_back(pendingReturn);
    EXPECT_FLOAT_EQ(other.GetDelDishQty(*pendingReturn), 1);
    EXPECT_FALSE(other.HasDishRemain(*fromMenu));
}

TEST(OrderDesk, ResetCopyAndMergeOfDesks) {
    NSDeskClass desk;
    desk.m_strDeskID = "A1";
    desk.m_strDeskState = "6";
    desk.m_kongjmc = "大厅";
    desk.m_iClientNum = 4;
    desk.m_DishList = {line({1})};
    auto copy = NSDeskClass::initWithCopy(desk);
    EXPECT_EQ(copy->m_strDeskID, "A1");
    EXPECT_EQ(copy->m_DishList[0], desk.m_DishList[0]);  // the same line objects

    NSDeskClass target;
    target.m_strWaiterID = "W";
    auto sent = line({1});
    sent->m_strTime = "12:00";
    auto unsent = line({1, false, false, false, 0, 101});
    target.m_DishList = {sent, unsent};
    NSDeskClass merged;
    merged.Adddesk(target);
    ASSERT_EQ(merged.m_DishList.size(), 2u);
    EXPECT_EQ(sent->m_iState, 101);
    EXPECT_EQ(sent->m_strWaiterID, "W");
    EXPECT_EQ(sent->m_strTime, "");
    EXPECT_EQ(unsent->m_strWaiterID, "");

    desk.Init();
    EXPECT_EQ(desk.m_strDeskState, "1");
    EXPECT_EQ(desk.m_strDeskID, "");
    EXPECT_EQ(desk.m_iClientNum, 0);
    EXPECT_TRUE(desk.m_DishList.empty());
    EXPECT_EQ(desk.m_kongjmc, "大厅");  // the reset leaves the area name
}

TEST(OrderUser, LineNumbersCountOnlyOnceTheServerGaveTheCounter) {
    NSUserClass user;
    EXPECT_EQ(user.GetDishCount(), "-1");
    EXPECT_EQ(user.GetDishCount(), "-1");
    user.m_iDishCount = 57;
    EXPECT_EQ(user.GetDishCount(), "57");
    EXPECT_EQ(user.GetDishCount(), "58");
    user.CheckDishUid("70");
    EXPECT_EQ(user.m_iDishCount, 71);
    user.CheckDishUid("3");
    EXPECT_EQ(user.m_iDishCount, 71);
    user.m_strLostDishList = "x";
    auto copy = NSUserClass::initWithUser(user);
    EXPECT_EQ(copy->m_iDishCount, 71);
    EXPECT_EQ(copy->m_strLostDishList, "");
}

}  // namespace
