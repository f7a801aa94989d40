#include "bar/bar_layout.h"

#include <gtest/gtest.h>

#include "bar/bar_region.h"
#include "bar/face_strip.h"
#include "bar/button_click.h"
#include "bar/icon_source.h"

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
    BarLayout raised(list, false);  // the widths are judged on screen end to end
    EXPECT_EQ(raised.CellRight(1), 33);
    EXPECT_EQ(std::tuple(raised.KindAt(1), raised.KindAt(3)),
              std::tuple(CellKind::Separator, CellKind::MainMenu));
    BarLayout menu(std::vector<std::string>{"M", "--->X", "--->-", "N"}, false);
    EXPECT_EQ(Lefts(menu), (Ints{0, 22, 22, 22, 44, 66}));
    EXPECT_EQ(menu.KindAt(2), CellKind::MenuEntry);  // an indented "-" too
    // The bar image widens when the 16-pixel icon slots outrun the cells.
    std::vector<std::string> descs(10, "-");
    descs.push_back("A");
    EXPECT_EQ(BarLayout(descs, false).BarWidth(), 164);
    EXPECT_EQ(BarLayout(descs, false).BarImageWidth(), 176);
    EXPECT_EQ(BarLayout(std::vector<std::string>{"A", "B"}, false).BarImageWidth(), 66);
    EXPECT_FALSE(ResolveBarMetrics(0).ButHIdReset);  // ButH_id outside 0..2 resets to 0
    for (std::int32_t bad : {3, -1}) {
        const BarMetrics m = ResolveBarMetrics(bad);
        EXPECT_EQ(std::tuple(m.ButHId, m.Height, m.ButHIdReset), std::tuple(0, 20, true));
    }
}

// Lengths drawn at 96 dpi on other screens: exact at 96, halves up, floor
// for negative ones; a resolution nobody has counts as 96.
TEST(Dpi, PxRoundsHalvesUp_96IsExact_AbsurdResolutionsAreStandard) {
    for (std::int32_t v : {-55, 0, 1, 12, 21, 22, 53, 30000}) EXPECT_EQ(Dpi{}.Px(v), v);
    const Dpi at150{144};
    EXPECT_EQ((Ints{at150.Px(1), at150.Px(12), at150.Px(16), at150.Px(19), at150.Px(21),
                    at150.Px(22), at150.Px(-55)}),
              (Ints{2, 18, 24, 29, 32, 33, -82}));
    EXPECT_EQ(Dpi{120}.Px(16), 20);
    EXPECT_EQ(DpiOrStandard(0), Dpi{});
    EXPECT_EQ(DpiOrStandard(100000), Dpi{});
    EXPECT_EQ(DpiOrStandard(192).Value, 192);
}

// Every rule at 125 % to 300 %: the icon (normal and pressed) inside its
// cell, the cells tiling the bar, the image rows stacked below the bar, the
// icon strip chosen at or above the icon's size.
TEST(BarLayout, AtEachResolution_IconsFitTheirCells_CellsTile_RowsStack) {
    const std::vector<std::string> descs = {"A", "-", "--->X", "B", "-", "-", "C"};
    for (std::int32_t value = 96; value <= 288; value += 24) {
        const Dpi dpi{value};
        SCOPED_TRACE(value);
        for (bool flat : {false, true}) {
            const BarLayout layout(descs, flat, dpi);
            EXPECT_EQ(layout.ButtonWidth(), ButtonWidth(flat, dpi));
            std::int32_t x = 0;
            for (std::int32_t i = 0; i <= layout.Count(); ++i) {
                EXPECT_EQ(layout.ButtonX(i), x);
                x += layout.ItemWidth(i);
            }
            EXPECT_EQ(layout.BarWidth(), x);
            EXPECT_EQ(layout.ItemWidth(1), dpi.Px(kSeparatorWidth));
            EXPECT_GE(layout.BarImageWidth(), dpi.Px(kIconSize) * layout.Count());
            for (std::int32_t h = 0; h < 3; ++h) {
                const BarMetrics m = ResolveBarMetrics(h, dpi);
                const ScreenPoint pressed = IconPosition(0, m.IconTop, true, dpi);
                EXPECT_LE(pressed.X + m.IconSize, layout.ButtonWidth()) << "height " << h;
                EXPECT_LE(pressed.Y + m.IconSize, m.Height) << "height " << h;
                EXPECT_EQ(m.IconRowTop(), dpi.Px(kFaceStripHeight));
                EXPECT_EQ(m.BarImageHeight(), m.IconRowTop() + 2 * m.IconSize);
                EXPECT_EQ(IconSlot(3, m), (ScreenPoint{3 * m.IconSize, m.IconRowTop()}));
                EXPECT_EQ(MaskSlot(3, m).Y, m.IconRowTop() + m.IconSize);
                // The faces cut from the strip lie inside it.
                EXPECT_LE(PressedFaceX(h, dpi) + dpi.Px(kFaceImageWidth),
                          dpi.Px(kFaceStripWidth));
                EXPECT_LE(SeparatorFaceX(m.BaseHeight, dpi) + dpi.Px(kSeparatorWidth),
                          dpi.Px(kFaceStripWidth));
            }
        }
        EXPECT_GE(IconStripSizeFor(dpi.Px(kIconSize)),
                  std::min<std::int32_t>(dpi.Px(kIconSize), 32));
    }
    // 100 % is what it always was.
    const BarMetrics m = ResolveBarMetrics(2);
    EXPECT_EQ(std::tuple(m.Height, m.IconTop, m.IconSize, m.LineHeight, m.BarImageHeight()),
              std::tuple(19, 1, 16, 1, kBarImageHeight));
    EXPECT_EQ((Ints{IconStripSizeFor(16), IconStripSizeFor(20), IconStripSizeFor(24),
                    IconStripSizeFor(32), IconStripSizeFor(48)}),
              (Ints{16, 24, 24, 32, 32}));
    EXPECT_EQ(*BuiltInIconSource(101, 24), (ScreenPoint{0, 24}));
}

TEST(BarLayout, ButtonAtFindsCellsSkipsMenuEntriesAndReturnsCountBeyond) {
    BarLayout layout(std::vector<std::string>{"M", "--->X", "--->Y", "N", "-"}, false);
    // Cells: M 0..21, N 22..43, separator 44..55, main menu 56..77; the last
    // two probe with 30 pixels hidden at the left.
    const std::pair<std::int32_t, std::int32_t> xAndScroll[] = {{-3, 0}, {21, 0},    {22, 0},
                                                                {56, 0}, {30000, 0}, {14, 30}};
    Ints got;
    for (auto [x, scroll] : xAndScroll) got.push_back(layout.ButtonAt(x, scroll));
    EXPECT_EQ(got, (Ints{0, 0, 3, 5, 5, 4}));
    EXPECT_EQ(BarLayout().ButtonAt(0, 0), 0);
}

TEST(BarRegion, TransparentSeparatorsCutTheBarIntoRuns_ShiftedByTheScroll) {
    auto region = [](std::vector<std::string> descs, std::int32_t sepColor = 4) {
        return BarRegionRects(BarLayout(descs, false), sepColor, 20, 0);
    };
    using Rects = std::vector<ScreenRect>;
    // The holes themselves are judged on screen end to end (SepColor=4).
    EXPECT_TRUE(region({"A", "-", "B"}, 3).empty());
    EXPECT_EQ(region({"-", "A", "-"}), (Rects{{12, 0, 22, 20}, {46, 0, 22, 20}}));
    EXPECT_EQ(region({"M", "--->X", "N", "-", "--->Y", "O"}),  // entries do not break a run
              (Rects{{0, 0, 44, 20}, {56, 0, 44, 20}}));
    EXPECT_EQ(BarRegionRects(BarLayout(std::vector<std::string>{"A", "-"}, true), 4, 19, 5),
              (Rects{{-5, 0, 21, 19}, {28, 0, 21, 19}}));
}

TEST(IconSource, EmptyBuiltInFileAndUnusableNumbers) {
    EXPECT_EQ(ResolveIconSource(" \t", "C:\\Zorv\\Icons").Kind, IconSourceKind::ProgramIcon);
    EXPECT_EQ(ResolveIconSource(" **150 ", "C:\\I"),
              (IconSource{IconSourceKind::BuiltIn, 150, {784, 16}, ""}));
    for (const char* bad : {"**", "**0", "**201", "**abc", "** 5", "**15x", "**99999999999"}) {
        EXPECT_EQ(ResolveIconSource(bad, "C:\\I"), IconSource{}) << bad;
    }
    // A hundred built-in pictures to a row; a pressed button's icon moves one pixel.
    EXPECT_EQ(BuiltInIconSource(101), (ScreenPoint{0, 16}));
    EXPECT_FALSE(BuiltInIconSource(0) || BuiltInIconSource(201));
    EXPECT_EQ(IconPosition(34, 1, true), (ScreenPoint{37, 2}));
    // Pressed faces in the strip by ButH_id (the others show on screen end to end).
    EXPECT_EQ((Ints{PressedFaceX(0), PressedFaceX(2)}), (Ints{22, 110}));
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
    auto onBar = [](std::initializer_list<ScreenPoint> points, bool menuCellOnly) {
        std::string got;
        for (ScreenPoint p : points)
            got += MouseOnBar(p, {500, 200, 20}, 22, menuCellOnly) ? '1' : '0';
        return got;
    };
    EXPECT_EQ(onBar({{499, 5}, {500, 5}, {1279, 5}, {600, 20}, {600, 21}}, false), "01110");
    EXPECT_EQ(onBar({{677, 5}, {678, 5}, {699, 5}, {700, 5}, {690, 21}}, true), "01100");
    // MouseOnBorder: the scroll at either screen edge is judged end to end.
}

using Names = std::vector<std::string>;

TEST(ProgramFileCandidates, QuotedNameAlone_ElseFirstWordThenLongerRuns_NoneForUrls) {
    EXPECT_EQ(ProgramFileCandidates("\"C:\\Program Files\\App\\app.exe\" -x \"y z\""),
              (Names{"C:\\Program Files\\App\\app.exe"}));
    // An unclosed quote runs to the end; blanks inside the quotes are trimmed.
    EXPECT_EQ(ProgramFileCandidates("\"C:\\My Tools\\t.exe"), (Names{"C:\\My Tools\\t.exe"}));
    EXPECT_EQ(ProgramFileCandidates("\" notepad.exe \" a"), (Names{"notepad.exe"}));
    EXPECT_EQ(ProgramFileCandidates("C:\\Program Files\\App\\app.exe -x"),
              (Names{"C:\\Program", "C:\\Program Files\\App\\app.exe",
                     "C:\\Program Files\\App\\app.exe -x"}));
    // A run of blanks and tabs ends one word once.
    EXPECT_EQ(ProgramFileCandidates("cmd \t /k  ver"),
              (Names{"cmd", "cmd \t /k", "cmd \t /k  ver"}));
    const Names many = ProgramFileCandidates("a b c d e f g h i j k l");
    ASSERT_EQ(many.size(), kMaxProgramFileCandidates);
    EXPECT_EQ(many.back(), "a b c d e f g h");
    for (const char* path : {"", "   ", "\"\" notepad.exe", "*CLIP*", "*CLIP2*",
                             "http://example.com/a b", "ms-settings:display", "mailto:a@b.c"}) {
        EXPECT_EQ(ProgramFileCandidates(path), Names{}) << path;
    }
    // Neither a drive letter nor a share is a URL scheme.
    for (const char* file : {"C:\\tools\\x.exe", "\\\\server\\share\\x.exe"}) {
        EXPECT_EQ(ProgramFileCandidates(file), Names{file});
    }
}

TEST(IconCache, TimesWithinTenSeconds_BandsPastW_PixelsSeparatedFromTheirBlack) {
    const std::int64_t ini = 133'000'000'000'000'000, tenSeconds = 100'000'000;
    EXPECT_TRUE(CacheTimeMatches(ini - tenSeconds, ini));  // later ones: end to end
    EXPECT_FALSE(CacheTimeMatches(ini - tenSeconds - 1, ini));
    // Ten menu entries under one button: W = 44, slots up to x = 176.
    const BarMetrics m = ResolveBarMetrics(0);
    EXPECT_EQ(BarCachePicture(44, 176, m),
              (BarCacheLayout{
                  44, 21 + 4 * 32, {{0, 44, 21}, {44, 44, 53}, {88, 44, 85}, {132, 44, 117}}}));
    EXPECT_EQ(BarCachePicture(44, 150, m).Bands.back(), (BarCacheBand{132, 18, 117}));
    EXPECT_EQ(BarCachePicture(0, 100, m), BarCacheLayout{});
    // At 200 % the painted rows and the bands double: a picture cached at
    // 96 dpi never has the height one at 192 needs.
    EXPECT_EQ(BarCachePicture(88, 176, ResolveBarMetrics(0, Dpi{192})),
              (BarCacheLayout{88, 42 + 2 * 64, {{0, 88, 42}, {88, 88, 106}}}));
    // The icon drawn over black and over white: opaque when at least half covered.
    EXPECT_EQ(SeparateIconPixel(0x123456, 0x123456), (IconPixel{0x123456, true}));
    EXPECT_FALSE(SeparateIconPixel(0x3F3F3F, 0xC0C0C0).Opaque);  // alpha 126
    EXPECT_EQ(SeparateIconPixel(0x404040, 0xBFBFBF), (IconPixel{0x808080, true}));
    // Alpha is averaged over the channels, and a colour brighter than white is capped.
    EXPECT_EQ(SeparateIconPixel(0xFF4040, 0xFFBFBF), (IconPixel{0xFF6060, true}));
    EXPECT_EQ(SeparateIconPixel(0xFFFFFF, 0x000000), (IconPixel{0xFFFFFF, true}));  // inverting
}

// A press on cell `index` of a bar with five buttons.
PressFacts PressOn(std::int32_t index, std::uint64_t now, int button = 1) {
    return {
        .X = 10 + 22 * index, .Y = 8, .Button = button, .NowMs = now, .Index = index, .Count = 5};
}

ReleaseFacts ReleaseOn(std::int32_t index, std::uint64_t now, std::int32_t y = 8) {
    return {.Index = index, .Y = y, .Count = 5, .NowMs = now};
}

TEST(ButtonClick, StrayPressesAreIgnoredAndDoNotArmTheGuard_SecondPressesAre) {
    ClickState s;
    PressFacts stray[3] = {PressOn(1, 1000), PressOn(1, 1010), PressOn(1, 1020)};
    stray[0].X = stray[0].Y = -1;  // synthetic
    stray[1].BarReduced = true;
    stray[2].ReallyDown = false;
    for (const PressFacts& p : stray) EXPECT_EQ(DecidePress(s, p), PressAction::Ignore);
    EXPECT_EQ(DecidePress(s, PressOn(1, 1030)), PressAction::Press);  // 10 ms later: acts
    EXPECT_EQ(s.Pressed, 1);
    s.Pressed = -1;
    EXPECT_EQ(DecidePress(s, PressOn(2, 1129)), PressAction::Ignore);  // within 100 ms
    EXPECT_EQ(DecidePress(s, PressOn(2, 1230)), PressAction::Press);
    EXPECT_EQ(DecidePress(s, PressOn(3, 1400)), PressAction::Ignore);  // 2 still held
    // A real press on the line below the buttons does nothing, but it is a
    // press: one right after it is the same click.
    ClickState t;
    PressFacts onLine = PressOn(1, 2000);
    onLine.Y = 20;
    EXPECT_EQ(DecidePress(t, onLine), PressAction::Ignore);
    EXPECT_EQ(DecidePress(t, PressOn(1, 2050)), PressAction::Ignore);
    EXPECT_EQ(DecidePress(t, PressOn(1, 2100)), PressAction::Press);
}

TEST(ButtonClick, ModifiersChooseEditingOnButtonsButNotOnTheMainMenuCell) {
    const struct {
        int button;
        bool shift, ctrl;
        std::int32_t index;
        PressAction want;
    } cases[] = {
        {1, false, true, 1, PressAction::EditDialog},
        {1, true, false, 1, PressAction::EditDialog},
        {2, false, true, 1, PressAction::ContextMenu},
        {2, true, false, 1, PressAction::ContextMenu},
        {4, false, false, 1, PressAction::ContextMenu},
        {1, true, true, 5, PressAction::MainMenu},
        {4, false, false, 7, PressAction::MainMenu},
    };
    for (const auto& c : cases) {
        ClickState s;
        PressFacts p = PressOn(c.index, 1000, c.button);
        p.Shift = c.shift, p.Ctrl = c.ctrl;
        EXPECT_EQ(DecidePress(s, p), c.want) << c.button << c.shift << c.ctrl << c.index;
        EXPECT_EQ(s.Pressed, c.want == PressAction::Press ? c.index : -1);
    }
    ClickState s;  // A left press records the drag origin; menu buttons open on the press.
    PressFacts p = PressOn(3, 100);
    p.HasMenu = true;
    EXPECT_EQ(DecidePress(s, p), PressAction::PressMenu);
    EXPECT_EQ(std::tuple(s.DragSource, s.PressX, s.PressY), std::tuple(3, p.X, 8));
    ClickState r;
    EXPECT_EQ(DecidePress(r, PressOn(3, 100, 2)), PressAction::Press);
    EXPECT_EQ(r.PressX, -1);
}

TEST(ButtonClick, ReleaseStartsOnTheSameButtonInsideTheBar_ADoubleClickOnce) {
    ClickState s;
    DecidePress(s, PressOn(1, 0));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(2, 50)));  // moved to the neighbour
    EXPECT_EQ(s.Pressed, -1);
    DecidePress(s, PressOn(1, 200));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(1, 250, 20)));  // below the buttons
    DecidePress(s, PressOn(5, 400));                        // main-menu cell: never a start
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(5, 450)));
    DecidePress(s, PressOn(1, 600));
    EXPECT_TRUE(DecideRelease(s, ReleaseOn(1, 650)));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(1, 700)));  // nothing pressed any more
    // A double click starts once: judged by real clicks end to end.
}

TEST(ButtonClick, HeldButtonFollowsTheCursorLikeAPushButton) {
    ClickState s;
    DecidePress(s, PressOn(1, 0));
    MoveFacts m{.X = 30, .Y = 8, .AnyButtonDown = true, .CellLeft = 22, .CellRight = 43};
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
    m.X = 44;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::DrawUnpressed);
    s.DrawnPressed = false;
    m.X = 30, m.Y = 25;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);  // below the bar: stays up
    m.Y = 19;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::DrawPressed);
    m.Dragging = true;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
    m.Dragging = false, m.AnyButtonDown = false;  // released outside, back over the bar
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::CompleteRelease);
    s.Pressed = -1;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
}

}  // namespace
}  // namespace zorv
