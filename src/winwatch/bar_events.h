// What the bar window does on the messages that concern the foreground
// tracking: shell notifications, activation and z-order changes, and which windows count as the
// program's own. Portable: no Windows headers; the shell gathers the facts and acts on the answers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "support/geometry.h"

namespace zorv {

// A shell-hook code that asks for a look at the foreground window.
bool IsForegroundNotification(std::uint64_t code);

// WM_ACTIVATEAPP: whether the newest window of the foreground history is
// brought back to the front. `activated` is wParam == 1.
bool GiveForegroundBackOnActivate(bool activated, bool oldShell, std::int32_t openForms);

struct PosChangeFacts {
    bool Closing = false;
    bool Restacking = false;  // the bar is being put on top by the program
    bool BarVisible = false;
    bool OwnWindowInFront = false;  // the foreground window is one of ours
    bool CursorOnBar = false;       // WindowFromPoint(cursor) is the bar
    bool ShowsAtCorners = false;
};

// WM_WINDOWPOSCHANGED: whether timEnsureVisible is started.
bool EnsureVisibleAfterPosChange(const PosChangeFacts& facts);

// A window of the program: the bar, any window of its process, or a dialog
// ("#32770") titled exactly "ZorvPanel" (a box of the companion library,
// shown in another process). The caller handles the null window. Reading a
// window's text can block, so `text` matters only for the dialog class: use
// the second form to have it read only then.
bool IsOwnWindowRule(bool isBar, bool ourProcess, std::string_view className,
                     std::string_view text);
bool IsOwnWindowRule(bool isBar, bool ourProcess, std::string_view className,
                     const std::function<std::string()>& readText);

}  // namespace zorv
