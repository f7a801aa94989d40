// frmOptions: the options dialog, modal, opened from the main menu.
#pragma once

#include <windows.h>

#include "dialogs/dialog_host.h"
#include "items/app_state.h"

namespace zorv {

// Shows the dialog. OK writes the settings into state.Options, sets the
// start with Windows and lets the host apply and save them; true then.
// Cancel only takes back a bar distance tried while the dialog was open.
bool ShowOptionsDialog(HWND owner, AppState& state, DialogHost& host);

}  // namespace zorv
