// Program-wide state shared by the subsystems (one user-interface thread).
#pragma once

#include "app/startup.h"
#include "items/items.h"
#include "items/settings.h"

namespace zorv {

inline StartupState App;  // paths, version, switches: fixed at start
inline ItemLists Lists;   // the six item lists
inline Settings Options;  // the configuration's settings
inline bool EnglishTexts = false;
inline bool ClosedFromMenu = false;  // exit command, or closed by a new instance
inline bool IsClosing = false;

}  // namespace zorv
