// What a shell link (.lnk) holds. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>

namespace zorv {

// What a shell link (.lnk) holds.
struct ShortcutInfo {
    std::string Target;
    std::string WorkDir;
    std::string Arguments;
    std::int32_t ShowCmd = 1;
    std::string IconPath;
    std::int32_t IconIndex = 0;
};

}  // namespace zorv
