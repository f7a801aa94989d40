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
    // leaves the lists empty and the settings unchanged, returns false, and
    // is never written over in this run (the user's file outlives a lock).
    bool ReadIni(const std::string& path);
    // The file read again while the program runs; one that cannot be read
    // now changes nothing (and stays writable). False then.
    bool ReloadIni(const std::string& path);
    // Writes everything to `path` with its backup; false after the error
    // message (only logged without `showErrors`), or at once for a file this
    // run could not read.
    bool SaveIni(const std::string& path, bool showErrors = true);
    // SaveIni(IniPath). The save is no longer due whatever the outcome (no
    // error box every second); a change that failed to reach the file stays
    // unsaved until the next change or closing tries again.
    void SaveIniNow();
    // Marks the configuration changed; it is written about one second later
    // (by the bar's position timer, which waits while the mouse is on the bar).
    void SaveZorvINI_in1s();
    // Runs the pending save, if any (closing; at logoff without a message).
    void SaveIfChanged(bool showErrors = true);
    // A save waits for the position timer.
    bool SaveDue() const { return due_; }

    void ExportIni(HWND owner);
    void ImportIni(HWND owner);
    // Takes over the older per-user store (registry, read only).
    void ImportOldSettings();

    // The screen and system facts the file's values are read against.
    IniContext CurrentIniContext() const;

  private:
    void ApplyLogSettings();
    void ApplyIniBytes(const std::string& bytes);

    AppState& s_;
    ConfigHost& host_;
    bool due_ = false;      // the timer is to save
    bool unsaved_ = false;  // a change has not reached the file yet
    // A configuration file that exists but could not be read in this run.
    std::string unreadable_;
    // The file was UTF-8 with a byte order mark: it is written back the same way.
    bool utf8File_ = false;
};

}  // namespace zorv
