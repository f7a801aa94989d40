#include "dialogs/clip_dialog_win32.h"

#include "support/text_win32.h"
#include "support/texts.h"

namespace zorv {

// Stand-in until the clipboard item dialog lands.
bool ShowClipDialog(HWND owner, AppState&, DialogHost&, const ClipDialogRequest&) {
    MsgBox(Text(Txt::NotInThisVersion), MB_OK | MB_ICONINFORMATION, owner);
    return false;
}

}  // namespace zorv
