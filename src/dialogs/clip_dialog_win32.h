// frmAddClp: the clipboard item dialog (lists 4 and 5), modal, opened by the
// list editor.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_host.h"
#include "items/app_state.h"

namespace zorv {

struct ClipDialogRequest {
    std::int32_t List = 4;  // 4 or 5
    bool AddMode = false;
    // Edit mode: the item; add mode: the line the new item goes before.
    std::int32_t Index = 0;
    bool IsRoot = false;  // the item heads a submenu: no text field
};

// Shows the dialog; on OK the item is written into state.Lists[List] and
// true is returned. The configuration changes only when the list editor is
// confirmed.
bool ShowClipDialog(HWND owner, AppState& state, DialogHost& host, const ClipDialogRequest& request);

}  // namespace zorv
