// Which configuration file the program uses. The decision runs over injected
// file-system facts so it can be tested without Windows.
#pragma once

#include <optional>
#include <string>

namespace zorv {

class FileProbe {
  public:
    virtual ~FileProbe() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Creates an empty file; false when that is not possible.
    virtual bool CreateEmpty(const std::string& path) = 0;
};

struct IniPathFacts {
    std::string ProgramFolder;    // without trailing backslash
    std::string ProgramFileName;  // e.g. "ZorvPanel.exe"
    std::string CommonAppData;    // CSIDL_COMMON_APPDATA; empty when unknown
    std::string UserAppData;      // CSIDL_APPDATA; empty when unknown
};

struct IniPathChoice {
    std::string IniPath;
    bool Invalid = false;  // the "/ini=" value cannot be used: message and end
};

// "ZorvPanel.exe" -> "ZorvPanel.ini"; the base name runs up to the last ".".
std::string IniFileName(const std::string& programFileName);

// The common application-data folder wins over the user's, which wins over
// the program folder; "/ini=" overrides all of them.
IniPathChoice ChooseIniPath(const IniPathFacts& facts, const std::optional<std::string>& iniSwitch,
                            FileProbe& fs);

// "'<value>' ist ungültig" / "'<value>' is invalid"
std::string InvalidIniMessage(const std::string& value, bool english);

}  // namespace zorv
