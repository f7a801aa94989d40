#include "winwatch/bar_events.h"

namespace zorv {

namespace {

constexpr std::uint64_t kShellWindowCreated = 1;    // HSHELL_WINDOWCREATED
constexpr std::uint64_t kShellWindowActivated = 4;  // HSHELL_WINDOWACTIVATED
constexpr std::string_view kDialogClass = "#32770";
// The title the program and its companion library give their message boxes.
constexpr std::string_view kOwnDialogTitle = "ZorvPanel";

}  // namespace

// The high byte carries flags: HSHELL_RUDEAPPACTIVATED (0x8004, the
// activation code with HSHELL_HIGHBIT) is an activation too.
bool IsForegroundNotification(std::uint64_t code) {
    const std::uint64_t kind = code & 0xFF;
    return kind == kShellWindowCreated || kind == kShellWindowActivated;
}

// Windows before 2000 do not give the foreground back to the window the user
// worked in when the bar's process is activated. With a form of ours open the
// user is working in it.
bool GiveForegroundBackOnActivate(bool activated, bool oldShell, std::int32_t openForms) {
    return activated && oldShell && openForms <= 1;
}

// Another window may now cover the bar: timEnsureVisible puts it back on top
// shortly. Not while the program itself restacks or closes it, not over a
// window of ours, not while the mouse is on the bar, and not when the bar only
// shows at the screen's corners.
bool EnsureVisibleAfterPosChange(const PosChangeFacts& facts) {
    return !facts.Closing && !facts.Restacking && facts.BarVisible && !facts.OwnWindowInFront &&
           !facts.CursorOnBar && !facts.ShowsAtCorners;
}

bool IsOwnWindowRule(bool isBar, bool ourProcess, std::string_view className,
                     std::string_view text) {
    return isBar || ourProcess || (className == kDialogClass && text == kOwnDialogTitle);
}

bool IsOwnWindowRule(bool isBar, bool ourProcess, std::string_view className,
                     const std::function<std::string()>& readText) {
    if (isBar || ourProcess) return true;
    return className == kDialogClass && readText() == kOwnDialogTitle;
}

}  // namespace zorv
