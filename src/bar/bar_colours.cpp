#include "bar/bar_colours.h"

namespace zorv {

// A cached picture built under other colours would show them, and one built
// at another depth would show wrong pixels. The new values are kept so that
// the picture built now is valid at the next start; the caller saves them.
bool TakeBarColours(Settings& settings, std::int32_t face, std::int32_t bitsPerPixel) {
    if (face == settings.LastColor3DFace && bitsPerPixel == settings.LastBitsPerPixel) return true;
    settings.LastColor3DFace = face;
    settings.LastBitsPerPixel = bitsPerPixel;
    return false;
}

}  // namespace zorv
