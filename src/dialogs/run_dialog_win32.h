// frmExec: the run dialog, modal, opened from the main menu.
#pragma once

#include <windows.h>

#include "dialogs/dialog_host.h"
#include "items/app_state.h"

namespace zorv {

// Shows the dialog until a command was started or the user cancels; the
// global hotkeys are off meanwhile (host.DialogShowing).
void ShowRunDialog(HWND owner, AppState& state, DialogHost& host);

}  // namespace zorv
