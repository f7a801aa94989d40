#include "bar/position_tick.h"

#include <algorithm>

#include "support/format.h"
#include "support/log.h"

namespace zorv {

namespace {

// Palette modes: images loaded there were mapped to the palette and look
// wrong at any other depth.
constexpr std::int32_t kPaletteDepth = 8;
constexpr std::int32_t kSixteenColourDepth = 4;
constexpr std::int32_t kNoForcedColour = -1;

}  // namespace

CornerPoints CornerTestPoints(const ScreenRect& bar, std::int32_t screenWidth,
                              std::int32_t screenHeight, std::int32_t rightGap) {
    CornerPoints p;
    p.TopLeft = {std::max(bar.Left, 0), std::max(bar.Top, 0)};
    p.BottomRight = {std::min(bar.Right() - 1, screenWidth - 1 - rightGap),
                     std::min(bar.Bottom() - 1, screenHeight - 1)};
    return p;
}

std::vector<ScreenPoint> TopmostSamplePoints(const ScreenRect& bar) {
    const std::int32_t right = bar.Right() - 1;
    const std::int32_t bottom = bar.Bottom() - 1;
    std::vector<ScreenPoint> points;
    // At or above the screen edge the top row is off the screen (reduced) or
    // on the edge, where nothing else lies.
    if (bar.Top > 0) {
        points.push_back({bar.Left, bar.Top});
        points.push_back({right, bar.Top});
        points.push_back({(bar.Left + right) / 2, (bar.Top + bottom) / 2});
    }
    points.push_back({right, bottom});
    points.push_back({bar.Left, bottom});
    return points;
}

ScreenPoint BigWindowPoint(const ScreenRect& bar) {
    return {bar.Left + bar.Width / 2, bar.Bottom()};
}

ColourCheck CheckColours(const Settings& settings, std::int32_t sysColor3DFace,
                         std::int32_t bitsPerPixel, bool foregroundIsDX) {
    ColourCheck c;
    c.SchemeChanged =
        settings.ForcedColor3DFace == kNoForcedColour && settings.LastColor3DFace != sysColor3DFace;
    c.DepthChanged = bitsPerPixel != settings.LastBitsPerPixel;
    c.SixteenColours = bitsPerPixel == kSixteenColourDepth;
    if (c.SchemeChanged || c.DepthChanged) {
        c.RebuildWanted = c.SchemeChanged ||
                          (settings.RefreshOnCDS && settings.LastBitsPerPixel <= kPaletteDepth);
        // A DirectX game switches modes freely; rebuilding meanwhile would
        // stall it, and its mode is not the one to build for.
        c.Rebuild = c.RebuildWanted && !foregroundIsDX;
    }
    return c;
}

PositionTicker::PositionTicker(ScreenPlatform& platform, Settings& settings, Reducer& reducer,
                               BarPlacer& placer, PlatformTraits traits)
    : platform_(platform),
      settings_(settings),
      reducer_(reducer),
      placer_(placer),
      traits_(traits) {}

bool PositionTicker::BarShowsAtCorners() {
    const CornerPoints p = CornerTestPoints(platform_.BarRect(), platform_.ScreenWidth(),
                                            platform_.ScreenHeight(), placer_.State().RightGap);
    const WindowId bar = platform_.BarWindow();
    if (platform_.WindowAt(p.TopLeft) == bar || platform_.WindowAt(p.BottomRight) == bar) {
        return true;
    }
    platform_.Sleep(1);
    return false;
}

void PositionTicker::Tick(std::int32_t allowFocus) {
    Log(5, "timPos_Timer()  AllowFocus=%i", allowFocus);
    // Another topmost window can end up above the bar; going to the bottom
    // and back up is what reliably puts it first among the topmost again.
    if (platform_.BarIsTopmost() && !BarShowsAtCorners()) {
        Log(3, "#######################");
        platform_.ZOrderBottomTopTopmost();
    }
    const WindowId foreground = platform_.ForegroundWindow();
    CheckStyles(foreground);
    // A change is written about a second after it was made, whether or not
    // the foreground window changes meanwhile.
    SaveIfPending();
    if (foreground == state_.LastForeground) return;
    state_.LastForeground = foreground;
    if (foreground == platform_.BarWindow()) return;

    const bool dx = platform_.IsDX(foreground);
    if (state_.RebuildMenusPending) {
        state_.RebuildMenusPending = false;
        platform_.RebuildMenus();
        TimPosSetSlow();
    }
    CheckScreen(dx);
    CheckColourChange(dx);
    KeepAbove(foreground);
    KeepWorkingSet();
}

void PositionTicker::CheckStyles(WindowId foreground) {
    const std::uint32_t style = platform_.WindowStyle(foreground);
    if (style != state_.LastForegroundStyle) {
        Log(4, "+++ForeWindowstyle changed  old=%s new=%s",
            WindowStyleNames(state_.LastForegroundStyle), WindowStyleNames(style));
        state_.LastForegroundStyle = style;
        platform_.CheckForVideoOrFullscreen();
    }
    const WindowId big = platform_.WindowAt(BigWindowPoint(platform_.BarRect()));
    if (big == foreground) return;
    const std::uint32_t bigStyle = platform_.WindowStyle(big);
    if (bigStyle != state_.LastBigWindowStyle) {
        Log(4, "+++BigWindowstyle changed  old=%s new=%s",
            WindowStyleNames(state_.LastBigWindowStyle), WindowStyleNames(bigStyle));
        state_.LastBigWindowStyle = bigStyle;
        platform_.CheckForVideoOrFullscreen();
    }
}

void PositionTicker::CheckScreen(bool dx) {
    const std::int32_t height = platform_.ScreenHeight();
    if (height != state_.StoredScreenHeight || state_.ForceResize) {
        if (!dx) {
            placer_.BarResize(0);
            placer_.SetBarPos();
            TimPosSetSlow();
        }
        // Set by a change: the next new foreground window places the bar once
        // more (the one skipped for a DirectX window, or after a mode change
        // the shell had not finished).
        state_.ForceResize = !state_.ForceResize;
    }
    state_.StoredScreenHeight = height;
}

void PositionTicker::CheckColourChange(bool dx) {
    const std::int32_t face = platform_.SysColor3DFace();
    const std::int32_t depth = platform_.BitsPerPixel();
    const ColourCheck c = CheckColours(settings_, face, depth, dx);
    state_.SixteenColours = c.SixteenColours;
    if (!c.SchemeChanged && !c.DepthChanged) return;
    if (c.Rebuild) {
        platform_.RebuildColourResources();
        platform_.RepaintBar();
        placer_.BarResize(0);
        TimPosSetOneSecond();
    }
    TimPosSetSlow();
    // A rebuild held back for a DirectX window is done at a later tick.
    if (c.RebuildWanted && !c.Rebuild) return;
    settings_.LastBitsPerPixel = depth;
    if (settings_.ForcedColor3DFace == kNoForcedColour) settings_.LastColor3DFace = face;
}

// The save waits while the user works with the bar or a transition runs:
// writing the file takes long enough to be seen.
void PositionTicker::SaveIfPending() {
    if (reducer_.State().TransitionBusy || !platform_.ConfigChanged()) return;
    if (platform_.ButtonPressed() || platform_.MouseOnBar()) return;
    platform_.SaveConfiguration();
    TimPosSetSlow();
}

void PositionTicker::KeepAbove(WindowId foreground) {
    if (reducer_.State().TransitionBusy || platform_.IsSpecialWindow(foreground)) return;
    const WindowId bar = platform_.BarWindow();
    for (const ScreenPoint& p : TopmostSamplePoints(platform_.BarRect())) {
        if (platform_.WindowAt(p) != bar) {
            platform_.ZOrderNotTopmostTopmost();
            return;
        }
    }
}

// The system trims the working set of an idle process; the next mouse
// contact would then page the bar back in and the restore would stutter.
void PositionTicker::KeepWorkingSet() {
    if (!traits_.NT) return;
    if (platform_.MinWorkingSetSize() < kWorkingSetFloor) {
        platform_.SetWorkingSetSize(kWorkingSetMinimum, kWorkingSetMaximum);
    }
}

void PositionTicker::EnsureVisibleTick() {
    platform_.StopEnsureVisibleTimer();
    if (platform_.WindowAt(platform_.CursorPos()) != platform_.BarWindow() &&
        !platform_.MouseOnBar()) {
        platform_.TopNow();
    }
}

}  // namespace zorv
