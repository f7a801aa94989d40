// Auto-reduce, fade, restore and placement of the bar window: the Win32
// side of Reducer, BarPlacer and PositionTicker.
#pragma once

#include <windows.h>

#include <cstdint>

#include "items/app_state.h"
#include "bar/bar_platform_win32.h"
#include "bar/position_tick.h"
#include "bar/reduce.h"

namespace zorv {

class BarMotion {
  public:
    BarMotion(HWND bar, AppState& state, BarPainter& painter, const ClickState& clicks,
              BarHover& hover, BarHost& host);
    BarMotion(const BarMotion&) = delete;
    BarMotion& operator=(const BarMotion&) = delete;

    Reducer& Reduce() { return reducer_; }
    BarPlacer& Placer() { return placer_; }
    PositionTicker& Ticker() { return ticker_; }
    Win32BarPlatform& Platform() { return platform_; }

    // Enables the position timer (first show).
    void StartPosTimer();
    // Whether one of the bar's corner points shows the bar.
    bool BarShowsAtCorners() { return ticker_.BarShowsAtCorners(); }
    // A change waits for its save: the position timer takes its one-second pace.
    void SaveSoon() { ticker_.TimPosSetOneSecond(); }

    // The steps of a mouse move that concern reduce, fade, restore, the
    // top-most state and scrolling; false when the mouse only passed over
    // the line of the reduced bar and the move ends there.
    bool OnMouseMove(HWND bar, int x, int y, bool simulated);
    void OnTimer(UINT_PTR id);
    // The screen changed: the next position tick redoes the placement.
    void OnDisplayChange();
    // The non-client metrics changed: new right gap, menus built again.
    void OnNonClientMetricsChange();
    void StopTimers() { platform_.StopMotionTimers(); }

  private:
    void ScrollAtScreenEdge();

    AppState& s_;
    const ClickState& clicks_;
    Win32BarPlatform platform_;
    Reducer reducer_;
    BarPlacer placer_;
    PositionTicker ticker_;
    bool inPosTick_ = false;
    std::uint64_t lastMoveMs_ = 0;
};

}  // namespace zorv
