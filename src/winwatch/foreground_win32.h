// Foreground tracking: the shell hook (or, where the system refuses it, a
// short poll of the foreground window), the foreground history, the bar's
// on-top state, and the rules that keep the bar out of the way of
// full-screen, video, game and screen-saver windows.
#pragma once

#include <windows.h>

#include "items/settings.h"

namespace zorv {

// Timer ids on the bar window (the bar's own are 0x3301..0x3303).
inline constexpr UINT_PTR kTimNewFgWin = 0x3310;        // one shot after a notification
inline constexpr UINT_PTR kTimForegroundPoll = 0x3311;  // where the shell hook is refused
inline constexpr UINT kForegroundPollMs = 100;

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

// While a video or full-screen window covers the screen the bar runs with
// AutoRed 1 and LineColor 3; the configuration file keeps the user's values.
// `live` with the configured values back in place: what is to be saved.
Settings SettingsForSaving(const Settings& live);
bool BarCovered();

// Set while a menu of the program or the item editor is shown: TopNow then
// leaves the z-order of the other windows alone.
void SetForegroundBusy(bool busy);

// The system reported changed non-client metrics: the menus are to be built
// again. Answers the mark and clears it (the position tick's task).
bool TakeMenuRebuildMark();

}  // namespace zorv
