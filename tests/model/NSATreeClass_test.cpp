#include "model/NSATreeClass.h"

#include <functional>
#include <iterator>

#include <gtest/gtest.h>

namespace {

TEST(NSATreeClass, CursorBuildsRoomsAndDesks) {
    NSATreeClass tree;
    struct Step { std::function<int()> call; int node, parent, cursor, cursorParent; } steps[] = {
        {[&] { return tree.AddChild4(0, "A", "room A", ""); }, 1, 0, 1, 0},
        {[&] { return tree.AddChild3("A1", "desk A1", "1"); }, 2, 1, 2, 1},
        {[&] { return tree.AddItem("A2", "desk A2", "6"); }, 3, 1, 3, 1},
        {[&] { return tree.GotoParent() ? -1 : -2; }, -1, -1, 1, 0},
        {[&] { return tree.AddItem("B", "room B", ""); }, 4, 0, 4, 0},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i + 1);
        int node = steps[i].call();
        EXPECT_EQ(node, steps[i].node);
        if (node >= 0) {
            EXPECT_EQ(tree.m_pid[node], steps[i].parent);
        }
        EXPECT_EQ(tree.m_iPos, steps[i].cursor);
        EXPECT_EQ(tree.m_iPosParent, steps[i].cursorParent);
    }
    EXPECT_EQ(tree.m_length, 5);
    EXPECT_EQ(tree.m_pid, (std::vector<int>{0, 0, 1, 1, 0}));
    EXPECT_EQ(tree.m_code, (std::vector<std::string>{"", "A", "A1", "A2", "B"}));
    EXPECT_EQ(tree.m_state, (std::vector<std::string>{"", "", "1", "6", ""}));
    EXPECT_EQ(tree.m_str1, (std::vector<std::string>(5)));
    EXPECT_EQ(tree.m_uint, (std::vector<int>(5, 0)));
    EXPECT_EQ(tree.GetChildNumber(0), 2);
    EXPECT_EQ(tree.GetChildNumber(1), 2);
    EXPECT_EQ(tree.GetChildNumber(4), 0);
}

TEST(NSATreeClass, LooksUpFromTheRootUpward) {
    NSATreeClass tree;
    EXPECT_EQ(tree.m_length, 1);
    EXPECT_EQ(tree.FindID(""), 0);  // the root's empty code
    EXPECT_EQ(tree.FindID("x"), -1);
    EXPECT_EQ(tree.FindID(std::nullopt), -1);
    EXPECT_EQ(tree.GetNameFromID(""), "");
    EXPECT_EQ(tree.GetChildNumber(0), 0);

    EXPECT_EQ(tree.AddItem("01", "退菜", "01"), 1);
    EXPECT_EQ(tree.AddItem("02", "赠送", "02"), 2);
    EXPECT_EQ(tree.AddItem("01", "later", "03"), 3);
    EXPECT_EQ(tree.m_pid, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(tree.m_length, 4);
    EXPECT_EQ(tree.FindID("01"), 1);
    EXPECT_EQ(tree.FindID("01 "), -1);
    EXPECT_EQ(tree.GetNameFromID("01"), "退菜");
    EXPECT_EQ(tree.GetIDFromName("赠送"), "02");
    EXPECT_EQ(tree.GetIDFromName("unknown"), "unknown");
    EXPECT_EQ(tree.GetNameFromID("99"), "99");
    EXPECT_EQ(tree.GetChildNumber(0), 3);

    // Columns grown by a builder beyond the nodes are scanned too, without overrunning others.
    tree.m_code.push_back("extra");
    EXPECT_EQ(tree.FindID("extra"), 4);
    EXPECT_EQ(tree.GetNameFromID("extra"), "extra");
}

TEST(NSATreeClass, ClearAllCheckAndRemoveAll) {
    NSATreeClass tree;
    tree.AddItem("a", "A", "");
    tree.AddItem("b", "B", "");
    tree.m_uint = {-1, 1, -1};
    tree.ClearAllCheck();
    EXPECT_EQ(tree.m_uint, (std::vector<int>{0, 0, 0}));

    tree.m_str2[1] = "label";
    tree.RemoveAll();
    EXPECT_EQ(tree.m_length, 1);
    EXPECT_EQ(tree.m_iPos, 1);
    EXPECT_EQ(tree.m_iPosParent, 0);
    for (auto* column : {&tree.m_code, &tree.m_name, &tree.m_state, &tree.m_str1, &tree.m_str2})
        EXPECT_EQ(*column, (std::vector<std::string>{""}));
    for (auto* column : {&tree.m_uint, &tree.m_pid, &tree.m_int2}) EXPECT_EQ(*column, (std::vector<int>{0}));
}

TEST(NSATreeClass, CopyTakesSeparateColumns) {
    NSATreeClass source;
    source.AddChild4(0, "r", "room", "");
    source.AddChild3("d", "desk", "1");
    source.m_str1[2] = "bill";
    source.m_int2[2] = 3;

    NSATreeClass copy;
    copy.AddItem("old", "old", "");
    copy.copy(source);
    EXPECT_EQ(copy.m_length, 3);
    EXPECT_EQ(copy.m_iPos, 2);
    EXPECT_EQ(copy.m_iPosParent, 1);
    EXPECT_EQ(copy.m_code, source.m_code);
    EXPECT_EQ(copy.m_str1[2], "bill");
    EXPECT_EQ(copy.m_int2[2], 3);

    copy.AddItem("d2", "desk 2", "1");
    copy.m_name[1] = "renamed";
    EXPECT_EQ(source.m_length, 3);
    EXPECT_EQ(source.m_code.size(), 3u);
    EXPECT_EQ(source.m_name[1], "room");

    copy.copy(copy);  // copying onto itself keeps everything
    EXPECT_EQ(copy.m_length, 4);
    EXPECT_EQ(copy.m_code.size(), 4u);
}

TEST(NSATreeClass, AddChildOnABareTreeGoesUnderTheRoot) {
    NSATreeClass tree;
    tree.AddItem("x", "x", "");
    tree.RemoveAll();
    for (int round = 0; round < 2; ++round) {
        int node = tree.AddChild3("k", "taste", "");
        EXPECT_EQ(node, 1);
        EXPECT_EQ(tree.m_pid[1], 0);
        EXPECT_EQ(tree.m_iPosParent, 0);
        EXPECT_EQ(tree.AddChild3("k2", "taste 2", ""), 2);  // then down from the cursor as usual
        EXPECT_EQ(tree.m_pid[2], 1);
        tree.RemoveAll();
    }
}

TEST(PinyinFirstLetter, GivesTheInitialOfCommonCharactersAndHashElsewhere) {
    struct Case { char16_t c; char letter; } cases[] = {
        {u'一', 'y'}, {u'七', 'q'}, {u'三', 's'}, {u'不', 'b'}, {u'东', 'd'}, {u'汤', 't'}, {u'热', 'r'},
        {u'菜', 'c'}, {u'肉', 'r'}, {u'虾', 'x'}, {u'辣', 'l'}, {u'鱼', 'y'}, {u'鸡', 'j'}, {u'龥', 'y'},
        {0x4DFF, '#'}, {0x9FA6, '#'}, {u'A', '#'}, {u'7', '#'}, {0xD83D, '#'}, {0, '#'}, {0xFFFF, '#'},
    };
    for (auto& c : cases) EXPECT_EQ(pinyinFirstLetter(c.c), c.letter) << std::hex << unsigned(c.c);
    for (char16_t c = 0x4E00; c <= 0x9FA5; ++c) {
        char letter = pinyinFirstLetter(c);
        ASSERT_TRUE(letter >= 'a' && letter <= 'z' && letter != 'i' && letter != 'u' && letter != 'v')
            << std::hex << unsigned(c);
    }
}

}  // namespace
