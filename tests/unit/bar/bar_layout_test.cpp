#include "bar/bar_layout.h"

#include <gtest/gtest.h>

#include "bar/bar_region.h"

namespace zorv {
namespace {

using Ints = std::vector<std::int32_t>;
using Plans = std::vector<ButtonMenuPlan>;

clsItems Buttons(std::initializer_list<std::pair<const char*, const char*>> descAndPath) {
    clsItems list("[Button]", false);
    for (const auto& [desc, path] : descAndPath) list.AddItem(Item{.Desc = desc, .Path = path});
    return list;
}

// Left edges of every cell, the main-menu cell included, then W.
Ints Lefts(const BarLayout& layout) {
    Ints v;
    for (std::int32_t i = 0; i <= layout.Count(); ++i) v.push_back(layout.ButtonX(i));
    v.push_back(layout.BarWidth());
    return v;
}

TEST(BarLayout, CellsOfButtonsAndSeparators_MenuEntriesTakeNone) {
    clsItems list = Buttons({{"A", "a.exe"}, {"-", ""}, {"B", "b.exe"}});
    BarLayout raised(list, false);
    EXPECT_EQ(Lefts(raised), (Ints{0, 22, 34, 56, 78}));
    EXPECT_EQ(std::tuple(raised.CellRight(1), raised.CellRight(3)), std::tuple(33, 77));
    EXPECT_EQ(std::tuple(raised.KindAt(1), raised.KindAt(3)),
              std::tuple(CellKind::Separator, CellKind::MainMenu));
    EXPECT_EQ(Lefts(BarLayout(list, true)), (Ints{0, 21, 33, 54, 75}));
    BarLayout menu(std::vector<std::string>{"M", "--->X", "--->-", "N"}, false);
    EXPECT_EQ(Lefts(menu), (Ints{0, 22, 22, 22, 44, 66}));
    EXPECT_EQ(menu.KindAt(2), CellKind::MenuEntry);  // an indented "-" too
    // The bar image widens when the 16-pixel icon slots outrun the cells.
    std::vector<std::string> descs(10, "-");
    descs.push_back("A");
    EXPECT_EQ(BarLayout(descs, false).BarWidth(), 164);
    EXPECT_EQ(BarLayout(descs, false).BarImageWidth(), 176);
    EXPECT_EQ(BarLayout(std::vector<std::string>{"A", "B"}, false).BarImageWidth(), 66);
    // Heights by ButH_id; anything else resets to 0.
    EXPECT_EQ(std::tuple(ResolveBarMetrics(2).Height, ResolveBarMetrics(2).IconTop),
              std::tuple(19, 1));
    EXPECT_EQ(std::tuple(ResolveBarMetrics(1).Height, ResolveBarMetrics(1).IconTop),
              std::tuple(21, 2));
    for (std::int32_t bad : {3, -1}) {
        const BarMetrics m = ResolveBarMetrics(bad);
        EXPECT_EQ(std::tuple(m.ButHId, m.Height, m.ButHIdReset), std::tuple(0, 20, true));
    }
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
}

TEST(BarRegion, TransparentSeparatorsCutTheBarIntoRuns_ShiftedByTheScroll) {
    auto region = [](std::vector<std::string> descs, std::int32_t sepColor = 4) {
        return BarRegionRects(BarLayout(descs, false), sepColor, 20, 0);
    };
    using Rects = std::vector<PixelRect>;
    for (std::int32_t opaque : {0, 3}) EXPECT_TRUE(region({"A", "-", "B"}, opaque).empty());
    EXPECT_EQ(region({"A", "-", "B"}), (Rects{{0, 0, 22, 20}, {34, 0, 78, 20}}));
    EXPECT_EQ(region({"A", "-", "-", "B"}), (Rects{{0, 0, 22, 20}, {46, 0, 90, 20}}));
    EXPECT_EQ(region({"-", "A", "-"}), (Rects{{12, 0, 34, 20}, {46, 0, 68, 20}}));
    EXPECT_EQ(region({}), (Rects{{0, 0, 22, 20}}));
    EXPECT_EQ(region({"M", "--->X", "N", "-", "--->Y", "O"}),  // entries do not break a run
              (Rects{{0, 0, 44, 20}, {56, 0, 100, 20}}));
    EXPECT_EQ(BarRegionRects(BarLayout(std::vector<std::string>{"A", "-"}, true), 4, 19, 5),
              (Rects{{-5, 0, 16, 19}, {28, 0, 49, 19}}));
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
    // A hundred built-in pictures to a row; a pressed button's icon moves one pixel.
    EXPECT_EQ(BuiltInIconSource(100), (PixelPoint{1584, 0}));
    EXPECT_EQ(BuiltInIconSource(101), (PixelPoint{0, 16}));
    EXPECT_FALSE(BuiltInIconSource(0) || BuiltInIconSource(201));
    // The faces in the strip: normal and pressed by ButH_id, separators by height.
    EXPECT_EQ((Ints{EmptyFaceX(1), PressedFaceX(0), PressedFaceX(2), SeparatorFaceX(21)}),
              (Ints{44, 22, 110, 156}));
    EXPECT_EQ(IconPosition(34, 2, false), (PixelPoint{36, 2}));
    EXPECT_EQ(IconPosition(34, 1, true), (PixelPoint{37, 2}));
}

TEST(BarButtonMenus, DeeperItemsFormASubMenu_ClipboardButtonsTheirOwn) {
    clsItems list =
        Buttons({{"M", ""}, {"--->X", ""}, {"--->--->Y", ""}, {"--->Z", ""}, {"N", ""}, {"O", ""}});
    Ints ends;
    for (std::int32_t i : {0, 1, 4, 5, 6}) ends.push_back(FindEndOfBarmenu(list, i));
    EXPECT_EQ(ends, (Ints{3, 3, 4, 5, 6}));  // from inside the block: to its end
    EXPECT_EQ(PlanButtonMenus(list), (Plans{{0, ButtonMenuKind::SubMenu, {1, 2, 3}}}));
    list = Buttons({{"C1", "*CLIP*"},
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

TEST(HitTests, MouseOnBarHasNoRightLimitButMenuCellHas) {
    // '1' for each point that counts as on the bar (left 500, width 200, height 20).
    auto onBar = [](std::initializer_list<PixelPoint> points, bool menuCellOnly) {
        std::string got;
        for (PixelPoint p : points)
            got += MouseOnBar(p, {500, 200, 20}, 22, menuCellOnly) ? '1' : '0';
        return got;
    };
    EXPECT_EQ(onBar({{499, 5}, {500, 5}, {1279, 5}, {600, 20}, {600, 21}}, false), "01110");
    EXPECT_EQ(onBar({{677, 5}, {678, 5}, {699, 5}, {700, 5}, {690, 21}}, true), "01100");
    EXPECT_TRUE(MouseOnBorder(1279, 1280, true) && MouseOnBorder(0, 1280, false));
    EXPECT_FALSE(MouseOnBorder(1278, 1280, true) || MouseOnBorder(0, 1280, true));
    EXPECT_FALSE(MouseOnBorder(1, 1280, false));
}

}  // namespace
}  // namespace zorv
