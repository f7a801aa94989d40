// The configuration's settings with their defaults.
#pragma once

#include <cstdint>

namespace zorv {

struct Settings {
    bool W4Idle = false;             // show the bar only when the system is quiet
    std::int32_t ASTimeLimit = 0;    // minutes; 0 = autostart never skipped
    bool ACSkip = false;             // no autoclose after an exit from the menu
    std::int32_t ProcessPrio = 0;    // 2 = always high
    std::int32_t ButH_id = 0;        // button size index
    std::int32_t ForcedBarRight = 0; // 0 = automatic right gap
    std::int32_t ForcedLanguage = 0;
};

}  // namespace zorv
