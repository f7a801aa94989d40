// What the bar asks of the rest of the program: the foreground tracking, the
// launcher, the menus and the configuration. The application implements it;
// the bar never reaches another subsystem any other way.
#pragma once

#include <cstdint>
#include <vector>

#include "bar/bar_layout.h"
#include "support/geometry.h"

namespace zorv {

class BarHost {
  public:
    virtual ~BarHost() = default;

    // Foreground tracking.
    virtual void TopNow() = 0;
    virtual void RecordForegroundWindow() = 0;  // into the foreground history
    virtual void AddToForegroundHistory(WindowId window) = 0;
    // The window the user worked in gets the foreground back.
    virtual void HandForegroundBack(const char* tag) = 0;
    virtual bool IsMenuOrToolbarShown() = 0;
    // One of the program's own menus is open (its menu loop runs).
    virtual bool OwnMenuOpen() = 0;
    virtual bool IsDX(WindowId window) = 0;
    virtual bool IsSpecialWindow(WindowId window) = 0;
    virtual void CheckForVideoOrFullscreen() = 0;

    // Launching.
    // Starts button `index`; true when a start request was accepted.
    virtual bool ExecuteButton(std::int32_t index, bool startAnyway) = 0;
    virtual void EndActivationCycle() = 0;  // new token, time now
    // Performance counter when the last start request was handed over.
    virtual std::int64_t LastRequestHandedCounter() = 0;

    // Menus.
    virtual void BuildButtonMenus(const std::vector<ButtonMenuPlan>& plans) = 0;
    virtual void RebuildMenus() = 0;
    // A press on the main-menu cell: the menu shows and the choice is
    // carried out before this returns.
    virtual void OpenMainMenu(bool rightButton) = 0;
    // A submenu or clipboard button's menu, centred 30 pixels right of
    // `cell` (the button's left edge on the screen, the bar's lower edge);
    // the chosen entry's id or -1.
    virtual std::int32_t ShowButtonMenu(std::int32_t button, ScreenPoint cell,
                                        bool rightButton) = 0;
    // What that choice does, once the bar has drawn the button up.
    virtual void CarryButtonMenuChoice(std::int32_t button, std::int32_t chosen, bool ctrl,
                                       bool rightButton) = 0;
    // "Add Button", "Edit Button", "Remove Button" at the cursor; the chosen
    // id or -1.
    virtual std::int32_t ShowButtonContextMenu() = 0;
    // What that choice does to button `button` (ExecPopupBut).
    virtual void ExecPopupBut(std::int32_t id, std::int32_t button) = 0;
    // Buttons were dropped, moved, copied or taken away: what depends on the
    // button list is built again and the file saved a second later.
    virtual void ButtonListChanged() = 0;
    // Ctrl or Shift + left press: the item dialog on button `index`.
    virtual void EditButton(std::int32_t index) = 0;

    // The configuration.
    virtual void SaveZorvINI_in1s() = 0;  // marks it changed
    virtual bool ConfigChanged() = 0;
    virtual void SaveConfiguration() = 0;  // writes it now
};

}  // namespace zorv
