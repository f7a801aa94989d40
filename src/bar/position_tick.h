// The position timer (timPos): notices a covered bar, a new foreground
// window, a changed screen or colour scheme and a pending configuration save;
// and the one-shot timEnsureVisible. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <vector>

#include "support/startup_state.h"
#include "bar/bar_platform.h"
#include "bar/bar_position.h"
#include "bar/reduce.h"
#include "items/settings.h"

namespace zorv {

inline constexpr std::uint32_t kPosTimerFastMs = 200;
inline constexpr std::uint32_t kPosTimerOneSecondMs = 1000;
inline constexpr std::uint32_t kPosTimerSlowMs = 2000;
inline constexpr std::uint32_t kEnsureVisibleMs = 10;

struct CornerPoints {
    ScreenPoint TopLeft;
    ScreenPoint BottomRight;
};

// The two points whose windows tell whether the bar is covered: the bar's
// last pixels, kept on the screen and out of the right gap.
CornerPoints CornerTestPoints(const ScreenRect& bar, std::int32_t screenWidth,
                              std::int32_t screenHeight, std::int32_t rightGap);

// The points sampled to see whether another window got above the bar:
// top-left, top-right and centre only when the bar's top is below the screen
// edge, then bottom-right and bottom-left.
std::vector<ScreenPoint> TopmostSamplePoints(const ScreenRect& bar);

// Where the big window is looked for: one pixel below the bar, at its centre.
ScreenPoint BigWindowPoint(const ScreenRect& bar);

struct ColourCheck {
    bool SchemeChanged = false;
    bool DepthChanged = false;
    bool RebuildWanted = false;  // the images depend on what changed
    bool Rebuild = false;        // ... and the foreground is no DirectX window
    bool SixteenColours = false;
};

ColourCheck CheckColours(const Settings& settings, std::int32_t sysColor3DFace,
                         std::int32_t bitsPerPixel, bool foregroundIsDX);

struct PositionTickState {
    std::int32_t StoredScreenHeight = 0;
    WindowId LastForeground = 0;
    std::uint32_t LastForegroundStyle = 0;
    std::uint32_t LastBigWindowStyle = 0;
    bool ForceResize = false;
    // Set by the window procedure when the non-client metrics changed.
    bool RebuildMenusPending = false;
    bool SixteenColours = false;
};

class PositionTicker {
  public:
    PositionTicker(ScreenPlatform& platform, Settings& settings, Reducer& reducer,
                   BarPlacer& placer, PlatformTraits traits);

    PositionTickState& State() { return state_; }
    const PositionTickState& State() const { return state_; }

    // timPos fired; allowFocus only labels the log.
    void Tick(std::int32_t allowFocus);
    // timEnsureVisible fired.
    void EnsureVisibleTick();

    void TimPosSetFast() { platform_.SetPosTimerInterval(kPosTimerFastMs); }
    void TimPosSetOneSecond() { platform_.SetPosTimerInterval(kPosTimerOneSecondMs); }
    void TimPosSetSlow() { platform_.SetPosTimerInterval(kPosTimerSlowMs); }

    // Whether the bar shows at one of its corner points.
    bool BarShowsAtCorners();

  private:
    void CheckStyles(WindowId foreground);
    void CheckScreen(bool dx);
    void CheckColourChange(bool dx);
    void SaveIfPending();
    void KeepAbove(WindowId foreground);
    void KeepWorkingSet();

    ScreenPlatform& platform_;
    Settings& settings_;
    Reducer& reducer_;
    BarPlacer& placer_;
    PlatformTraits traits_;
    PositionTickState state_;
};

}  // namespace zorv
