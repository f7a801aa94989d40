// The editors as the rest of the program opens them: the list editor of a
// list, and the item dialog on a button of the bar. Owned by the application.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/dialog_host.h"
#include "items/app_state.h"

namespace zorv {

class Dialogs {
  public:
    Dialogs(AppState& state, DialogHost& host) : s_(state), host_(host) {}
    Dialogs(const Dialogs&) = delete;
    Dialogs& operator=(const Dialogs&) = delete;

    // The list editor of list `list` (0 to 5).
    void EditList(std::int32_t list);
    // The item dialog on button `index`; a new button after it (and its menu).
    void EditButton(std::int32_t index);
    void AddButton(std::int32_t after);
    // The run dialog; the options.
    void Run();
    void Options();

  private:
    AppState& s_;
    DialogHost& host_;
    std::string lastFolder_;  // where the list editor's file dialogs opened last
};

}  // namespace zorv
