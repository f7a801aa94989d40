#include "support/callback_timer_win32.h"

namespace zorv {

clsCallBackTimer& CallBackTimer() {
    static clsCallBackTimer timers;
    return timers;
}

}  // namespace zorv
