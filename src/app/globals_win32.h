// The program-wide start-up state read from the system and the command line.
#pragma once

#include <string>

#include "app/startup.h"

namespace zorv {

// Fixes `app` from the system and the command line. Returns false when the
// "/ini=" value is unusable (the message has been shown).
bool InitGlobals(StartupState& app, const std::wstring& commandLine);

// Reads LogLevel, WriteLogFile and WriteDebugView straight from the file.
void ReadEarlyLogSettings(const StartupState& app);

}  // namespace zorv
