#include "bar/bar_layout.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Ints = std::vector<std::int32_t>;
using Plans = std::vector<ButtonMenuPlan>;

clsItems Buttons(std::initializer_list<std::pair<const char*, const char*>> descAndPath) {
    clsItems list("[Button]", false);
    for (const auto& [desc, path] : descAndPath) {
        Item item;
        item.Desc = desc;
        item.Path = path;
        list.AddItem(item);
    }
    return list;
}

// Left edges of every cell, the main-menu cell included, then W.
Ints Lefts(const BarLayout& layout) {
    Ints v;
    for (std::int32_t i = 0; i <= layout.Count(); ++i) v.push_back(layout.ButtonX(i));
    v.push_back(layout.BarWidth());
    return v;
}

TEST(BarLayout, CellsOfButtonSeparatorButton_RaisedAndFlat) {
    clsItems list = Buttons({{"A", "a.exe"}, {"-", ""}, {"B", "b.exe"}});
    BarLayout raised(list, false);
    EXPECT_EQ(Lefts(raised), (Ints{0, 22, 34, 56, 78}));
    EXPECT_EQ(raised.CellRight(1), 33);
    EXPECT_EQ(raised.CellRight(3), 77);
    EXPECT_EQ(raised.KindAt(1), CellKind::Separator);
    EXPECT_EQ(raised.KindAt(3), CellKind::MainMenu);
    EXPECT_EQ(Lefts(BarLayout(list, true)), (Ints{0, 21, 33, 54, 75}));
}

TEST(BarLayout, MenuEntriesTakeNoCellAndFollowingButtonMovesUp) {
    clsItems list = Buttons({{"M", ""}, {"--->X", "x"}, {"--->Y", "y"}, {"N", "n"}});
    BarLayout layout(list, false);
    EXPECT_EQ(Lefts(layout), (Ints{0, 22, 22, 22, 44, 66}));
    EXPECT_EQ(layout.KindAt(2), CellKind::MenuEntry);
    // An indented "-" is a menu entry, not a separator.
    EXPECT_EQ(BarLayout(std::vector<std::string>{"A", "--->-"}, false).KindAt(1),
              CellKind::MenuEntry);
    EXPECT_EQ(PlanButtonMenus(list), (Plans{{0, ButtonMenuKind::SubMenu, {1, 2}}}));
}

TEST(BarLayout, ButtonAtFindsCellsSkipsMenuEntriesAndReturnsCountBeyond) {
    BarLayout layout(std::vector<std::string>{"M", "--->X", "--->Y", "N", "-"}, false);
    // Cells: M 0..21, N 22..43, separator 44..55, main menu 56..77; the last
    // two probe with 30 pixels hidden at the left.
    const std::pair<std::int32_t, std::int32_t> xAndScroll[] = {
        {-3, 0}, {21, 0}, {22, 0}, {43, 0}, {44, 0}, {56, 0}, {30000, 0}, {0, 30}, {14, 30}};
    Ints got;
    for (auto [x, scroll] : xAndScroll) got.push_back(layout.ButtonAt(x, scroll));
    EXPECT_EQ(got, (Ints{0, 0, 3, 3, 4, 5, 5, 3, 4}));
    EXPECT_EQ(BarLayout().ButtonAt(0, 0), 0);
    EXPECT_EQ(BarLayout().BarWidth(), 22);
}

TEST(BarLayout, BarImageWidensWhenIconSlotsOutrunTheCells) {
    std::vector<std::string> descs(10, "-");
    descs.push_back("A");
    BarLayout layout(descs, false);
    EXPECT_EQ(layout.BarWidth(), 164);
    EXPECT_EQ(layout.BarImageWidth(), 176);  // the icon of item 10 lies at 160..175
    EXPECT_EQ(BarLayout(std::vector<std::string>{"A", "B"}, false).BarImageWidth(), 66);
}

TEST(BarMetrics, HeightAndIconTopPerIndexAndOutOfRangeResetToZero) {
    for (auto [id, height, iconTop] : {std::tuple{0, 20, 2}, {1, 21, 2}, {2, 19, 1}}) {
        BarMetrics m = ResolveBarMetrics(id);
        EXPECT_EQ(std::tuple(m.Height, m.IconTop, m.ButHIdReset),
                  std::tuple(height, iconTop, false));
    }
    for (std::int32_t bad : {3, -1}) {
        BarMetrics m = ResolveBarMetrics(bad);
        EXPECT_EQ(std::tuple(m.ButHId, m.Height, m.ButHIdReset), std::tuple(0, 20, true));
    }
}

TEST(BarImages, IconPlacesAndFaceSourcesInTheStrip) {
    EXPECT_EQ(IconPosition(34, 2, false), (ScreenPoint{36, 2}));
    EXPECT_EQ(IconPosition(34, 1, true), (ScreenPoint{37, 2}));
    EXPECT_EQ(IconSlot(3), (ScreenPoint{48, 21}));
    EXPECT_EQ(MaskSlot(3), (ScreenPoint{48, 37}));
    EXPECT_EQ(BuiltInIconSource(150), (ScreenPoint{784, 16}));
    EXPECT_EQ(BuiltInIconSource(1), (ScreenPoint{0, 0}));
    EXPECT_EQ(BuiltInIconSource(100), (ScreenPoint{1584, 0}));
    EXPECT_EQ(BuiltInIconSource(101), (ScreenPoint{0, 16}));
    EXPECT_EQ(BuiltInIconSource(200), (ScreenPoint{1584, 16}));
    EXPECT_FALSE(BuiltInIconSource(0));
    EXPECT_FALSE(BuiltInIconSource(201));
    // Heights 20, 21, 19 for ButH_id 0, 1, 2, then separators by height.
    EXPECT_EQ((Ints{EmptyFaceX(0), PressedFaceX(0), EmptyFaceX(1), PressedFaceX(1), EmptyFaceX(2),
                    PressedFaceX(2), SeparatorFaceX(19), SeparatorFaceX(20), SeparatorFaceX(21)}),
              (Ints{0, 22, 44, 66, 88, 110, 132, 144, 156}));
}

TEST(IconSource, EmptyBuiltInFileAndUnusableNumbers) {
    EXPECT_EQ(ResolveIconSource(" \t", "C:\\Zorv\\Icons").Kind, IconSourceKind::ProgramIcon);
    EXPECT_EQ(ResolveIconSource(" **150 ", "C:\\I"),
              (IconSource{IconSourceKind::BuiltIn, 150, {784, 16}, ""}));
    EXPECT_EQ(ResolveIconSource("**007", "").BuiltInNumber, 7);
    for (const char* bad : {"**", "**0", "**201", "**abc", "** 5", "**15x", "**99999999999"}) {
        EXPECT_EQ(ResolveIconSource(bad, "C:\\I"), IconSource{}) << bad;
    }
    EXPECT_EQ(ResolveIconSource(" notepad.bmp", "C:\\Zorv\\Icons"),
              (IconSource{IconSourceKind::File, 0, {}, "C:\\Zorv\\Icons\\notepad.bmp"}));
}

TEST(BarButtonMenus, EndOfMenuBlockSpansAllDeeperItems) {
    clsItems list =
        Buttons({{"M", ""}, {"--->X", ""}, {"--->--->Y", ""}, {"--->Z", ""}, {"N", ""}, {"O", ""}});
    Ints ends;
    for (std::int32_t i : {0, 1, 4, 5, 6}) ends.push_back(FindEndOfBarmenu(list, i));
    EXPECT_EQ(ends, (Ints{3, 3, 4, 5, 6}));  // from inside the block: to its end
    EXPECT_EQ(PlanButtonMenus(list), (Plans{{0, ButtonMenuKind::SubMenu, {1, 2, 3}}}));
}

TEST(BarButtonMenus, ClipboardButtonsAndWhichMenuWins) {
    clsItems list = Buttons({{"C1", "*CLIP*"},
                             {"C2", "*CLIP2*"},
                             {"C3", "*clip*"},  // not a clipboard button
                             {"C4", "*CLIP*"},
                             {"--->Sub", "s"},
                             {"Odd", ""},
                             {"--->--->Deep", ""},
                             {"-", ""},
                             {"--->UnderSep", ""}});
    EXPECT_EQ(PlanButtonMenus(list), (Plans{{0, ButtonMenuKind::Clipboard1, {}},
                                            {1, ButtonMenuKind::Clipboard2, {}},
                                            {3, ButtonMenuKind::SubMenu, {4}},
                                            {7, ButtonMenuKind::SubMenu, {8}}}));
}

// '1' for each point that counts as on the bar (left 500, width 200, height 20).
std::string OnBar(std::initializer_list<ScreenPoint> points, bool menuCellOnly) {
    std::string got;
    for (ScreenPoint p : points) got += MouseOnBar(p, {500, 200, 20}, 22, menuCellOnly) ? '1' : '0';
    return got;
}

TEST(HitTests, MouseOnBarHasNoRightLimitButMenuCellHas) {
    EXPECT_EQ(OnBar({{499, 5}, {500, 5}, {1279, 5}, {600, 20}, {600, 21}}, false), "01110");
    EXPECT_EQ(OnBar({{677, 5}, {678, 5}, {699, 5}, {700, 5}, {690, 21}}, true), "01100");
    EXPECT_TRUE(MouseOnBorder(1279, 1280, true));
    EXPECT_FALSE(MouseOnBorder(1278, 1280, true));
    EXPECT_FALSE(MouseOnBorder(0, 1280, true));
    EXPECT_TRUE(MouseOnBorder(0, 1280, false));
    EXPECT_FALSE(MouseOnBorder(1, 1280, false));
}

}  // namespace
}  // namespace zorv
