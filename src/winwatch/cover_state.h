// Whether a video or full-screen window covers the screen, and what the bar
// does about it: while covered it reduces to a black line (AutoRed 1,
// LineColor 3) whatever the user configured, and gets the configured
// values back afterwards. The override lives in the settings the bar reads,
// never in the configuration file. Portable.
#pragma once

#include <cstdint>

#include "items/settings.h"
#include "winwatch/window_rules.h"

namespace zorv {

inline constexpr std::int32_t kCoveredAutoRed = 1;    // reduce to the line
inline constexpr std::int32_t kCoveredLineColor = 3;  // black

struct CoverState {
    bool Covered = false;
    std::int32_t ConfiguredAutoRed = 0;
    std::int32_t ConfiguredLineColor = 0;
};

// The decision of CheckForVideoOrFullscreen over the window at the screen's
// centre, its root owner and the foreground window: true when a video or a
// simple full-screen window covers the screen.
bool VideoOrFullscreenInFront(const WindowFacts& centre, const WindowFacts& root,
                              const WindowFacts& foreground, const RuleContext& context);

// Sets or lifts the override in `live`; false when `covered` is the state
// already. A value the user changed while covered (it no longer holds the
// override) is kept when the override is lifted.
bool SetCovered(CoverState& state, Settings& live, bool covered, bool win2000OrLater);

// `live` with the configured values in place of the override: what the
// configuration file is written from.
Settings ConfiguredSettings(const CoverState& state, const Settings& live);

}  // namespace zorv
