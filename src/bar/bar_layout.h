// The bar's geometry, hit tests and the decisions behind its images: which
// cell lies where, where an icon comes from and where it goes, which buttons
// carry a menu. Portable: no Windows headers; the window code feeds it the
// facts it reads from the system and carries out what it returns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "items/items.h"
#include "support/geometry.h"

namespace zorv {

inline constexpr std::int32_t kSeparatorWidth = 12;
inline constexpr std::int32_t kFlatButtonWidth = 21;
inline constexpr std::int32_t kRaisedButtonWidth = 22;
inline constexpr std::int32_t kIconSize = 16;
// The bar image: painted bar in rows 0..20, icons in 21..36, masks in 37..52.
inline constexpr std::int32_t kBarImageHeight = 53;
inline constexpr std::int32_t kIconRowTop = 21;
inline constexpr std::int32_t kMaskRowTop = 37;
// Empty and pressed faces are cut 22 wide whatever the button width.
inline constexpr std::int32_t kFaceImageWidth = 22;
inline constexpr std::int32_t kBuiltInIconCount = 200;
inline constexpr std::int32_t kBuiltInIconsPerRow = 100;

// Height-dependent values for a `ButH_id` on a screen of `Scale` dots per
// inch. The constants above are the 96-dpi lengths; every value here is in
// the screen's pixels. The bar image: painted bar in rows 0..IconRowTop-1,
// then the icon row, then the mask row.
struct BarMetrics {
    std::int32_t ButHId = 0;      // the index in force: 0..2
    std::int32_t Height = 20;     // H
    std::int32_t IconTop = 2;     // icon top offset within a cell
    bool ButHIdReset = false;     // the setting was out of range: store ButHId back
    Dpi Scale;                    // the screen the bar is on
    std::int32_t BaseHeight = 20;  // H at 96 dpi: 20, 21 or 19
    std::int32_t IconSize = kIconSize;
    std::int32_t LineHeight = 1;  // the row below the buttons: what a reduced bar shows

    std::int32_t IconRowTop() const { return Scale.Px(kIconRowTop); }
    std::int32_t MaskRowTop() const { return IconRowTop() + IconSize; }
    std::int32_t BarImageHeight() const { return MaskRowTop() + IconSize; }
};
BarMetrics ResolveBarMetrics(std::int32_t butHId, Dpi dpi = {});

std::int32_t ButtonWidth(bool butFlat, Dpi dpi = {});

// A top-level item whose description is exactly "-".
bool IsSeparatorDesc(std::string_view desc);

enum class CellKind : std::uint8_t {
    Button,
    Separator,
    MenuEntry,  // depth > 0: belongs to the menu of the button before it, no cell
    MainMenu,   // the cell after the last item
};

// Cell positions of a button list. Index Count() is the main-menu cell.
class BarLayout {
  public:
    BarLayout() : BarLayout(std::vector<std::string>{}, false) {}
    BarLayout(const std::vector<std::string>& descriptions, bool butFlat, Dpi dpi = {});
    BarLayout(const clsItems& buttons, bool butFlat, Dpi dpi = {});

    std::int32_t Count() const { return static_cast<std::int32_t>(kinds_.size()); }
    std::int32_t ButtonWidth() const { return buttonWidth_; }
    // Count() and beyond give MainMenu; negative indices MenuEntry (no cell).
    CellKind KindAt(std::int32_t i) const;
    bool IsSeparator(std::int32_t i) const { return KindAt(i) == CellKind::Separator; }
    // Width of item i's cell; the main-menu cell is one button wide.
    std::int32_t ItemWidth(std::int32_t i) const;
    // Left edge of cell i: the widths of items 0..i-1 (i is clamped to 0..Count()).
    std::int32_t ButtonX(std::int32_t i) const;
    // ButtonX(i + 1) - 1; one left of ButtonX(i) for an item without a cell.
    std::int32_t CellRight(std::int32_t i) const;
    // All cells plus the main-menu cell.
    std::int32_t BarWidth() const { return lefts_.back() + buttonWidth_; }
    // Cell under client x: the first item whose right edge minus the scroll
    // offset is at or right of x; Count() (main-menu cell or beyond) if none.
    std::int32_t ButtonAt(std::int32_t x, std::int32_t scrollOffset) const;
    // Bar image width: W, widened when the icon rows (one icon per item,
    // menu entries and separators included) need more.
    std::int32_t BarImageWidth() const;

  private:
    std::int32_t buttonWidth_ = kRaisedButtonWidth;
    std::int32_t separatorWidth_ = kSeparatorWidth;
    std::int32_t iconSize_ = kIconSize;
    std::vector<CellKind> kinds_;
    std::vector<std::int32_t> lefts_;  // Count() + 1 entries
};

// Where to draw a cell's icon: (left + 2, iconTop), pressed (left + 3,
// iconTop + 1), the offsets scaled.
ScreenPoint IconPosition(std::int32_t cellLeft, std::int32_t iconTop, bool pressed, Dpi dpi = {});
// Where item i's icon and mask are kept in the bar image.
ScreenPoint IconSlot(std::int32_t i, const BarMetrics& m = {});
ScreenPoint MaskSlot(std::int32_t i, const BarMetrics& m = {});
// Built-in icon n (1-based) in "II"/"IM" images of `iconSize` icons; none
// outside 1..200.
std::optional<ScreenPoint> BuiltInIconSource(std::int32_t n, std::int32_t iconSize = kIconSize);
// The built-in icon strips come in these sizes; an icon size between them
// takes the next larger strip (scaled down), beyond them the largest.
inline constexpr std::int32_t kIconStripSizes[] = {16, 24, 32};
std::int32_t IconStripSizeFor(std::int32_t iconSize);

// Source x of the faces in the face strip, and the widths cut from it.
std::int32_t EmptyFaceX(std::int32_t butHId, Dpi dpi = {});
std::int32_t PressedFaceX(std::int32_t butHId, Dpi dpi = {});
std::int32_t SeparatorFaceX(std::int32_t baseHeight, Dpi dpi = {});

enum class IconSourceKind : std::uint8_t {
    ProgramIcon,  // empty field: the icon file made for the item's program
    BuiltIn,      // "**n" with n in 1..200
    File,         // a picture in the icon folder
    Fallback,     // "**" without a usable number: the cell keeps its fallback image
};
struct IconSource {
    IconSourceKind Kind = IconSourceKind::Fallback;
    std::int32_t BuiltInNumber = 0;  // BuiltIn only
    ScreenPoint BuiltInAt;           // BuiltIn only: position in "II" and "IM"
    std::string FilePath;            // File only: folder + "\" + name

    bool operator==(const IconSource&) const = default;
};
IconSource ResolveIconSource(std::string_view iconField, std::string_view iconFolder);

// Index of the last item of the run of deeper items (depth >= 1) directly
// after item i; i itself when none follows or i is out of range.
std::int32_t FindEndOfBarmenu(const clsItems& buttons, std::int32_t i);

enum class ButtonMenuKind : std::uint8_t { Clipboard1, Clipboard2, SubMenu };
struct ButtonMenuPlan {
    std::int32_t Button = 0;
    ButtonMenuKind Kind = ButtonMenuKind::SubMenu;
    std::vector<std::int32_t> Entries;  // SubMenu only: indices of the deeper items

    bool operator==(const ButtonMenuPlan&) const = default;
};
// The buttons that get a menu, in list order (at most one plan per button).
std::vector<ButtonMenuPlan> PlanButtonMenus(const clsItems& buttons);

// Facts about the bar window in screen pixels.
struct BarWindowFacts {
    std::int32_t Left = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};
bool MouseOnBar(ScreenPoint cursor, const BarWindowFacts& window, std::int32_t buttonWidth,
                bool menuCellOnly);
bool MouseOnBorder(std::int32_t cursorX, std::int32_t screenWidth, bool right);

}  // namespace zorv
