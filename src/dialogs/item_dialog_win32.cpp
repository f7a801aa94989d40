#include "dialogs/item_dialog_win32.h"

#include "support/text_win32.h"
#include "support/texts.h"

namespace zorv {

// Stand-in until the item dialog lands.
bool ShowItemDialog(HWND owner, AppState&, DialogHost&, const ItemDialogRequest&) {
    MsgBox(Text(Txt::NotInThisVersion), MB_OK | MB_ICONINFORMATION, owner);
    return false;
}

}  // namespace zorv
