#include "dialogs/dialogs_win32.h"

#include "dialogs/item_dialog_win32.h"
#include "dialogs/list_editor.h"
#include "dialogs/list_editor_win32.h"
#include "dialogs/options_dialog_win32.h"
#include "dialogs/run_dialog_win32.h"
#include "support/log.h"
#include "support/window_win32.h"

namespace zorv {

void Dialogs::EditList(std::int32_t list) {
    if (list < 0 || list >= kListCount) return;
    if (lastFolder_.empty()) lastFolder_ = s_.App.ProgramFolder;
    ShowListEditor(ToHwnd(host_.BarWindow()), s_, host_, list, lastFolder_);
}

void Dialogs::EditButton(std::int32_t index) {
    if (index < 0 || index >= s_.Lists[kListButtons].Count()) return;
    Log(1, "EditItem %i", index);
    ShowItemDialog(ToHwnd(host_.BarWindow()), s_, host_,
                   {kListButtons, false, index, true, HeadsSubmenu(s_.Lists[kListButtons], index)});
}

void Dialogs::AddButton(std::int32_t after) {
    Log(1, "AddButton after %i", after);
    ShowItemDialog(ToHwnd(host_.BarWindow()), s_, host_, {kListButtons, true, after, true, false});
}

void Dialogs::Run() {
    ShowRunDialog(ToHwnd(host_.BarWindow()), s_, host_);
}

void Dialogs::Options() {
    ShowOptionsDialog(ToHwnd(host_.BarWindow()), s_, host_);
}

}  // namespace zorv
