// Getting the bar out of the way when the mouse leaves it (reduce to its
// bottom pixel row, or fade out) and bringing it back. Portable: no Windows
// headers; the system is reached through BarPlatform.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "bar/bar_platform.h"
#include "items/settings.h"

namespace zorv {

inline constexpr std::uint32_t kAutoReduceIntervalMs = 667;
inline constexpr std::int32_t kOpaque = 255;
inline constexpr std::int32_t kLineAlpha = 16;  // the transparent line, and the last fade level

// Run-time state of the bar's transitions. The program keeps one.
struct BarMotionState {
    std::int32_t CurrentAlpha = kOpaque;  // last value given to the platform
    std::int32_t LastAlphaSent = -1;      // -1: nothing sent yet
    bool Reducing = false;                // ReduceNow runs
    bool Restoring = false;               // UnReduce runs
    // A reduce or restore animation runs. Clearing it from code reached
    // during an animation (a restore) aborts a running soft reduce.
    bool TransitionBusy = false;
    bool Dragging = false;  // a button drag from the bar is in progress
    std::uint64_t LastDragOverMs = 0;
};

// Top 0, height H: shown. Top -H, height H + line: only the bottom line
// (one pixel at 96 dpi) is on the screen. A negative top means reduced
// everywhere.
inline bool IsReduced(const ScreenRect& bar) {
    return bar.Top < 0;
}
ScreenRect ShownPlacement(const ScreenRect& bar, std::int32_t barHeight);
ScreenRect ReducedPlacement(const ScreenRect& bar, std::int32_t barHeight,
                            std::int32_t lineHeight = 1);

// The alpha of the faded bar: lAlphas(TransparencyIdx), the index clamped.
std::int32_t FadedAlpha(const Settings& settings);
bool TransparentLine(const Settings& settings, bool layeredOK);
bool UsesAlpha(const Settings& settings, bool layeredOK);

// Every alpha FadeNow sets on its way from `from` to `to`, `to` last.
std::vector<std::int32_t> FadeSequence(std::int32_t from, std::int32_t to);

// The points probed between `start` and `end`, `step` pixels apart in x and
// in y (each towards the end), until the end is passed.
std::vector<ScreenPoint> RefreshProbePoints(ScreenPoint start, ScreenPoint end, std::int32_t step);

struct ExposedPaint {
    bool Paint = false;      // WM_PAINT
    bool NonClient = false;  // WM_NCPAINT, sent after WM_PAINT
};
// Which messages a window uncovered by the soft reduce gets.
ExposedPaint ExposedPaintFor(bool oldPaintRules, bool hasCaption, std::string_view processName);

// Whether the mouse move that touched the reduced line is to be ignored:
// sideways by 3 pixels or more, now below the window, or a button is down.
bool RestoreContactLost(ScreenPoint before, ScreenPoint after, const ScreenRect& bar,
                        bool mouseButtonDown);

// The x of the simulated mouse move that tells the bar the mouse is outside.
inline constexpr std::int32_t kSimulatedMoveX = 30000;

class Reducer {
  public:
    Reducer(BarPlatform& platform, const Settings& settings, PlatformTraits traits);

    BarMotionState& State() { return state_; }
    const BarMotionState& State() const { return state_; }
    bool LayeredOK() const { return traits_.LayeredOK; }

    // timAutoreduce fired.
    void AutoReduceTick();
    void RestartAutoReduceTimer();

    void ReduceNow();
    void ReduceTo1();
    void UnReduce(bool restartTimer);
    void FadeNow(bool fadeIn, std::string_view caller);
    void UnScrollAndFade();
    void SetAlphaValue(std::int32_t alpha);

    // A mouse move over the bar at client point (x, y); x = 30000 is the
    // simulated move that tells the bar the mouse is outside. False when the
    // move is to be ignored entirely.
    bool OnMouseMove(std::int32_t clientX, std::int32_t clientY);

    // Sends paint messages to the windows under the probe points; the number
    // of windows that got one. Does nothing without SendWmPaints.
    std::int32_t RefreshExposedWindows(ScreenPoint start, ScreenPoint end, std::int32_t step);

  private:
    bool SoftReduce(const ScreenRect& start, std::int32_t barHeight);
    void SoftRestore(std::int32_t barHeight);
    void FlashTransparentLine();

    BarPlatform& platform_;
    const Settings& settings_;
    PlatformTraits traits_;
    BarMotionState state_;
};

}  // namespace zorv
