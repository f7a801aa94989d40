// A 64-bit millisecond clock built from a wrapping 32-bit counter.
#pragma once

#include <cstdint>

namespace zorv {

// Feed it every reading of the 32-bit counter (GetTickCount, timeGetTime):
// a reading lower than the previous one means the counter wrapped, and 2^32
// is added to the running offset. Readings must come at least once per wrap
// period (49.7 days), which the program's timers guarantee.
class TickClock64 {
  public:
    std::uint64_t Read(std::uint32_t reading) {
        if (reading < last_) offset_ += (std::uint64_t{1} << 32);
        last_ = reading;
        return offset_ + reading;
    }

  private:
    std::uint64_t offset_ = 0;
    std::uint32_t last_ = 0;
};

// The program's clocks: system tick count and multimedia timer (Win32 shell).
std::uint64_t TickCount64();
std::uint64_t TimeGetTime64();

}  // namespace zorv
