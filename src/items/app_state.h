// Program-wide state shared by the subsystems (one user-interface thread).
// The application owns the one instance and hands it to each subsystem.
#pragma once

#include <string>

#include "support/startup_state.h"
#include "items/items.h"
#include "items/settings.h"

namespace zorv {

struct AppState {
    StartupState App;  // paths, version, switches: fixed at start
    ItemLists Lists;   // the six item lists
    Settings Options;  // the configuration's settings
    std::string HelpFile;
    bool ClosedFromMenu = false;  // exit command, or closed by a new instance
    bool IsClosing = false;
};

}  // namespace zorv
