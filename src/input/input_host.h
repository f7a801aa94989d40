// What the input subsystem asks of the rest of the program: the bar window
// its hotkeys belong to, the window the user works in, starts of items and
// the main menu, and the expansion of a clipboard text. The application
// implements it.
#pragma once

#include <cstdint>
#include <string>

#include "support/geometry.h"

namespace zorv {

class InputHost {
  public:
    virtual ~InputHost() = default;

    // The window the hotkeys are registered for and the clipboard's owner.
    virtual WindowId BarWindow() = 0;
    // The window in front becomes the newest of the foreground history.
    virtual void RecordForegroundWindow() = 0;
    // The newest still-existing window of the foreground history; 0 when none.
    virtual WindowId NewestForegroundWindow() = 0;

    // Item `index` of list `list`; true when a start request was accepted.
    virtual bool ExecuteItem(std::int32_t list, std::int32_t index, bool startAnyway) = 0;
    // The main menu's hotkey: the bar shows, comes to the front and opens
    // its menu as a press on the menu cell does; returns once the choice is
    // carried out.
    virtual void HotkeyMainMenu() = 0;
    // A button's hotkey: the bar comes to the front and the button does
    // what a press on it does (starts its item or opens its menu).
    virtual void HotkeyPressButton(std::int32_t index) = 0;
    // A clipboard item's text with its "%Now:" pattern and variables expanded.
    virtual std::string ExpandClipText(std::string text) = 0;
};

}  // namespace zorv
