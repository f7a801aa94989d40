#include "winwatch/cover_state.h"

#include "support/log.h"

namespace zorv {

namespace {

constexpr std::int32_t kFoundLogLevel = 2;

}  // namespace

// Cheapest first: the rectangles decide most foreground changes, the text of
// the centre window is asked only for a captionless one.
bool VideoOrFullscreenInFront(const WindowFacts& centre, const WindowFacts& root,
                              const WindowFacts& foreground, const RuleContext& context) {
    const ScreenSize screen = context.Screen;
    if (CentreNotFullscreen(centre.Rect, screen) && WindowNotFullscreen(root.Rect, screen) &&
        WindowNotFullscreen(foreground.Rect, screen)) {
        return false;
    }
    bool res = false;
    if (!HasCaption(root.Style) && !HasCaption(foreground.Style) && IsVideoWindow(centre)) {
        Log(kFoundLogLevel, "Video window found: %s", centre.Class);
        res = true;
    }
    if (IsSimpleFullscreenWindow(root, context) || IsSimpleFullscreenWindow(foreground, context)) {
        const bool rootIsDesktop = IsDesktopWindowClass(root.Class);
        const bool byCentre = !IsChildWindow(centre.Style) && !IsDesktopWindowClass(centre.Class) &&
                              !IsScreenSaverOrLogon(centre) && !rootIsDesktop;
        if (byCentre || (!rootIsDesktop && !IsScreenSaverOrLogon(root))) {
            Log(kFoundLogLevel, "SimpleFullscreenWindow found: %s", root.Class);
            res = true;
        }
    }
    return res;
}

bool SetCovered(CoverState& state, Settings& live, bool covered, bool win2000OrLater) {
    if (covered == state.Covered) return false;
    state.Covered = covered;
    if (covered) {
        state.ConfiguredAutoRed = live.AutoRed;
        state.ConfiguredLineColor = live.LineColor;
        live.AutoRed = kCoveredAutoRed;
        live.LineColor = kCoveredLineColor;
    } else {
        if (live.AutoRed == kCoveredAutoRed) live.AutoRed = state.ConfiguredAutoRed;
        if (live.LineColor == kCoveredLineColor) live.LineColor = state.ConfiguredLineColor;
    }
    UpdateDerivedSettings(live, win2000OrLater);
    return true;
}

Settings ConfiguredSettings(const CoverState& state, const Settings& live) {
    Settings s = live;
    if (!state.Covered) return s;
    if (s.AutoRed == kCoveredAutoRed) s.AutoRed = state.ConfiguredAutoRed;
    if (s.LineColor == kCoveredLineColor) s.LineColor = state.ConfiguredLineColor;
    return s;
}

}  // namespace zorv
