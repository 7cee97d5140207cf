// The order list's local line operations: delete into the rubbish bin and restore, delete all,
// serving mode of all lines, copy and paste between desks, whole-desk tastes, the row's delete and
// the swipe, modify.

#include "OrderListFixture.h"

namespace {

class LineOps : public OrderListFixture {
protected:
    std::vector<std::shared_ptr<NSDishClass>> bin() { return *NSServer::getRubbishs(); }
};

TEST_F(LineOps, DeletingAChosenSetMealTakesItsItemsToTheBinAndRestoreAppendsThem) {
    openDesk();
    auto first = line(0);
    auto group = setMeal(3, {4, 5}, true);
    auto head = group[0], item1 = group[1], item2 = group[2];
    auto sentChosen = line(1, 1, true);
    sentChosen->m_iState = 1;
    lines() = {first, head, item1, item2, sentChosen};
    head->m_parentpos = item1->m_parentpos = item2->m_parentpos = 1;
    showDesk();

    tap("删除");
    EXPECT_EQ(alertMessage(), "确定删除选中的未下单菜品吗？");
    tap("确定");
    EXPECT_EQ(bin(), (std::vector<std::shared_ptr<NSDishClass>>{head, item1, item2}));
    EXPECT_EQ(lines(), (std::vector<std::shared_ptr<NSDishClass>>{first, sentChosen}));
    EXPECT_TRUE(sentChosen->m_bisChoose) << "a sent line stays, chosen";
    EXPECT_EQ(sentChosen->m_parentpos, 1);

    menu("还原删除");
    EXPECT_TRUE(bin().empty());
    ASSERT_EQ(lines().size(), 5u);
    EXPECT_EQ(lines()[2], head);
    EXPECT_EQ(head->m_parentpos, 2);
    EXPECT_EQ(item2->m_parentpos, 2) << "the items follow their head to its new place";

    // Two deletes, then a restore: only the second comes back.
    for (auto& l : lines()) l->m_bisChoose = false;
    first->m_bisChoose = true;
    list->delDishs(std::string(UIDishLViewController::kNoAlert));
    lines()[1]->m_bisChoose = true;  // the restored head
    list->delDishs(std::string(UIDishLViewController::kNoAlert));
    EXPECT_EQ(bin().size(), 3u);
    menu("还原删除");
    EXPECT_EQ(std::count(lines().begin(), lines().end(), first), 0);
}

TEST_F(LineOps, DeleteAllTakesTheTrailingUnsentLinesForGood) {
    openDesk();
    auto early = line(0);
    auto sent = line(1);
    sent->m_iState = 1;
    auto late1 = line(2);
    auto late2 = line(3);
    lines() = {early, sent, late1, late2};
    NSServer::getRubbishs()->push_back(line(4));
    showDesk();
    menu("全部删除");
    EXPECT_EQ(alertMessage(), "确定删除全部未下单的菜品吗？");
    tap("确定");
    EXPECT_EQ(lines(), (std::vector<std::shared_ptr<NSDishClass>>{early, sent}));
    EXPECT_TRUE(bin().empty());
}

TEST_F(LineOps, FireAndHoldSetTheModeOfUnsentLinesWithAQuantity) {
    openDesk();
    auto unsent = line(0);
    auto back = line(1, -1);
    back->m_iType = 4;
    auto sent = line(2);
    sent->m_iState = 1;
    lines() = {unsent, back, sent};
    showDesk();
    menu("全部叫起");
    tap("确定");
    EXPECT_EQ(unsent->m_iType, 1);
    EXPECT_EQ(back->m_iType, 4);
    EXPECT_EQ(sent->m_iType, 0);
    menu("全部即起");
    tap("确定");
    EXPECT_EQ(unsent->m_iType, 0);
}

TEST_F(LineOps, PasteAddsCopiesAsUnsentLinesOfTheWaiterAndRefusesTheSameDesk) {
    auto from = openDesk(0);
    auto sent = line(0, 2);
    sent->m_iState = 1;
    sent->m_strWaiterID = "0009";
    sent->m_strTime = "12:30:00";
    auto zero = line(1, 0);
    auto unsent = line(2);
    lines() = {sent, zero, unsent};
    showDesk();
    menu("复制菜单");
    EXPECT_EQ(NSServer::getCopyDeskId(), from->m_strDeskID);
    EXPECT_EQ(NSServer::getCaipCopys()->size(), 2u) << "lines of quantity 0 are not copied";
    menu("黏贴菜单");
    EXPECT_EQ(alertMessage(), "不能粘贴到复制菜单的原桌台");
    tap("确定");

    auto to = openDesk(1);
    showDesk();
    menu("黏贴菜单");
    EXPECT_EQ(alertMessage(), "确定将复制的菜品粘贴到" + deskName(1) + "吗？共2个");
    tap("确定");
    ASSERT_EQ(to->m_DishList.size(), 2u);
    auto pasted = to->m_DishList[0];
    EXPECT_NE(pasted, sent) << "a copy, not the other desk's line";
    EXPECT_EQ(pasted->m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(pasted->m_strWaiterID, "0001");
    EXPECT_EQ(pasted->m_strTime, "");
    EXPECT_FLOAT_EQ(pasted->m_fQuantity, 2);
    EXPECT_EQ(sent->m_iState, 1) << "the desk copied from keeps its line as it was";
    EXPECT_TRUE(NSServer::getCaipCopys()->empty());
    // Saved with the desk it was pasted into.
    EXPECT_EQ(savedLines(to->m_strDeskID).size(), 2u);
}

TEST_F(LineOps, ALineFromAnotherBillIsPastedAtItsMenuPriceOrItsTypedPriceWithoutItsGift) {
    auto desk = openDesk(0);
    // A plain dish, a dish in a further unit with a price of its own, and a dish sold by the
    // portion ordered large: each at the price the menu asks for it.
    const auto& menuDishes = NSServer::getCaipDB()->m_CaipArray;
    auto firstWhere = [&](auto wanted) {
        for (std::size_t i = 0; i < menuDishes.size(); ++i)
            if (wanted(menuDishes[i])) return i;
        ADD_FAILURE() << "no such dish in the menu";
        return std::size_t{0};
    };
    using Dish = std::shared_ptr<NSCaipClass>;
    auto plain = line(firstWhere([](const Dish& d) { return d->m_strDanw == "份"; }), 2);
    auto half = line(firstWhere([](const Dish& d) {
        NSDishClass probe;
        probe.CopyCaip(d);
        return probe.m_muNameArray.size() > 1;
    }));
    half->m_strUnits = half->m_muNameArray.at(1);
    half->m_strPrice = half->m_muPriceArray.at(1);
    auto large = line(firstWhere([](const Dish& d) { return d->m_strDanw == "例"; }));
    large->m_strUnits = "大";
    large->m_strPrice = platform::fmt("%g", platform::leadingDouble(large->m_strPrice) * NSServer::getFBIGSTYLE());
    // A dish the menu prices at ordering (a market price): a line at the price the waiter typed
    // keeps it, since the menu does not know it; one given free has no typed price left and
    // takes the menu's like the others.
    const std::size_t marketIndex = firstWhere([&](const Dish& d) {
        return d->m_strDanw == "份" && !d->m_bisSet && d->strID() != plain->caipID();
    });
    NSCaipClass& marketDish = *menuDishes[marketIndex];
    marketDish.m_iPrice = 1;
    auto typedLine = [&](const char* price) {
        auto l = line(marketIndex);
        l->m_strPrice = price;
        return l;
    };
    auto market = typedLine("123.5");
    auto marketGift = typedLine("77");
    ASSERT_NE(marketDish.m_strPrice, "123.5");
    const std::vector<std::string> ordered{plain->m_strPrice, half->m_strPrice, large->m_strPrice, "123.5",
                                           marketDish.m_strPrice};
    lines() = {plain, half, large, market, marketGift};
    ASSERT_TRUE(sendAll());

    // Every line but the market-price one given free, and the desk read again as a waiter
    // opening it finds it.
    ASSERT_EQ(lines().size(), 5u);
    for (std::size_t i = 0; i < lines().size(); ++i) lines()[i]->m_bisChoose = i != 3;
    showDesk();
    tap("赠送");
    pick("原因2");
    ASSERT_EQ(alertMessage(), "赠菜成功");
    tap("确定");
    ASSERT_TRUE(NSServer().XDeskDetail(*desk));
    ASSERT_EQ(lines().size(), 5u);
    for (std::size_t i = 0; i < lines().size(); ++i) {
        const auto& l = lines()[i];
        ASSERT_EQ(l->m_strPrice, i == 3 ? "123.5" : "0") << i;
        ASSERT_EQ(l->m_strRemark, i == 3 ? "" : "02") << "the gift's reason";
        if (i >= 3) ASSERT_EQ(l->m_iPrice, 1) << "the menu's mark";
    }
    showDesk();

    menu("复制菜单");
    menu("新建离线");
    menu("黏贴菜单");
    tap("确定");
    auto offline = NSServer::getNowDesk();
    ASSERT_NE(offline, desk);
    ASSERT_EQ(offline->m_DishList.size(), 5u);
    float total = 0;
    for (std::size_t i = 0; i < offline->m_DishList.size(); ++i) {
        const auto& pasted = offline->m_DishList[i];
        EXPECT_EQ(pasted->m_iState, NSDishClass::kUnsent);
        EXPECT_EQ(pasted->m_strPrice, ordered[i]) << i << " " << pasted->m_strUnits;
        EXPECT_EQ(pasted->m_strRemark, "") << i;
        EXPECT_TRUE(rowShowsAmount(static_cast<int>(i), pasted->GetPrice()));
        total += pasted->GetPrice();
    }
    EXPECT_GT(total, 0);
    EXPECT_EQ(list->lb_money->text(), platform::fmt("%g", total));
    EXPECT_EQ(desk->m_DishList[0]->m_strPrice, "0") << "the bill copied from keeps its gift";
}

TEST_F(LineOps, WholeDeskTastesReplaceTheSharedOnesOnUnsentLines) {
    openDesk();
    auto tree = NSServer::getCaipDB()->m_kouws;
    ASSERT_GE(tree->m_length, 4);
    const std::string shared = tree->m_code[1], added = tree->m_code[2];
    auto a = line(0);
    auto b = line(1);
    auto sent = line(2);
    sent->m_iState = 1;
    for (auto& l : {a, b, sent}) l->AddKouwID(shared + ",");
    a->AddKouwID("少辣,");
    lines() = {a, b, sent};
    showDesk();
    menu("整桌要求");
    ASSERT_TRUE(list->selectViewController);
    EXPECT_EQ(list->m_allKouws->size(), 1u);
    EXPECT_EQ(tree->m_uint[1], 1) << "the taste every line has starts marked";
    tree->m_uint[1] = 0;  // the waiter takes it off and marks another
    tree->m_uint[2] = 1;
    list->selectViewController->m_writeText = " ";  // one space clears the free text
    pickerOk();
    EXPECT_EQ(a->m_KouwArray, std::vector<std::string>{added});
    EXPECT_EQ(b->m_KouwArray, std::vector<std::string>{added});
    EXPECT_EQ(sent->m_KouwArray, std::vector<std::string>{shared}) << "sent lines keep their tastes";
    advance(0.3);
    EXPECT_FALSE(list->selectViewController);
    EXPECT_FALSE(list->m_allKouws);
}

TEST_F(LineOps, TheRowDeleteAsksForAnUnsentLineAndASwipedSentLineNeedsALogin) {
    openDesk();
    auto unsent = line(0);
    auto sent = line(1);
    sent->m_iState = 1;
    lines() = {unsent, sent};
    showDesk();
    tapRow(0, Row::Delete);
    EXPECT_EQ(alertMessage(), "确定删除" + unsent->m_strCaipName + "吗？");
    tap("确定");
    EXPECT_EQ(lines(), std::vector<std::shared_ptr<NSDishClass>>{sent});

    NSServer::setIsWaiterUser(false);
    showDesk();
    ASSERT_TRUE(list->m_dishTable()->swipeToDelete({0, 0}));
    tap("删除此菜");
    EXPECT_TRUE(root->loginViewController) << "a sent line's return needs a waiter";
    EXPECT_TRUE(sent->m_bisChoose);
    EXPECT_EQ(lines().size(), 1u);
}

TEST_F(LineOps, ModifyHandsAnUnsentLineToTheEditorAndRefusesASentOne) {
    openDesk();
    auto sent = line(0);
    sent->m_iState = 1;
    lines() = {sent, line(1)};
    showDesk();
    tapRow(1, Row::Modify);
    EXPECT_TRUE(root->quickCaipViewController);
    root->quickCaipBack();
    advance(0.5);
    list->modifyCaip(0);
    EXPECT_EQ(alertMessage(), "不能修改已下单的菜。");
    list->modifyCaip(7);  // beyond the list: nothing
}

}  // namespace
