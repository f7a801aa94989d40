// Saving the configuration file without ever losing it, its backup name, the
// icon cache beside it, and the texts and checks of export and import.
// Portable: the file system is an interface the shell implements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorv {

// The file operations a save needs. Paths are UTF-8.
class IniFileSystem {
  public:
    virtual ~IniFileSystem() = default;
    // Creates or truncates `path`, writes all of `bytes` and flushes them to
    // the disk. False when any part failed (the file may then be partial).
    virtual bool WriteFlushed(const std::string& path, std::string_view bytes) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Delete(const std::string& path) = 0;
    // Copies `from` to `to`, replacing an existing `to`.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    // Puts `from` in the place of `to` in one step, replacing an existing `to`
    // (MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
};

enum class SaveResult {
    Saved,
    SavedWithoutBackup,  // saved; the previous file could not be copied to the backup
    WriteFailed,         // the new text could not be written; nothing else touched
    ReplaceFailed,       // the file could not be replaced (read-only, locked ...)
};

// `path` without its extension: up to the last "." of the file name; the
// whole path when the name has no ".".
std::string IniBaseName(std::string_view path);
// IniBaseName + "-bak.ini".
std::string BackupName(std::string_view path);
// The temporary file beside `path` that the new text is written to first.
std::string TempSaveName(std::string_view path);

// Writes `bytes` (the encoded file) to `path`; after success the previous file
// is the backup, unless that copy failed (a courtesy: it never stops the save). Whatever fails, or wherever the process stops, `path` holds
// either the previous or the new file complete.
SaveResult SaveIniFile(IniFileSystem& fs, const std::string& path, std::string_view bytes);

// The icon cache beside the file: IniBaseName + ".bmp" (bar) and + "M.bmp" (menus).
std::string BarIconCacheName(std::string_view iniPath);
std::string MenuIconCacheName(std::string_view iniPath);

enum class IconCacheAction { Keep, Delete, Rewrite };
// After a save: a 16-colour display drops the cache; a visible bar on a
// display of at least 5 bits per pixel rewrites it unless the program closes.
IconCacheAction IconCacheActionAfterSave(std::int32_t bitsPerPixel, bool barVisible, bool closing);

// Export and import dialogs.
inline constexpr std::string_view kIniDefaultExtension = "ini";
// "INI Files (*.ini)|*.ini" for the file dialogs.
std::string IniFilter(bool english);
// An export name without extension gets ".ini" ("name." gets "ini").
std::string WithIniExtension(std::string_view fileName);

// The chosen file is the active configuration: `chosen` itself, or the name
// in the program folder, equals `iniPath` (letter case ignored, as Windows does).
bool IsActiveIni(std::string_view chosen, std::string_view programFolder, std::string_view iniPath);

}  // namespace zorv
