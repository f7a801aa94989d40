// The bar window's messages that concern the foreground tracking: the shell
// hook's notifications (or the poll that stands in for them), the one-shot
// NewFgWinTimer, and the bar's activation and z-order changes.
#include "winwatch/foreground_win32.h"

#include "support/log.h"
#include "support/window_win32.h"
#include "support/win32_constants.h"
#include "winwatch/bar_events.h"

namespace zorv {

namespace {

constexpr WORD kRegisterShellHookOrdinal = 181;
constexpr DWORD kShellHookRegister = 1;
constexpr DWORD kShellHookDeregister = 0;
constexpr DWORD kMaximizerSecondLookMs = 10;

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

WatchTraits TraitsOf(const WindowsVersionInfo& v) {
    return {static_cast<std::int32_t>(v.Major), v.Win2000OrLater};
}

}  // namespace

ForegroundTracker::ForegroundTracker(AppState& state, WatchHost& host)
    : s_(state),
      host_(host),
      platform_(host),
      watcher_(platform_, state.Options, TraitsOf(state.App.WindowsVersion)) {}

Settings ForegroundTracker::SettingsForSaving(const Settings& live) const {
    return ConfiguredSettings(watcher_.State().Cover, live);
}

// Wine refuses the registration and has no out-of-context foreground event
// either; asking for the foreground window a few times a second finds every
// activation a user can see.
void ForegroundTracker::StartPolling(HWND bar) {
    lastPolled_ = GetForegroundWindow();
    polling_ = SetTimer(bar, kTimForegroundPoll, kForegroundPollMs, nullptr) != 0;
    Log(1, "Shell hook refused: the foreground window is polled every %u ms", kForegroundPollMs);
}

void ForegroundTracker::Install(HWND bar) {
    shellMessage_ = RegisterWindowMessageW(L"SHELLHOOK");
    hookRegistered_ =
        OldShell() ? RegisterShellHookOld(bar, kShellHookRegister) : RegisterShellHookWindow(bar);
    Log(2, "InstallShellHook: message 0x%X, registered %i", shellMessage_, hookRegistered_ ? 1 : 0);
    if (!hookRegistered_) StartPolling(bar);
}

void ForegroundTracker::Remove(HWND bar) {
    KillTimer(bar, kTimNewFgWin);
    newFgPending_ = false;
    if (polling_) KillTimer(bar, kTimForegroundPoll);
    polling_ = false;
    if (!hookRegistered_) return;
    if (OldShell()) {
        RegisterShellHookOld(bar, kShellHookDeregister);
    } else {
        DeregisterShellHookWindow(bar);
    }
    hookRegistered_ = false;
}

// A burst of notifications is folded into one look at the foreground: the
// timer is only enabled, not restarted.
void ForegroundTracker::OnShellNotification(HWND bar, WPARAM code, HWND window) {
    if (!IsForegroundNotification(code)) return;
    if (!newFgPending_) newFgPending_ = SetTimer(bar, kTimNewFgWin, kNewFgWinMs, nullptr) != 0;
    if (!s_.Options.Maximizer) return;
    Sleep(0);
    watcher_.MaximizeLikePrevious(ToWindowId(window));
    Sleep(kMaximizerSecondLookMs);
    watcher_.MaximizeLikePrevious(ToWindowId(window));
}

void ForegroundTracker::NewFgWinTick(HWND bar) {
    KillTimer(bar, kTimNewFgWin);
    newFgPending_ = false;
    host_.CheckForcedWindowState();
    // Before the first show the bar is out of sight and has no image yet.
    if (host_.IsClosing() || !IsWindowVisible(bar)) return;
    // The poll compares with the window looked at now: one activated while
    // the watcher works is a change, even when the poll saw it once before.
    if (polling_) lastPolled_ = GetForegroundWindow();
    watcher_.OnNewFGWin();
}

void ForegroundTracker::PollForeground(HWND bar) {
    const HWND fg = GetForegroundWindow();
    if (fg == lastPolled_) return;
    lastPolled_ = fg;
    OnShellNotification(bar, static_cast<WPARAM>(win::kHshellWindowActivated), fg);
}

// Windows before 2000 do not give the foreground back to the window the user
// worked in when the bar's process is activated.
void ForegroundTracker::OnActivateApp(HWND bar, WPARAM wParam, LPARAM lParam) {
    Log(3, "WM_ACTIVATEAPP %u %u %u", ToWindowId(bar), static_cast<std::uint64_t>(wParam),
        static_cast<std::uint64_t>(lParam));
    Log(3, "WndProc WM_ACTIVATEAPP");
    if (!GiveForegroundBackOnActivate(wParam == 1, OldShell(), platform_.OpenFormCount())) return;
    if (const WindowId w = watcher_.NewestHistoryWindow()) host_.BringToFront(w, "WM_ACTIVATEAPP");
}

// The bar's z-order or place changed: when another window now covers it,
// timEnsureVisible puts it back on top shortly (unless the mouse is on it).
void ForegroundTracker::OnWindowPosChanged(HWND bar) {
    PosChangeFacts facts{};
    facts.Closing = host_.IsClosing();
    facts.Restacking = platform_.RestackingBar();
    facts.BarVisible = IsWindowVisible(bar) != FALSE;
    if (facts.Closing || facts.Restacking || !facts.BarVisible) return;
    facts.OwnWindowInFront = platform_.IsOwnWindow(ToWindowId(GetForegroundWindow()));
    if (facts.OwnWindowInFront) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    facts.CursorOnBar = WindowFromPoint(cursor) == bar;
    if (facts.CursorOnBar) return;
    facts.ShowsAtCorners = host_.BarShowsAtCorners();
    if (EnsureVisibleAfterPosChange(facts)) host_.StartEnsureVisibleTimer();
}

void ForegroundTracker::OnMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (shellMessage_ != 0 && msg == shellMessage_) {
        OnShellNotification(bar, wParam, reinterpret_cast<HWND>(lParam));
        return;
    }
    switch (msg) {
        case WM_TIMER:
            if (wParam == kTimNewFgWin) NewFgWinTick(bar);
            if (wParam == kTimForegroundPoll) PollForeground(bar);
            break;
        case WM_ACTIVATEAPP:
            OnActivateApp(bar, wParam, lParam);
            break;
        case WM_WINDOWPOSCHANGED:
            OnWindowPosChanged(bar);
            break;
        default:
            break;
    }
}

}  // namespace zorv
