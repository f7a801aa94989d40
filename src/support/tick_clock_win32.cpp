#include <windows.h>
#include <mmsystem.h>

#include "support/late_bound_win32.h"
#include "support/tick_clock.h"

namespace zorv {

// Both counters wrap after 49.7 days; the program reads them far more often.
std::uint64_t TickCount64() {
    static TickClock64 clock;
    return clock.Read(GetTickCount());
}

// The multimedia library is bound on the first reading (the first show
// needs none); without it the clock falls back to the tick count.
std::uint64_t TimeGetTime64() {
    static TickClock64 clock;
    static const auto read = LateBound<decltype(&timeGetTime)>(L"winmm.dll", "timeGetTime");
    return clock.Read(read ? read() : GetTickCount());
}

}  // namespace zorv
