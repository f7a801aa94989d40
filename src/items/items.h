// The item record and the item list class. Portable: no Windows headers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/ascii.h"

namespace zorv {

struct Item {
    std::string Desc;    // caption; leading "--->" groups give the depth; "-" = separator
    std::string Path;    // command, document, folder or URL; clipboard text (CR LF lines)
    std::string WrkDir;  // working folder
    std::int32_t UserType = 0;
    std::string Icon;
    std::uint8_t Activate = 0;  // 0..2
    std::string Title;
    std::int32_t Style = 0;
    std::int32_t Prio = 2;  // index into PriorityClasses; 2 = normal
    std::int32_t Hotkey = 0;

    bool operator==(const Item&) const = default;
};

// A popup menu owned by a button. The item list needs only its entry count;
// the menu objects themselves are built by the bar.
class ButtonMenu {
  public:
    virtual ~ButtonMenu() = default;
    virtual std::int32_t Count() const = 0;
};
using MenuSlot = std::shared_ptr<ButtonMenu>;

inline constexpr std::string_view kDepthMark = "--->";

// Number of leading "--->" groups.
std::int32_t ItemDepth(std::string_view desc);
// `desc` without its leading "--->" groups.
std::string_view StripDepth(std::string_view desc);

class clsItems {
  public:
    std::string ListName;
    std::string ItemName;
    std::string SectionName;  // "[Button]", brackets included
    bool NoMenus = true;      // false only for the button list

    clsItems() = default;
    clsItems(std::string sectionName, bool noMenus);

    void AddItem(const Item& item);
    void AddItemAt(std::int32_t index, const Item& item);
    void AddItemAt(std::int32_t index, Item&& item);
    void AddItemByString(std::string_view text);
    void AddItemAtByString(std::int32_t index, std::string_view text);
    void GetItem(std::int32_t index, Item& out) const;
    void SetItemAt(std::int32_t index, const Item& item);
    std::string GetDesc(std::int32_t index) const;
    std::string GetPath(std::int32_t index) const;
    std::string GetIcon(std::int32_t index) const;
    std::int32_t GetHotkey(std::int32_t index) const;
    void SetDesc(std::int32_t index, std::string_view desc);
    void SetDepth(std::int32_t index, std::int32_t depth);
    void CopyItem(std::int32_t from, std::int32_t to);
    void MoveItem(std::int32_t from, std::int32_t to, bool moveMenus);
    void RemoveItem(std::int32_t index, bool removeMenus);
    std::int32_t RemoveItems(std::int32_t index);
    std::int32_t Count() const;
    void Clear();
    void UpdateBegin();
    void UpdateCancel();
    void UpdateConfirm();
    std::string GetItemAsString(std::int32_t index) const;

    // Lists whose ListName begins with "Clip" (any case) use the clipboard text form.
    bool IsClipboardList() const;

    // Popup-menu slots of the button list, one per item (empty for other lists).
    MenuSlot MenuAt(std::int32_t index) const;
    void SetMenuAt(std::int32_t index, MenuSlot menu);
    const std::vector<MenuSlot>& Menus() const;

  private:
    bool HasMenus() const { return !NoMenus; }
    bool ValidIndex(std::int32_t index) const { return index >= 0 && index < Count(); }
    // Records the button at `index` spans: itself plus its popup menu's entries.
    std::int32_t BlockSize(std::int32_t index) const;
    void InsertItems(std::int32_t at, const std::vector<Item>& block);
    void EraseItems(std::int32_t at, std::int32_t n, bool eraseMenus);

    std::vector<Item> items_;
    std::vector<MenuSlot> menus_;
    struct Snapshot {
        std::vector<Item> items;
        std::vector<MenuSlot> menus;
    };
    std::unique_ptr<Snapshot> saved_;
};

// The six lists, indexed 0 to 5.
enum ItemListIndex : std::int32_t {
    kListButtons = 0,
    kListMenu = 1,
    kListAutostart = 2,
    kListAutoclose = 3,
    kListClipboard = 4,
    kListClipboard2 = 5,
    kListCount = 6
};
using ItemLists = std::array<clsItems, kListCount>;

// The six lists with their section headers (names set by SetListNames).
ItemLists CreateItemLists();
// List and item names in the chosen language.
void SetListNames(ItemLists& lists, bool englishTexts);
// True when `line` is one of the six section headers or "[Settings]".
bool IsSectionHeader(std::string_view line);

// Number forms of the item text (the configuration file reads its settings the
// same way). Blanks are spaces and tabs.

// Leading blanks skipped, optional sign, digits up to the first other
// character; no digits gives 0; saturates at the 32-bit limits.
std::int32_t ParseDecimalPrefix(std::string_view text);
// Hexadecimal prefix without "0x": up to four digits as written is a signed
// 16-bit value (8000..FFFF give -32768..-1), five or more a 32-bit value
// ("0000FFFF" is 65535); more than eight significant digits, or none, give 0.
std::int32_t ParseHexPrefix(std::string_view text);
// Upper-case hexadecimal without leading zeros, negative values as eight
// digits; 8000..FFFF get one leading zero so that they read back positive.
std::string FormatHex(std::int32_t value);

// The parser keeps one record shared by all parses (a key missing from an item
// keeps the previous item's value). Tests reset it to a fresh record.
void ResetSharedParseRecord();

}  // namespace zorv
