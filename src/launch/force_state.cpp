#include "launch/force_state.h"

#include "support/log.h"
#include "launch/command.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

constexpr std::uint32_t kMinMaxBoxes = win::kWsMinimizeBox | win::kWsMaximizeBox;
constexpr std::uint32_t kSysMenu = win::kWsSysMenu;
constexpr std::uint32_t kMaximizeBox = win::kWsMaximizeBox;

// Batch files and PIFs run inside a console host, so their window never
// belongs to the recorded program; a window whose program is unknown counts
// when a title can confirm it.
bool IsStartedProgram(const ForceWindowState& state, const std::string& windowExe) {
    if (state.Exe == windowExe) return true;
    if (windowExe.empty() && !state.Title.empty()) return true;
    return IsBatCmdPif(state.Exe);
}

// Without a title, only a main window qualifies, not a splash screen or a
// tool window: it has a system menu and a minimize or maximize box.
bool Qualifies(const ForceWindowState& state, WindowId window, ForcePlatform& platform) {
    if (!state.Title.empty()) return platform.WindowByTitle(state.Title) == window;
    const std::uint32_t style = platform.WindowStyle(window);
    return (style & kMinMaxBoxes) != 0 && (style & kSysMenu) != 0;
}

void ApplyState(std::int32_t state, WindowId window, ForcePlatform& platform) {
    switch (state) {
        case 0:
            if (platform.IsVisible(window)) platform.Show(window, 0);
            break;
        case 1:
            if (platform.IsMinimized(window) || platform.IsMaximized(window)) {
                platform.Show(window, 9);
            }
            break;
        case 2:
            if (!platform.IsMinimized(window)) platform.Show(window, 2);
            break;
        case 3:
            if (!platform.IsMaximized(window) ||
                (platform.WindowStyle(window) & kMaximizeBox) != 0) {
                platform.Show(window, 3);
            }
            break;
        default:
            break;
    }
}

}  // namespace

bool CheckForcedWindowState(ForceWindowState& state, ForcePlatform& platform) {
    if (!state.Pending()) return false;
    if (platform.NowMs() - *state.StampMs >= kForceWindowMs) {
        Log(3, "ForceWindowState: nothing came within 15 s");
        state.Clear();
        return false;
    }
    const WindowId window = platform.VisibleForegroundWindow();
    if (window == 0 || window == state.LastWindow) return false;
    state.LastWindow = window;
    // The window's process may still be setting up.
    platform.Sleep(10);
    const std::string exe = platform.ExeOfWindowShort(window);
    if (!IsStartedProgram(state, exe) || !Qualifies(state, window, platform)) return false;
    Log(3, "ForceWindowState: %i on %X (%s)", state.State, window, exe);
    ApplyState(state.State, window, platform);
    state.Clear();
    return true;
}

}  // namespace zorv
