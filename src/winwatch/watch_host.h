// What the foreground tracking asks of the rest of the program: the bar's
// reduce and placement, bringing a window to the front, and the launcher's
// forced window state. The application implements it.
#pragma once

#include <cstdint>

#include "support/geometry.h"

namespace zorv {

class WatchHost {
  public:
    virtual ~WatchHost() = default;

    // The bar.
    virtual WindowId BarWindow() = 0;
    virtual void ReduceNow() = 0;
    virtual void SetAlphaValue(std::int32_t alpha) = 0;
    virtual void SetBarPos() = 0;
    virtual void ApplyLineColour() = 0;  // the line drawn in the colour of LineColor
    virtual void SimMouseMoveOutSide() = 0;
    virtual bool BarShowsAtCorners() = 0;
    virtual void StartEnsureVisibleTimer() = 0;
    virtual bool IsClosing() = 0;

    // Launching.
    // One attempt to make `window` the foreground window; `tag` names the
    // caller in the log.
    virtual void BringToFront(WindowId window, const char* tag) = 0;
    // A start waits for its program's window to force its state on it.
    virtual void CheckForcedWindowState() = 0;
};

}  // namespace zorv
