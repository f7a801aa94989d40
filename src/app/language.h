// The language of the run and the texts used in many places.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "items/items.h"

namespace zorv {

// Set once by SetLanguageTexts (copies of rows of the text table).
inline std::string TxtCommandLineNeeded;
inline std::string ExeFilter;
inline std::string TxtAddItem;
inline std::string TxtEditItem;
inline std::string TxtMenu;
inline std::string TxtFor;
inline std::string TxtAccept;
inline std::string TxtAnyway;
inline std::string TxtAlreadyUsedBy;

// True for English. forcedLanguage: 0 automatic (by the user's language id),
// 1 German, 2 English; other values count as automatic.
bool ChooseLanguage(std::int32_t forcedLanguage, std::uint16_t userLangId);

// Fills the shared texts above and the names of the six lists.
void SetLanguageTexts(bool english, bool win9x, ItemLists& lists);

// The help file in the program folder (given without trailing backslash).
std::string HelpFileName(std::string_view programFolder, bool english);

// "INI Files (*.ini)|*.ini" for the import and export file dialogs.
std::string IniFilter(bool english);

// "Used by <list> "<caption>"" with the depth marks removed from the caption.
std::string UsedByText(std::string_view listName, std::string_view desc, bool english);
// The same in the language of this run.
std::string UsedByText(std::string_view listName, std::string_view desc);

}  // namespace zorv
