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

// A screen's dots per inch; 96 is 100 %. Px turns a length drawn at 96 dpi
// into this screen's pixels, halves rounded up, so at 96 every length stays
// exactly what it is and a sum of scaled lengths stays consistent with the
// scaled sum of whole units (44 = 2 x 22 is 66 = 2 x 33 at 144).
struct Dpi {
    static constexpr std::int32_t kStandard = 96;
    std::int32_t Value = kStandard;

    constexpr std::int32_t Px(std::int32_t v) const {
        const std::int64_t n = static_cast<std::int64_t>(v) * Value + kStandard / 2;
        // Floor division, also for negative lengths.
        const std::int64_t q = n / kStandard;
        return static_cast<std::int32_t>(q * kStandard > n ? q - 1 : q);
    }
    constexpr bool IsStandard() const { return Value == kStandard; }
    bool operator==(const Dpi&) const = default;
};
// A reported resolution outside any screen's (0, absurd) counts as 96.
constexpr Dpi DpiOrStandard(std::int64_t value) {
    return value >= 48 && value <= 960 ? Dpi{static_cast<std::int32_t>(value)} : Dpi{};
}

}  // namespace zorv
