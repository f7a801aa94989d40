// Auto-reduce, fade, restore and placement of the bar window: the Win32
// side of Reducer, BarPlacer and PositionTicker.
#pragma once

#include <windows.h>

#include <cstdint>

#include "bar/bar_platform_win32.h"

namespace zorv {

// Creates the bar's reducer, placer and position ticker (first load).
void InitBarMotion(HWND bar);
// Work of later subsystems (tooltip, window watcher ...); see MotionHooks.
void SetMotionHooks(MotionHooks hooks);
// Places the bar completely (horizontal extent, top offset, shown/reduced).
void SetBarPos();
// Re-places the bar after its content width changed by `delta` pixels.
void BarResize(std::int32_t delta);
// Re-applies the right gap after ForcedBarRight or the caption size changed.
void SetBarRight();
// Reduces the bar now (animated with SoftRed); refused while Alt is held or
// a popup menu is open.
void ReduceNow();
// Moves the bar into the reduced placement at once.
void ReduceTo1();
// Brings a reduced or faded bar back; restartTimer restarts the countdown.
void UnReduce(bool restartTimer);
// Shows the bar at once, opaque, without animation.
void UnScrollAndFade();
// Sets the window alpha (layered bar); only changed values are sent.
void SetAlphaValue(std::int32_t alpha);
// Enables the position timer (first show).
void StartPosTimer();
// Sets the position timer to its fast pace (200 ms).
void TimPosSetFast();
// Starts the one-shot timEnsureVisible.
void StartEnsureVisibleTimer();
// Whether one of the bar's corner points shows the bar.
bool BarShowsAtCorners();
// Restarts the 667 ms auto-reduce countdown.
void RestartAutoReduce();
// True while a reduce, restore or fade animation runs.
bool TransitionBusy();
// Marks the configuration changed; the position tick saves it about a second later.
void MarkConfigForSaving();

}  // namespace zorv
