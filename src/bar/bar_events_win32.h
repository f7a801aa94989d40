// The bar window's message handlers, one per concern. The window procedure
// (bar_window_win32.cpp) only dispatches; drawing lives in
// bar_draw_win32.cpp, reduce/fade/position in bar_motion_win32.cpp.
#pragma once

#include <windows.h>

namespace zorv {

// Drawing (bar_draw_win32.cpp).
void OnBarPaint(HWND bar);
void OnBarSysColorChange(HWND bar);
// Releases every image of the bar (unload).
void ReleaseBarImages();

// Motion: auto-reduce, fade, restore, placement (bar_motion_win32.cpp).
void OnBarMouseMove(HWND bar, int x, int y, WPARAM keys);
void OnBarTimer(HWND bar, UINT_PTR id);
void OnBarDisplayChange(HWND bar);
// Stops timAutoreduce and timPos (closing).
void StopMotionTimers(HWND bar);

}  // namespace zorv
