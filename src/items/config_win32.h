// The configuration file on Windows: reading, saving with backup, the
// delayed save, export, import and the first-start takeover.
#pragma once

#include <windows.h>

#include <string>

#include "items/settings.h"

namespace zorv {

// Replaces the lists and the settings the file names; an unreadable file
// leaves the lists empty and the settings unchanged.
void ReadIni(const std::string& path);
// Writes everything to `path` with its backup; false after the error message.
bool SaveIni(const std::string& path);
// SaveIni(IniPath); the changed mark is cleared whatever the outcome.
void SaveIniNow();
// Marks the configuration changed; it is written about one second later.
void SaveZorvINI_in1s();
// Runs the pending save, if any (the bar's timer and closing call it).
void SaveIfChanged();
bool ConfigChanged();

void ExportIni(HWND owner);
void ImportIni(HWND owner);
// Takes over the older per-user store (registry, read only).
void ImportOldSettings();

// The screen and system facts the file's values are read against.
IniContext CurrentIniContext();

}  // namespace zorv
