// Where the bar goes on the screen: right-aligned at the top edge, below a
// taskbar docked there, scrolled when wider than the room. Portable: no
// Windows headers; the system is reached through ScreenPlatform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bar/bar_platform.h"
#include "bar/reduce.h"
#include "items/settings.h"

namespace zorv {

// The right gap keeps the caption buttons of maximized windows free.
std::int32_t GetNewBarRight(bool ignoreForced, std::int32_t forcedBarRight, std::int32_t cxSize);

struct HorizontalPlace {
    std::int32_t Left = 0;
    std::int32_t VisibleWidth = 0;
};

// A bar of width W with right gap R on a screen of the given width: right-
// aligned when it fits, else from the left edge with the visible width cut.
HorizontalPlace PlaceHorizontally(std::int32_t barWidth, std::int32_t rightGap,
                                  std::int32_t screenWidth);

// Where the taskbar is looked for, and how low its bottom may be for the bar
// to go below it.
inline constexpr ScreenPoint kTaskbarProbe = {600, 0};
inline constexpr std::int32_t kTopTaskbarLimit = 65;

// The window at kTaskbarProbe is a taskbar docked at the top edge: class
// "Shell_TrayWnd" or "BaseBar", starting at x <= 0.
bool LooksLikeTopTaskbar(std::string_view className, std::int32_t windowLeft);
// T: the bottom of that taskbar when it is above kTopTaskbarLimit, else 0.
std::int32_t TopOffsetBelowTaskbar(const std::optional<ScreenRect>& taskbar, Dpi dpi = {});

// A mouse move on the bar after a pause puts the bar on top again.
bool RetopAfterPause(std::uint64_t nowMs, std::uint64_t lastMoveMs);
// Whether the mouse on the bar may scroll it at the screen's edge.
bool ScrollAtEdgeAllowed(bool transitionBusy, bool buttonPressed, std::int32_t barLeft);

// WM_MOVE: the top a reduced bar is put back to, or nullopt to leave it.
std::optional<std::int32_t> ReducedBarTopAfterMove(std::int32_t autoRed, bool barBuilt,
                                                   const ScreenRect& barRect,
                                                   std::int32_t barHeight,
                                                   std::int32_t lineHeight = 1);

struct ResizeFacts {
    std::int32_t ContentWidth = 0;  // W
    std::int32_t RightGap = 0;      // R
    std::int32_t ScreenWidth = 0;
    ScreenRect Bar;                 // where the window is now
    std::int32_t ScrollOffset = 0;  // pixels hidden at the left end now
    std::int32_t Delta = 0;         // change of W
};

struct ResizePlace {
    std::int32_t Left = 0;
    std::int32_t Width = 0;
    std::int32_t ScrollOffset = 0;
    std::string Cases;  // the case letters taken, for the log: "D", "E", "CG" ...
};

// The horizontal placement after the content width changed; the right end
// keeps its present distance g from the screen edge (R when g > 500).
ResizePlace ResizeBarPlace(const ResizeFacts& facts);

// Placement state owned by the bar window.
struct PositionState {
    std::int32_t RightGap = 0;          // R of the last placement
    std::int32_t PreviousRightGap = 0;  // R at the last SetBarRight
    std::int32_t ScrollOffset = 0;      // W - visible width; BarRedraw draws from here
    std::int32_t PlacedLeft = 0;
    std::int32_t PlacedContentWidth = 0;
    std::int32_t PlacedHeight = 0;
    bool PlacementPending = true;
};

class BarPlacer {
  public:
    BarPlacer(ScreenPlatform& platform, const Settings& settings, Reducer& reducer);

    PositionState& State() { return state_; }
    const PositionState& State() const { return state_; }

    std::int32_t CurrentRightGap();  // GetNewBarRight(false) for this screen

    // Places the bar for the screen it finds. Each pass first gives a
    // resolution change 10 ms to settle; the first show, which follows no
    // change, skips that wait on its first pass (`settleFirst` false).
    void SetBarPos(bool settleFirst = true);
    void BarResize(std::int32_t delta);
    void SetBarRight();
    void BarMoveLeftRight();
    void SimulateNewScreenwidth() {}

    // A pass that never settles is given up after this many passes.
    static constexpr int kMaxSetBarPosPasses = 20;

  private:
    std::int32_t TopOffset();
    void PlacePass(std::int32_t screenWidth);
    void PlaceVertically(const ScreenRect& bar, const HorizontalPlace& place, std::int32_t top,
                         std::int32_t barHeight);
    void ScrollAtBorder(ScreenBorder border, std::int32_t target, std::int32_t screenWidth,
                        std::int32_t rightGap);

    ScreenPlatform& platform_;
    const Settings& settings_;
    Reducer& reducer_;
    PositionState state_;
};

}  // namespace zorv
