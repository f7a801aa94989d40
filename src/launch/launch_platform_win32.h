// The launcher's platform on Windows: files, associations, shortcuts, the
// environment, windows, message boxes and Zorv.dll.
#pragma once

#include "launch/force_state.h"
#include "launch/launch_platform.h"

namespace zorv {

LaunchPlatform& Win32LaunchPlatform();
ForcePlatform& Win32ForcePlatform();

}  // namespace zorv
