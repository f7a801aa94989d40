#include "bar/bar_position.h"

#include <algorithm>

#include "support/log.h"
#include "support/ascii.h"

namespace zorv {

namespace {

// A gap this large is no gap the bar chose (the window is still off the
// screen, or the screen just shrank): use the automatic one.
constexpr std::int32_t kMaxKeptGap = 500;
constexpr std::uint32_t kSettleMs = 10;
constexpr std::uint32_t kBorderWaitMs = 20;
constexpr std::uint64_t kScrollStepMs = 6;
// After this long a pause, whatever was activated meanwhile may have covered
// the bar.
constexpr std::uint64_t kRetopAfterIdleMs = 1000;
// What a too wide right gap leaves of the bar: the room the bar-distance
// option keeps (the screen width less 21).
constexpr std::int32_t kMinShownWidth = 21;

}  // namespace

std::int32_t GetNewBarRight(bool ignoreForced, std::int32_t forcedBarRight, std::int32_t cxSize) {
    if (!ignoreForced && forcedBarRight > 0) return forcedBarRight;
    return 3 * cxSize + 4;
}

HorizontalPlace PlaceHorizontally(std::int32_t barWidth, std::int32_t rightGap,
                                  std::int32_t screenWidth) {
    if (barWidth + rightGap <= screenWidth) return {screenWidth - barWidth - rightGap, barWidth};
    return {0, screenWidth - rightGap};
}

bool LooksLikeTopTaskbar(std::string_view className, std::int32_t windowLeft) {
    return (EqualsNoCase(className, "Shell_TrayWnd") || EqualsNoCase(className, "BaseBar")) &&
           windowLeft <= 0;
}

// A tall taskbar at the top (bottom at 65 or lower at 96 dpi) is left alone:
// pushing the bar that far down would cover the windows' title bars.
std::int32_t TopOffsetBelowTaskbar(const std::optional<ScreenRect>& taskbar, Dpi dpi) {
    if (!taskbar) return 0;
    const std::int32_t bottom = taskbar->Bottom();
    return bottom > 0 && bottom < dpi.Px(kTopTaskbarLimit) ? bottom : 0;
}

// The tick count only grows, so the difference cannot wrap; the first move
// (last move 0) always puts the bar on top.
bool RetopAfterPause(std::uint64_t nowMs, std::uint64_t lastMoveMs) {
    return nowMs - lastMoveMs > kRetopAfterIdleMs;
}

// Only a bar that starts at the left edge can be wider than the room. A
// running transition or a held button owns the bar's position meanwhile.
bool ScrollAtEdgeAllowed(bool transitionBusy, bool buttonPressed, std::int32_t barLeft) {
    return !transitionBusy && !buttonPressed && barLeft == 0;
}

ResizePlace ResizeBarPlace(const ResizeFacts& f) {
    const std::int32_t w = f.ContentWidth;
    const std::int32_t sw = f.ScreenWidth;
    std::int32_t gap = sw - f.Bar.Right();
    if (gap > kMaxKeptGap || gap < 0) gap = f.RightGap;
    ResizePlace p;
    if (w + f.RightGap <= sw) {
        p = {sw - w - f.RightGap, w, 0, "D"};
        return p;
    }
    if (w <= sw) {
        if (sw - w >= gap) {
            p = {0, w, 0, "F"};
        } else {
            p.Width = sw - gap;
            p.ScrollOffset = w - p.Width;
            p.Cases = "E";
        }
    } else {
        p.Width = sw - gap;
        if (f.Bar.Left >= sw - gap) {
            p.ScrollOffset = f.ScrollOffset + f.Delta;
            p.Cases = "C";
        } else {
            p.ScrollOffset = w - p.Width;
            p.Cases = "B";
        }
    }
    if (p.ScrollOffset < 0) {
        p.ScrollOffset = 0;
        p.Cases += "G";
    }
    p.Left = sw - gap - p.Width;
    return p;
}

BarPlacer::BarPlacer(ScreenPlatform& platform, const Settings& settings, Reducer& reducer)
    : platform_(platform), settings_(settings), reducer_(reducer) {}

// A forced gap that was valid on a wider screen may leave no room now: the
// bar keeps at least one cell on the screen.
std::int32_t BarPlacer::CurrentRightGap() {
    const std::int32_t gap =
        GetNewBarRight(false, settings_.ForcedBarRight, platform_.CaptionButtonWidth());
    return std::clamp(gap, 0, std::max(0, platform_.ScreenWidth() - kMinShownWidth));
}

// A resolution change arrives in steps; a pass that saw the width change
// under it is repeated so the bar ends where the final screen wants it.
void BarPlacer::SetBarPos(bool settleFirst) {
    Log(2, "SetBarPos");
    for (int pass = 0; pass < kMaxSetBarPosPasses; ++pass) {
        if (pass > 0 || settleFirst) platform_.Sleep(kSettleMs);
        const std::int32_t screenWidth = platform_.ScreenWidth();
        Log(3, "ScreenWidth=%u", screenWidth);
        PlacePass(screenWidth);
        if (platform_.ScreenWidth() == screenWidth) break;
    }
    platform_.RepaintBar();
}

std::int32_t BarPlacer::TopOffset() {
    const Dpi dpi = platform_.CurrentBarSize().Scale;
    const WindowId probe = platform_.WindowAt({dpi.Px(kTaskbarProbe.X), kTaskbarProbe.Y});
    if (probe == 0) return 0;
    if (!LooksLikeTopTaskbar(platform_.WindowClassName(probe), platform_.WindowRect(probe).Left)) {
        return 0;
    }
    const std::int32_t top = TopOffsetBelowTaskbar(platform_.TaskbarRect(), dpi);
    if (top > 0) Log(3, "Taskbar at Zorv pos");
    return top;
}

void BarPlacer::PlacePass(std::int32_t screenWidth) {
    const std::int32_t top = TopOffset();
    const ScreenRect bar = platform_.BarRect();
    const BarSize m = platform_.CurrentBarSize();
    Log(3, "current bar left=%i top=%i w=%u h=%u lAutoReduce=%u", bar.Left, bar.Top, bar.Width,
        bar.Height, settings_.AutoRed);
    state_.RightGap = CurrentRightGap();
    const HorizontalPlace place = PlaceHorizontally(m.ContentWidth, state_.RightGap, screenWidth);
    Log(3, "new bar left=%i top=%i w=%u h=%u lAutoReduce=%u", place.Left, top, place.VisibleWidth,
        m.Height, settings_.AutoRed);
    PlaceVertically(bar, place, top, m.Height);
    const ScreenRect now = platform_.BarRect();
    Log(3, "current zorv left=%i top=%i w=%u h=%u lAutoReduce=%u", now.Left, now.Top, now.Width,
        now.Height, settings_.AutoRed);
    state_.PlacedHeight = m.Height;
    state_.ScrollOffset = m.ContentWidth - place.VisibleWidth;
    state_.PlacedLeft = place.Left;
    state_.PlacedContentWidth = m.ContentWidth;
    state_.PlacementPending = false;
    platform_.BarRedraw();
}

void BarPlacer::PlaceVertically(const ScreenRect& bar, const HorizontalPlace& place,
                                std::int32_t top, std::int32_t barHeight) {
    const ScreenRect shown = {place.Left, top, place.VisibleWidth, barHeight};
    const std::int32_t alpha = reducer_.State().CurrentAlpha;
    if (IsReduced(bar) && top == 0 && settings_.AutoRed == 2 && reducer_.LayeredOK()) {
        // A fader that was also moved up comes back faded, not reduced.
        reducer_.SetAlphaValue(FadedAlpha(settings_));
        platform_.MoveBar(shown);
        platform_.RepaintBar();
    } else if (settings_.AutoRed != 1 && !(settings_.AutoRed == 2 && alpha == kLineAlpha)) {
        platform_.MoveBar(shown);
        platform_.RepaintBar();
    } else {
        if (settings_.SoftRed) {
            // ReduceNow keeps the window's left and width: give it the new
            // ones first so a changed screen is followed while reduced too.
            if (bar.Left != place.Left || bar.Width != place.VisibleWidth) {
                platform_.MoveBar({place.Left, bar.Top, place.VisibleWidth, bar.Height});
            }
            reducer_.ReduceNow();
        } else {
            const std::int32_t line = platform_.CurrentBarSize().LineHeight;
            Log(3, "MoveBar(%i, %i, %u, %u)", place.Left, -barHeight, place.VisibleWidth,
                barHeight + line);
            platform_.MoveBar({place.Left, -barHeight, place.VisibleWidth, barHeight + line});
        }
        if (TransparentLine(settings_, reducer_.LayeredOK())) reducer_.SetAlphaValue(kLineAlpha);
    }
}

void BarPlacer::BarResize(std::int32_t delta) {
    const ScreenRect bar = platform_.BarRect();
    const BarSize m = platform_.CurrentBarSize();
    state_.RightGap = CurrentRightGap();
    ResizeFacts facts;
    facts.ContentWidth = m.ContentWidth;
    facts.RightGap = state_.RightGap;
    facts.ScreenWidth = platform_.ScreenWidth();
    facts.Bar = bar;
    facts.ScrollOffset = state_.ScrollOffset;
    facts.Delta = delta;
    const ResizePlace place = ResizeBarPlace(facts);
    for (char c : place.Cases) Log(3, "%s currentL=%i", std::string(1, c), bar.Left);
    const ScreenRect moved = IsReduced(bar)
                                 ? ScreenRect{place.Left, -m.Height, place.Width,
                                              m.Height + m.LineHeight}
                                 : ScreenRect{place.Left, bar.Top, place.Width, m.Height};
    platform_.MoveBar(moved);
    state_.ScrollOffset = place.ScrollOffset;
    state_.PlacedLeft = place.Left;
    state_.PlacedContentWidth = m.ContentWidth;
    platform_.BarRedraw();
}

void BarPlacer::SetBarRight() {
    const std::int32_t screenWidth = platform_.ScreenWidth();
    const std::int32_t right = CurrentRightGap();
    const std::int32_t contentWidth = platform_.CurrentBarSize().ContentWidth;
    if (contentWidth + right >= screenWidth) {
        BarResize(0);
        const ScreenRect bar = platform_.BarRect();
        if (bar.Left == 0 && bar.Width < screenWidth) SetBarPos();
    } else {
        // The whole bar fits now: nothing stays scrolled away.
        ScreenRect bar = platform_.BarRect();
        bar.Left = screenWidth - contentWidth - right;
        bar.Width = contentWidth;
        platform_.MoveBar(bar);
        state_.RightGap = right;
        state_.ScrollOffset = 0;
        state_.PlacedLeft = bar.Left;
        state_.PlacedContentWidth = contentWidth;
        platform_.BarRedraw();
    }
    state_.PreviousRightGap = right;
}

// The mouse resting at a screen edge over a bar wider than the room scrolls
// it: at the left edge the hidden left part comes in, at the right edge the
// bar goes back to its right-aligned placement.
void BarPlacer::BarMoveLeftRight() {
    platform_.BeginTimerResolution();
    platform_.Sleep(kBorderWaitMs);
    const ScreenBorder border = platform_.MouseOnBorder();
    const std::int32_t screenWidth = platform_.ScreenWidth();
    const std::int32_t contentWidth = platform_.CurrentBarSize().ContentWidth;
    const std::int32_t right = CurrentRightGap();
    if (border == ScreenBorder::Left && contentWidth > platform_.BarRect().Width &&
        state_.ScrollOffset >= 1) {
        ScrollAtBorder(border, 0, screenWidth, right);
    } else if (border == ScreenBorder::Right) {
        const std::int32_t target = contentWidth - screenWidth + right;
        if (state_.ScrollOffset < target) ScrollAtBorder(border, target, screenWidth, right);
    }
    platform_.EndTimerResolution();
}

void BarPlacer::ScrollAtBorder(ScreenBorder border, std::int32_t target, std::int32_t screenWidth,
                               std::int32_t rightGap) {
    platform_.HideToolTip();
    if (settings_.ProcessPrio == 1) platform_.SetHighPriority();
    BarMotionState& motion = reducer_.State();
    if (!motion.TransitionBusy) {
        // Holding the busy flag keeps reduce and restore out while scrolling.
        motion.TransitionBusy = true;
        const std::int32_t dir = border == ScreenBorder::Left ? -1 : 1;
        do {
            const std::uint64_t t = platform_.NowMs();
            state_.ScrollOffset += dir;
            ScreenRect bar = platform_.BarRect();
            if (dir < 0 && bar.Width < screenWidth) {
                ++bar.Width;
                platform_.MoveBar(bar);
            } else if (dir > 0 && bar.Width > screenWidth - rightGap) {
                --bar.Width;
                platform_.MoveBar(bar);
            }
            platform_.BarRedraw();
            const std::uint64_t spent = platform_.NowMs() - t;
            if (spent < kScrollStepMs) {
                platform_.Sleep(static_cast<std::uint32_t>(kScrollStepMs - spent));
            }
        } while (platform_.MouseOnBorder() == border &&
                 (dir < 0 ? state_.ScrollOffset > target : state_.ScrollOffset < target));
        motion.TransitionBusy = false;
    }
    if (settings_.ProcessPrio == 1) platform_.SetNormalPriority();
}

// A reduced bar is H + its line tall and sits at -H. When something moves it
// to the top edge it keeps that height, so it goes back up and only its line
// shows.
std::optional<std::int32_t> ReducedBarTopAfterMove(std::int32_t autoRed, bool barBuilt,
                                                   const ScreenRect& barRect,
                                                   std::int32_t barHeight,
                                                   std::int32_t lineHeight) {
    if (autoRed != 1 || !barBuilt) return std::nullopt;
    if (barRect.Top == 0 && barRect.Height == barHeight + lineHeight) return -barHeight;
    return std::nullopt;
}

}  // namespace zorv
