#include "bar/drop.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Names = std::vector<std::string>;

clsItems Buttons(const Names& descs) {
    clsItems list("[Button]", false);
    for (const std::string& d : descs) list.AddItem(Item{.Desc = d, .Path = d});
    return list;
}

Names Descs(const clsItems& list) {
    Names names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.GetDesc(i));
    return names;
}

std::string Repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

struct NoFiles final : NameOnDiskLookup {
    std::optional<std::string> NameOnDisk(const std::string& path) override {
        if (path == "C:\\Tools\\EDITOR.EXE") return "Editor.exe";
        return std::nullopt;
    }
};

TEST(Drop, ASubmenuButtonTakesItsMiddleHalfIntoTheMenu_OthersSplitInHalves) {
    const clsItems buttons = Buttons({"A", "M", "--->m1", "--->m2", "B"});
    const BarLayout layout(buttons, false);
    const int w = layout.ItemWidth(1);
    const struct {
        int cell, dx;
        DropPos want;
    } rows[] = {
        {0, 2, 0}, {0, w - 2, 1},                   // plain: halves
        {1, w / 4, 1}, {1, w / 2, 1.5}, {1, w - 1, 4},  // submenu: quarter, middle, after the block
        {4, 2, 4}, {5, 2, 5},                       // last button; the main-menu cell appends
    };
    for (const auto& r : rows) EXPECT_EQ(DropPosition(buttons, layout, r.cell, r.dx), r.want) << r.cell << "/" << r.dx;
    const DropPlace into = PlaceOfDrop(buttons, 1.5);
    EXPECT_EQ(std::tuple(into.Index, into.IntoMenu), std::tuple(4, true));
    EXPECT_EQ(MarkerFor(layout, 1.5).Left, layout.ButtonX(1));
    EXPECT_EQ(MarkerFor(layout, 1).Left, layout.ButtonX(1) - layout.ButtonWidth() / 2);
}

TEST(Drop, DroppedFilesAreNamedAsProgramsDocumentsOrShortcuts) {
    NoFiles files;
    const struct {
        std::string path;
        std::optional<ShortcutInfo> link;
        std::string desc, itemPath, wrkDir;
        int style;
    } rows[] = {
        {"C:\\Tools\\EDITOR.EXE", {}, "Editor", "C:\\Tools\\EDITOR.EXE", "C:\\Tools", 1},
        {"C:\\Tools\\notes.bat", {}, "Notes", "C:\\Tools\\notes.bat", "C:\\Tools", 1},
        {"C:\\Docs\\Letter one.txt", {}, "Letter one.txt", "C:\\Docs\\Letter one.txt", "C:\\Docs", 1},
        {"C:\\Docs\\", {}, "C:\\Docs\\", "C:\\Docs\\", "C:\\Docs", 1},
        // No name of its own: the path's first 40 characters, not bytes.
        {"C:\\" + Repeat("\xC3\xA9", 50) + "\\", {}, "C:\\" + Repeat("\xC3\xA9", 37),
         "C:\\" + Repeat("\xC3\xA9", 50) + "\\", "C:\\" + Repeat("\xC3\xA9", 50), 1},
        {"C:\\Links\\Calc.LNK", ShortcutInfo{"C:\\Win\\calc.exe", "C:\\Win", "-x", 7, "", 0},
         "Calc", "C:\\Win\\calc.exe -x", "C:\\Win", 2},
        {"C:\\Links\\broken.lnk", std::nullopt, "Broken", "C:\\Links\\broken.lnk", "", 1},
    };
    for (const auto& r : rows) {
        const Item item = ItemForDroppedFile(r.path, r.link, files);
        EXPECT_EQ(std::tuple(item.Desc, item.Path, item.WrkDir, item.Style),
                  std::tuple(r.desc, r.itemPath, r.wrkDir, r.style))
            << r.path;
    }
}

TEST(Drop, ButtonsMoveWithTheirMenus_CopyWithCtrl_OwnPlaceAndMenusIntoMenusRefused) {
    clsItems b = Buttons({"A", "M", "--->m1", "B", "C"});
    EXPECT_EQ(DropButton(b, 0, 0, false), ButtonDrop::Unchanged);
    EXPECT_EQ(DropButton(b, 0, 1, false), ButtonDrop::Unchanged);  // just after itself
    EXPECT_EQ(DropButton(b, 1, 4.5, false), ButtonDrop::Refused);   // a menu into a menu
    ASSERT_EQ(DropButton(b, 1, 5, false), ButtonDrop::Moved);       // M and its entry to the end
    EXPECT_EQ(Descs(b), (Names{"A", "B", "C", "M", "--->m1"}));
    ASSERT_EQ(DropButton(b, 2, 0, false), ButtonDrop::Moved);
    EXPECT_EQ(Descs(b), (Names{"C", "A", "B", "M", "--->m1"}));
    ASSERT_EQ(DropButton(b, 0, 3.5, false), ButtonDrop::Moved);     // C into M's menu
    EXPECT_EQ(Descs(b), (Names{"A", "B", "M", "--->m1", "--->C"}));
    ASSERT_EQ(DropButton(b, 0, 1, true), ButtonDrop::Copied);       // Ctrl: a copy, even in place
    EXPECT_EQ(Descs(b), (Names{"A", "A", "B", "M", "--->m1", "--->C"}));
}

TEST(Drop, FilesAreCopiedUpToAHundred_OwnButtonsMovedOrCopied_NothingWhenLocked) {
    const struct {
        DragOverFacts facts;
        DropEffect effect;
        bool record;
    } rows[] = {
        {{.FileCount = 100}, DropEffect::Copy, true},
        {{.FileCount = 101}, DropEffect::None, false},
        {{.FileCount = 2, .AtOrigin = true}, DropEffect::Copy, false},
        {{.HasText = true}, DropEffect::None, false},  // someone else's text
        {{.HasText = true, .OwnDrag = true}, DropEffect::Move, true},
        {{.HasText = true, .OwnDrag = true, .Ctrl = true}, DropEffect::Copy, true},
        {{.FileCount = 2, .DropsAllowed = false}, DropEffect::None, false},
    };
    for (const auto& r : rows) {
        const DragOverDecision d = DecideDragOver(r.facts);
        EXPECT_EQ(std::tuple(d.Effect, d.RecordTarget), std::tuple(r.effect, r.record));
    }
}

}  // namespace
}  // namespace zorv
