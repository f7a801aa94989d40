// The six item lists of the program and their names.
#include <string_view>

#include "items/items.h"

namespace zorv {

namespace {

struct ListTexts {
    std::string_view section;
    std::string_view english;
    std::string_view german;
};

// Program texts are UTF-8 in the core; "\xC3\xBC" is the u-umlaut.
constexpr std::array<ListTexts, kListCount> kLists = {{
    {"[Button]", "Buttons", "Button"},
    {"[MenuItem]", "Main Menu", "Hauptmen\xC3\xBC"},
    {"[AutostartItem]", "Autostart", "Autostart"},
    {"[AutocloseItem]", "Autoclose", "Autoclose"},
    {"[ClipboardItem]", "Clipboard", "Clipboard"},
    {"[Clipboard2Item]", "Clipboard2", "Clipboard2"},
}};

constexpr std::string_view kSettingsSection = "[Settings]";

}  // namespace

ItemLists CreateItemLists() {
    ItemLists lists;
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        // Only the bar's buttons own popup menus.
        lists[i] = clsItems(std::string(kLists[i].section), i != kListButtons);
    }
    // Clipboard lists are told by their name, so the lists carry names from
    // the start; the language of the run renames them later.
    SetListNames(lists, false);
    return lists;
}

void SetListNames(ItemLists& lists, bool englishTexts) {
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        clsItems& list = lists[i];
        list.ListName = englishTexts ? kLists[i].english : kLists[i].german;
        if (i == kListButtons) {
            list.ItemName = list.ListName;
        } else {
            list.ItemName = list.ListName + (englishTexts ? " Item" : "-Eintrag");
        }
    }
}

bool IsSectionHeader(std::string_view line) {
    if (line == kSettingsSection) return true;
    for (const ListTexts& t : kLists) {
        if (line == t.section) return true;
    }
    return false;
}

}  // namespace zorv
