// The language of this run on Windows, and message boxes in it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "items/app_state.h"
#include "support/texts.h"

namespace zorv {

// Chooses the language (user language or ForcedLanguage) and sets the list
// names and the help file.
void ApplyLanguage(AppState& state);

// A message box with the German or the English text, whichever is in force;
// returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO ...).
int MsgBoxLang(std::string_view german, std::string_view english, UINT flags);
// The same for a row of the text table.
int MsgBoxText(Txt id, UINT flags);

}  // namespace zorv
