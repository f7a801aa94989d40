// How an owner-drawn menu entry is measured and drawn, as plain geometry:
// the Win32 shell answers WM_MEASUREITEM with MeasureMenuEntry and carries
// out the MenuEntryDrawing of WM_DRAWITEM with GDI. Portable: no Windows
// headers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "menus/dip_menu.h"
#include "support/geometry.h"

namespace zorv {

// WM_MEASUREITEM: the text column + 36 wide; a text entry is one item
// height high, a separator two fifths of it.
ScreenSize MeasureMenuEntry(const DIPMenuItem& entry, std::int32_t itemHeight, Dpi dpi = {});

// A line from `From` up to, not including, `To` (MoveToEx/LineTo), one
// pixel wide, in the system colour `Colour` (a COLOR_* index).
struct MenuLine {
    ScreenPoint From;
    ScreenPoint To;
    std::int32_t Colour = 0;

    bool operator==(const MenuLine&) const = default;
};
// The 3D frame from (x1, y1) to (x2, y2), both corners inside: left and top
// edges in the first colour, right and bottom in the second; raised =
// highlight then shadow, sunken the other way round.
std::vector<MenuLine> FrameLines(ScreenRect corners, bool raised);

struct MenuIconDraw {
    ScreenPoint Target;  // top-left of the icon in the menu
    ScreenPoint Icon;    // in hIcons
    ScreenPoint Mask;    // in hMask
    std::int32_t Size = 16;

    bool operator==(const MenuIconDraw&) const = default;
};

// WM_DRAWITEM of one entry, in the order of the fields. Rectangles are
// filled in `Background` with a pen of the same colour (Rectangle: right
// and bottom outside).
struct MenuEntryDrawing {
    std::int32_t Background = 0;  // COLOR_* index
    std::int32_t TextColour = 0;
    std::optional<ScreenRect> IconColumn;  // unselected entries only
    std::optional<ScreenRect> TextBackground;
    std::optional<ScreenRect> TextBox;  // the caption, transparent, "&" underlines
    std::optional<MenuIconDraw> Icon;
    std::vector<MenuLine> Lines;  // the raised frame or the etched separator
    LastDrawn Record;             // remembered for the next entry and the mnemonics

    bool operator==(const MenuEntryDrawing&) const = default;
};

struct MenuDrawFacts {
    std::int32_t Index = 0;  // the entry (its command id)
    ScreenRect Item;         // the platform's item rectangle
    bool Selected = false;   // ODS_SELECTED
    bool Disabled = false;   // ODS_GRAYED or ODS_DISABLED: grey text
    bool Flat = false;       // blnMnuFlat
    std::int32_t ItemHeight = 0;
    LastDrawn Previous;  // the entry drawn before this one
    MenuIconStrip Strip;
};
MenuEntryDrawing DrawMenuEntry(const DIPMenuItem& entry, const MenuDrawFacts& facts);

}  // namespace zorv
