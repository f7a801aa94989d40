// Foreground tracking: the shell hook (or, where the system refuses it, a
// short poll of the foreground window), the foreground history, the bar's
// on-top state, and the rules that keep the bar out of the way of
// full-screen, video, game and screen-saver windows.
#pragma once

#include <windows.h>

namespace zorv {

// Registers the bar for shell notifications (first load) and ends it
// (unload).
void InstallShellHook(HWND bar);
void RemoveShellHook(HWND bar);

// Every message of the bar window passes here before the bar's own handling:
// the shell-hook message, the foreground timers, WM_MOVE, WM_ACTIVATEAPP,
// WM_SETTINGCHANGE, WM_WINDOWPOSCHANGED.
void OnWatchMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);

// Foreground history: six windows of other programs, newest first.
void AddToForegroundHistory(HWND window);  // null clears the history
void ClearForegroundHistory();
HWND NewestHistoryWindow();  // newest that still exists, or null
// A mouse move on the bar: record the foreground window when it changed and
// is not one of the program's own.
void RecordForegroundWindow();
// After a menu or message box of the program: the window the user was
// working in gets the foreground back.
void SetLastFGWin();
void RestoreFGWin();

// Bar on top, or out of the way of the window in front.
void TopNow();
void NoTop();
void CheckForVideoOrFullscreen();

// Window rules over the live window.
bool IsDX(HWND window);
bool IsSpecialWindow(HWND window);
bool IsSimpleFullscreenWindow(HWND window);
bool IsMenuOrToolbarShown();
HWND RootOwner(HWND window);
// The bar, a form of the program, or a message box titled "ZorvPanel".
bool IsOwnWindow(HWND window);

}  // namespace zorv
