#include "winwatch/foreground_watch.h"

#include <algorithm>

#include "support/format.h"
#include "support/log.h"
#include "bar/position_tick.h"
#include "bar/reduce.h"
#include "winwatch/maximizer.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

constexpr std::int32_t kWatchLogLevel = 3;
constexpr std::int32_t kTopLogLevel = 4;
constexpr std::int32_t kCoverLogLevel = 2;
// Where OnNewFGWin looks when no window is in front: below the bar, left of
// the screen's middle, where a window the user works in usually lies.
constexpr ScreenPoint kNoForegroundProbe = {630, 22};
// NoTop's probe: 5 pixels below the screen's top edge, inside the bar.
constexpr std::int32_t kNoTopProbeY = 5;
constexpr std::uint32_t kSettleMs = 10;
constexpr std::uint32_t kMenuRecheckMs = 10;
constexpr std::uint32_t kSpecialPauseMs = 1;
// Parent chains are short; the bound only guards against a cycle.
constexpr int kMaxParentSteps = 64;
constexpr std::string_view kOwnBoxClass = "#32770";
constexpr std::string_view kOwnBoxTitle = "ZorvPanel";
constexpr std::string_view kTaskbarClass = "Shell_TrayWnd";

std::string Hex(std::uint32_t value) {
    return sprintf("%X", {value});
}

// The window the cursor is on, or the visible window it belongs to.
WindowId VisibleAncestor(WatchPlatform& platform, WindowId window) {
    for (int i = 0; i < kMaxParentSteps && window != 0; ++i) {
        const WindowId parent = platform.Parent(window);
        if (parent == 0 || !platform.IsVisible(parent)) break;
        window = parent;
    }
    return window;
}

}  // namespace

WindowId RootOwner(WatchPlatform& platform, WindowId window) {
    if (window == 0) return 0;
    const std::uint32_t process = platform.ProcessOf(window);
    for (int i = 0; i < kMaxParentSteps; ++i) {
        const WindowId parent = platform.Parent(window);
        if (parent == 0 || !platform.IsVisible(parent) || platform.ProcessOf(parent) != process) {
            break;
        }
        window = parent;
    }
    return window;
}

WindowFacts ForegroundWatcher::Facts(WindowId window) {
    if (window == 0) return {};
    WindowFacts f(window, platform_.ClassName(window), platform_.Style(window),
                  platform_.Rect(window), window == platform_.BarWindow());
    f.SetTextReader([this, window] { return platform_.Text(window); });
    return f;
}

RuleContext ForegroundWatcher::Context() {
    return {platform_.Screen(), traits_.WindowsMajor};
}

WindowId ForegroundWatcher::VisibleForeground() {
    const WindowId fg = platform_.ForegroundWindow();
    return fg != 0 && platform_.IsVisible(fg) ? fg : 0;
}

bool ForegroundWatcher::IsDX(WindowId window) {
    return zorv::IsDX(Facts(window), Context());
}

bool ForegroundWatcher::IsSpecialWindow(WindowId window) {
    const bool res = zorv::IsSpecialWindow(Facts(window), Context());
    if (res) platform_.Sleep(kSpecialPauseMs);
    return res;
}

bool ForegroundWatcher::IsSimpleFullscreenWindow(WindowId window) {
    return zorv::IsSimpleFullscreenWindow(Facts(window), Context());
}

// A menu that is just opening may not be visible yet at the first look.
bool ForegroundWatcher::IsMenuOrToolbarShown() {
    if (platform_.MenuOrToolbarVisible()) return true;
    platform_.Sleep(kMenuRecheckMs);
    return platform_.MenuOrToolbarVisible();
}

void ForegroundWatcher::OnNewFGWin() {
    if (platform_.OpenFormCount() > 1) return;
    WindowId fg = VisibleForeground();
    if (fg == 0) {
        fg = platform_.WindowAt(kNoForegroundProbe);
        Log(kWatchLogLevel, "fore=0 -> use %s", fg != 0 ? platform_.ClassName(fg) : std::string());
    }
    if (fg == state_.LastHandled) return;
    state_.LastHandled = fg;
    if (fg == 0 || fg == platform_.BarWindow()) return;
    if (platform_.ClassName(fg) == kOwnBoxClass && platform_.Text(fg) == kOwnBoxTitle) return;
    if (!platform_.IsOwnWindow(fg)) state_.History.Add(fg);
    platform_.Sleep(kSettleMs);
    WorkOnNewFGWin();
}

void ForegroundWatcher::WorkOnNewFGWin() {
    const WindowFacts fg = Facts(platform_.ForegroundWindow());
    const RuleContext context = Context();
    const bool dx = zorv::IsDX(fg, context);
    const bool special = zorv::IsSpecialWindow(fg, context);
    if (special) platform_.Sleep(kSpecialPauseMs);
    if (LogTakes(kWatchLogLevel)) {
        Log(kWatchLogLevel, "WorkOnNewFGWin() B %s %s %s", fg.Text(), fg.Class, Hex(fg.Style));
    }
    if (IsScreenSaverOrLogon(fg) || dx) {
        if (LogTakes(kWatchLogLevel)) {
            Log(kWatchLogLevel, " OnTopTimer NoTop: %s %s %s", fg.Text(), fg.Class, Hex(fg.Style));
        }
        NoTop();
    } else {
        CheckForVideoOrFullscreen();
        // Back from a game that may have changed the display mode.
        if (state_.LastWasDX) platform_.SetBarPos();
        if (!IsMenuOrToolbarShown() && !special) TopNow();
    }
    state_.LastWasDX = dx;
    const WindowId bar = platform_.BarWindow();
    if (platform_.BarHasCapture() && platform_.WindowAt(platform_.CursorPos()) != bar) {
        platform_.SimMouseMoveOutSide();
    }
}

void ForegroundWatcher::CheckForVideoOrFullscreen() {
    const ScreenSize screen = platform_.Screen();
    const WindowId centre = platform_.WindowAt({screen.Width / 2, screen.Height / 2});
    const WindowFacts centreFacts = Facts(centre);
    const WindowFacts rootFacts = Facts(RootOwner(platform_, centre));
    const WindowFacts fgFacts = Facts(platform_.ForegroundWindow());
    const bool covered = VideoOrFullscreenInFront(centreFacts, rootFacts, fgFacts, Context());
    if (covered == state_.Cover.Covered) return;
    Log(kCoverLogLevel, "VID: %i %s", covered ? 1 : 0, centreFacts.Class);
    ApplyCover(covered);
}

void ForegroundWatcher::ApplyCover(bool covered) {
    SetCovered(state_.Cover, settings_, covered, traits_.Win2000OrLater);
    if (covered) {
        platform_.ReduceNow();
    } else {
        const std::int32_t faded = FadedAlpha(settings_);
        Log(kCoverLogLevel, "lAlphaIdx=%u", settings_.TransparencyIdx);
        Log(kCoverLogLevel, "lAlphas(lAlphaIdx)=%u", faded);
        platform_.SetAlphaValue(settings_.AutoRed == 2 ? faded : kOpaque);
    }
    platform_.ApplyLineColour();
    platform_.SetBarPos();
}

void ForegroundWatcher::TopNow() {
    const ScreenSize screen = platform_.Screen();
    const WindowId centre = platform_.WindowAt({screen.Width / 2, screen.Height / 2});
    const WindowFacts fg = Facts(VisibleForeground());
    if (fg.IsBar) return;
    if (IsScreenSaverOrLogon(fg)) {
        NoTop();
        return;
    }
    if (LogTakes(kTopLogLevel)) Log(kTopLogLevel, "--- TopNow: %s %s", fg.Text(), Hex(fg.Style));
    // Every foreground change comes here: a window activated meanwhile may
    // have been raised above the top-most bar on the screen (as Wine does)
    // although the window list still has the bar in front.
    platform_.FormsTopmost();
    if (!TopNowAllowed(fg, Facts(centre)) || IsMenuOrToolbarShown()) return;
    const WindowId underCursor =
        VisibleAncestor(platform_, platform_.WindowAt(platform_.CursorPos()));
    if (IsSpecialWindow(underCursor)) return;
    if (settings_.TaskbarTop && !zorv::IsSimpleFullscreenWindow(fg, Context())) TaskbarOnTop();
    BarOnTop();
    state_.OnTop = true;
    if (LogTakes(kTopLogLevel)) Log(kTopLogLevel, "#### ONtop #### %s  %s", fg.Text(), fg.Class);
}

bool ForegroundWatcher::TopNowAllowed(const WindowFacts& fg, const WindowFacts& centre) {
    if (platform_.Busy() || platform_.OpenFormCount() > 1) return false;
    const RuleContext context = Context();
    return !zorv::IsDX(fg, context) && !zorv::IsDX(centre, context) &&
           !IsScreenSaverOrLogon(centre);
}

// The taskbar sometimes stays behind a window although it is top-most;
// hiding and showing it again puts it back in front.
void ForegroundWatcher::TaskbarOnTop() {
    const WindowId taskbar = platform_.Taskbar();
    if (taskbar == 0) return;
    platform_.SetTopmost(taskbar);
    const ScreenSize screen = platform_.Screen();
    const CornerPoints p =
        CornerTestPoints(platform_.Rect(taskbar), screen.Width, screen.Height, 0);
    if (platform_.WindowAt(p.TopLeft) != taskbar && platform_.WindowAt(p.BottomRight) != taskbar) {
        platform_.Sleep(1);
        platform_.HideWindow(taskbar);
        platform_.SetNotTopmost(taskbar);
        platform_.ShowWindow(taskbar, win::kSwShowNormal);
        platform_.SetTopmost(taskbar);
    }
    Log(kTopLogLevel, "T1");
}

// Another top-most window over the bar is put behind it.
void ForegroundWatcher::BarOnTop() {
    const WindowId bar = platform_.BarWindow();
    platform_.SetTopmost(bar);
    if (platform_.BarShowsAtCorners()) return;
    platform_.SetNotTopmost(bar);
    const ScreenRect r = platform_.Rect(bar);
    const ScreenPoint probe{std::max(r.Left, 0) + 1,
                            std::min(std::max(r.Top, 0) + 1, r.Bottom() - 1)};
    const WindowId cover = platform_.WindowAt(probe);
    if (cover != 0 && cover != bar) platform_.PlaceBehind(cover, bar);
    platform_.SetTopmost(bar);
}

void ForegroundWatcher::NoTop() {
    const WindowFacts fg = Facts(platform_.ForegroundWindow());
    if (LogTakes(kTopLogLevel)) {
        Log(kTopLogLevel, "####### NoTop:  %s  %s", fg.Text(), Hex(fg.Style));
    }
    const WindowId bar = platform_.BarWindow();
    platform_.SetNotTopmost(bar);
    platform_.SetBottom(bar);
    const ScreenPoint probe{platform_.Rect(bar).Left + 1, kNoTopProbeY};
    if (fg.Window != 0 && !fg.IsBar && platform_.WindowAt(probe) == bar) {
        platform_.PlaceBehind(bar, fg.Window);
    }
    state_.OnTop = false;
}

void ForegroundWatcher::RecordForegroundWindow() {
    const WindowId fg = platform_.ForegroundWindow();
    if (fg == 0 || fg == state_.History.At(0) || platform_.IsOwnWindow(fg)) return;
    state_.History.Add(fg);
}

WindowId ForegroundWatcher::NewestHistoryWindow() {
    return state_.History.Newest([this](WindowId w) { return platform_.Exists(w); });
}

void ForegroundWatcher::SetLastFGWin() {
    if (settings_.TaskbarTop && !IsSimpleFullscreenWindow(platform_.ForegroundWindow())) {
        if (const WindowId taskbar = platform_.Taskbar()) platform_.SetTopmost(taskbar);
    }
    if (const WindowId w = NewestHistoryWindow()) platform_.BringToFront(w, "SetLastFGWin");
}

void ForegroundWatcher::RestoreFGWin() {
    const WindowId fg = VisibleForeground();
    if (fg != 0 && !platform_.IsOwnWindow(fg)) return;
    const WindowId w = NewestHistoryWindow();
    if (w == 0 || !platform_.IsVisible(w) || platform_.ClassName(w) == kTaskbarClass) return;
    platform_.BringToFront(w, "RestoreFGWin");
}

void ForegroundWatcher::MaximizeLikePrevious(WindowId window) {
    if (window == 0) return;
    const WindowFacts now = Facts(window);
    const WindowFacts previous = Facts(state_.MaximizerPrevious);
    if (MaximizeLikePreviousWanted(now, previous,
                                   [&] { return platform_.SameSize(previous.Window, window); })) {
        platform_.Maximize(window);
        platform_.Sleep(kSettleMs);
    }
    state_.MaximizerPrevious = window;
}

}  // namespace zorv
