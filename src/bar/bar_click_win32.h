// Pressing and releasing the bar's buttons: the pressed look, the guards
// against double starts, and the start of the item behind a button.
#pragma once

#include <windows.h>

#include <cstdint>

#include "items/app_state.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_host.h"
#include "bar/button_click.h"

namespace zorv {

class BarHover;
class BarMotion;

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

class BarClicks {
  public:
    BarClicks(AppState& state, BarPainter& painter, BarHost& host)
        : s_(state), painter_(painter), host_(host) {}

    // The motion the clicks restart the auto-reduce countdown of.
    void SetMotion(BarMotion* motion) { motion_ = motion; }
    // The hover that hides the tooltip of a button being executed and
    // lowers its raised look after.
    void SetHover(BarHover* hover) { hover_ = hover; }
    // The one record of the button held down (-1 = none).
    const ClickState& State() const { return click_; }

    void OnMouseDown(HWND bar, int x, int y, int button, WPARAM keys);
    // A button's hotkey: drawn down, then its menu opens or its item starts.
    void PressByHotkey(HWND bar, std::int32_t index);
    void OnMouseUp(int x, int y, int button, WPARAM keys);
    // The click steps of a mouse move: a release that happened outside the
    // bar is completed, and a held button is drawn pressed only while the
    // cursor is on its cell. False when the move was turned into a release.
    bool OnMouseMove(int x, int y, WPARAM keys);
    // Another window took the mouse while a button was held: the press ends
    // without a start.
    void OnCaptureLost(HWND bar, HWND taker);
    // The held-button watch; false for other timers.
    bool OnTimer(HWND bar, UINT_PTR id);
    // The held button turned into a drag: the press ends without a start.
    void EndPressWithoutStart();

  private:
    void SetProcessPriority(bool high);
    void HandForegroundBack(bool onMenuCell);
    void RememberConsoleWindow();
    void RestartAutoReduce();
    bool ExecuteButton(std::int32_t index, bool startAnyway);
    void LogClickTime();
    void ButUnPress(std::int32_t index, std::int32_t y, bool startAnyway);
    void PressForEditing(std::int32_t index);
    void ButtonContextMenu(HWND bar, std::int32_t index);
    void ButtonMenuItemPress(HWND bar, std::int32_t index, int button);

    AppState& s_;
    BarPainter& painter_;
    BarHost& host_;
    BarMotion* motion_ = nullptr;
    BarHover* hover_ = nullptr;
    ClickState click_;
    // The bar holds the mouse from press to release, so a release anywhere
    // reaches it and nothing reduces the bar under a held button.
    HWND capturing_ = nullptr;
    int heldButton_ = 0;
    LARGE_INTEGER releaseCounter_{};
};

}  // namespace zorv
