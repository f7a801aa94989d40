#include "bar/bar_region.h"

#include "bar/face_strip.h"

namespace zorv {

// Menu entries take no cell and so neither end a run nor start one.
std::vector<ScreenRect> BarRegionRects(const BarLayout& layout, std::int32_t sepColor,
                                       std::int32_t height, std::int32_t scrollOffset) {
    std::vector<ScreenRect> rects;
    if (sepColor != kColourTransparent) return rects;
    std::int32_t runStart = 0;
    auto closeRun = [&](std::int32_t runEnd) {
        if (runEnd > runStart) {
            rects.push_back(
                ScreenRect::FromEdges(runStart - scrollOffset, 0, runEnd - scrollOffset, height));
        }
    };
    for (std::int32_t i = 0; i < layout.Count(); ++i) {
        if (!layout.IsSeparator(i)) continue;
        closeRun(layout.ButtonX(i));
        runStart = layout.ButtonX(i + 1);
    }
    closeRun(layout.BarWidth());
    return rects;
}

}  // namespace zorv
