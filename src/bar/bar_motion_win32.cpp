// Auto-reduce, fade, restore and placement of the bar.
#include "bar/bar_motion_win32.h"

#include <memory>

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_click_win32.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_events_win32.h"
#include "bar/position_tick.h"
#include "bar/reduce.h"
#include "support/tick_clock.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

namespace {

// Windows 95/98/ME and NT 4 repaint uncovered windows by other rules, and
// only Windows 2000 and later have per-window alpha.
PlatformTraits CurrentTraits() {
    const WindowsVersionInfo& v = App.WindowsVersion;
    PlatformTraits traits;
    traits.LayeredOK = v.Win2000OrLater;
    traits.NT = v.NT;
    traits.OldPaintRules = !v.NT || v.Major < 5;
    return traits;
}

struct Motion {
    Motion(HWND bar, PlatformTraits traits)
        : platform(bar),
          reducer(platform, Options, traits),
          placer(platform, Options, reducer),
          ticker(platform, Options, reducer, placer, traits) {
        platform.SetPlacement(&placer.State());
    }

    Win32BarPlatform platform;
    Reducer reducer;
    BarPlacer placer;
    PositionTicker ticker;
};

std::unique_ptr<Motion> g_motion;
// A save asked for while the configuration is read, before the bar's motion
// exists: handed to the position ticker when it is created.
bool g_saveBeforeInit = false;
bool g_inPosTick = false;
std::uint64_t g_lastMoveMs = 0;

// No window is recorded as the foreground: the next position tick runs
// through all its checks.
constexpr WindowId kNoForegroundRecorded = ~WindowId{0};
// A move after this long a pause puts the bar on top again: whatever was
// activated meanwhile may have covered it.
constexpr std::uint64_t kRetopAfterIdleMs = 1000;
constexpr int kSimulatedMoveX = 30000;

void RegisterDrawHooks() {
    BarDrawHooks hooks;
    // After every redraw the window must carry the alpha of the state the
    // bar is in (faded, transparent line), also after a rebuild.
    hooks.AfterRedraw = [] {
        if (g_motion) g_motion->platform.ReapplyAlpha(g_motion->reducer.State().CurrentAlpha);
    };
    hooks.ColoursChanged = [] {
        if (g_motion) g_motion->ticker.TimPosSetOneSecond();
    };
    SetBarDrawHooks(std::move(hooks));
}

// Hover over a bar that starts at the screen's left edge: it may be wider
// than the room, and the mouse resting at an edge scrolls it.
void ScrollAtScreenEdge(Motion& m) {
    if (m.reducer.State().TransitionBusy || PressedIndex() >= 0) return;
    if (m.platform.BarRect().Left != 0) return;
    m.placer.BarMoveLeftRight();
}

}  // namespace

void InitBarMotion(HWND bar) {
    g_motion = std::make_unique<Motion>(bar, CurrentTraits());
    RegisterDrawHooks();
    if (g_saveBeforeInit) {
        g_saveBeforeInit = false;
        g_motion->ticker.SaveZorvINI_in1s();
    }
}

void SetMotionHooks(MotionHooks hooks) {
    if (g_motion) g_motion->platform.SetHooks(std::move(hooks));
}

void SetBarPos() {
    if (g_motion) g_motion->placer.SetBarPos();
}

void BarResize(std::int32_t delta) {
    if (g_motion) g_motion->placer.BarResize(delta);
}

void SetBarRight() {
    if (g_motion) g_motion->placer.SetBarRight();
}

void ReduceNow() {
    if (g_motion) g_motion->reducer.ReduceNow();
}

void ReduceTo1() {
    if (g_motion) g_motion->reducer.ReduceTo1();
}

void UnReduce(bool restartTimer) {
    if (g_motion) g_motion->reducer.UnReduce(restartTimer);
}

void UnScrollAndFade() {
    if (g_motion) g_motion->reducer.UnScrollAndFade();
}

void SetAlphaValue(std::int32_t alpha) {
    if (g_motion) g_motion->reducer.SetAlphaValue(alpha);
}

// The first show has just placed the bar for this screen: the first tick
// need not place it again (which would also reduce a bar the mouse is on).
void StartPosTimer() {
    if (!g_motion) return;
    Motion& m = *g_motion;
    if (!m.platform.PosTimerEnabled())
        m.ticker.State().StoredScreenHeight = m.platform.ScreenHeight();
    m.platform.StartPosTimer();
}

void TimPosSetFast() {
    if (g_motion) g_motion->ticker.TimPosSetFast();
}

void StartEnsureVisibleTimer() {
    if (g_motion) g_motion->platform.StartEnsureVisibleTimer();
}

bool BarShowsAtCorners() {
    return !g_motion || g_motion->ticker.BarShowsAtCorners();
}

void RestartAutoReduce() {
    if (g_motion) g_motion->reducer.RestartAutoReduceTimer();
}

bool TransitionBusy() {
    return g_motion && g_motion->reducer.State().TransitionBusy;
}

void MarkConfigForSaving() {
    if (g_motion) {
        g_motion->ticker.SaveZorvINI_in1s();
    } else {
        g_saveBeforeInit = true;
    }
}

// The steps of a mouse move that concern reduce, fade, restore, the top-most
// state and scrolling; pressing, dragging and hovering add theirs.
void OnBarMouseMove(HWND bar, int x, int y, WPARAM keys) {
    Log(6, "FB_MM1 frmButtons_MouseMove(%i, %i, 0x%X)", x, y, static_cast<std::uint32_t>(keys));
    if (!g_motion) return;
    Motion& m = *g_motion;
    if (x != kSimulatedMoveX && !OnBarMouseMoveClick(bar, x, y, keys)) return;
    if (!m.reducer.OnMouseMove(x, y)) return;
    const std::uint64_t now = TickCount64();
    if (now - g_lastMoveMs > kRetopAfterIdleMs) {
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    g_lastMoveMs = now;
    if (Options.ProcessPrio == 1) m.platform.SetHighPriority();
    if (x != kSimulatedMoveX) ScrollAtScreenEdge(m);
    Log(6, "FB_MM10");
    RecordForegroundWindow();
}

void OnBarTimer(HWND, UINT_PTR id) {
    if (!g_motion) return;
    Motion& m = *g_motion;
    switch (id) {
        case kTimAutoreduce:
            m.reducer.AutoReduceTick();
            break;
        case kTimPos:
            // A message box shown by the save runs a message loop of its
            // own, which delivers further ticks.
            if (g_inPosTick) break;
            g_inPosTick = true;
            m.ticker.Tick(0);
            g_inPosTick = false;
            break;
        case kTimEnsureVisible:
            m.ticker.EnsureVisibleTick();
            break;
        default:
            break;
    }
}

// The next position tick redoes the placement: the stored screen height no
// longer matches, and with no foreground window recorded the tick does not
// stop before it looks at the screen.
void OnBarDisplayChange(HWND) {
    Log(3, "WM_DISPLAYCHANGE");
    if (!g_motion) return;
    PositionTickState& tick = g_motion->ticker.State();
    tick.StoredScreenHeight = 0;
    tick.LastForeground = kNoForegroundRecorded;
    g_motion->ticker.TimPosSetFast();
}

void StopMotionTimers(HWND) {
    if (g_motion) g_motion->platform.StopMotionTimers();
}

}  // namespace zorv
