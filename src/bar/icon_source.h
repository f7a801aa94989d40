// Decisions behind the pictures of the bar's buttons that need no window:
// which file on disk stands for an item's program, and how the cached bar
// picture beside the configuration file is laid out and when it may be used.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// The files that may hold the icon of an item whose `Path` is `path`, most
// likely first: the quoted name, or else the first blank-separated word and
// then every longer run of words (an unquoted "C:\Program Files\x.exe -a"
// means "C:\Program Files\x.exe"). Nothing for an empty path, for the
// program's own commands ("*CLIP*" ...) and for URLs. Environment variables
// are left for the caller to expand.
std::vector<std::string> ProgramFileCandidates(std::string_view path);

// Built-in icons standing in for missing pictures: the generic program icon
// for a button whose own picture cannot be had, the start icon for the
// main-menu cell without "ZorvMainMenu.bmp".
inline constexpr std::int32_t kFallbackBuiltInIcon = 3;
inline constexpr std::int32_t kMainMenuBuiltInIcon = 1;

// One pixel of an icon drawn once on black and once on white (0x00RRGGBB or
// any other fixed channel order; the channels are treated alike). The
// difference is what shines through: a pixel is opaque when it covers at
// least half of the background, and its colour is then taken back from the
// black drawing without the black. Pixels that invert the background
// (white on black, black on white) count as opaque.
struct IconPixel {
    std::uint32_t Pixel = 0;
    bool Opaque = false;

    bool operator==(const IconPixel&) const = default;
};
IconPixel SeparateIconPixel(std::uint32_t onBlack, std::uint32_t onWhite);

// At most this many candidates: a long path of many words would otherwise
// cost one file-system search per word.
inline constexpr std::size_t kMaxProgramFileCandidates = 8;

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
BarCacheLayout BarCachePicture(std::int32_t contentWidth, std::int32_t imageWidth);

}  // namespace zorv
