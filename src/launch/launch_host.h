// What the launcher asks of the rest of the program: the bar it brings to
// the front around its messages, and the foreground tracking's history. The
// application implements it.
#pragma once

#include "support/geometry.h"

namespace zorv {

class LaunchHost {
  public:
    virtual ~LaunchHost() = default;

    virtual WindowId BarWindow() = 0;
    virtual void ClearForegroundHistory() = 0;
    // After a message box: the window the user worked in gets the
    // foreground back.
    virtual void RestoreFGWin() = 0;
};

}  // namespace zorv
