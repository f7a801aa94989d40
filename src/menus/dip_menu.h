// The popup menu class's portable half: the entry list with its "--->"
// depths, the tree of popups the entries make, the two-column wrap, the
// mnemonic search and what a built menu holds that must be released. The
// Win32 `clsDIPMenu` (to come) turns the tree into HMENUs and carries out
// the plans. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/geometry.h"
#include "support/win32_constants.h"

namespace zorv {

// The deepest submenu level; an entry deeper than this opens no level.
inline constexpr std::int32_t kMaxMenuDepth = 12;
// The narrowest text column of a submenu, and the one every caller asks of
// the root menu.
inline constexpr std::int32_t kMinMenuTextWidth = 70;

// Where the icons of a menu lie: a memory image of square icons side by
// side, in one row at `RowY` or 100 to a row below it; and the resolution
// the menu is drawn for (its columns and margins scale with it).
struct MenuIconStrip {
    std::int32_t RowY = 0;   // hIconsY
    bool Multiline = false;  // bIconsHdcMultiline
    // hMask equals hIcons: each mask lies one icon below its icon.
    bool MaskBelowIcon = false;
    std::int32_t IconSize = 16;
    Dpi Scale;
};
// The top-left corner of icon `number` in the strip; none for a negative number.
std::optional<ScreenPoint> MenuIconCell(std::int32_t number, const MenuIconStrip& strip);
// ... and of its mask in the mask image.
ScreenPoint MenuMaskCell(ScreenPoint icon, const MenuIconStrip& strip);

// The lower-cased character code after the first "&" (UTF-8 decoded; "&&"
// gives "&"), 0 when there is none.
char32_t MnemonicOf(std::string_view caption);
// Lower case for the letters of ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic; the others unchanged.
char32_t LowerMnemonic(char32_t c);

struct DIPMenuItem {
    std::string Caption;  // without its depth prefix; empty for a separator
    std::int32_t ItemId = 0;
    std::int32_t CommandId = 0;  // 1..Count: the native command id
    std::int32_t IconX = -1;     // -1: no icon
    std::int32_t IconY = 0;
    std::int32_t Depth = 0;      // as written; the tree may place it higher
    std::int32_t Width = 0;      // widest text of the entry's popup (tree)
    char32_t Mnemonic = 0;
    std::int32_t Position = 0;   // within its own popup (tree)

    bool IsSeparator() const { return Caption.empty() || Caption == "-"; }
    bool operator==(const DIPMenuItem&) const = default;
};

// The entries in display order. Index 0 is an empty slot of depth 0, so the
// entries are 1..Count() as their command ids.
class DIPMenuEntries {
  public:
    DIPMenuEntries() { Clear(); }

    // Adds an entry; `caption` may begin with "--->" groups, a rest of "-" is
    // a separator; a negative icon number means no icon. Returns Count().
    std::int32_t AddMenuItem(std::string_view caption, std::int32_t itemId, std::int32_t icon,
                             const MenuIconStrip& strip);
    void Clear();
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()) - 1; }
    // The caller's id of entry `index`, none outside 1..Count().
    std::optional<std::int32_t> GetItemId(std::int32_t index) const;
    // The entry with this native command id, null outside 1..Count().
    const DIPMenuItem* ByCommand(std::int32_t commandId) const;
    // Index 0 is the empty slot.
    const std::vector<DIPMenuItem>& Items() const { return items_; }
    std::vector<DIPMenuItem>& Items() { return items_; }

  private:
    std::vector<DIPMenuItem> items_;
};

// Text extents in the menu font; the shell measures with GDI, tests with a fake.
class MenuTextMeasurer {
  public:
    virtual ~MenuTextMeasurer() = default;
    virtual ScreenSize Measure(std::string_view text) = 0;
};

// One native popup of the tree: the root (Heading 0) or the submenu hung on
// the entry whose command id is `Heading`, inside popup `Parent`.
struct MenuPopupPlan {
    std::int32_t Heading = 0;
    std::int32_t Parent = -1;
    std::vector<std::int32_t> Entries;  // entry indices in insertion order
    std::int32_t TextWidth = 0;         // the widest caption, at least the minimum

    bool operator==(const MenuPopupPlan&) const = default;
};
struct MenuTreePlan {
    std::int32_t ItemHeight = 0;     // lItemHeight: "H" + 4
    std::int32_t MenuTextWidth = 0;  // m_MenuTextWidth: the root popup's text width
    // Popups in the order they open; every submenu comes after its parent, so
    // the shell may create them in order and attach each to its heading.
    std::vector<MenuPopupPlan> Popups;

    bool operator==(const MenuTreePlan&) const = default;
};
// Builds the tree and fills each entry's Depth (where it was placed),
// Position, Width and Mnemonic.
// On a larger screen an entry is at least as tall as its icon with a margin.
MenuTreePlan BuildMenuTree(DIPMenuEntries& entries, std::int32_t minWidth, const MenuIconStrip& strip,
                           MenuTextMeasurer& measure);

// The native flags of an entry: a string or a separator; owner-drawn when
// the menu draws itself.
std::uint32_t EntryTypeFlags(const DIPMenuItem& entry, bool ownerDrawn);

// `SetWraps`: a root menu taller than the screen gets a column break
// (win::kMfMenuBarBreak) on the root entry at `Position`; otherwise the flag is
// cleared there. Position is -1 when the root has too few entries for it.
struct WrapPlan {
    std::int32_t Position = -1;
    bool Break = false;

    bool operator==(const WrapPlan&) const = default;
};
WrapPlan SetWraps(std::int32_t rootEntries, std::int32_t itemHeight, std::int32_t screenHeight);

// `WM_MENUCHAR`: the entry a typed character runs, from the record of the
// entry drawn last (the menu's only clue to which popup is open): its
// 0-based position in its popup, none when no entry of that popup matches.
struct LastDrawn {
    std::int32_t Index = 0;
    bool Selected = false;
    std::int32_t Depth = 0;

    bool operator==(const LastDrawn&) const = default;
};
std::optional<std::int32_t> MatchMnemonic(const DIPMenuEntries& entries, const LastDrawn& last,
                                          char32_t typed);
// The WM_MENUCHAR result that runs the entry at `position` (MNC_EXECUTE).
constexpr std::int32_t MenuCharExecute(std::int32_t position) {
    return (win::kMncExecute << 16) + position;
}

// What a built menu holds. `DestroyAll` releases what is set, in the order
// of the fields, and leaves the record empty; `SetWindowHandleAndProc` calls
// it first, so a rebuild never leaks.
struct DIPMenuHoldings {
    bool Subclassed = false;  // the owner window's previous procedure to put back
    bool Font = false;        // the menu font
    bool RootMenu = false;    // hMnu (destroying it destroys the submenus)

    bool Any() const { return Subclassed || Font || RootMenu; }
    bool operator==(const DIPMenuHoldings&) const = default;
};
// After `CreateMenu`: the font and the root always, the subclass when a
// window procedure was given.
DIPMenuHoldings HoldingsAfterCreate(bool ownerDrawn);
// What `DestroyAll` must release now; `held` is empty afterwards.
DIPMenuHoldings TakeForDestroy(DIPMenuHoldings& held);

}  // namespace zorv
