#pragma once

#include <windows.h>

namespace zorv {

// First display after start-up: size, place and show the bar without
// activating it, above other windows.
void FirstShow(HWND bar);

}  // namespace zorv
