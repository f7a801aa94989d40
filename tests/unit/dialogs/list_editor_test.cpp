#include "dialogs/list_editor.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Lines = std::vector<std::string>;

struct ListEditorFixture : ::testing::Test {
    ItemLists lists = CreateItemLists();

    // A list of captions ("--->" marks their depth).
    clsItems& Fill(int list, const Lines& descs) {
        for (const std::string& d : descs) {
            Item item;
            item.Desc = d;
            item.Path = StripDepth(d).empty() ? "" : std::string(StripDepth(d)) + ".exe";
            lists[list].AddItem(item);
        }
        return lists[list];
    }
    static Lines Shown(const ListEditorModel& m) {
        Lines lines;
        for (int i = 0; i < m.LineCount(); ++i) lines.push_back(m.LineText(i));
        return lines;
    }
    static std::vector<bool> Select(const ListEditorModel& m, std::initializer_list<int> lines) {
        std::vector<bool> s(m.LineCount());
        for (int l : lines) s[l] = true;
        return s;
    }
};

TEST_F(ListEditorFixture, TheEmptyLastLineOnlyReceives_AndTheButtonsFollowTheSelection) {
    ListEditorModel m(Fill(kListMenu, {"&One", "Two"}), kListMenu);
    EXPECT_EQ(Shown(m), (Lines{"One", "Two", ""}));
    const struct {
        std::initializer_list<int> selected;
        ListEnabling want;
    } rows[] = {
        {{2}, {false, false, true}},    // the empty line: add, separator, paste
        {{0}, {true, true, true}},
        {{0, 1}, {false, true, false}},
        {{1, 2}, {false, false, false}},
        {{}, {false, false, false}},
    };
    for (const auto& r : rows) {
        m.SetSelection(Select(m, r.selected));
        EXPECT_EQ(m.Enabled(), r.want);
    }
    m.SetSelection(Select(m, {2}));
    EXPECT_FALSE(m.MoveUp() || m.MoveDown() || m.Indent() || m.Outdent() || m.RemoveSelected());
    ASSERT_TRUE(m.AddSeparator());
    EXPECT_EQ(Shown(m), (Lines{"One", "Two", "-", ""}));
    EXPECT_EQ(m.SingleSelected(), 2);
}

TEST_F(ListEditorFixture, BlocksMoveByOneLine_FirstAndLastRefused_DepthsKept) {
    clsItems& list = Fill(kListMenu, {"A", "--->B", "--->C", "D", "E"});
    ListEditorModel m(list, kListMenu);
    m.SetSelection(Select(m, {1, 2}));
    ASSERT_TRUE(m.MoveUp());
    EXPECT_EQ(Shown(m), (Lines{"--->B", "--->C", "A", "D", "E", ""}));
    EXPECT_EQ(m.Selection(), Select(m, {0, 1}));
    EXPECT_FALSE(m.MoveUp());
    m.SetSelection(Select(m, {3, 4}));
    EXPECT_FALSE(m.MoveDown());
    m.SetSelection(Select(m, {0, 3}));
    ASSERT_TRUE(m.MoveDown());
    EXPECT_EQ(Shown(m), (Lines{"--->C", "--->B", "A", "E", "D", ""}));
    EXPECT_EQ(list.GetPath(4), "D.exe");  // the item travels with its line
}

TEST_F(ListEditorFixture, IndentingIsRefusedUnderASeparator_BeyondTheLineAbove_AndPastNine) {
    ListEditorModel m(Fill(kListMenu, {"A", "-", "B", "C", "D"}), kListMenu);
    m.SetSelection(Select(m, {2}));
    EXPECT_FALSE(m.Indent());  // the line above is a separator
    m.SetSelection(Select(m, {3, 4}));
    ASSERT_TRUE(m.Indent());
    EXPECT_FALSE(m.Indent());  // C would skip a level below B
    EXPECT_EQ(Shown(m), (Lines{"A", "-", "B", "--->C", "--->D", ""}));
    // Depth 9 is the deepest: a line level with its neighbour above goes no further.
    const std::string eight = "--->--->--->--->--->--->--->--->";
    clsItems& deep = Fill(kListClipboard, {"0", eight + "--->a", eight + "b", eight + "--->c"});
    ListEditorModel stairs(deep, kListClipboard);
    stairs.SetSelection(Select(stairs, {2}));
    EXPECT_TRUE(stairs.Indent());
    EXPECT_EQ(ItemDepth(deep.GetDesc(2)), 9);
    stairs.SetSelection(Select(stairs, {3}));
    EXPECT_FALSE(stairs.Indent());
    // Outdenting a parent whose child stays behind would skip a level.
    ListEditorModel tree(Fill(kListClipboard2, {"A", "--->B", "--->--->C"}), kListClipboard2);
    tree.SetSelection(Select(tree, {1}));
    EXPECT_FALSE(tree.Outdent());
    tree.SetSelection(Select(tree, {1, 2}));
    EXPECT_TRUE(tree.Outdent());
    EXPECT_EQ(Shown(tree), (Lines{"A", "B", "--->C", ""}));
    tree.SetSelection(Select(tree, {0}));
    EXPECT_FALSE(tree.Outdent());
}

TEST_F(ListEditorFixture, CopiedItemsPasteAtTheTargetsDepth_ForeignOrNoHeadersAreRefused) {
    clsItems& menu = Fill(kListMenu, {"A", "--->B", "--->--->C", "--->--->--->D", "E"});
    ListEditorModel m(menu, kListMenu);
    m.SetSelection(Select(m, {2, 3}));
    const std::string copied = m.SelectionText();
    EXPECT_TRUE(copied.starts_with("\r\n[MenuItem]\r\nDesc=C\r\n")) << copied;
    m.SetSelection(Select(m, {1}));  // at depth 1
    ASSERT_EQ(m.InsertText(copied), PasteResult::Inserted);
    EXPECT_EQ(Shown(m), (Lines{"A", "--->C", "--->--->D", "--->B", "--->--->C",
                               "--->--->--->D", "E", ""}));
    EXPECT_EQ(menu.GetPath(1), "C.exe");
    // A file that starts with its header, and foreign headers: buttons paste into the menu.
    m.SetSelection(Select(m, {7}));
    EXPECT_EQ(m.InsertText("[Button]\r\nDesc=F\r\nPath=f.exe\r\n"), PasteResult::Inserted);
    EXPECT_EQ(m.LineText(7), "F");

    ListEditorModel clip(Fill(kListClipboard, {"Hello"}), kListClipboard);
    clip.SetSelection(Select(clip, {1}));
    const int before = clip.LineCount();
    EXPECT_EQ(clip.InsertText(copied), PasteResult::InvalidData);
    EXPECT_EQ(clip.InsertText("just some words"), PasteResult::NoValidData);
    EXPECT_EQ(clip.LineCount(), before);
    m.SetSelection(Select(m, {}));
    EXPECT_EQ(m.SelectionText(), "");  // "Nothing to save"
}

TEST_F(ListEditorFixture, TheDepthCheckNamesTheFirstProblem_RemoveAllAndCancelRestoreEverything) {
    clsItems& menu = Fill(kListMenu, {"--->A", "B", "--->--->C"});
    ListEditorModel m(menu, kListMenu);
    EXPECT_EQ(m.CheckDepths().Result, DepthCheck::FirstNotTop);
    menu.SetDepth(0, 0);
    const DepthCheck skipped = m.CheckDepths();
    EXPECT_EQ(std::tuple(skipped.Result, skipped.Line), std::tuple(DepthCheck::SkippedLevel, 2));
    EXPECT_TRUE(m.NeedsDepthCheck());
    EXPECT_FALSE(ListEditorModel(lists[kListButtons], kListButtons).NeedsDepthCheck());

    menu.UpdateBegin();
    const Lines before = Shown(m);
    for (int i = 0; i < 100; ++i) {
        m.SetSelection(Select(m, {0}));
        m.AddSeparator();
        m.SetSelection(Select(m, {1}));
        m.MoveDown();
    }
    m.SetSelection(std::vector<bool>(m.LineCount(), true));
    m.Selection();
    m.SetSelection([&] { auto s = std::vector<bool>(m.LineCount(), true); s.back() = false; return s; }());
    ASSERT_TRUE(m.RemoveSelected());
    EXPECT_EQ(Shown(m), Lines{""});
    menu.UpdateCancel();
    ListEditorModel again(menu, kListMenu);
    EXPECT_EQ(Shown(again), before);
}

}  // namespace
}  // namespace zorv
