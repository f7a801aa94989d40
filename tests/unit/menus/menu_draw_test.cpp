#include "menus/menu_draw.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

DIPMenuItem Entry(const char* caption, std::int32_t iconX) {
    return DIPMenuItem{.Caption = caption, .CommandId = 2, .IconX = iconX, .IconY = 16,
                       .Width = 100};
}

MenuDrawFacts Facts(bool selected, bool flat, std::int32_t itemHeight) {
    return {.Index = 2, .Item = {0, 40, 136, itemHeight}, .Selected = selected, .Flat = flat,
            .ItemHeight = itemHeight, .Previous = {1, true, 0}, .Strip = {.MaskBelowIcon = true}};
}

TEST(MenuDraw, MeasureTextAndSeparatorEntries) {
    EXPECT_EQ(MeasureMenuEntry(Entry("Open", -1), 20), (ScreenSize{136, 20}));
    EXPECT_EQ(MeasureMenuEntry(Entry("-", -1), 19), (ScreenSize{136, 8}));
}

TEST(MenuDraw, NormalEntry_IconColumnTextAndMaskBelowIcon) {
    const MenuEntryDrawing d = DrawMenuEntry(Entry("Open", 48), Facts(false, false, 19));
    EXPECT_EQ(std::tuple(d.Background, d.TextColour), std::tuple(win::kColorMenu, win::kColorMenuText));
    // The selected entry above was drawn just before: the column keeps off it.
    EXPECT_EQ(d.IconColumn, ScreenRect::FromEdges(0, 40, 23, 60));
    EXPECT_EQ(d.TextBackground, ScreenRect::FromEdges(24, 40, 136, 59));
    EXPECT_EQ(d.TextBox, (ScreenRect{25, 42, 100, 19}));
    EXPECT_EQ(d.Icon, (MenuIconDraw{{4, 42}, {48, 16}, {48, 32}}));  // (19-16)/2 = 1.5 -> 2
    EXPECT_TRUE(d.Lines.empty());
    EXPECT_EQ(d.Record, (LastDrawn{2, false, 0}));
    MenuDrawFacts apart = Facts(false, true, 19);
    apart.Previous = {1, false, 0};
    const MenuEntryDrawing flat = DrawMenuEntry(Entry("Open", -1), apart);
    EXPECT_EQ(flat.IconColumn, ScreenRect::FromEdges(0, 39, 23, 60));
    EXPECT_EQ(flat.TextBackground, ScreenRect::FromEdges(0, 40, 136, 59));
    EXPECT_FALSE(flat.Icon.has_value());
    apart.Disabled = true;
    EXPECT_EQ(DrawMenuEntry(Entry("Open", -1), apart).TextColour, win::kColorGrayText);
}

TEST(MenuDraw, SelectedRaisedFrameByItemHeight_FlatHasNone) {
    struct Case {
        std::int32_t height, top, bottom;  // frame rows; 0, 0 = no frame
    };
    for (const Case c : {Case{16, 0, 0}, Case{17, 39, 56}, Case{18, 40, 57}, Case{19, 40, 58},
                         Case{20, 40, 59}, Case{23, 42, 61}}) {
        const MenuEntryDrawing d = DrawMenuEntry(Entry("Open", 0), Facts(true, false, c.height));
        EXPECT_FALSE(d.IconColumn.has_value());
        EXPECT_EQ(d.Background, win::kColorHighlight);
        std::vector<MenuLine> want;
        if (c.top != 0) want = FrameLines(ScreenRect::FromEdges(1, c.top, 22, c.bottom), true);
        EXPECT_EQ(d.Lines, want) << c.height;
    }
    EXPECT_TRUE(DrawMenuEntry(Entry("Open", 0), Facts(true, true, 20)).Lines.empty());
}

TEST(MenuDraw, SeparatorIsAnEtchedLineWithoutText) {
    const MenuEntryDrawing d = DrawMenuEntry(Entry("", 0), Facts(false, false, 8));
    EXPECT_FALSE(d.TextBox.has_value());
    EXPECT_FALSE(d.Icon.has_value());
    const std::int32_t shadow = win::kColorBtnShadow, light = win::kColorBtnHighlight;
    EXPECT_EQ(d.Lines, (std::vector<MenuLine>{{{0, 44}, {0, 43}, shadow},
                                              {{0, 43}, {135, 43}, shadow},
                                              {{135, 43}, {135, 44}, light},
                                              {{135, 44}, {0, 44}, light}}));
}

// At 200 %: the column, the icon, the text and the frame twice as far in; a
// strip without 32-pixel icons keeps them sharp at 16, centred where a 32 one
// would sit; entries as tall as the icon with a margin.
TEST(MenuDraw, AtTwiceTheResolution_ColumnsScale_IconsOfAnySizeFit) {
    MenuDrawFacts f = Facts(true, false, 40);
    f.Strip.Scale = Dpi{192};
    f.Strip.IconSize = 32;
    const MenuEntryDrawing d = DrawMenuEntry(Entry("Open", 64), f);
    EXPECT_EQ(d.Icon, (MenuIconDraw{{8, 44}, {64, 16}, {64, 48}, 32}));
    EXPECT_EQ(d.TextBox, (ScreenRect{50, 44, 100, 40}));
    EXPECT_EQ(d.Lines, FrameLines(ScreenRect::FromEdges(2, 41, 44, 79), true));
    f.Selected = false;
    EXPECT_EQ(DrawMenuEntry(Entry("Open", 64), f).IconColumn, ScreenRect::FromEdges(0, 40, 46, 81));
    f.Strip.IconSize = 16;
    EXPECT_EQ(DrawMenuEntry(Entry("Open", 64), f).Icon->Target, (ScreenPoint{16, 52}));
    EXPECT_EQ(MeasureMenuEntry(Entry("Open", -1), 40, Dpi{192}), (ScreenSize{172, 40}));
}

}  // namespace
}  // namespace zorv
