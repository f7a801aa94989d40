// Finding and activating windows of running programs, and the foreign-window
// queries every part of the program uses. A foreign window is never asked
// without a time-out.
#pragma once

#include <windows.h>

#include <string>

namespace zorv {

// WM_GETTEXT with a 100 ms time-out; "no text because no response" for a
// window that does not answer WM_NULL within 50 ms.
std::string WindowTextTimeout(HWND window);
bool IsHung(HWND window);
// Visible and at least one pixel wide and high.
bool IsReallyVisible(HWND window);

// Shows, restores and brings `window` to the front (up to 10 tries).
void ActivateWindow(HWND window);
// One attempt to make `window` the foreground window; `tag` names the caller
// in the log.
void BringToFront(HWND window, const char* tag);
// Makes `window` the foreground window even under a foreground lock.
bool ForceForeground(HWND window);

// The first top-level window titled exactly `title`, else the first whose
// title starts or ends with it; null when none.
HWND FindWindowByTitle(const std::string& title);
// Records the top-level windows whose text contains `title`; later
// FindNewTitleWindow returns the first such window not recorded.
void SnapshotTitleWindows(const std::string& title);
HWND FindNewTitleWindow(const std::string& title);

// The executable of the process owning `window`; empty when unknown.
std::string ExeOfWindow(HWND window);
// The same as upper-case short (8.3) path.
std::string ExeOfWindowShort(HWND window);
// A path as upper-case short path (the form window matching compares).
std::string ShortPathUpper(const std::string& path);

// Brings a running window of `exe` (or, without exe, one titled like
// `title`) to the front; repeated calls within 6 s cycle through them.
bool ActivateApp(const std::string& title, const std::string& exe);
// Ends the activation cycle: the next ActivateApp starts with the first
// window again (a start, or the bar reducing).
void EndActivationCycle();

}  // namespace zorv
