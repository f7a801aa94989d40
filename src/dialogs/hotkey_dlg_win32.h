// clsHotkeyDlg: one hotkey field of a dialog, the system's hotkey control
// ("msctls_hotkey32") made in place of a placeholder control. Values in and
// out are the program's hotkey values; the control's own layout of the
// modifier bits is swapped at this boundary (GetCorrectedHK).
#pragma once

#include <windows.h>

#include <cstdint>

namespace zorv {

class clsHotkeyDlg {
  public:
    clsHotkeyDlg() = default;
    ~clsHotkeyDlg();
    clsHotkeyDlg(const clsHotkeyDlg&) = delete;
    clsHotkeyDlg& operator=(const clsHotkeyDlg&) = delete;

    std::int32_t GetHotkey() const;
    // The control in `placeholder`'s window with its size and the form's
    // font, empty, refusing no modifier and Ctrl alone (Shift+Ctrl instead).
    HWND CreateHotKeyWindow(HWND form, HWND placeholder);
    void HotkeyChanged() {}
    void SetHotkey(std::int32_t value);
    void SetRules(WPARAM invalidCombinations, LPARAM replacementModifiers);
    HWND Window() const { return control_; }

  private:
    HWND control_ = nullptr;
};

}  // namespace zorv
