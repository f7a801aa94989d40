// The foreground tracking's functions for the rest of the program: each one
// hands over to the program's ForegroundWatcher.
#include "winwatch/foreground_win32.h"

#include "app/app_state.h"
#include "bar/bar_platform_win32.h"
#include "winwatch/watch_platform_win32.h"

namespace zorv {

Win32WatchPlatform& WatchPlatformWin32() {
    static Win32WatchPlatform platform;
    return platform;
}

// Made after start-up has read the Windows version.
ForegroundWatcher& Watcher() {
    static ForegroundWatcher watcher(
        WatchPlatformWin32(), Options,
        WatchTraits{static_cast<std::int32_t>(App.WindowsVersion.Major),
                    App.WindowsVersion.Win2000OrLater});
    return watcher;
}

void AddToForegroundHistory(HWND window) {
    Watcher().State().History.Add(ToWindowId(window));
}

void ClearForegroundHistory() {
    Watcher().State().History.Clear();
}

HWND NewestHistoryWindow() {
    return ToHwnd(Watcher().NewestHistoryWindow());
}

void RecordForegroundWindow() {
    Watcher().RecordForegroundWindow();
}

void SetLastFGWin() {
    Watcher().SetLastFGWin();
}

void RestoreFGWin() {
    Watcher().RestoreFGWin();
}

void TopNow() {
    Watcher().TopNow();
}

void NoTop() {
    Watcher().NoTop();
}

void CheckForVideoOrFullscreen() {
    Watcher().CheckForVideoOrFullscreen();
}

bool IsDX(HWND window) {
    return Watcher().IsDX(ToWindowId(window));
}

bool IsSpecialWindow(HWND window) {
    return Watcher().IsSpecialWindow(ToWindowId(window));
}

bool IsSimpleFullscreenWindow(HWND window) {
    return Watcher().IsSimpleFullscreenWindow(ToWindowId(window));
}

bool IsMenuOrToolbarShown() {
    return Watcher().IsMenuOrToolbarShown();
}

HWND RootOwner(HWND window) {
    return ToHwnd(RootOwner(WatchPlatformWin32(), ToWindowId(window)));
}

bool IsOwnWindow(HWND window) {
    return WatchPlatformWin32().IsOwnWindow(ToWindowId(window));
}

Settings SettingsForSaving(const Settings& live) {
    return ConfiguredSettings(Watcher().State().Cover, live);
}

bool BarCovered() {
    return Watcher().State().Cover.Covered;
}

void SetForegroundBusy(bool busy) {
    WatchPlatformWin32().SetBusy(busy);
}

}  // namespace zorv
