#include "support/handle_count.h"

namespace zorv {

std::string LiveHandleText() {
    static constexpr std::array<const char*, kHandleKinds> kNames = {
        "memory DCs", "window DCs", "bitmaps", "brushes", "pens", "regions", "icons", "menus", "fonts"};
    std::int64_t total = 0;
    std::string parts;
    for (std::size_t i = 0; i < kHandleKinds; ++i) {
        const std::int32_t n = LiveHandles[i];
        total += n;
        parts += (i ? ", " : "") + std::string(kNames[i]) + " " + std::to_string(n);
    }
    return std::to_string(total) + " (" + parts + ")";
}

}  // namespace zorv
