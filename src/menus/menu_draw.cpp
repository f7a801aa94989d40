#include "menus/menu_draw.h"

#include "bar/bar_layout.h"
#include "support/format_number.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

// The icon column ends left of x = 23; the caption starts at x = 25.
constexpr std::int32_t kIconColumnRight = 23;
constexpr std::int32_t kTextLeft = 25;
constexpr std::int32_t kIconLeft = 4;
// The raised frame around a selected icon.
constexpr std::int32_t kFrameLeft = 1;
constexpr std::int32_t kFrameRight = 22;

std::int32_t RoundInt(double x) {
    return static_cast<std::int32_t>(fmtnum::RoundHalfEven(x));
}

// The frame's top row and height for item heights from 17 up: it sits one
// row higher than the item at 17 and is centred from 20 on.
struct FrameBand {
    std::int32_t Top = 0;
    std::int32_t Height = 0;
};
FrameBand RaisedFrameBand(std::int32_t top, std::int32_t itemHeight) {
    switch (itemHeight) {
        case 17: return {top - 1, 17};
        case 18: return {top, 17};
        case 19: return {top, 18};
        default: return {top + RoundInt((itemHeight - 20) / 2.0), 19};
    }
}

}  // namespace

ScreenSize MeasureMenuEntry(const DIPMenuItem& entry, std::int32_t itemHeight, Dpi dpi) {
    const std::int32_t height = entry.IsSeparator() ? RoundInt(itemHeight / 2.5) : itemHeight;
    return {entry.Width + dpi.Px(36), height};
}

std::vector<MenuLine> FrameLines(ScreenRect corners, bool raised) {
    const std::int32_t x1 = corners.Left, y1 = corners.Top;
    const std::int32_t x2 = corners.Right(), y2 = corners.Bottom();
    const std::int32_t first = raised ? win::kColorBtnHighlight : win::kColorBtnShadow;
    const std::int32_t second = raised ? win::kColorBtnShadow : win::kColorBtnHighlight;
    return {{{x1, y2}, {x1, y1}, first},
            {{x1, y1}, {x2, y1}, first},
            {{x2, y1}, {x2, y2}, second},
            {{x2, y2}, {x1, y2}, second}};
}

MenuEntryDrawing DrawMenuEntry(const DIPMenuItem& entry, const MenuDrawFacts& facts) {
    const ScreenRect& r = facts.Item;
    const Dpi dpi = facts.Strip.Scale;
    const std::int32_t iconColumnRight = dpi.Px(kIconColumnRight);
    const std::int32_t iconSize = facts.Strip.IconSize;
    // An icon smaller than the column's (a strip without larger pictures)
    // stays sharp and is centred where the scaled one would be.
    const std::int32_t iconLeft = dpi.Px(kIconLeft) + (dpi.Px(kIconSize) - iconSize) / 2;
    const bool separator = entry.IsSeparator();
    const bool hasIcon = !entry.Caption.empty() && entry.IconX >= 0;
    MenuEntryDrawing d;
    d.Background = facts.Selected ? win::kColorHighlight : win::kColorMenu;
    d.TextColour = facts.Disabled   ? win::kColorGrayText
                   : facts.Selected ? win::kColorHighlightText
                                    : win::kColorMenuText;
    if (!facts.Selected) {
        // One row higher, over the entry above, unless that entry is the
        // selected one drawn just before (its highlight must stay).
        const bool aboveSelected = facts.Previous.Index == facts.Index - 1 && facts.Previous.Selected;
        const std::int32_t a = aboveSelected ? 0 : 1;
        d.IconColumn = ScreenRect::FromEdges(r.Left, r.Top - a, iconColumnRight, r.Bottom() + 1);
    }
    if (!separator) {
        const std::int32_t x0 = !facts.Flat && hasIcon ? iconColumnRight + 1 : 0;
        d.TextBackground = ScreenRect::FromEdges(r.Left + x0, r.Top, r.Right(), r.Bottom());
        d.TextBox =
            ScreenRect{r.Left + dpi.Px(kTextLeft), r.Top + dpi.Px(2), entry.Width, facts.ItemHeight};
    }
    if (hasIcon) {
        const ScreenPoint icon{entry.IconX, entry.IconY};
        d.Icon = MenuIconDraw{{iconLeft, r.Top + RoundInt((facts.ItemHeight - iconSize) / 2.0)},
                              icon, MenuMaskCell(icon, facts.Strip), iconSize};
        if (facts.Selected && !facts.Flat && facts.ItemHeight >= 17) {
            FrameBand band = RaisedFrameBand(r.Top, facts.ItemHeight);
            if (!dpi.IsStandard()) {
                const std::int32_t h = dpi.Px(19);
                band = {r.Top + (facts.ItemHeight - h) / 2, h};
            }
            const std::int32_t left = dpi.Px(kFrameLeft);
            d.Lines = FrameLines({left, band.Top, dpi.Px(kFrameRight) - left, band.Height}, true);
        }
    }
    if (separator) {
        const std::int32_t y = r.Top + r.Height / 2 - 1;
        d.Lines = FrameLines({r.Left, y, r.Width - 1, 1}, false);
    }
    d.Record = {facts.Index, facts.Selected, entry.Depth};
    return d;
}

}  // namespace zorv
