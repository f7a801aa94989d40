// The program's window-less callback timers over SetTimer/KillTimer.
#pragma once

#include <windows.h>

#include "support/callback_timer.h"

namespace zorv {

struct Win32TimerService {
    std::uintptr_t Start(std::uint32_t intervalMs, TIMERPROC proc) {
        return SetTimer(nullptr, 0, intervalMs, proc);
    }
    void Stop(std::uintptr_t id) { KillTimer(nullptr, id); }
};

using clsCallBackTimer = CallBackTimerT<TIMERPROC, Win32TimerService>;

// The one timer object of the program, created on first use.
clsCallBackTimer& CallBackTimer();

}  // namespace zorv
