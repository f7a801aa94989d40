// The language of the run and the texts used in many places.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "items/items.h"

namespace zorv {

// True for English. forcedLanguage: 0 automatic (by the user's language id),
// 1 German, 2 English; other values count as automatic.
bool ChooseLanguage(std::int32_t forcedLanguage, std::uint16_t userLangId);

// The program filter of the file dialogs ("Programs|*.exe;*.com;...");
// Windows 95, 98 and ME have no .cmd files.
std::string ExeFilterText(bool english, bool win9x);

// The help page of the language in the program folder's "Help" folder (the
// folder given without trailing backslash).
std::string HelpFileName(std::string_view programFolder, bool english);

}  // namespace zorv
