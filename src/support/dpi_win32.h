// The resolution a window is drawn at. The program declares itself aware of
// each monitor's resolution (its manifest), so Windows gives it the real
// pixels and leaves the scaling to it: the bar asks here for the dots per
// inch of the screen it is on and draws its cells, icons and lines for them.
#pragma once

#include <windows.h>

#include "support/geometry.h"

namespace zorv {

// The window's resolution (GetDpiForWindow, from Windows 10 1607); before
// that the screen's. 96 when nothing answers.
Dpi WindowDpi(HWND window);
// GetSystemMetrics as it would be at `dpi` (GetSystemMetricsForDpi where it
// exists, else the system's value scaled from the system resolution).
int SystemMetricAt(int index, Dpi dpi);

}  // namespace zorv
