// Where the bar goes on the screen. Portable: no Windows headers.
#pragma once

#include <cstdint>

namespace zorv {

// The right gap keeps the caption buttons of maximized windows free.
std::int32_t GetNewBarRight(bool ignoreForced, std::int32_t forcedBarRight, std::int32_t cxSize);

struct HorizontalPlace {
    std::int32_t Left = 0;
    std::int32_t VisibleWidth = 0;
};

// A bar of width W with right gap R on a screen of the given width: right-
// aligned when it fits, else from the left edge with the visible width cut.
HorizontalPlace PlaceHorizontally(std::int32_t barWidth, std::int32_t rightGap,
                                  std::int32_t screenWidth);

}  // namespace zorv
