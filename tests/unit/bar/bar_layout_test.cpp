#include "bar/bar_layout.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

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

TEST(BarLayout, CellsOfButtonSeparatorButton_RaisedAndFlat) {
    clsItems list = Buttons({{"A", "a.exe"}, {"-", ""}, {"B", "b.exe"}});
    BarLayout raised(list, false);
    EXPECT_EQ(raised.ButtonX(0), 0);
    EXPECT_EQ(raised.ButtonX(1), 22);
    EXPECT_EQ(raised.ButtonX(2), 34);
    EXPECT_EQ(raised.ButtonX(3), 56);  // main-menu cell
    EXPECT_EQ(raised.BarWidth(), 78);
    EXPECT_EQ(raised.CellRight(0), 21);
    EXPECT_EQ(raised.CellRight(1), 33);
    EXPECT_EQ(raised.CellRight(3), 77);
    EXPECT_EQ(raised.KindAt(1), CellKind::Separator);
    EXPECT_EQ(raised.KindAt(3), CellKind::MainMenu);
    EXPECT_EQ(ResolveBarMetrics(0).Height, 20);

    BarLayout flat(list, true);
    EXPECT_EQ(flat.ButtonX(1), 21);
    EXPECT_EQ(flat.ButtonX(2), 33);
    EXPECT_EQ(flat.ButtonX(3), 54);
    EXPECT_EQ(flat.BarWidth(), 75);
}

TEST(BarLayout, MenuEntriesTakeNoCellAndFollowingButtonMovesUp) {
    clsItems list = Buttons({{"M", ""}, {"--->X", "x"}, {"--->Y", "y"}, {"N", "n"}});
    BarLayout layout(list, false);
    EXPECT_EQ(layout.ItemWidth(1), 0);
    EXPECT_EQ(layout.KindAt(2), CellKind::MenuEntry);
    EXPECT_EQ(layout.ButtonX(3), 22);
    EXPECT_EQ(layout.BarWidth(), 66);
    // An indented "-" is a menu entry, not a separator.
    EXPECT_EQ(BarLayout(std::vector<std::string>{"A", "--->-"}, false).KindAt(1),
              CellKind::MenuEntry);

    std::vector<ButtonMenuPlan> plans = PlanButtonMenus(list);
    ASSERT_EQ(plans.size(), 1u);
    EXPECT_EQ(plans[0], (ButtonMenuPlan{0, ButtonMenuKind::SubMenu, {1, 2}}));
}

TEST(BarLayout, ButtonAtFindsCellsSkipsMenuEntriesAndReturnsCountBeyond) {
    BarLayout layout(std::vector<std::string>{"M", "--->X", "--->Y", "N", "-"}, false);
    // Cells: M 0..21, N 22..43, separator 44..55, main menu 56..77.
    EXPECT_EQ(layout.ButtonAt(-3, 0), 0);
    EXPECT_EQ(layout.ButtonAt(21, 0), 0);
    EXPECT_EQ(layout.ButtonAt(22, 0), 3);
    EXPECT_EQ(layout.ButtonAt(43, 0), 3);
    EXPECT_EQ(layout.ButtonAt(44, 0), 4);
    EXPECT_EQ(layout.ButtonAt(56, 0), 5);
    EXPECT_EQ(layout.ButtonAt(30000, 0), 5);
    // With 30 pixels hidden at the left, client x 0 is bar x 30 (button N).
    EXPECT_EQ(layout.ButtonAt(0, 30), 3);
    EXPECT_EQ(layout.ButtonAt(14, 30), 4);
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
    EXPECT_EQ(ResolveBarMetrics(1).Height, 21);
    EXPECT_EQ(ResolveBarMetrics(1).IconTop, 2);
    EXPECT_EQ(ResolveBarMetrics(2).Height, 19);
    EXPECT_EQ(ResolveBarMetrics(2).IconTop, 1);
    EXPECT_FALSE(ResolveBarMetrics(2).ButHIdReset);
    for (std::int32_t bad : {3, -1, 1000}) {
        BarMetrics m = ResolveBarMetrics(bad);
        EXPECT_TRUE(m.ButHIdReset);
        EXPECT_EQ(m.ButHId, 0);
        EXPECT_EQ(m.Height, 20);
    }
}

TEST(BarImages, IconPlacesAndFaceSourcesInTheStrip) {
    EXPECT_EQ(IconPosition(34, 2, false), (PixelPoint{36, 2}));
    EXPECT_EQ(IconPosition(34, 1, true), (PixelPoint{37, 2}));
    EXPECT_EQ(IconSlot(3), (PixelPoint{48, 21}));
    EXPECT_EQ(MaskSlot(3), (PixelPoint{48, 37}));
    EXPECT_EQ(BuiltInIconSource(150), (PixelPoint{784, 16}));
    EXPECT_EQ(BuiltInIconSource(1), (PixelPoint{0, 0}));
    EXPECT_EQ(BuiltInIconSource(100), (PixelPoint{1584, 0}));
    EXPECT_EQ(BuiltInIconSource(101), (PixelPoint{0, 16}));
    EXPECT_EQ(BuiltInIconSource(200), (PixelPoint{1584, 16}));
    EXPECT_FALSE(BuiltInIconSource(0));
    EXPECT_FALSE(BuiltInIconSource(201));
    // Heights 20, 21, 19 for ButH_id 0, 1, 2.
    EXPECT_EQ(EmptyFaceX(0), 0);
    EXPECT_EQ(PressedFaceX(0), 22);
    EXPECT_EQ(EmptyFaceX(1), 44);
    EXPECT_EQ(PressedFaceX(1), 66);
    EXPECT_EQ(EmptyFaceX(2), 88);
    EXPECT_EQ(PressedFaceX(2), 110);
    EXPECT_EQ(SeparatorFaceX(19), 132);
    EXPECT_EQ(SeparatorFaceX(20), 144);
    EXPECT_EQ(SeparatorFaceX(21), 156);
}

TEST(IconSource, EmptyBuiltInFileAndUnusableNumbers) {
    EXPECT_EQ(ResolveIconSource(" \t", "C:\\Zorv\\Icons").Kind, IconSourceKind::ProgramIcon);
    IconSource builtIn = ResolveIconSource(" **150 ", "C:\\Zorv\\Icons");
    EXPECT_EQ(builtIn.Kind, IconSourceKind::BuiltIn);
    EXPECT_EQ(builtIn.BuiltInNumber, 150);
    EXPECT_EQ(builtIn.BuiltInAt, (PixelPoint{784, 16}));
    EXPECT_EQ(ResolveIconSource("**007", "").BuiltInNumber, 7);
    for (const char* bad : {"**", "**0", "**201", "**abc", "** 5", "**15x", "**99999999999"}) {
        EXPECT_EQ(ResolveIconSource(bad, "C:\\I"), IconSource{}) << bad;
    }
    IconSource file = ResolveIconSource(" notepad.bmp", "C:\\Zorv\\Icons");
    EXPECT_EQ(file.Kind, IconSourceKind::File);
    EXPECT_EQ(file.FilePath, "C:\\Zorv\\Icons\\notepad.bmp");
}

TEST(BarButtonMenus, EndOfMenuBlockSpansAllDeeperItems) {
    clsItems list =
        Buttons({{"M", ""}, {"--->X", ""}, {"--->--->Y", ""}, {"--->Z", ""}, {"N", ""}, {"O", ""}});
    EXPECT_EQ(FindEndOfBarmenu(list, 0), 3);
    EXPECT_EQ(FindEndOfBarmenu(list, 4), 4);
    EXPECT_EQ(FindEndOfBarmenu(list, 5), 5);
    EXPECT_EQ(FindEndOfBarmenu(list, 1), 3);  // from inside the block: to its end
    EXPECT_EQ(FindEndOfBarmenu(list, 6), 6);
    EXPECT_EQ(PlanButtonMenus(list),
              (std::vector<ButtonMenuPlan>{{0, ButtonMenuKind::SubMenu, {1, 2, 3}}}));
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
    EXPECT_EQ(PlanButtonMenus(list), (std::vector<ButtonMenuPlan>{
                                         {0, ButtonMenuKind::Clipboard1, {}},
                                         {1, ButtonMenuKind::Clipboard2, {}},
                                         {3, ButtonMenuKind::SubMenu, {4}},
                                         {7, ButtonMenuKind::SubMenu, {8}},
                                     }));
}

TEST(HitTests, MouseOnBarHasNoRightLimitButMenuCellHas) {
    BarWindowFacts bar{500, 200, 20};
    EXPECT_FALSE(MouseOnBar({499, 5}, bar, 22, false));
    EXPECT_TRUE(MouseOnBar({500, 5}, bar, 22, false));
    EXPECT_TRUE(MouseOnBar({1279, 5}, bar, 22, false));
    EXPECT_TRUE(MouseOnBar({600, 20}, bar, 22, false));
    EXPECT_FALSE(MouseOnBar({600, 21}, bar, 22, false));
    EXPECT_FALSE(MouseOnBar({677, 5}, bar, 22, true));
    EXPECT_TRUE(MouseOnBar({678, 5}, bar, 22, true));
    EXPECT_TRUE(MouseOnBar({699, 5}, bar, 22, true));
    EXPECT_FALSE(MouseOnBar({700, 5}, bar, 22, true));
    EXPECT_FALSE(MouseOnBar({690, 21}, bar, 22, true));

    EXPECT_TRUE(MouseOnBorder(1279, 1280, true));
    EXPECT_FALSE(MouseOnBorder(1278, 1280, true));
    EXPECT_FALSE(MouseOnBorder(0, 1280, true));
    EXPECT_TRUE(MouseOnBorder(0, 1280, false));
    EXPECT_FALSE(MouseOnBorder(1, 1280, false));
}

}  // namespace
}  // namespace zorv
