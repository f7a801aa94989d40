// Pressing and releasing the bar's buttons: the pressed look, the guards
// against double starts, and the start of the item behind a button.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zorv {

// Mouse buttons as the click handling numbers them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

inline int MouseButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return kRightButton;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return kMiddleButton;
        default:
            return kLeftButton;
    }
}

void OnBarMouseDown(HWND bar, int x, int y, int button, WPARAM keys);
void OnBarMouseUp(HWND bar, int x, int y, int button, WPARAM keys);
// The click steps of a mouse move: a release that happened outside the bar
// is completed, and a held button is drawn pressed only while the cursor is
// on its cell. False when the move was turned into a release.
bool OnBarMouseMoveClick(HWND bar, int x, int y, WPARAM keys);

}  // namespace zorv
