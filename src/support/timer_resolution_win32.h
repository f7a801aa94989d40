// The multimedia timer's 1 ms resolution, for the short sleeps of the
// animations and of typing. winmm is bound on first use, so it stays out of
// the start; every begin needs its end.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include "support/late_bound_win32.h"

namespace zorv {

// timeBeginPeriod(1); false when the library or the setting is missing.
inline bool BeginTimerResolution1ms() {
    const auto begin = LateBound<decltype(&timeBeginPeriod)>(L"winmm.dll", "timeBeginPeriod");
    return begin && begin(1) == TIMERR_NOERROR;
}
inline void EndTimerResolution1ms() {
    if (const auto end = LateBound<decltype(&timeEndPeriod)>(L"winmm.dll", "timeEndPeriod")) end(1);
}

// The resolution raised for a scope.
class TimerResolution {
  public:
    TimerResolution() : on_(BeginTimerResolution1ms()) {}
    ~TimerResolution() {
        if (on_) EndTimerResolution1ms();
    }
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

  private:
    bool on_;
};

}  // namespace zorv
