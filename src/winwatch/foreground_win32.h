// Foreground tracking: the shell hook (or, where the system refuses it, a
// short poll of the foreground window), the foreground history, the bar's
// on-top state, and the rules that keep the bar out of the way of
// full-screen, video, game and screen-saver windows.
#pragma once

#include <windows.h>

#include "items/app_state.h"
#include "winwatch/foreground_watch.h"
#include "winwatch/watch_host.h"
#include "winwatch/watch_platform_win32.h"

namespace zorv {

// Timer ids on the bar window (the bar's own are 0x3301..0x330F).
inline constexpr UINT_PTR kTimNewFgWin = 0x3310;        // one shot after a notification
inline constexpr UINT_PTR kTimForegroundPoll = 0x3311;  // where the shell hook is refused
inline constexpr UINT kForegroundPollMs = 100;
// A burst of notifications is looked at once, this long after the first.
inline constexpr UINT kNewFgWinMs = 30;

class ForegroundTracker {
  public:
    // Made after start-up has read the Windows version.
    ForegroundTracker(AppState& state, WatchHost& host);
    ForegroundTracker(const ForegroundTracker&) = delete;
    ForegroundTracker& operator=(const ForegroundTracker&) = delete;

    // Registers the bar for shell notifications (first load) and ends it
    // (unload).
    void Install(HWND bar);
    void Remove(HWND bar);

    // Every message of the bar window passes here before the bar's own
    // handling: the shell-hook message, the foreground timers,
    // WM_ACTIVATEAPP, WM_WINDOWPOSCHANGED. None is consumed.
    void OnMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);

    ForegroundWatcher& Watcher() { return watcher_; }
    bool RestackingBar() const { return platform_.RestackingBar(); }
    // Set while a menu of the program or the item editor is shown: TopNow then
    // leaves the z-order of the other windows alone.
    void SetBusy(bool busy) { platform_.SetBusy(busy); }
    // While a video or full-screen window covers the screen the bar runs with
    // AutoRed 1 and LineColor 3; the configuration file keeps the user's
    // values. `live` with the configured values back in place.
    Settings SettingsForSaving(const Settings& live) const;

  private:
    void StartPolling(HWND bar);
    void OnShellNotification(HWND bar, WPARAM code, HWND window);
    void NewFgWinTick(HWND bar);
    void PollForeground(HWND bar);
    void OnActivateApp(HWND bar, WPARAM wParam, LPARAM lParam);
    void OnWindowPosChanged(HWND bar);
    bool OldShell() const { return s_.App.WindowsVersion.Major < 5; }

    AppState& s_;
    WatchHost& host_;
    Win32WatchPlatform platform_;
    ForegroundWatcher watcher_;
    UINT shellMessage_ = 0;
    bool hookRegistered_ = false;
    bool polling_ = false;
    HWND lastPolled_ = nullptr;
    bool newFgPending_ = false;
};

}  // namespace zorv
