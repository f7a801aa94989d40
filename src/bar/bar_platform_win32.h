// The bar window and the screen as Reducer, BarPlacer and PositionTicker see
// them on Windows: facts read from the system, actions carried out on the
// bar window, and the bar's three motion timers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "bar/bar_draw_win32.h"
#include "bar/bar_host.h"
#include "bar/bar_hover_win32.h"
#include "bar/bar_platform.h"
#include "bar/button_click.h"
#include "bar/bar_position.h"
#include "bar/position_tick.h"
#include "support/window_win32.h"

namespace zorv {

// Timer ids on the bar window; WM_TIMER brings them to OnBarTimer.
inline constexpr UINT_PTR kTimAutoreduce = 0x3301;
inline constexpr UINT_PTR kTimPos = 0x3302;
inline constexpr UINT_PTR kTimEnsureVisible = 0x3303;
inline constexpr UINT_PTR kTimHeldButton = 0x3304;
inline constexpr UINT_PTR kTimCheckHole = 0x3308;
inline constexpr UINT_PTR kTimRaised = 0x3309;  // the flat buttons' raised look
inline constexpr UINT_PTR kTimDropTarget = 0x3305;  // once, after the first show
inline constexpr UINT_PTR kTimNewDpi = 0x330A;      // a new resolution waits for a menu

class Win32BarPlatform final : public ScreenPlatform {
  public:
    Win32BarPlatform(HWND bar, BarPainter& painter, const ClickState& clicks, BarHover& hover,
                     BarHost& host)
        : bar_(bar), painter_(painter), clicks_(clicks), hover_(hover), host_(host) {}

    // The placement whose scroll offset the drawing code is given on every
    // redraw; set once the placer exists.
    void SetPlacement(const PositionState* placement) { placement_ = placement; }
    // Puts `alpha` back on the layered window when it lost it (a redraw
    // after a style change); no log line, nothing sent when it is in place.
    void ReapplyAlpha(std::int32_t alpha);
    void StartEnsureVisibleTimer();
    void StopMotionTimers();
    bool PosTimerEnabled() const { return posEnabled_; }

    // Clock and pacing.
    std::uint64_t NowMs() override;
    void Sleep(std::uint32_t ms) override;
    void BeginTimerResolution() override;
    void EndTimerResolution() override;
    void SetHighPriority() override;
    void SetNormalPriority() override;

    // The bar window.
    WindowId BarWindow() override { return ToWindowId(bar_); }
    ScreenRect BarRect() override;
    BarSize CurrentBarSize() override;
    void MoveBar(const ScreenRect& rect) override;
    void RepaintBar() override;
    void SendAlpha(std::uint8_t alpha) override;

    // Input.
    ScreenPoint CursorPos() override;
    bool MouseOnBar() override;
    bool BarHasCapture() override;
    bool AltDown() override;
    bool MouseButtonDown() override;

    // The rest of the program.
    bool IsMenuOrToolbarShown() override;
    std::int32_t OpenFormCount() override;
    void HideToolTip() override;
    void Try4UnRaise() override;
    void TopNow() override;
    void EndActivationCycle() override;
    void RecordForegroundWindow() override;

    // Timers.
    void StopAutoReduceTimer() override;
    void StartAutoReduceTimer() override;
    void StartPosTimer() override;

    // Windows uncovered by the soft reduce.
    WindowId WindowAt(ScreenPoint point) override;
    bool WindowHasCaption(WindowId window) override;
    std::string WindowProcessName(WindowId window) override;
    void SendPaint(WindowId window, bool nonClient) override;

    // Screen.
    std::int32_t ScreenWidth() override;
    std::int32_t ScreenHeight() override;
    std::int32_t BitsPerPixel() override;
    std::int32_t SysColor3DFace() override;
    std::int32_t CaptionButtonWidth() override;
    std::string WindowClassName(WindowId window) override;
    ScreenRect WindowRect(WindowId window) override;
    std::optional<ScreenRect> TaskbarRect() override;
    WindowId ForegroundWindow() override;
    std::uint32_t WindowStyle(WindowId window) override;
    ScreenBorder MouseOnBorder() override;
    bool ButtonPressed() override;

    void BarRedraw() override;
    bool BarIsTopmost() override;
    void ZOrderBottomTopTopmost() override;
    void ZOrderNotTopmostTopmost() override;
    void SetPosTimerInterval(std::uint32_t ms) override;
    void StopEnsureVisibleTimer() override;

    void RebuildMenus() override;
    void RebuildColourResources() override;
    bool ConfigChanged() override { return host_.ConfigChanged(); }
    void SaveConfiguration() override;

    std::uint64_t MinWorkingSetSize() override;
    void SetWorkingSetSize(std::uint64_t minimum, std::uint64_t maximum) override;

    bool IsDX(WindowId window) override;
    bool IsSpecialWindow(WindowId window) override;
    void CheckForVideoOrFullscreen() override;

  private:
    HWND bar_;
    BarPainter& painter_;
    const ClickState& clicks_;
    BarHover& hover_;
    BarHost& host_;
    const PositionState* placement_ = nullptr;
    std::uint32_t posIntervalMs_ = kPosTimerOneSecondMs;  // until someone sets another
    bool posEnabled_ = false;
};

}  // namespace zorv
