// A script command handed from a second start of the program to the bar
// that runs (WM_COPYDATA), and the line that tells the script the answer.
#pragma once

#include <windows.h>

#include "app/script_command.h"

namespace zorv {

// The running bar of this user's session, or null.
HWND FindRunningBar();
// Hands `command` to the running bar and writes its answer on the console
// (or the standard output the script gave); the exit code.
int SendScriptCommand(const ScriptCommand& command);
// The command a WM_COPYDATA carries, when it is one.
bool ReadScriptCommand(const COPYDATASTRUCT& data, ScriptCommand& command);

}  // namespace zorv
