// The bar's images and painting.
#include <windows.h>

#include "bar/bar_events_win32.h"

namespace zorv {

void OnBarPaint(HWND bar) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_3DFACE));
    EndPaint(bar, &ps);
}

void OnBarSysColorChange(HWND bar) { InvalidateRect(bar, nullptr, FALSE); }

void ReleaseBarImages() {}

}  // namespace zorv
