#include "dialogs/hotkey_dlg_win32.h"

#include <commctrl.h>

#include "input/hotkeys.h"
#include "support/common_controls_win32.h"
#include "support/log.h"

namespace zorv {

clsHotkeyDlg::~clsHotkeyDlg() {
    if (control_) DestroyWindow(control_);
}

std::int32_t clsHotkeyDlg::GetHotkey() const {
    if (!control_) return 0;
    const auto raw = static_cast<std::int32_t>(SendMessageW(control_, HKM_GETHOTKEY, 0, 0));
    return GetCorrectedHK(raw & 0xFFFF);
}

HWND clsHotkeyDlg::CreateHotKeyWindow(HWND form, HWND placeholder) {
    InitCommonControls6OrLater();
    if (control_) DestroyWindow(control_);
    RECT r{};
    GetClientRect(placeholder, &r);
    // A tab stop inside its placeholder: the placeholder's template gives it
    // WS_EX_CONTROLPARENT, so Tab and the label's mnemonic reach the field.
    control_ = CreateWindowExW(0, HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, r.right,
                               r.bottom, placeholder, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!control_) {
        Log(1, "CreateHotKeyWindow: no hotkey control (%u)",
            static_cast<std::uint32_t>(GetLastError()));
        return nullptr;
    }
    SendMessageW(control_, WM_SETFONT, SendMessageW(form, WM_GETFONT, 0, 0), TRUE);
    SendMessageW(control_, HKM_SETHOTKEY, 0, 0);
    SetRules(HKCOMB_NONE | HKCOMB_C, HOTKEYF_SHIFT | HOTKEYF_CONTROL);
    return control_;
}

void clsHotkeyDlg::SetHotkey(std::int32_t value) {
    if (control_) SendMessageW(control_, HKM_SETHOTKEY, GetCorrectedHK(value) & 0xFFFF, 0);
}

void clsHotkeyDlg::SetRules(WPARAM invalidCombinations, LPARAM replacementModifiers) {
    if (control_) SendMessageW(control_, HKM_SETRULES, invalidCombinations, replacementModifiers);
}

}  // namespace zorv
