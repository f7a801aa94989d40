#include "bar/bar_position.h"

namespace zorv {

std::int32_t GetNewBarRight(bool ignoreForced, std::int32_t forcedBarRight, std::int32_t cxSize) {
    if (!ignoreForced && forcedBarRight > 0) return forcedBarRight;
    return 3 * cxSize + 4;
}

HorizontalPlace PlaceHorizontally(std::int32_t barWidth, std::int32_t rightGap,
                                  std::int32_t screenWidth) {
    if (barWidth + rightGap <= screenWidth) return {screenWidth - barWidth - rightGap, barWidth};
    return {0, screenWidth - rightGap};
}

}  // namespace zorv
