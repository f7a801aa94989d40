// The bar window's region when separators are transparent. Portable: no
// Windows headers; the window code turns the rectangles into CreateRectRgn
// calls combined with RGN_OR.
#pragma once

#include <cstdint>
#include <vector>

#include "bar/bar_layout.h"

namespace zorv {

// One rectangle (x from, 0, x to, height) per run of consecutive cells that
// are not separators, the main-menu cell included, shifted left by the
// scroll offset; right edges exclusive. Empty unless `sepColor` is 4
// ("Transparent"): then the window needs no region of its own.
std::vector<ScreenRect> BarRegionRects(const BarLayout& layout, std::int32_t sepColor,
                                       std::int32_t height, std::int32_t scrollOffset);

}  // namespace zorv
