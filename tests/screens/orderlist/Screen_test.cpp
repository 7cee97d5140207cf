// The order list as a waiter reads and touches it: the header figures, the rows with their line
// codes, choosing, the serving-mode cycle, the detail popup, the waiter-mode button, the overlay
// guard and the function menu; and one look at the drawn rows.

#include <cairo.h>

#include "OrderListFixture.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Button.h"
#include "core/NSLangueManager.h"
#include "screens/kit/UIShowXViewController.h"

namespace {

class Screen : public OrderListFixture {
protected:
    std::string text(const std::shared_ptr<ui::Label>& label) { return label ? label->text() : "(none)"; }
};

TEST_F(Screen, TheHeaderShowsTheDeskItsGuestsTheTotalAndTheDishCount) {
    showDesk();
    EXPECT_EQ(text(list->lb_money), "0");
    EXPECT_EQ(text(list->lb_quality), "0");
    auto desk = openDesk(0, 4);
    auto a = line(0, 2);
    auto b = line(1, 1);
    lines() = {a, b};
    showDesk();
    EXPECT_EQ(list->bt_desk->currentTitle(), "桌台:" + deskName(0));
    EXPECT_EQ(list->bt_rens->currentTitle(), "人数:4");
    EXPECT_EQ(text(list->lb_money), platform::fmt("%g", a->GetPrice() + b->GetPrice()));
    EXPECT_EQ(text(list->lb_quality), "2");
    EXPECT_EQ(text(list->lb_user), "0001");
    NSServer::setIsShowTitleMoney(false);
    showDesk();
    EXPECT_EQ(text(list->lb_money), "------");
}

TEST_F(Screen, RowsShowNumbersGroupsStatesAndEstimatedQuantities) {
    openDesk();
    auto group = setMeal(3, {4});
    auto head = group[0], item = group[1];
    auto weighed = line(0, 2.5);
    weighed->m_iVarQty = 1;
    weighed->m_iState = 1;
    weighed->m_strUnits = "斤";
    auto voided = line(1);
    voided->m_iState = NSDishClass::kVoid;
    auto unsentWeighed = line(2, 1.5);
    unsentWeighed->m_iVarQty = 1;
    lines() = {head, item, weighed, voided, unsentWeighed};
    showDesk();

    EXPECT_TRUE(rowText(0).starts_with("1|" + head->m_strCaipName)) << rowText(0);
    EXPECT_TRUE(rowText(1).starts_with("--|")) << "an item has no number of its own";
    EXPECT_TRUE(rowText(2).starts_with("3|")) << "numbering counts the items too";
    EXPECT_NE(rowText(2).find("|约2.5斤|"), std::string::npos) << rowText(2);
    EXPECT_TRUE(rowText(2).ends_with("已下单"));
    EXPECT_TRUE(rowText(3).ends_with("已退菜"));
    EXPECT_TRUE(rowText(4).ends_with("未下单"));
    // The weigh button sits on sent estimated lines only; modify on unsent ones only.
    EXPECT_TRUE(list->rowButton(2, Row::Weigh));
    EXPECT_FALSE(list->rowButton(4, Row::Weigh));
    EXPECT_FALSE(list->rowButton(2, Row::Modify));
    EXPECT_TRUE(list->rowButton(4, Row::Modify));
    // A voided line is drawn red but for its number.
    auto cell = list->m_dishTable()->cellForRow({0, 3});
    int red = 0;
    for (auto& v : cell->contentView()->subviews())
        if (auto* label = dynamic_cast<ui::Label*>(v.get()); label && label->textColor() == ui::Color::redColor()) ++red;
    EXPECT_EQ(red, 4) << "name, quantity, price and state";
}

TEST_F(Screen, TapsChooseRowsAndCycleTheServingModeOfUnsentLinesOnly) {
    openDesk();
    auto unsent = line(0);
    auto kept = line(1);
    kept->m_iType = 3;
    auto sent = line(2);
    sent->m_iState = 1;
    lines() = {unsent, kept, sent};
    showDesk();
    std::vector<int> modes;
    for (int i = 0; i < 4; ++i) {
        tapRow(0, Row::ServingMode);
        modes.push_back(lines()[0]->m_iType);
    }
    EXPECT_EQ(modes, (std::vector<int>{1, 4, 0, 1}));
    tapRow(1, Row::ServingMode);
    tapRow(2, Row::ServingMode);
    EXPECT_EQ(kept->m_iType, 3);
    EXPECT_EQ(sent->m_iType, 0);
    // The mode is saved with the desk.
    auto saved = savedLines(NSServer::getNowDesk()->m_strDeskID);
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0]->m_iType, 1);

    tapRow(2, Row::Choose);
    EXPECT_TRUE(sent->m_bisChoose);
    EXPECT_EQ(list->sendIndex(), 2);
    tapRow(2, Row::Choose);
    EXPECT_FALSE(sent->m_bisChoose);
}

TEST_F(Screen, AnOpenDialogOrPopupIsOnlyClosedByTheNextTap) {
    openDesk();
    lines() = {line(0), line(1)};
    lines()[0]->m_strWaiterName = "张三";
    showDesk();
    list->showCaipX(0);
    ASSERT_TRUE(list->showXViewController);
    EXPECT_NE(list->showXViewController->label1()->text().find("张三"), std::string::npos);
    tapRow(1, Row::Choose);
    EXPECT_FALSE(lines()[1]->m_bisChoose) << "the tap only closed the popup";
    advance(0.3);
    EXPECT_FALSE(list->showXViewController);

    // Left alone, the popup closes by itself after three seconds.
    list->showCaipX(1);
    advance(2.9);
    EXPECT_TRUE(list->showXViewController);
    advance(0.5);
    EXPECT_FALSE(list->showXViewController);

    // An open picker covers the list; an action that reaches the list meanwhile only closes it.
    menu("整桌要求");
    ASSERT_TRUE(list->selectViewController);
    list->sendAllDish();
    advance(0.3);
    EXPECT_FALSE(list->selectViewController);
    EXPECT_TRUE(alerts().empty()) << "the tap did not send";
}

TEST_F(Screen, TheWaiterModeButtonLogsOutAndBackInAndHidesTheWaitersButtons) {
    openDesk();
    showDesk();
    EXPECT_EQ(list->bt_fwykr->currentTitle(), "注销");
    tap("注销");
    EXPECT_EQ(alertMessage(), "已退出服务员模式");
    EXPECT_FALSE(NSServer::isWaiterUser());
    EXPECT_EQ(list->bt_otherFun->alpha(), 0);
    EXPECT_EQ(list->bt_giving->alpha(), 0);
    tap("确定");
    tap("登录");
    logInOnPanel("0003", "123");
    advance(0.3);
    EXPECT_TRUE(NSServer::isWaiterUser());
    EXPECT_EQ(alertMessage(), "已进入服务员模式");
    EXPECT_EQ(list->bt_otherFun->alpha(), 1);
    tap("确定");
    // The demo user never sees the menu, transfer and gift buttons.
    NSServer::getNowUser()->m_strUserDesc = "*测试";
    list->showfwykr();
    EXPECT_EQ(list->bt_trun->alpha(), 0);
}

TEST_F(Screen, TheFunctionMenuSlidesInAndOutAndItsModifyButtonTakesTheFirstChosenLine) {
    openDesk();
    auto third = line(2, 1, true);
    lines() = {line(0), line(1), third};
    showDesk();
    tap("功能");
    ASSERT_TRUE(list->v_otherFun);
    advance(0.3);
    EXPECT_EQ(list->v_otherFun->frame().origin.x, 0);
    auto modify = ui::findViewsWithTitle(*list->v_otherFun, "修改菜品");
    ASSERT_EQ(modify.size(), 1u);
    EXPECT_EQ(modify[0]->tag(), 2);
    EXPECT_EQ(list->v_otherFun->subviews().size(), 19u);
    tap("功能");
    advance(0.1);
    EXPECT_TRUE(list->v_otherFun) << "still closing";
    advance(0.3);
    EXPECT_FALSE(list->v_otherFun);
    // A menu button closes the menu and runs its operation; the tablet sync asks with the menu open.
    menu("全部即起");
    EXPECT_FALSE(list->v_otherFun);
    EXPECT_EQ(alertMessage(), "确定将未下单菜品全部设为即起吗？");
    tap("取消");
    menu("ipad同步");
    EXPECT_TRUE(list->v_otherFun);
    EXPECT_EQ(alertMessage(), "确定从服务器读取本桌的点菜记录吗？未下单的菜品将被清除。");
}

TEST_F(Screen, AMissingWordStillShowsTheValuesItWouldHaveFormatted) {
    openDesk();
    lines() = {line(0, 1, true), line(1)};
    showDesk();
    auto words = std::make_shared<NSLangueManager::Words>(*NSServer::getLangueManager()->words());
    words->erase("dishl24");
    NSServer::getLangueManager()->setWords(words);
    tap("送单");
    EXPECT_EQ(alertMessage(), "确定发送选中的1个菜品吗？") << "the built-in question with the count";
}

TEST_F(Screen, ADialogClosingAsAnotherOpensLeavesTheNewOneOpen) {
    openDesk();
    showDesk();
    menu("整桌要求");
    ASSERT_TRUE(list->selectViewController);
    list->SelectDlgCancel();
    menu("催菜知会");  // the hasten picker opens while the taste picker still fades out
    auto hasten = list->selectViewController;
    advance(0.5);
    EXPECT_EQ(list->selectViewController, hasten);
    ASSERT_TRUE(hasten);
    EXPECT_EQ(hasten->m_tag, UIDishLViewController::kPickHastenReason);
}

}  // namespace

namespace {

class ScreenPicture : public OrderListFixture {
protected:
    // The colour at a point of the window (screen points), as 0xRRGGBB.
    static unsigned pixel(cairo_surface_t* s, int x, int y) {
        cairo_surface_flush(s);
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[x];
        return argb & 0xFFFFFF;
    }
};

TEST_F(ScreenPicture, RowsAreDrawnInBandsWithTheirTextAndNothingOverTheTable) {
    render::installUiHooks();
    openDesk();
    lines() = {line(0, 2), line(1), line(2)};
    showDesk();
    cairo_surface_t* s = render::drawWindow(*window);
    ASSERT_TRUE(s);
    const ui::Rect table = list->m_dishTable()->convertRectTo(list->m_dishTable()->bounds(), nullptr);
    const int top = static_cast<int>(table.y());
    const int row = static_cast<int>(UIDishLViewController::kRowHeight);
    // Even rows on the band colour, odd rows on the table's white, past the text of the name.
    EXPECT_EQ(pixel(s, 380, top + 3), 0xFFECCCu);
    EXPECT_EQ(pixel(s, 380, top + row + 3), 0xFFFFFFu);
    // The name's text puts ink into its column on every row.
    for (int r = 0; r < 3; ++r) {
        int ink = 0;
        for (int x = 90; x < 300; ++x)
            for (int y = top + r * row + 8; y < top + (r + 1) * row - 8; ++y)
                if ((pixel(s, x, y) & 0xFF) < 0x90) ++ink;
        EXPECT_GT(ink, 20) << "row " << r;
    }
    // Below the last row the table is empty.
    EXPECT_EQ(pixel(s, 200, top + 4 * row + 10), 0xFFFFFFu);
    cairo_surface_destroy(s);
}

}  // namespace
