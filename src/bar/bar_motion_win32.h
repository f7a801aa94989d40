// Auto-reduce, fade, restore and placement of the bar window: the Win32
// side of Reducer, BarPlacer and PositionTicker.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zorv {

// Creates the bar's reducer, placer and position ticker (first load).
void InitBarMotion(HWND bar);
// Places the bar completely (horizontal extent, top offset, shown/reduced).
void SetBarPos();
// Re-places the bar after its content width changed by `delta` pixels.
void BarResize(std::int32_t delta);
// Moves the bar into the reduced placement at once.
void ReduceTo1();
// Sets the window alpha (layered bar); only changed values are sent.
void SetAlphaValue(std::int32_t alpha);
// Enables the position timer (first show).
void StartPosTimer();
// Restarts the 667 ms auto-reduce countdown.
void RestartAutoReduce();
// True while a reduce, restore or fade animation runs.
bool TransitionBusy();
// Marks the configuration changed; the position tick saves it about a second later.
void MarkConfigForSaving();

}  // namespace zorv
