// Auto-reduce, fade, restore and placement of the bar.
#include <windows.h>

#include "bar/bar_events_win32.h"

namespace zorv {

void OnBarMouseMove(HWND, int, int, WPARAM) {}
void OnBarTimer(HWND, UINT_PTR) {}
void OnBarDisplayChange(HWND) {}
void StopMotionTimers(HWND) {}

}  // namespace zorv
