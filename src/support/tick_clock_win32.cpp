#include <windows.h>
#include <mmsystem.h>

#include "support/tick_clock.h"

namespace zorv {

// Both counters wrap after 49.7 days; the program reads them far more often.
std::uint64_t TickCount64() {
    static TickClock64 clock;
    return clock.Read(GetTickCount());
}

std::uint64_t TimeGetTime64() {
    static TickClock64 clock;
    return clock.Read(timeGetTime());
}

}  // namespace zorv
