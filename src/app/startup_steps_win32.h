// The bar's start-up and closing steps, in the order the bar runs them.
#pragma once

#include <windows.h>

namespace zorv {

// The bar window's first load: lists, images, configuration, language,
// menus, hotkeys, foreground tracking, first show or wait for idle, autostart.
void BarFirstLoad(HWND bar);

// Reads the configuration file chosen at start (or takes over an older one).
void LoadConfig();

// Closing steps.
void StopBarTimers();
void SavePendingConfig();
void RunAutocloseList();
void EndForegroundTracking();

}  // namespace zorv
