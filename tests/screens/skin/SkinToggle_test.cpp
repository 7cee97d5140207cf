// The dish slots and the one-tap order toggle: a tap adds the dish, the next sends its unsent
// line to the rubbish bin, the one after brings it back; groups move together, group items and
// sold-out dishes are refused, and the ordered-dish marks follow the order.

#include "model/NSATreeClass.h"
#include "model/NSCaipClass.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/ImageView.h"
#include "screens/skin/SkinMenuFixture.h"

namespace {

class SkinToggle : public SkinMenuFixture {
protected:
    // Slot 0 of the hot-dish form shows dish 4001, slot 1 dish 4002.
    void onHotDishes() { startSkinned(menuLayout({"RunF(4001)", "RunF(4002)"}, "Form2")); }
    NSDishList& bin() const { return *NSServer::getRubbishs(); }
    bool slotMarked(int slot) const { return form().virtualCaipShows.at(static_cast<size_t>(slot))->quickCaipView != nullptr; }
};

TEST_F(SkinToggle, TapsAddRemoveAndRestoreTheSameLine) {
    onHotDishes();
    const std::string name = "翡翠花菇扒鲍脯";
    EXPECT_FALSE(slotMarked(0));

    tapQuickSel(0);
    ASSERT_EQ(lines().size(), 1u);
    auto added = lines()[0];
    EXPECT_EQ(*added->m_strCaipID, "4001");
    EXPECT_FLOAT_EQ(added->m_fQuantity, 1.0f);
    EXPECT_EQ(added->m_iState, NSDishClass::kUnsent);
    EXPECT_EQ(added->m_struid, "-1");
    EXPECT_FLOAT_EQ(added->m_fQuantity2, 0.0f);
    ASSERT_TRUE(slotMarked(0));
    const auto& slot = *form().virtualCaipShows[0];
    EXPECT_EQ(slot.quickCaipView->frame(),
              (ui::Rect{slot.caipImage->frame().x(), slot.caipImage->frame().y(), 40, 40}))
        << "the mark sits on the picture's corner";
    EXPECT_FALSE(slotMarked(1));
    // The offline desk was saved with its new line.
    EXPECT_NE(platform::fs::readAll(dataFile("OUTDESK.ATD")).value_or("").find("4001"), std::string::npos);

    tapQuickSel(0);
    EXPECT_TRUE(lines().empty());
    ASSERT_EQ(bin().size(), 1u);
    EXPECT_EQ(bin()[0], added);
    EXPECT_FALSE(slotMarked(0));

    tapQuickSel(0);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0], added) << "the same line comes back from the bin";
    EXPECT_TRUE(bin().empty());
    EXPECT_EQ(panelText(), "从垃圾箱还原菜品“" + name + "”");
    EXPECT_TRUE(slotMarked(0));

    // The picture of a slot opens the dish's detail view.
    auto r = ui::tapView(*window, *form().virtualCaipShows[1]->caipImage);
    ASSERT_TRUE(r.ok) << r.error;
    loop().drain();
    EXPECT_TRUE(root->caipViewController);
}

TEST_F(SkinToggle, WhatATapDoesDependsOnTheOrder) {
    onHotDishes();
    auto head = [&](const std::string& id) {
        auto l = line(id);
        l->m_bisSet = l->m_bisExp = true;
        return l;
    };
    auto item = [&](const std::string& id) {
        auto l = line(id);
        l->m_bisExp = true;
        return l;
    };
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::function<void()> check;
    } cases[] = {
        {"two unsent lines: only the first goes",
         [&] { lines() = {line("4001"), line("4003"), line("4001")}; },
         [&] {
             ASSERT_EQ(lines().size(), 2u);
             EXPECT_EQ(*lines()[0]->m_strCaipID, "4003");
             EXPECT_EQ(*lines()[1]->m_strCaipID, "4001");
             EXPECT_TRUE(slotMarked(0));
             // Positions follow the lines again.
             EXPECT_EQ(lines()[0]->m_parentpos, 0);
             EXPECT_EQ(lines()[1]->m_parentpos, 1);
         }},
        {"a sent line is left alone: a new line is added",
         [&] { lines() = {line("4001", 1)}; },
         [&] {
             ASSERT_EQ(lines().size(), 2u);
             EXPECT_EQ(lines()[0]->m_iState, 1);
             EXPECT_EQ(lines()[1]->m_iState, NSDishClass::kUnsent);
         }},
        {"a group item is refused",
         [&] { lines() = {head("4003"), item("4001")}; },
         [&] {
             EXPECT_EQ(lines().size(), 2u);
             EXPECT_TRUE(bin().empty());
             EXPECT_EQ(panelText(), "套餐子项无法快速删除，请在已点列表操作");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bin().clear();
        c.prepare();
        for (int p = 0; p < static_cast<int>(lines().size()); ++p)
            if (!lines()[static_cast<size_t>(p)]->m_bisExp || lines()[static_cast<size_t>(p)]->m_bisSet)
                lines()[static_cast<size_t>(p)]->m_parentpos = p;
        for (auto& l : lines())
            if (l->m_bisExp && !l->m_bisSet) l->m_parentpos = 0;
        form().flashCaip(*welcome());
        tapQuickSel(0);
        c.check();
        settle();
        advance(4);
    }
}

TEST_F(SkinToggle, ASetMealLeavesAndComesBackAsOneGroupNamingItsHead) {
    onHotDishes();
    auto plain = line("4005");
    plain->m_parentpos = 0;
    auto head = line("4001");
    head->m_bisSet = head->m_bisExp = true;
    head->m_parentpos = 1;
    auto a = line("4002"), b = line("4003");
    for (auto& i : {a, b}) {
        i->m_bisExp = true;
        i->m_parentpos = 1;
    }
    auto last = line("4004");
    last->m_parentpos = 4;
    lines() = {plain, head, a, b, last};

    tapQuickSel(0);
    EXPECT_EQ(lines(), (NSDishList{plain, last}));
    EXPECT_EQ(bin(), (NSDishList{head, a, b}));
    EXPECT_EQ(last->m_parentpos, 1) << "renumbered after the group left";

    tapQuickSel(0);
    EXPECT_EQ(lines(), (NSDishList{plain, last, head, a, b}));
    EXPECT_TRUE(bin().empty());
    // The group names its head's new position, as every other group in the order does.
    EXPECT_EQ(head->m_parentpos, 2);
    EXPECT_EQ(a->m_parentpos, 2);
    EXPECT_EQ(b->m_parentpos, 2);
}

TEST_F(SkinToggle, ASoldOutDishIsRefusedByTheAlertOrTheMessagePanel) {
    onHotDishes();
    NSServer::getCaipDB()->m_SellOut->AddItem("4001", "", "0");
    tapQuickSel(0);
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(alertMessage(), "该菜品已沽清，请选择其他菜品！");
    EXPECT_EQ(alerts().size(), 1u);
    // While that alert is up (it covers the slot, so the slot is asked directly), the same
    // refusal goes to the message panel.
    form().virtualCaipShows[0]->selCaip();
    loop().drain();
    EXPECT_EQ(alerts().size(), 1u);
    EXPECT_EQ(panelText(), "该菜品已沽清，请选择其他菜品！");
    tap("确定");
    EXPECT_FALSE(NSServer::getIsShowAlert());
    EXPECT_TRUE(lines().empty());
}

TEST_F(SkinToggle, ARunFButtonTogglesWithAThumbnailFlyingToTheOrderList) {
    render::installUiHooks();
    onHotDishes();
    tapRect({540, 900, 200, 80});  // home
    settle();
    ASSERT_EQ(form().formName, "Form1");
    // Form1 has no CheckList button: the toggle goes on without a thumbnail.
    tapButton(1);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(form().bufferImageVS.empty());
    EXPECT_TRUE(form().virtualButtons[0]->quickCaipView);
    EXPECT_EQ(form().virtualButtons[0]->quickCaipView->frame(),
              (ui::Rect{buttonRect(1).x(), buttonRect(1).y(), 40, 40}));
    EXPECT_FALSE(form().virtualButtons[1]->quickCaipView);

    // With a CheckList button and the dish's thumbnail the picture flies from the button to it.
    const std::string bmp = *platform::fs::readAll(KOVRA_SOURCE_DIR "/resources/04002t.bmp");
    platform::fs::createFolder(NSServer::getCaippicPath());
    platform::fs::writeAtomically(NSServer::getCaippicPath() + "/4002T.BMP",
                                  NSEncDec().Decrypt(bmp.substr(0, 1024), NSServer::getMacAdr()) + bmp.substr(1024));
    putOn(menuLayout({"RunF(4001)", "RunF(4002)", "CheckList"}));
    tapButton(2);
    ASSERT_EQ(lines().size(), 2u);
    ASSERT_EQ(form().bufferImageVS.size(), 1u);
    auto flying = form().bufferImageVS[0];
    EXPECT_EQ(flying->tag(), 1);
    EXPECT_EQ(flying->superview(), welcome()->view().get());
    EXPECT_DOUBLE_EQ(flying->alpha(), 0.0);
    const ui::Rect list = buttonRect(3);
    EXPECT_LE(flying->frame().width(), list.width() / 2) << "it ends half the size, on the list button";
    EXPECT_GE(flying->frame().x(), list.x());
    advance(1.0);
    EXPECT_TRUE(form().bufferImageVS.empty());
    EXPECT_FALSE(flying->superview());
    // The way back flies again, with the next tag.
    tapButton(2);
    ASSERT_EQ(form().bufferImageVS.size(), 1u);
    EXPECT_EQ(form().bufferImageVS[0]->tag(), 2);
    EXPECT_EQ(lines().size(), 1u);
}

TEST_F(SkinToggle, MarksFollowTheOrderWhenTheOrderListCloses) {
    onHotDishes();
    tapRect({20, 900, 200, 80});  // CheckList
    ASSERT_TRUE(root->listViewController);
    lines() = {line("4002")};
    root->welDishListBack();
    EXPECT_TRUE(slotMarked(1));
    EXPECT_FALSE(slotMarked(0));
    // An emptied slot only refreshes the marks.
    swipe({700, 200}, {-30, 0});
    settle();
    ASSERT_FALSE(form().virtualCaipShows[5]->nowcaip);
    tapQuickSel(5);
    EXPECT_EQ(lines().size(), 1u);
}

}  // namespace
