// Finding and activating windows of running programs. A foreign window is
// never asked without a time-out.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "launch/activate.h"
#include "launch/process_list_win32.h"

namespace zorv {

// Shows, restores and brings `window` to the front (up to 10 tries).
void ActivateWindow(HWND window, bool foregroundLock);
// One attempt to make `window` the foreground window; `tag` names the caller
// in the log. Under a foreground lock (Windows 98, ME, 2000 and later) it
// takes ForceForeground.
void BringToFront(HWND window, const char* tag, bool foregroundLock);
// Makes `window` the foreground window even under a foreground lock.
bool ForceForeground(HWND window);

// The first top-level window titled exactly `title`, else the first whose
// title starts or ends with it; null when none.
HWND FindWindowByTitle(const std::string& title);
// Every top-level window with its text.
std::vector<TitledWindow> TitledTopLevelWindows();

// The executable of the process owning `window`; empty when unknown.
std::string ExeOfWindow(ProcessLister& processes, HWND window);
// A path as upper-case short (8.3) path (the form window matching compares);
// `nt`: the system has short names to ask for.
std::string ShortPathUpper(const std::string& path, bool nt);

}  // namespace zorv
