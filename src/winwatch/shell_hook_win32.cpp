// The bar window's messages that concern the foreground tracking: the shell
// hook's notifications (or the poll that stands in for them), the one-shot
// NewFgWinTimer, and the bar's own moves, activation and setting changes.
#include <utility>

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_motion_win32.h"
#include "bar/bar_platform_win32.h"
#include "bar/position_tick.h"
#include "launch/launch_win32.h"
#include "launch/window_ops_win32.h"
#include "winwatch/foreground_win32.h"
#include "winwatch/watch_platform_win32.h"

namespace zorv {

namespace {

constexpr WPARAM kShellWindowCreated = 1;    // HSHELL_WINDOWCREATED
constexpr WPARAM kShellWindowActivated = 4;  // HSHELL_WINDOWACTIVATED, also 0x8004
constexpr WPARAM kNonClientMetrics = 0x2A;   // SPI_SETNONCLIENTMETRICS
constexpr WORD kRegisterShellHookOrdinal = 181;
constexpr DWORD kShellHookRegister = 1;
constexpr DWORD kShellHookDeregister = 0;
constexpr DWORD kMaximizerSecondLookMs = 10;

UINT g_shellMessage = 0;
bool g_hookRegistered = false;
bool g_polling = false;
HWND g_lastPolled = nullptr;
bool g_newFgPending = false;
bool g_menuRebuildMark = false;

bool OldShell() {
    return App.WindowsVersion.Major < 5;
}

// Windows 95/98/ME and NT 4 have no RegisterShellHookWindow; their shell
// exports the older registration by ordinal only.
bool RegisterShellHookOld(HWND bar, DWORD action) {
    using RegisterShellHookFn = BOOL(WINAPI*)(HWND, DWORD);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) return false;
    const auto fn = reinterpret_cast<RegisterShellHookFn>(reinterpret_cast<void*>(
        GetProcAddress(shell, MAKEINTRESOURCEA(kRegisterShellHookOrdinal))));
    return fn && fn(bar, action);
}

void RegisterMotionHooks() {
    MotionHooks hooks;
    hooks.TopNow = [] { Watcher().TopNow(); };
    hooks.EndActivationCycle = [] { EndActivationCycle(); };
    hooks.RecordForegroundWindow = [] { Watcher().RecordForegroundWindow(); };
    hooks.IsMenuOrToolbarShown = [] { return Watcher().IsMenuOrToolbarShown(); };
    hooks.IsDX = [](WindowId window) { return Watcher().IsDX(window); };
    hooks.IsSpecialWindow = [](WindowId window) { return Watcher().IsSpecialWindow(window); };
    hooks.CheckForVideoOrFullscreen = [] { Watcher().CheckForVideoOrFullscreen(); };
    SetMotionHooks(std::move(hooks));
}

// Wine refuses the registration and has no out-of-context foreground event
// either; asking for the foreground window a few times a second finds every
// activation a user can see.
void StartPolling(HWND bar) {
    g_lastPolled = GetForegroundWindow();
    g_polling = SetTimer(bar, kTimForegroundPoll, kForegroundPollMs, nullptr) != 0;
    Log(1, "Shell hook refused: the foreground window is polled every %u ms", kForegroundPollMs);
}

// A burst of notifications is folded into one look at the foreground: the
// timer is only enabled, not restarted.
void OnShellNotification(HWND bar, WPARAM code, HWND window) {
    const WPARAM kind = code & 0xFF;
    if (kind != kShellWindowCreated && kind != kShellWindowActivated) return;
    if (!g_newFgPending) g_newFgPending = SetTimer(bar, kTimNewFgWin, kNewFgWinMs, nullptr) != 0;
    if (!Options.Maximizer) return;
    Sleep(0);
    Watcher().MaximizeLikePrevious(ToWindowId(window));
    Sleep(kMaximizerSecondLookMs);
    Watcher().MaximizeLikePrevious(ToWindowId(window));
}

void NewFgWinTick(HWND bar) {
    KillTimer(bar, kTimNewFgWin);
    g_newFgPending = false;
    if (ForcedWindowStatePending()) CheckForcedWindowState();
    // Before the first show the bar is out of sight and has no image yet.
    if (IsClosing || !IsWindowVisible(bar)) return;
    // The poll compares with the window looked at now: one activated while
    // the watcher works is a change, even when the poll saw it once before.
    if (g_polling) g_lastPolled = GetForegroundWindow();
    Watcher().OnNewFGWin();
}

void PollForeground(HWND bar) {
    const HWND fg = GetForegroundWindow();
    if (fg == g_lastPolled) return;
    g_lastPolled = fg;
    OnShellNotification(bar, kShellWindowActivated, fg);
}

// A reduced bar that something moved to the top edge keeps its reduced
// height: it is put back up so that only its line shows.
void OnMove(HWND bar) {
    if (Options.AutoRed != 1 || !BarBuilt()) return;
    RECT r{};
    GetWindowRect(bar, &r);
    const int h = BarHeight();
    if (r.top == 0 && r.bottom - r.top == h + 1) {
        SetWindowPos(bar, nullptr, r.left, -h, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Windows before 2000 do not give the foreground back to the window the user
// worked in when the bar's process is activated.
void OnActivateApp(HWND bar, WPARAM wParam, LPARAM lParam) {
    Log(3, "WM_ACTIVATEAPP %u %u %u", ToWindowId(bar), static_cast<std::uint64_t>(wParam),
        static_cast<std::uint64_t>(lParam));
    Log(3, "WndProc WM_ACTIVATEAPP");
    if (wParam != 1 || !OldShell() || WatchPlatformWin32().OpenFormCount() > 1) return;
    if (const HWND w = NewestHistoryWindow()) BringToFront(w, "WM_ACTIVATEAPP");
}

// New caption sizes change the automatic right gap and the menus' metrics.
void OnSettingChange(WPARAM wParam) {
    if (wParam != kNonClientMetrics) return;
    Log(2, "WM_SETTINGCHANGE non-client metrics");
    SetBarRight();
    g_menuRebuildMark = true;
    TimPosSetFast();
}

// The bar's z-order or place changed: when another window now covers it,
// timEnsureVisible puts it back on top shortly (unless the mouse is on it).
void OnWindowPosChanged(HWND bar) {
    if (IsClosing || RestackingBar() || !IsWindowVisible(bar)) return;
    if (IsOwnWindow(GetForegroundWindow())) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == bar) return;
    if (!BarShowsAtCorners()) StartEnsureVisibleTimer();
}

}  // namespace

void InstallShellHook(HWND bar) {
    g_shellMessage = RegisterWindowMessageW(L"SHELLHOOK");
    g_hookRegistered =
        OldShell() ? RegisterShellHookOld(bar, kShellHookRegister) : RegisterShellHookWindow(bar);
    Log(2, "InstallShellHook: message 0x%X, registered %i", g_shellMessage,
        g_hookRegistered ? 1 : 0);
    if (!g_hookRegistered) StartPolling(bar);
    RegisterMotionHooks();
}

void RemoveShellHook(HWND bar) {
    KillTimer(bar, kTimNewFgWin);
    g_newFgPending = false;
    if (g_polling) KillTimer(bar, kTimForegroundPoll);
    g_polling = false;
    if (!g_hookRegistered) return;
    if (OldShell()) {
        RegisterShellHookOld(bar, kShellHookDeregister);
    } else {
        DeregisterShellHookWindow(bar);
    }
    g_hookRegistered = false;
}

void OnWatchMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_shellMessage != 0 && msg == g_shellMessage) {
        OnShellNotification(bar, wParam, reinterpret_cast<HWND>(lParam));
        return;
    }
    switch (msg) {
        case WM_TIMER:
            if (wParam == kTimNewFgWin) NewFgWinTick(bar);
            if (wParam == kTimForegroundPoll) PollForeground(bar);
            break;
        case WM_MOVE:
            OnMove(bar);
            break;
        case WM_ACTIVATEAPP:
            OnActivateApp(bar, wParam, lParam);
            break;
        case WM_SETTINGCHANGE:
            OnSettingChange(wParam);
            break;
        case WM_WINDOWPOSCHANGED:
            OnWindowPosChanged(bar);
            break;
        default:
            break;
    }
}

bool TakeMenuRebuildMark() {
    const bool mark = g_menuRebuildMark;
    g_menuRebuildMark = false;
    return mark;
}

}  // namespace zorv
