#pragma once

#include <string>

namespace zorv {

// Fixes the program-wide state (App) from the system and the command line.
// Returns false when the "/ini=" value is unusable (the message has been shown).
bool InitGlobals(const std::wstring& commandLine);

// Reads LogLevel, WriteLogFile and WriteDebugView straight from the file.
void ReadEarlyLogSettings();

// The own process handle kept for the program's lifetime.
void CloseOwnProcess();

}  // namespace zorv
