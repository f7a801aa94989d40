// Starting items: from an item of a list to a start request handed to
// Zorv.dll, or to an activated running instance.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zorv {

// Results of ExecuteItem.
inline constexpr int kExecNothing = 1;    // separator or failure
inline constexpr int kExecStarted = 2;    // a start request was accepted
inline constexpr int kExecActivated = 3;  // a running instance came to the front

// Starts item `index` of list `list` (0..5). Without `startAnyway`, an item
// with Activate = 1 first looks for a running instance of its program.
int ExecuteItem(int list, int index, bool startAnyway);

// Starts a raw command. path, wrkDir, userType and prio are normalised in
// place. True when the start request was accepted.
bool ExecuteCommand(std::string& path, std::string& wrkDir, std::int32_t& userType,
                    std::int32_t style, std::int32_t& prio, const std::string& title,
                    bool showErrors);

// A forced window state waits for the started program's window; the
// foreground tracking runs the check on each foreground change.
bool ForcedWindowStatePending();
void CheckForcedWindowState();

// What the last ExecuteItem returned (kExecNothing before the first).
int LastExecuteResult();
// QueryPerformanceCounter when the last start request was handed to
// Zorv.dll; 0 before the first.
std::int64_t LastRequestHandedCounter();

// Message box in front of everything: the bar is brought to the front first,
// the previous foreground window gets the focus back afterwards.
int MsgBoxTop(const std::string& text, UINT style);

}  // namespace zorv
