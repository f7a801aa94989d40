// The program's menus as lists of entries: the main menu with its function
// table, the button context menu, the buttons' own menus, and the icon
// strip they draw from. The Win32 shell adds the entries to a `clsDIPMenu`
// in order and fills the strip as planned. Portable: no Windows headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bar/bar_layout.h"
#include "items/items.h"
#include "support/geometry.h"

namespace zorv {

// Main-menu ids: group + index. The group of an id is id AND 0xEFFF0000.
inline constexpr std::int32_t kGroupFunction = 0x10000;   // + slot of the function table
inline constexpr std::int32_t kGroupMenuList = 0x20000;   // + item of list 1
inline constexpr std::int32_t kGroupClipboard = 0x30000;  // list 4
inline constexpr std::int32_t kGroupClipboard2 = 0x40000;  // list 5
inline constexpr std::int32_t kGroupAutostart = 0x50000;  // list 2
inline constexpr std::int32_t kGroupAutoclose = 0x60000;  // list 3
// The button context menu: + 0 add, 1 edit, 2 remove.
inline constexpr std::int32_t kButtonContextBase = 0x100000;

constexpr std::int32_t MenuIdGroup(std::int32_t id) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) & 0xEFFF0000u);
}
constexpr std::int32_t MenuIdIndex(std::int32_t id) {
    return id % 0x10000;
}

// Function table slots (0..30; 0, 4, 6, 8 and 28..30 stay empty).
inline constexpr std::size_t kFunctionSlots = 31;
inline constexpr std::int32_t kSlotExecute = 1;
inline constexpr std::int32_t kSlotClipboard = 3;
inline constexpr std::int32_t kSlotClipboard2 = 5;
inline constexpr std::int32_t kSlotClipSeparator = 7;
inline constexpr std::int32_t kSlotListSeparator = 9;
inline constexpr std::int32_t kSlotConfigure = 10;
inline constexpr std::int32_t kSlotFirstEditor = 11;  // 11..16: the list editors of lists 0..5
inline constexpr std::int32_t kSlotOptions = 18;
inline constexpr std::int32_t kSlotExport = 20;
inline constexpr std::int32_t kSlotImport = 21;
inline constexpr std::int32_t kSlotHelp = 23;
inline constexpr std::int32_t kSlotHelpIndex = 24;
inline constexpr std::int32_t kSlotInfo = 26;
inline constexpr std::int32_t kSlotExit = 27;
// Fixed icons in row 0 of the menu icon strip.
inline constexpr std::int32_t kMenuIconAutostart = 7;
inline constexpr std::int32_t kMenuIconAutoclose = 8;
inline constexpr std::int32_t kMenuIconClipboard = 9;
inline constexpr std::int32_t kMenuIconClipboard2 = 10;
// Item icons start at this number (row 1 of the strip).
inline constexpr std::int32_t kFirstItemIcon = 100;

struct MenuFunctionTable {
    std::array<std::string, kFunctionSlots> Captions;
    std::array<std::int32_t, kFunctionSlots> Icons;  // -1: none
};
// The captions in the chosen language and their icon numbers.
MenuFunctionTable FillMenuCaptions(bool english);

// One `AddMenuItem` call.
struct MenuEntrySpec {
    std::string Caption;
    std::int32_t ItemId = 0;
    std::int32_t Icon = -1;

    bool operator==(const MenuEntrySpec&) const = default;
};
using MenuEntrySpecs = std::vector<MenuEntrySpec>;

// Whether an item takes an icon number in the menus: its `Icon` field is set.
bool HasMenuIcon(const Item& item);

// Adds every item of `list` at `depth` below the entries before it, with id
// baseId + index. With item icons each item with an icon takes the next
// number from `iconNo`; without, every entry shows icon `iconNo`. Returns the
// next free number.
std::int32_t AddListToMenu(MenuEntrySpecs& menu, const clsItems& list, std::int32_t depth,
                           std::int32_t baseId, std::int32_t iconNo, bool useItemIcons);

// The main menu from the function table and the lists.
MenuEntrySpecs BuildMainMenu(const MenuFunctionTable& table, const ItemLists& lists,
                             bool showAItems);
// "Add Button", "Edit Button", "Remove Button".
MenuEntrySpecs BuildButtonContextMenu(bool english);
// A button's own menu: the deeper items after it (one "--->" less, id and
// icon = their index in the button list, the bar image holding one icon per
// index), or a clipboard list (id 0x30000/0x40000 + index, each entry with
// the button's own icon).
MenuEntrySpecs BuildButtonMenu(const ButtonMenuPlan& plan, const ItemLists& lists);

// The menu icon strip: 100 icons to a row; row 0 the fixed icons, the item
// icons from number 100 on, where the strip is to take each one from.
struct MenuIconFill {
    std::int32_t Number = 0;
    ScreenPoint At;       // in the strip (and its mask)
    IconSource Source;    // BuiltIn, File; Fallback leaves the place empty
    std::int32_t List = 0;
    std::int32_t Index = 0;

    bool operator==(const MenuIconFill&) const = default;
};
struct MenuIconStripPlan {
    ScreenSize Size;
    std::vector<MenuIconFill> Fills;
};
// The strip holds icons of `iconSize` pixels (16 at 96 dpi).
MenuIconStripPlan PlanMenuIcons(const ItemLists& lists, bool showAItems,
                                std::string_view iconFolder, std::int32_t iconSize = kIconSize);
// What "Info" shows: name and version, build date, the configuration file
// and the log file in use.
struct InformationFacts {
    std::string Version;    // "0.1"
    std::string BuildDate;  // as the compiler wrote it
    std::string IniPath;
    std::string LogPath;
    bool LogWritten = false;
};
std::string InformationText(const InformationFacts& facts, bool english);

// "M.bmp" holds strip row r + 1 at y = 32 r (icons) and 32 r + 16 (masks)
// for 16-pixel icons, and alike for larger ones (a band is two icons high);
// one shorter than a band, or of another icon size (its width is 100 icons),
// is ignored.
bool MenuIconCacheUsable(std::int32_t cacheWidth, std::int32_t cacheHeight,
                         std::int32_t iconSize = kIconSize);
// Where strip row `row` (1 and up) lies in the cache file.
std::int32_t MenuIconCacheIconY(std::int32_t row, std::int32_t iconSize = kIconSize);
std::int32_t MenuIconCacheMaskY(std::int32_t row, std::int32_t iconSize = kIconSize);

}  // namespace zorv
