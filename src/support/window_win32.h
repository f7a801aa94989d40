// The window queries every shell shares: handles and rectangles in the
// program's own types, class names, window texts read with time-outs, and
// what counts as a form of this program. A window of another program is
// never asked without a time-out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/geometry.h"

namespace zorv {

inline HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}
inline WindowId ToWindowId(HWND window) {
    return reinterpret_cast<WindowId>(window);
}
inline ScreenRect ToScreenRect(const RECT& r) {
    return ScreenRect::FromEdges(r.left, r.top, r.right, r.bottom);
}

// Z-order changes that neither move, size nor activate.
inline constexpr UINT kZOrderFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

std::string ClassOf(HWND window);
// WM_GETTEXT with a 100 ms time-out; "no text because no response" for a
// window that does not answer WM_NULL within 50 ms.
std::string WindowTextTimeout(HWND window);
// The whole text of a window of this thread (a dialog's control), however
// long; no time-out, since the thread answers itself.
std::string OwnWindowText(HWND window);
bool IsHung(HWND window);
// Visible and at least one pixel wide and high.
bool IsReallyVisible(HWND window);
// Whether a top-level window of class `cls` is really visible.
bool VisibleTopLevel(const wchar_t* cls);
bool OwnedByThisProcess(HWND window);
// A visible top-level window that is a form of its own: a dialog, message
// box or editor (tooltips and popup menus come and go with the mouse).
bool IsFormWindow(HWND window);
// Visible top-level windows of this thread that are forms of their own:
// dialogs, message boxes, editors (tooltips and popup menus do not count).
// The bar counts as one even while it is hidden.
std::int32_t OpenFormCount(HWND bar);
// A device capability of the screen (HORZRES, BITSPIXEL ...).
std::int32_t ScreenCaps(int index);
// Bits per pixel times planes: the colour depth as the bar stores it.
std::int32_t ScreenBitsPerPixel();

}  // namespace zorv
