#include "dialogs/hotkey_owner.h"

#include "support/texts.h"

namespace zorv {

// Lists 0 to 5 in order, then the main menu's own hotkey: the order in which
// the hotkeys are registered, so the owner named is the one whose
// registration wins. The main menu's hotkey has the id of the button one past
// the last, so exceptList 0 with exceptIndex = number of buttons leaves it out
// (the options dialog, which edits it).
std::string HotkeyOwnerText(const AppState& state, std::int32_t value, std::int32_t exceptList,
                            std::int32_t exceptIndex) {
    if (value == 0) return {};
    for (std::int32_t list = 0; list < kListCount; ++list) {
        const clsItems& items = state.Lists[list];
        for (std::int32_t i = 0; i < items.Count(); ++i) {
            if (list == exceptList && i == exceptIndex) continue;
            if (items.GetHotkey(i) == value) return UsedByText(items.ListName, items.GetDesc(i));
        }
    }
    const std::int32_t mainMenuIndex = state.Lists[kListButtons].Count();
    const bool mainMenuExcepted = exceptList == kListButtons && exceptIndex == mainMenuIndex;
    if (state.Options.MnuHotkey == value && !mainMenuExcepted) {
        return Text(Txt::UsedBy) + Text(Txt::MainMenuHotkey);
    }
    return {};
}

std::string UsedByText(std::string_view listName, std::string_view desc, bool english) {
    std::string text = TextIn(Txt::UsedBy, english);
    text += listName;
    text += " \"";
    text += StripDepth(desc);
    text += '"';
    return text;
}

std::string UsedByText(std::string_view listName, std::string_view desc) {
    return UsedByText(listName, desc, EnglishTexts);
}

}  // namespace zorv
