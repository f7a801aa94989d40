// The bar window (frmButtons): creation, first load, closing.
#pragma once

#include <windows.h>

namespace zorv {

inline constexpr wchar_t kBarClass[] = L"ZorvBar";
inline constexpr wchar_t kBarTitle[] = L"Zorv";
// wParam of the WM_CLOSE a newly started instance sends the running one.
inline constexpr WPARAM kCloseFromNewInstance = 0x01010101;

// Creates the bar and runs its first load; retries while the desktop is not
// ready (right after logon). False after 1200 failed attempts.
bool CreateBarWindow(HINSTANCE instance);

// Closes every window of the program (the bar last).
void UnloadAllWindows();

HWND BarWindow();

}  // namespace zorv
