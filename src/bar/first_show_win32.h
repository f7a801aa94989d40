#pragma once

#include <windows.h>

namespace zorv {

// First display after start-up: builds the bar's images and the bar, makes
// the window layered when fading needs it, places and shows it without
// activating it, above other windows, and starts the position timer.
void FirstShow(HWND bar);

}  // namespace zorv
