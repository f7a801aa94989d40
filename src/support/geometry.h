// The program's one vocabulary for pixels and windows: points, rectangles
// and sizes on the screen or in the bar's images, and the window handle as
// the portable code sees it. Conversions to and from POINT, RECT and HWND
// live at the Win32 boundary only (support/window_win32.h).
#pragma once

#include <cstdint>

namespace zorv {

// A window; 0 means none. The Win32 shell turns it into an HWND and back.
using WindowId = std::uintptr_t;

struct ScreenPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    bool operator==(const ScreenSize&) const = default;
};

// Left + Width and Top + Height are the first pixels outside, as the right
// and bottom of a Win32 RECT.
struct ScreenRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    static constexpr ScreenRect FromEdges(std::int32_t left, std::int32_t top, std::int32_t right,
                                          std::int32_t bottom) {
        return {left, top, right - left, bottom - top};
    }
    std::int32_t Right() const { return Left + Width; }
    std::int32_t Bottom() const { return Top + Height; }
    bool operator==(const ScreenRect&) const = default;
};

}  // namespace zorv
