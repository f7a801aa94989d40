#include "menus/program_menus.h"

#include <algorithm>

#include "menus/dip_menu.h"
#include "support/texts.h"

namespace zorv {

namespace {

struct FunctionRow {
    std::int32_t slot;
    std::string_view english;
    std::string_view german;
    std::int32_t icon;
};

// The menu captions are the program's own and stay as they are in both
// languages ("Clipboard-Menü" in the English menu too). Slot 11's English
// caption names the bar.
// clang-format off
constexpr FunctionRow kFunctions[] = {
    {1, "&Execute", "&Ausführen", 3},
    {2, "-", "-", -1},
    {3, "C&lipboard", "C&lipboard", 9},
    {5, "Clipboard2", "Clipboard2", 10},
    {7, "-", "-", -1},
    {9, "-", "-", -1},
    {10, "&Configure", "Anpa&ssen", 4},
    {11, "--->&Zorvpanel", "--->&Buttonleiste", 5},
    {12, "--->&Main-Menu", "--->&Haupt-Menü", 6},
    {13, "--->&Autostart", "--->&Autostart", 7},
    {14, "--->Autoc&lose", "--->Autoc&lose", 8},
    {15, "--->&Clipboard-Menü", "--->&Clipboard-Menü", 9},
    {16, "--->Clipboard&2-Menü", "--->Clipboard&2-Menü", 10},
    {17, "--->-", "--->-", -1},
    {18, "--->&Options", "--->&Optionen", 11},
    {19, "--->-", "--->-", -1},
    {20, "--->Ex&port Settings", "--->Einstellungen e&xportieren", -1},
    {21, "--->I&mport Settings", "--->Einstellungen &importieren", -1},
    {22, "-", "-", -1},
    {23, "&Help", "&Hilfe", 12},
    {24, "--->&Index", "--->&Index", 13},
    {25, "--->-", "--->-", -1},
    {26, "--->I&nfo", "--->I&nfo", 14},
    {27, "E&xit", "&Beenden", 15},
};
constexpr std::string_view kContextCaptions[3][2] = {
    {"Add Button", "Button hinzufügen"},
    {"Edit Button", "Button editieren"},
    {"Remove Button", "Button entfernen"},
};
// clang-format on

std::string Prefix(std::int32_t depth) {
    std::string prefix;
    for (std::int32_t i = 0; i < depth; ++i) prefix += kDepthMark;
    return prefix;
}

void AddSlot(MenuEntrySpecs& menu, const MenuFunctionTable& table, std::int32_t slot) {
    menu.push_back({table.Captions[slot], kGroupFunction + slot, table.Icons[slot]});
}

// The lists whose items take icon numbers, in numbering order.
std::vector<std::int32_t> IconLists(bool showAItems) {
    if (!showAItems) return {kListMenu};
    return {kListMenu, kListAutostart, kListAutoclose};
}

}  // namespace

MenuFunctionTable FillMenuCaptions(bool english) {
    MenuFunctionTable table;
    table.Icons.fill(-1);
    for (const FunctionRow& row : kFunctions) {
        table.Captions[row.slot] = english ? row.english : row.german;
        table.Icons[row.slot] = row.icon;
    }
    return table;
}

bool HasMenuIcon(const Item& item) {
    return !item.Icon.empty();
}

std::int32_t AddListToMenu(MenuEntrySpecs& menu, const clsItems& list, std::int32_t depth,
                           std::int32_t baseId, std::int32_t iconNo, bool useItemIcons) {
    const std::string prefix = Prefix(depth);
    Item item;
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        list.GetItem(i, item);
        if (useItemIcons && !HasMenuIcon(item)) {
            menu.push_back({prefix + item.Desc, baseId + i, -1});
            continue;
        }
        menu.push_back({prefix + item.Desc, baseId + i, iconNo});
        if (useItemIcons) ++iconNo;
    }
    return iconNo;
}

// Ids of headings (Clipboard, Configure, Help, the list names) are never
// returned: a heading always has entries below it.
MenuEntrySpecs BuildMainMenu(const MenuFunctionTable& table, const ItemLists& lists,
                             bool showAItems) {
    MenuEntrySpecs menu;
    AddSlot(menu, table, kSlotExecute);
    menu.push_back({table.Captions[2], kGroupFunction + 2, -1});
    const bool clip1 = lists[kListClipboard].Count() > 0;
    const bool clip2 = lists[kListClipboard2].Count() > 0;
    if (clip1) {
        AddSlot(menu, table, kSlotClipboard);
        AddListToMenu(menu, lists[kListClipboard], 1, kGroupClipboard, kMenuIconClipboard, false);
    }
    if (clip2) {
        // Slot 5 carries id 0x10004.
        menu.push_back({table.Captions[kSlotClipboard2], kGroupFunction + 4,
                        table.Icons[kSlotClipboard2]});
        AddListToMenu(menu, lists[kListClipboard2], 1, kGroupClipboard2, kMenuIconClipboard2,
                      false);
    }
    if (clip1 || clip2) AddSlot(menu, table, kSlotClipSeparator);
    std::int32_t icon = kFirstItemIcon;
    if (lists[kListMenu].Count() > 0) {
        icon = AddListToMenu(menu, lists[kListMenu], 0, kGroupMenuList, icon, true);
        AddSlot(menu, table, kSlotListSeparator);
    }
    if (showAItems) {
        const clsItems& autostart = lists[kListAutostart];
        const clsItems& autoclose = lists[kListAutoclose];
        if (autostart.Count() > 0) {
            menu.push_back({autostart.ListName, kGroupFunction + 0xA, kMenuIconAutostart});
            icon = AddListToMenu(menu, autostart, 1, kGroupAutostart, icon, true);
        }
        if (autoclose.Count() > 0) {
            menu.push_back({autoclose.ListName, kGroupFunction + 0xB, kMenuIconAutoclose});
            icon = AddListToMenu(menu, autoclose, 1, kGroupAutoclose, icon, true);
        }
        if (autostart.Count() > 0 || autoclose.Count() > 0) {
            menu.push_back({table.Captions[kSlotClipSeparator], kGroupFunction + 0xC, -1});
        }
    }
    for (std::int32_t slot = kSlotConfigure; slot <= kSlotExit; ++slot) AddSlot(menu, table, slot);
    return menu;
}

MenuEntrySpecs BuildButtonContextMenu(bool english) {
    MenuEntrySpecs menu;
    for (std::int32_t i = 0; i < 3; ++i) {
        menu.push_back({std::string(kContextCaptions[i][english ? 0 : 1]), kButtonContextBase + i, i});
    }
    return menu;
}

MenuEntrySpecs BuildButtonMenu(const ButtonMenuPlan& plan, const ItemLists& lists) {
    MenuEntrySpecs menu;
    switch (plan.Kind) {
        case ButtonMenuKind::SubMenu: {
            const clsItems& buttons = lists[kListButtons];
            Item item;
            for (std::int32_t i : plan.Entries) {
                buttons.GetItem(i, item);
                const std::string_view desc = item.Desc;
                const std::string_view caption =
                    desc.starts_with(kDepthMark) ? desc.substr(kDepthMark.size()) : desc;
                menu.push_back({std::string(caption), i, HasMenuIcon(item) ? i : -1});
            }
            break;
        }
        case ButtonMenuKind::Clipboard1:
            AddListToMenu(menu, lists[kListClipboard], 0, kGroupClipboard, plan.Button, false);
            break;
        case ButtonMenuKind::Clipboard2:
            AddListToMenu(menu, lists[kListClipboard2], 0, kGroupClipboard2, plan.Button, false);
            break;
    }
    return menu;
}

// Numbers are given exactly as AddListToMenu gives them, so a "**" without a
// usable number keeps its number (and an empty place) and the icons after
// it stay with their entries. The strip is sized for every numbered icon,
// the autostart and autoclose ones included.
MenuIconStripPlan PlanMenuIcons(const ItemLists& lists, bool showAItems,
                                std::string_view iconFolder, std::int32_t iconSize) {
    const MenuIconStrip strip{.Multiline = true, .IconSize = iconSize, .Scale = {}};
    MenuIconStripPlan plan;
    std::int32_t number = kFirstItemIcon;
    Item item;
    for (std::int32_t list : IconLists(showAItems)) {
        for (std::int32_t i = 0; i < lists[list].Count(); ++i) {
            lists[list].GetItem(i, item);
            if (!HasMenuIcon(item)) continue;
            const ScreenPoint at = *MenuIconCell(number, strip);
            plan.Fills.push_back({number, at, ResolveIconSource(item.Icon, iconFolder), list, i});
            ++number;
        }
    }
    const std::int32_t highest = std::max(kFirstItemIcon + lists[kListMenu].Count(), number);
    plan.Size = {iconSize * kBuiltInIconsPerRow, iconSize * (highest / kBuiltInIconsPerRow + 1)};
    return plan;
}

bool MenuIconCacheUsable(std::int32_t cacheWidth, std::int32_t cacheHeight,
                         std::int32_t iconSize) {
    return cacheWidth == iconSize * kBuiltInIconsPerRow && cacheHeight >= 2 * iconSize;
}

std::int32_t MenuIconCacheIconY(std::int32_t row, std::int32_t iconSize) {
    return 2 * iconSize * (row - 1);
}

std::int32_t MenuIconCacheMaskY(std::int32_t row, std::int32_t iconSize) {
    return MenuIconCacheIconY(row, iconSize) + iconSize;
}

std::string InformationText(const InformationFacts& facts, bool english) {
    std::string text = TextArgIn(Txt::InfoVersion, facts.Version, english);
    text += "\r\n" + TextIn(Txt::InfoBuilt, english) + facts.BuildDate;
    text += "\r\n\r\n" + TextIn(Txt::InfoConfigFile, english) + facts.IniPath;
    text += "\r\n" + TextIn(Txt::InfoLogFile, english) + facts.LogPath;
    if (!facts.LogWritten) text += TextIn(Txt::InfoLogOff, english);
    return text;
}

}  // namespace zorv
