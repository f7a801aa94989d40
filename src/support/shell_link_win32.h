// Shell links (.lnk) through the shell-link object: reading one, writing
// one. COM is initialised around each call (the bar's thread may or may not
// have it already), and ole32 is bound on first use.
#pragma once

#include <string>

#include "support/shortcut.h"

namespace zorv {

// False when the file is no shortcut or cannot be read.
bool ReadShellLink(const std::string& lnkPath, ShortcutInfo& out);
// Writes `lnkPath` (replacing it) with the description, target, working
// folder, arguments and show command of `link`; false when it was not written.
bool WriteShellLink(const std::string& lnkPath, const std::string& description,
                    const ShortcutInfo& link);

}  // namespace zorv
