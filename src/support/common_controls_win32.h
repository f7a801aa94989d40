// The common controls (tooltips, the hotkey field) load on their first use:
// the bar's first show needs none of them.
#pragma once

namespace zorv {

// Registers the common control classes (loading the library when needed) and
// answers whether it is version 6 or later, the one with visual styles.
// Cheap after the first call.
bool InitCommonControls6OrLater();

}  // namespace zorv
