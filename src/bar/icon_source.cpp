#include "bar/icon_source.h"

#include <algorithm>

#include "bar/bar_layout.h"
#include "items/items.h"

namespace zorv {

bool CacheTimeMatches(std::int64_t cacheTime, std::int64_t iniTime) {
    const std::int64_t diff = cacheTime > iniTime ? cacheTime - iniTime : iniTime - cacheTime;
    return diff <= kCacheTimeTolerance;
}

BarCacheLayout BarCachePicture(std::int32_t contentWidth, std::int32_t imageWidth,
                               const BarMetrics& metrics) {
    BarCacheLayout layout;
    if (contentWidth <= 0) return layout;
    layout.Width = contentWidth;
    const std::int32_t bandHeight = 2 * metrics.IconSize;
    std::int32_t y = metrics.IconRowTop();
    for (std::int32_t x = 0; x < std::max(imageWidth, contentWidth); x += contentWidth) {
        layout.Bands.push_back({x, std::min(contentWidth, imageWidth - x), y});
        y += bandHeight;
    }
    layout.Height = y;
    return layout;
}

}  // namespace zorv
