// The configuration file on Windows: reading, saving with backup, the
// delayed save, export, import and the first-start takeover. The one holder
// of "the configuration changed": every change reaches the file through it.
#pragma once

#include <windows.h>

#include <string>

#include "items/app_state.h"
#include "items/config_host.h"
#include "items/settings.h"

namespace zorv {

class ConfigStore {
  public:
    ConfigStore(AppState& state, ConfigHost& host) : s_(state), host_(host) {}
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    // Replaces the lists and the settings the file names; an unreadable file
    // leaves the lists empty and the settings unchanged.
    void ReadIni(const std::string& path);
    // Writes everything to `path` with its backup; false after the error message.
    bool SaveIni(const std::string& path);
    // SaveIni(IniPath); the changed mark is cleared whatever the outcome.
    void SaveIniNow();
    // Marks the configuration changed; it is written about one second later
    // (by the bar's position timer, which waits while the mouse is on the bar).
    void SaveZorvINI_in1s();
    // Runs the pending save, if any (closing).
    void SaveIfChanged();
    bool Changed() const { return changed_; }

    void ExportIni(HWND owner);
    void ImportIni(HWND owner);
    // Takes over the older per-user store (registry, read only).
    void ImportOldSettings();

    // The screen and system facts the file's values are read against.
    IniContext CurrentIniContext() const;

  private:
    void ApplyLogSettings();

    AppState& s_;
    ConfigHost& host_;
    bool changed_ = false;
    // The file was UTF-8 with a byte order mark: it is written back the same way.
    bool utf8File_ = false;
};

}  // namespace zorv
