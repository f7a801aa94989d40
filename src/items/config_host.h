// What the configuration file's reader and writer ask of the rest of the
// program. The application implements it.
#pragma once

#include <string>

#include "items/settings.h"

namespace zorv {

class ConfigHost {
  public:
    virtual ~ConfigHost() = default;

    // What is to be saved: `live` with the values the user configured where
    // the program runs on borrowed ones (a video covering the screen).
    virtual Settings SettingsForSaving(const Settings& live) = 0;
    // The file was written to `path`: the caches beside it follow.
    virtual void AfterSave(const std::string& path) = 0;
    // A change was marked: it is to be written about a second from now.
    virtual void SaveSoon() = 0;
    // The lists and settings were replaced by an imported file.
    virtual void RebuildAfterImport() = 0;
};

}  // namespace zorv
