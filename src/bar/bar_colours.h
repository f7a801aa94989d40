// Whether the bar's picture may come from the cache: it is only valid for the
// colours and the colour depth it was built under. Portable: no Windows
// headers.
#pragma once

#include <cstdint>

#include "items/settings.h"

namespace zorv {

// True when `face` (COLOR_3DFACE) and `bitsPerPixel` are the stored ones;
// otherwise stores both in `settings` and returns false.
bool TakeBarColours(Settings& settings, std::int32_t face, std::int32_t bitsPerPixel);

}  // namespace zorv
