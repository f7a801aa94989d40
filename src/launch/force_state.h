// A window state forced on a started program (Style 100..103): the program
// may open its window in any state, so the first window of it that comes to
// the front within 15 seconds gets the item's state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "launch/launch_platform.h"

namespace zorv {

inline constexpr std::uint64_t kForceWindowMs = 15000;

struct ForceWindowState {
    std::string Exe;                       // the started program, short upper-case path
    std::string Title;                     // the item's Title
    std::int32_t State = 1;                // show command 0..3
    std::optional<std::uint64_t> StampMs;  // set while a window is awaited
    WindowId LastWindow = 0;               // the foreground window checked last

    bool Pending() const { return StampMs.has_value(); }
    void Clear() { StampMs.reset(); }
};

// What the check asks about the live foreground window.
class ForcePlatform {
  public:
    virtual ~ForcePlatform() = default;
    virtual std::uint64_t NowMs() = 0;
    virtual WindowId VisibleForegroundWindow() = 0;  // 0 when none is visible
    virtual void Sleep(std::uint32_t ms) = 0;
    virtual std::string ExeOfWindowShort(WindowId window) = 0;  // empty when unknown
    virtual WindowId WindowByTitle(const std::string& title) = 0;
    virtual std::uint32_t WindowStyle(WindowId window) = 0;
    virtual bool IsVisible(WindowId window) = 0;
    virtual bool IsMinimized(WindowId window) = 0;
    virtual bool IsMaximized(WindowId window) = 0;
    virtual void Show(WindowId window, std::int32_t showCmd) = 0;
};

// Runs on each foreground change while Pending(): applies the state to the
// started program's window and ends the wait, or ends it after 15 s. True
// when a window got the state.
bool CheckForcedWindowState(ForceWindowState& state, ForcePlatform& platform);

}  // namespace zorv
