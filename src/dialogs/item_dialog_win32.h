// frmAddB: the item dialog for one launch item (lists 0 to 3), modal.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_host.h"
#include "dialogs/item_dialog.h"
#include "items/app_state.h"

namespace zorv {

// Shows the dialog; on OK the item is written into state.Lists[List] and
// true is returned. From the bar, OK also calls host.ListChanged(0); from the
// list editor the editor's own OK does that. From the bar the dialog also
// calls host.DialogShowing(true/false) around its modal loop; the list
// editor does that itself for all of its dialogs.
bool ShowItemDialog(HWND owner, AppState& state, DialogHost& host, const ItemDialogRequest& request);

}  // namespace zorv
