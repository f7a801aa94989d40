// Skeleton: the foreground tracking is being built.
#include "winwatch/foreground_win32.h"

namespace zorv {

void InstallShellHook(HWND) {}
void RemoveShellHook(HWND) {}
void OnWatchMessage(HWND, UINT, WPARAM, LPARAM) {}
void AddToForegroundHistory(HWND) {}
void ClearForegroundHistory() {}
HWND NewestHistoryWindow() {
    return nullptr;
}
void RecordForegroundWindow() {}
void SetLastFGWin() {}
void RestoreFGWin() {}
void TopNow() {}
void NoTop() {}
void CheckForVideoOrFullscreen() {}
bool IsDX(HWND) {
    return false;
}
bool IsSpecialWindow(HWND) {
    return false;
}
bool IsSimpleFullscreenWindow(HWND) {
    return false;
}
bool IsMenuOrToolbarShown() {
    return false;
}
HWND RootOwner(HWND window) {
    return window;
}
bool IsOwnWindow(HWND) {
    return false;
}

}  // namespace zorv
