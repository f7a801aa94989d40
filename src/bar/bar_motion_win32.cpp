// Auto-reduce, fade, restore and placement of the bar.
#include "bar/bar_motion_win32.h"

#include "support/log.h"
#include "support/tick_clock.h"

namespace zorv {

namespace {

// Windows 95/98/ME and NT 4 repaint uncovered windows by other rules, and
// only Windows 2000 and later have per-window alpha.
PlatformTraits TraitsOf(const WindowsVersionInfo& v) {
    PlatformTraits traits;
    traits.LayeredOK = v.Win2000OrLater;
    traits.NT = v.NT;
    traits.OldPaintRules = !v.NT || v.Major < 5;
    return traits;
}

// No window is recorded as the foreground: the next position tick runs
// through all its checks.
constexpr WindowId kNoForegroundRecorded = ~WindowId{0};

}  // namespace

BarMotion::BarMotion(HWND bar, AppState& state, BarPainter& painter, const ClickState& clicks,
                     BarHover& hover, BarHost& host)
    : s_(state),
      clicks_(clicks),
      platform_(bar, painter, clicks, hover, host),
      reducer_(platform_, state.Options, TraitsOf(state.App.WindowsVersion)),
      placer_(platform_, state.Options, reducer_),
      ticker_(platform_, state.Options, reducer_, placer_, TraitsOf(state.App.WindowsVersion)) {
    platform_.SetPlacement(&placer_.State());
}

// The first show has just placed the bar for this screen: the first tick
// need not place it again (which would also reduce a bar the mouse is on).
void BarMotion::StartPosTimer() {
    if (!platform_.PosTimerEnabled()) ticker_.State().StoredScreenHeight = platform_.ScreenHeight();
    platform_.StartPosTimer();
}

// Hover over a bar that starts at the screen's left edge: it may be wider
// than the room, and the mouse resting at an edge scrolls it.
void BarMotion::ScrollAtScreenEdge() {
    if (!ScrollAtEdgeAllowed(reducer_.State().TransitionBusy, clicks_.Pressed >= 0,
                             platform_.BarRect().Left)) {
        return;
    }
    placer_.BarMoveLeftRight();
}

bool BarMotion::OnMouseMove(HWND bar, int x, int y, bool simulated) {
    if (!reducer_.OnMouseMove(x, y)) return false;
    const std::uint64_t now = TickCount64();
    // Whatever was activated during a pause may have covered the bar.
    if (RetopAfterPause(now, lastMoveMs_))
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
    lastMoveMs_ = now;
    if (s_.Options.ProcessPrio == 1) platform_.SetHighPriority();
    if (!simulated) ScrollAtScreenEdge();
    Log(6, "FB_MM10");
    platform_.RecordForegroundWindow();
    return true;
}

void BarMotion::OnTimer(UINT_PTR id) {
    switch (id) {
        case kTimAutoreduce:
            reducer_.AutoReduceTick();
            break;
        case kTimPos:
            // A message box shown by the save runs a message loop of its
            // own, which delivers further ticks.
            if (inPosTick_) break;
            inPosTick_ = true;
            ticker_.Tick(0);
            inPosTick_ = false;
            break;
        case kTimEnsureVisible:
            ticker_.EnsureVisibleTick();
            break;
        default:
            break;
    }
}

// The stored screen height no longer matches, and with no foreground window
// recorded the tick does not stop before it looks at the screen.
void BarMotion::OnDisplayChange() {
    Log(3, "WM_DISPLAYCHANGE");
    PositionTickState& tick = ticker_.State();
    tick.StoredScreenHeight = 0;
    tick.LastForeground = kNoForegroundRecorded;
    ticker_.TimPosSetFast();
}

// New caption sizes change the automatic right gap and the menus' metrics.
void BarMotion::OnNonClientMetricsChange() {
    Log(2, "WM_SETTINGCHANGE non-client metrics");
    placer_.SetBarRight();
    ticker_.State().RebuildMenusPending = true;
    ticker_.TimPosSetFast();
}

}  // namespace zorv
