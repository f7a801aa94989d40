// Decisions behind the pictures of the bar's buttons that need no window:
// the built-in stand-ins, and how the cached bar picture beside the
// configuration file is laid out and when it may be used. Which file stands
// for an item's program is support/program_icon's.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/program_icon.h"

namespace zorv {

// Built-in icons standing in for missing pictures: the generic program icon
// for a button whose own picture cannot be had, the start icon for the
// main-menu cell without "ZorvMainMenu.bmp".
inline constexpr std::int32_t kFallbackBuiltInIcon = 3;
inline constexpr std::int32_t kMainMenuBuiltInIcon = 1;

// File times in 100-ns units (FILETIME). The cached picture belongs to the
// configuration file written at most ten seconds before or after it.
inline constexpr std::int64_t kCacheTimeTolerance = 10LL * 10'000'000;
bool CacheTimeMatches(std::int64_t cacheTime, std::int64_t iniTime);

// The cached picture is exactly `ContentWidth` (W) wide, so that a list with
// a different width is never mistaken for it. Its rows 0..20 are the painted
// bar; below follow bands of 32 rows, each holding W pixels of the bar
// image's icon rows (16) and mask rows (16): band b holds image x b*W ..
// (b+1)*W - 1. One band unless menu entries push the icon slots past W.
struct BarCacheBand {
    std::int32_t ImageX = 0;    // left edge in the bar image
    std::int32_t Width = 0;     // pixels taken from there
    std::int32_t PictureY = 0;  // top row of the band in the picture

    bool operator==(const BarCacheBand&) const = default;
};
struct BarCacheLayout {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<BarCacheBand> Bands;

    bool operator==(const BarCacheLayout&) const = default;
};
// On a larger screen the rows scale with the bar (see BarMetrics).
struct BarMetrics;
BarCacheLayout BarCachePicture(std::int32_t contentWidth, std::int32_t imageWidth,
                               const BarMetrics& metrics);

}  // namespace zorv
