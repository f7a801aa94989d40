// The program's window-less callback timers over SetTimer/KillTimer. The
// application owns the one timer object; a TIMERPROC has no context, so its
// callbacks find the application themselves.
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

}  // namespace zorv
