// Auto-reduce, fade, restore and placement of the bar.
#include "bar/bar_motion_win32.h"

#include "bar/bar_events_win32.h"

namespace zorv {

void InitBarMotion(HWND) {}
void SetBarPos() {}
void BarResize(std::int32_t) {}
void ReduceTo1() {}
void SetAlphaValue(std::int32_t) {}
void StartPosTimer() {}
void RestartAutoReduce() {}
bool TransitionBusy() { return false; }
void MarkConfigForSaving() {}

void OnBarMouseMove(HWND, int, int, WPARAM) {}
void OnBarTimer(HWND, UINT_PTR) {}
void OnBarDisplayChange(HWND) {}
void StopMotionTimers(HWND) {}

}  // namespace zorv
