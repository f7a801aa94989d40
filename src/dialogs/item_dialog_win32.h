// frmAddB: the item dialog for one launch item (lists 0 to 3), modal.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_host.h"
#include "items/app_state.h"

namespace zorv {

struct ItemDialogRequest {
    std::int32_t List = 0;   // 0 buttons, 1 main menu, 2 autostart, 3 autoclose
    bool AddMode = false;
    // Edit mode: the item. Add mode from the list editor: the line the new
    // item is inserted before (Count() for the end); from the bar: the
    // pressed button, the new one goes after it and its menu block.
    std::int32_t Index = 0;
    bool FromBar = false;
    bool IsRoot = false;  // the item heads a submenu: the reduced form
};

// Shows the dialog; on OK the item is written into state.Lists[List] and
// true is returned. From the bar, OK also calls host.ListChanged(0); from the
// list editor the editor's own OK does that.
bool ShowItemDialog(HWND owner, AppState& state, DialogHost& host, const ItemDialogRequest& request);

}  // namespace zorv
