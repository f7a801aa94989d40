#include "menus/dip_menu.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Ints = std::vector<std::int32_t>;

// 7 pixels a byte, "H" 16 high: item height 20.
struct FakeMeasure : MenuTextMeasurer {
    ScreenSize Measure(std::string_view text) override {
        return {7 * static_cast<std::int32_t>(text.size()), 16};
    }
};

DIPMenuEntries Entries(std::initializer_list<const char*> captions) {
    DIPMenuEntries e;
    std::int32_t id = 100;
    for (const char* c : captions) e.AddMenuItem(c, id++, -1, {});
    return e;
}

MenuTreePlan Tree(DIPMenuEntries& e) {
    FakeMeasure m;
    return BuildMenuTree(e, kMinMenuTextWidth, MenuIconStrip{}, m);
}

TEST(DIPMenu, TreeFromDepths_EachPopupItsHeadingEntriesAndOwnWidth) {
    DIPMenuEntries e = Entries({"&Run", "--->Sub", "--->--->A long caption for width", "--->-",
                                "Tools", "--->--->--->Skips two levels", "--->&Deep", "--->--->X"});
    const MenuTreePlan plan = Tree(e);
    EXPECT_EQ(plan.ItemHeight, 20);
    // Popups: root, under Run, under Sub, under Tools, under Deep.
    std::vector<std::tuple<std::int32_t, std::int32_t, Ints>> got;
    for (const auto& p : plan.Popups) got.emplace_back(p.Heading, p.Parent, p.Entries);
    EXPECT_EQ(got, (decltype(got){{0, -1, {1, 5, 6}}, {1, 0, {2, 4}}, {2, 1, {3}},
                                  {6, 0, {7}}, {7, 3, {8}}}));
    // The entry that skips levels opens nothing: it joins the popup open then.
    EXPECT_EQ(std::tuple(e.Items()[6].Depth, e.Items()[6].Position), std::tuple(0, 2));
    // Each popup's width is its widest text: the 24-byte caption widens only
    // its own popup, not the later one of the same depth the list ends in.
    Ints widths;
    for (std::int32_t i = 1; i <= e.Count(); ++i) widths.push_back(e.Items()[i].Width);
    EXPECT_EQ(widths, (Ints{112, 70, 168, 70, 112, 112, 70, 70}));
    EXPECT_EQ(plan.MenuTextWidth, 112);
    EXPECT_TRUE(e.Items()[4].IsSeparator());  // "--->-" is a separator in Run's submenu
    EXPECT_EQ(EntryTypeFlags(e.Items()[4], true), win::kMfSeparator | win::kMfOwnerDraw);
    EXPECT_EQ(EntryTypeFlags(e.Items()[1], false), 0u);
}

TEST(DIPMenu, DepthBeyondTwelveJoinsTheDeepestLevel) {
    DIPMenuEntries e;
    std::string prefix;
    for (int d = 0; d <= 14; ++d, prefix += "--->") e.AddMenuItem(prefix + "L", d, -1, {});
    const MenuTreePlan plan = Tree(e);
    EXPECT_EQ(plan.Popups.size(), 13u);
    EXPECT_EQ(plan.Popups.back().Entries, (Ints{13, 14, 15}));
    EXPECT_EQ(e.Items()[15].Depth, kMaxMenuDepth);
}

TEST(DIPMenu, EntriesIdsAndIconCells) {
    DIPMenuEntries e;
    const MenuIconStrip multi{.RowY = 5, .Multiline = true, .MaskBelowIcon = true};
    e.AddMenuItem("A", 7, 3, {.RowY = 21});
    e.AddMenuItem("-", 8, 250, multi);
    EXPECT_EQ(std::tuple(e.Items()[1].IconX, e.Items()[1].IconY), std::tuple(48, 21));
    EXPECT_EQ(std::tuple(e.Items()[2].IconX, e.Items()[2].IconY), std::tuple(800, 37));
    EXPECT_EQ(MenuMaskCell({800, 37}, multi), (ScreenPoint{800, 53}));
    EXPECT_FALSE(MenuIconCell(-1, multi).has_value());
    EXPECT_EQ(std::tuple(e.GetItemId(0), e.GetItemId(2), e.GetItemId(3)),
              std::tuple(std::nullopt, 8, std::nullopt));
}

TEST(DIPMenu, MnemonicRunsFirstMatchOfTheLastDrawnPopup) {
    DIPMenuEntries e = Entries({"&Open", "&Copy", "--->&Alpha", "--->&Beta", "--->A&ll",
                                "--->--->&Apple", "&Another", "Fish && &Chips"});
    Tree(e);
    EXPECT_EQ(e.Items()[8].Mnemonic, U'&');  // the first "&" decides, "&&" too
    EXPECT_EQ(MnemonicOf("&Über"), U'ü');
    // Other scripts: a typed small letter finds its capital.
    const std::u32string capitals = U"ĀĽŽŁΩΆΈΌΏДЁЯ", smalls = U"āľžłωάέόώдёя";
    for (std::size_t i = 0; i < capitals.size(); ++i)
        EXPECT_EQ(LowerMnemonic(capitals[i]), smalls[i]) << std::uint32_t(capitals[i]);
    for (char32_t unchanged : {U'ı', U'ω', U'я', U'中', U'1'}) EXPECT_EQ(LowerMnemonic(unchanged), unchanged);
    EXPECT_EQ(MnemonicOf("&\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1"), U'ω');  // "&Ωμέγα"
    struct Case {
        LastDrawn last;
        char32_t typed;
        std::optional<std::int32_t> position;
    };
    const Case cases[] = {
        {{0, false, 0}, U'O', 0},   // nothing drawn yet: the root, case ignored
        {{2, true, 0}, U'a', 2},    // root: "&Another", not the submenu's "&Alpha"
        {{4, true, 1}, U'a', 0},    // Copy's submenu: the first of two "a"s
        {{6, false, 2}, U'a', 0},   // the innermost submenu
        {{4, false, 1}, U'z', std::nullopt},
        {{7, false, 0}, U'&', 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchMnemonic(e, c.last, c.typed), c.position) << int(c.typed);
    }
    EXPECT_EQ(MenuCharExecute(4), 0x20004);
}

TEST(DIPMenu, WrapsAndWhatDestroyAllReleases) {
    EXPECT_EQ(SetWraps(60, 20, 1024), (WrapPlan{31, true}));
    EXPECT_EQ(SetWraps(40, 20, 1024), (WrapPlan{21, false}));
    EXPECT_EQ(SetWraps(1, 2000, 1024), (WrapPlan{-1, false}));
    DIPMenuHoldings held = HoldingsAfterCreate(true);
    EXPECT_EQ(TakeForDestroy(held), (DIPMenuHoldings{true, true, true}));
    EXPECT_FALSE(TakeForDestroy(held).Any());  // a second DestroyAll releases nothing
}

TEST(DIPMenu, OnALargerScreenEntriesAreAsTallAsTheirIcon) {
    DIPMenuEntries e = Entries({"A"});
    FakeMeasure m;  // "H" 16 high
    EXPECT_EQ(BuildMenuTree(e, kMinMenuTextWidth, MenuIconStrip{}, m).ItemHeight, 20);
    const MenuIconStrip big{.IconSize = 32, .Scale = Dpi{192}};
    EXPECT_EQ(BuildMenuTree(e, kMinMenuTextWidth, big, m).ItemHeight, 36);  // not 16 + 8
}

}  // namespace
}  // namespace zorv
