#pragma once

#include <string>

namespace zorv {

// Starts logging to `logFile` (and the debugger output) through the Win32 clock and locale.
void StartWin32Log(const std::wstring& logFile);

}  // namespace zorv
