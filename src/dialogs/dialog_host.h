// What the editors and dialogs ask of the rest of the program. The
// application implements it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/geometry.h"

namespace zorv {

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // The owner of every dialog.
    virtual WindowId BarWindow() = 0;
    // A dialog shows (true) or closed (false): the global hotkeys are off and
    // the bar does not reduce itself meanwhile; closing registers the hotkeys
    // again from the lists as they are then.
    virtual void DialogShowing(bool showing) = 0;
    // The name of a hotkey value in the user's keyboard ("Ctrl+Alt+F5").
    virtual std::string HotkeyName(std::int32_t value) = 0;
    // The names of the key-name table, for the "{NAME}" tokens of typed texts.
    virtual std::vector<std::string> SpecialKeyNames() = 0;
    // Starts a command in a normal window with the messages of a start from
    // the bar ("Get Titlebar"); true when the start was accepted.
    virtual bool StartCommand(const std::string& path, const std::string& wrkDir,
                              std::int32_t userType) = 0;
    // One attempt to bring `window` to the front.
    virtual void BringToFront(WindowId window) = 0;
    // List `list` was changed and confirmed: what depends on it is rebuilt
    // (bar, menus, hotkeys) and the configuration saved about a second later.
    virtual void ListChanged(std::int32_t list) = 0;
    // A setting changed (a window size): saved about a second later.
    virtual void SettingsChanged() = 0;

    // The options dialog. Start with Windows is the shortcut in a Startup folder.
    virtual bool IsInStartup() = 0;
    virtual void SetZorvToAutoStart(bool on) = 0;
    // The combinations other programs hold, a line each: modifiers and key in
    // hex, a blank, the name ("241 Ctrl+A").
    virtual std::vector<std::string> HotkeysTakenByOthers() = 0;
    // The distance from the right edge the bar takes by itself (ForcedBarRight 0).
    virtual std::int32_t AutomaticBarRight() = 0;
    // ForcedBarRight changed: the bar moves there at once.
    virtual void BarRightChanged() = 0;
    // OK of the options: the bar's look and place, the fade mode, the menus,
    // the hotkeys and the process priority follow the settings, and the
    // configuration is saved about a second later.
    virtual void OptionsChanged() = 0;

    // The run dialog: the mouse moved over it; the foreground tracking looks
    // at the window in front.
    virtual void CheckForegroundWindow() = 0;
};

}  // namespace zorv
