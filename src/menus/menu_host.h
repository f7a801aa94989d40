// What the menus ask of the rest of the program: the bar they open under,
// the starts, clipboard picks and exit they carry out, and the foreground
// tracking they pause. The application implements it.
#pragma once

#include <cstdint>
#include <vector>

#include "support/geometry.h"

namespace zorv {

class MenuHost {
  public:
    virtual ~MenuHost() = default;

    virtual WindowId BarWindow() = 0;
    // The bar's height as drawn (the menu opens at its lower edge).
    virtual std::int32_t BarHeight() = 0;
    // A menu of the bar shows: the foreground tracking leaves the z-order alone.
    virtual void MenuShowing(bool showing) = 0;
    // The window the user worked in gets the foreground back.
    virtual void HandForegroundBack(const char* tag) = 0;

    // Item `index` of list `list`; true when a start request was accepted.
    virtual bool ExecuteItem(std::int32_t list, std::int32_t index, bool startAnyway) = 0;
    // A clipboard item chosen in a menu.
    virtual void PasteClipItem(std::int32_t list, std::int32_t index) = 0;
    // Exit from the menu: closing, ClosedFromMenu, and the bar unloads from
    // a 10 ms timer once the menu is gone.
    virtual void ExitFromMenu() = 0;
    // The item dialog on item `index` of the button list (Ctrl + a button-menu entry).
    virtual void EditItem(std::int32_t index) = 0;
    // The list editor of list `list` (0 to 5).
    virtual void EditList(std::int32_t list) = 0;
    // The run dialog and the options.
    virtual void OpenRunDialog() = 0;
    virtual void OpenOptions() = 0;
    virtual void ExportSettings() = 0;
    virtual void ImportSettings() = 0;

    // timClosePopup: while `on`, the menus get a TickClosePopup every 10 ms.
    virtual void WatchPopup(bool on) = 0;
    // The foreground history: the six most recent windows of other programs.
    virtual std::vector<WindowId> RecentForegroundWindows() = 0;
    virtual void AddToForegroundHistory(WindowId window) = 0;
};

}  // namespace zorv
