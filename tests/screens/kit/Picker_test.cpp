// The tree picker driven by taps: pages of a node's children, entering and going up, marks in
// single and multiple choice, and the write field's search by name and pinyin initials.

#include "model/NSATreeClass.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"
#include "screens/kit/UISelectViewController.h"
#include "screens/root/DialogFixture.h"

namespace {

class Picker : public DialogFixture {
protected:
    std::shared_ptr<UISelectViewController> open(std::shared_ptr<NSATreeClass> tree, int tag = 980001,
                                                 bool multi = false) {
        auto picker = std::make_shared<UISelectViewController>();
        picker->upViewController = &owner;
        picker->m_tree = std::move(tree);
        picker->m_tag = tag;
        picker->m_bmulti = multi;
        host(picker);
        return picker;
    }
    static std::shared_ptr<NSATreeClass> flat(int rows) {
        auto tree = std::make_shared<NSATreeClass>();
        for (int i = 1; i <= rows; ++i) tree->AddItem(std::to_string(i), "R" + std::to_string(i), "1");
        return tree;
    }
    // The first line of each filled slot's label, in slot order.
    static std::vector<std::string> shown(const UISelectViewController& p) {
        std::vector<std::string> names;
        for (auto& slot : p.m_bt)
            if (slot->ladel) names.push_back(slot->ladel->text().substr(0, slot->ladel->text().find("\r\n")));
        return names;
    }
    void slot(UISelectViewController& p, int k) { tapButton(*p.m_panel, *p.m_bt[k]); }
    void press(UISelectViewController& p, const std::shared_ptr<VirtualButton>& b) { tapButton(*p.m_panel, *b); }
    void searchFor(UISelectViewController& p, const std::string& text) {
        if (!p.m_writer) press(p, p.m_btWrite);
        p.m_writer->setText("");
        type(text);
        advance(0.1);
    }
    static std::vector<std::string> range(int from, int to) {
        std::vector<std::string> names;
        for (int i = from; i <= to; ++i) names.push_back("R" + std::to_string(i));
        return names;
    }

    RecordingOwner owner;
};

TEST_F(Picker, AFlatTableTurnsPagesOfTwenty) {
    auto p = open(flat(45));
    EXPECT_EQ(p->m_maxpage, 2);
    EXPECT_EQ(shown(*p), range(1, 20));
    press(*p, p->m_btPrev);  // nothing before the first page
    EXPECT_EQ(p->m_page, 0);
    press(*p, p->m_btNext);
    EXPECT_EQ(shown(*p), range(21, 40));
    press(*p, p->m_btNext);
    EXPECT_EQ(shown(*p), range(41, 45));
    EXPECT_EQ(p->m_bt[5]->m_tag, 0);  // the blank slots carry the root
    press(*p, p->m_btNext);  // nothing after the last page
    EXPECT_EQ(p->m_page, 2);
    EXPECT_EQ(shown(*p), range(41, 45));

    // The owner's table shrinks under the open picker: a slot naming a row it no longer has
    // chooses nothing.
    p->m_tree->copy(*flat(10));
    slot(*p, 0);
    EXPECT_EQ(p->m_pos, 1);
    EXPECT_EQ(p->m_tree->m_uint, std::vector<int>(11, 0));
}

TEST_F(Picker, PagesOfANestedTreeShowEachChildOnce) {
    // Two areas whose desks are interleaved in the table, as a desk tree built from a reply lies.
    auto tree = std::make_shared<NSATreeClass>();
    tree->AddChild4(0, "", "大厅", "");
    tree->AddChild4(0, "", "包间", "");
    for (int i = 1; i <= 25; ++i) {
        tree->AddChild4(1, "H" + std::to_string(i), "H" + std::to_string(i), "1");
        tree->AddChild4(2, "B" + std::to_string(i), "B" + std::to_string(i), "6");
    }
    tree->AddChild4(0, "", "雅座", "");
    for (int i = 1; i <= 20; ++i) tree->AddChild4(53, "Y" + std::to_string(i), "Y" + std::to_string(i), "1");
    auto p = open(tree);
    EXPECT_EQ(shown(*p), (std::vector<std::string>{"大厅", "包间", "雅座"}));

    slot(*p, 0);  // enter 大厅
    EXPECT_EQ(p->m_parent, 1);
    EXPECT_EQ(p->m_maxpage, 1);
    std::vector<std::string> seen = shown(*p);
    press(*p, p->m_btNext);
    for (auto& name : shown(*p)) seen.push_back(name);
    std::vector<std::string> expected;
    for (int i = 1; i <= 25; ++i) expected.push_back("H" + std::to_string(i));
    EXPECT_EQ(seen, expected);

    press(*p, p->m_btUp);
    EXPECT_EQ(p->m_parent, 0);
    EXPECT_EQ(p->m_maxpage, 0);
    slot(*p, 2);  // 雅座: exactly twenty children make one page
    EXPECT_EQ(p->m_maxpage, 0);
    EXPECT_EQ(shown(*p).size(), 20u);
    press(*p, p->m_btNext);
    EXPECT_EQ(shown(*p).front(), "Y1");
    slot(*p, 4);  // a leaf: chosen
    EXPECT_EQ(p->m_pos, 58);
    press(*p, p->m_btUp);
    press(*p, p->m_btUp);  // at the top: the owner is asked to close
    EXPECT_EQ(owner.calls, std::vector<std::string>{"SelectDlgCancel"});

    // With a keyboard: Escape goes up as 返回 does, Return chooses as 确定 does.
    slot(*p, 0);
    EXPECT_TRUE(window->pressKey(ui::Window::kKeyEscape));
    EXPECT_EQ(p->m_parent, 0);
    EXPECT_TRUE(window->pressKey(ui::Window::kKeyReturn));
    EXPECT_EQ(owner.calls.back(), "SelectDlgOk");
    EXPECT_FALSE(window->pressKey("5")) << "a digit means nothing here";
}

TEST_F(Picker, MarksFollowTheChoiceMode) {
    // Multiple choice: 1, -1, 1; the summary lists every marked name, then the free text.
    auto tree = flat(5);
    auto multi = std::make_shared<UISelectViewController>();
    multi->upViewController = &owner;
    multi->m_tree = tree;
    multi->m_bmulti = true;
    multi->m_writeText = "少辣";
    host(multi);
    slot(*multi, 2);
    EXPECT_EQ(tree->m_uint[3], 1);
    slot(*multi, 2);
    EXPECT_EQ(tree->m_uint[3], -1);
    EXPECT_EQ(multi->m_bt[2]->ladel->text(), "R3\r\n");
    slot(*multi, 2);
    slot(*multi, 0);
    EXPECT_EQ(tree->m_uint[3], 1);
    EXPECT_EQ(multi->m_bt[2]->ladel->text(), "* R3 *\r\n");
    EXPECT_EQ(multi->m_editstr->text(), "R1R3 少辣");
    multi->view()->removeFromSuperview();

    // Single choice: a second tap clears the mark but the choice stays named.
    auto single = open(flat(5));
    slot(*single, 1);
    slot(*single, 3);
    EXPECT_EQ(single->m_tree->m_uint, (std::vector<int>{0, 0, 0, 0, 1, 0}));
    slot(*single, 3);
    EXPECT_EQ(single->m_tree->m_uint[4], 0);
    EXPECT_EQ(single->m_pos, 4);
    EXPECT_EQ(single->m_editstr->text(), "R4");
    single->view()->removeFromSuperview();

    // The desk picker's tree keeps its own values in m_uint: no marks are written.
    auto desks = flat(3);
    desks->m_uint = {0, 7, 1, 0};
    auto deskPicker = open(desks, 980003);
    press(*deskPicker, deskPicker->m_btOK);  // OK without a tap reports row 1
    EXPECT_EQ(deskPicker->m_pos, 1);
    slot(*deskPicker, 2);
    slot(*deskPicker, 0);
    EXPECT_EQ(desks->m_uint, (std::vector<int>{0, 7, 1, 0}));
    EXPECT_EQ(deskPicker->m_pos, 1);
    EXPECT_EQ(owner.calls, std::vector<std::string>{"SelectDlgOk"});
}

// Dishes: a category node with 25 eggs, and three loose leaves.
std::shared_ptr<NSATreeClass> dishes() {
    auto tree = std::make_shared<NSATreeClass>();
    tree->AddChild4(0, "", "鸡蛋类", "");
    for (int i = 1; i <= 25; ++i) tree->AddChild4(1, "E" + std::to_string(i), "鸡蛋" + std::to_string(i), "");
    tree->AddChild4(0, "G", "宫保鸡丁", "");    // row 27
    tree->AddChild4(0, "C", "Coke", "");        // row 28
    tree->AddChild4(0, "", "手写", "");         // row 29: a free entry without a code
    tree->AddChild4(0, "G", "宫保鸡丁(大)", "");  // row 30: the same code again
    return tree;
}

TEST_F(Picker, SearchFindsLeavesByNameOrPinyinInitials) {
    auto p = open(dishes(), 980002);
    press(*p, p->m_btWrite);
    ASSERT_TRUE(p->m_writer);
    EXPECT_TRUE(p->m_writer->isFirstResponder());
    struct Case { const char* typed; std::vector<std::string> found; } cases[] = {
        {"gb", {"宫保鸡丁", "宫保鸡丁(大)"}},
        {"GB", {"宫保鸡丁", "宫保鸡丁(大)"}},
        {"Co", {"Coke"}},
        {"co", {}},  // "Coke" has the initials "####"
        {"鸡蛋类", {}},  // a node with children is never a result
        {"丁Co", {}},    // no match across two rows: 宫保鸡丁 lies right before Coke
        {"鸡蛋2", {"鸡蛋2", "鸡蛋20", "鸡蛋21", "鸡蛋22", "鸡蛋23", "鸡蛋24", "鸡蛋25"}},
    };
    for (const Case& c : cases) {
        searchFor(*p, c.typed);
        EXPECT_EQ(shown(*p), c.found) << c.typed;
    }
    searchFor(*p, "j");  // 25 eggs and two dishes: twenty are shown
    EXPECT_EQ(p->m_searchTree->m_length, 28);
    EXPECT_EQ(shown(*p).size(), 20u);

    // Clearing the field keeps the results; the page buttons leave them alone.
    p->m_writer->setText("j");
    ASSERT_TRUE(window->deleteBackward());
    advance(0.1);
    EXPECT_EQ(shown(*p).size(), 20u);
    press(*p, p->m_btNext);
    EXPECT_EQ(p->m_page, 0);
    EXPECT_EQ(shown(*p).front(), "鸡蛋1");
}

TEST_F(Picker, ASingleChoiceResultMarksItsCodeAndClosesTheField) {
    auto p = open(dishes(), 980011);
    searchFor(*p, "手写");
    slot(*p, 0);  // a result without a code: marks cleared, the field stays, m_pos untouched
    EXPECT_EQ(p->m_pos, 1);
    EXPECT_TRUE(p->m_writer);

    searchFor(*p, "gbjd");
    slot(*p, 0);
    EXPECT_FALSE(p->m_writer);
    EXPECT_FALSE(p->m_searchTree);
    EXPECT_EQ(p->m_writeText, "");  // the search text is not kept as free text
    EXPECT_EQ(p->m_pos, 30);        // the last row with the code
    for (int row = 0; row < p->m_tree->m_length; ++row)
        EXPECT_EQ(p->m_tree->m_uint[row], row == 27 || row == 30 ? 1 : 0) << row;
    EXPECT_EQ(p->m_editstr->text(), "宫保鸡丁宫保鸡丁(大)");
    EXPECT_EQ(shown(*p).front(), "鸡蛋类");  // the node list is back
}

TEST_F(Picker, FreeTextAndMultipleChoiceResults) {
    auto p = open(dishes(), 980002, true);
    // An open field with nothing typed: a tap anywhere only closes it.
    press(*p, p->m_btWrite);
    slot(*p, 1);
    EXPECT_FALSE(p->m_writer);
    EXPECT_EQ(p->m_pos, 1);
    EXPECT_EQ(p->m_tree->m_uint[27], 0);

    searchFor(*p, "gbjd");
    slot(*p, 0);  // marks every row with the code; the results stay
    EXPECT_TRUE(p->m_searchTree);
    EXPECT_EQ(p->m_tree->m_uint[27], 1);
    EXPECT_EQ(p->m_tree->m_uint[30], 1);
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(window->deleteBackward());
    type("不要葱");
    advance(0.1);
    ASSERT_TRUE(window->pressReturn());  // Done keeps the typed text
    EXPECT_FALSE(p->m_writer);
    EXPECT_EQ(p->m_writeText, "不要葱");
    EXPECT_EQ(p->m_editstr->text(), "宫保鸡丁宫保鸡丁(大) 不要葱");

    // OK while searching takes the field's text when no result was chosen since the last edit.
    searchFor(*p, "Coke");
    press(*p, p->m_btOK);
    EXPECT_EQ(p->m_writeText, "Coke");
    EXPECT_EQ(owner.calls, std::vector<std::string>{"SelectDlgOk"});
}

}  // namespace
