// Saving replaces the file in one step: the new text is complete and on the
// disk before the old file is touched, so a crash or a full disk at any moment
// leaves a complete file under the path.
#include "items/ini_save.h"

#include "support/ascii.h"
#include "support/texts.h"

namespace zorv {

namespace {

// Start of the file name: after the last "\" or "/" (a "." in a folder name
// is not an extension).
std::size_t NameStart(std::string_view path) {
    std::size_t sep = path.find_last_of("\\/");
    return sep == std::string_view::npos ? 0 : sep + 1;
}

// Position of the extension's "." in `path`, npos without one.
std::size_t ExtensionDot(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < NameStart(path)) return std::string_view::npos;
    return dot;
}

}  // namespace

std::string IniBaseName(std::string_view path) {
    return std::string(path.substr(0, ExtensionDot(path)));
}

std::string BackupName(std::string_view path) {
    return IniBaseName(path) + "-bak.ini";
}

std::string TempSaveName(std::string_view path) {
    return std::string(path) + ".tmp";
}

// Order matters: (1) the new text goes to a temporary file and is flushed;
// (2) the current file is copied to the backup; (3) the temporary file
// replaces the current one in a single rename. Before (3) the path still
// holds the old file; (3) itself is atomic. A failing write or replace
// removes the temporary file and reports, leaving the old file in place; a
// failing backup only reports.
SaveResult SaveIniFile(IniFileSystem& fs, const std::string& path, std::string_view bytes) {
    const std::string temp = TempSaveName(path);
    if (!fs.WriteFlushed(temp, bytes)) {
        fs.Delete(temp);
        return SaveResult::WriteFailed;
    }
    bool backedUp = true;
    if (fs.Exists(path)) {
        const std::string backup = BackupName(path);
        if (fs.Exists(backup)) fs.Delete(backup);
        backedUp = fs.Copy(path, backup);
    }
    if (!fs.Replace(temp, path)) {
        fs.Delete(temp);
        return SaveResult::ReplaceFailed;
    }
    return backedUp ? SaveResult::Saved : SaveResult::SavedWithoutBackup;
}

std::string BarIconCacheName(std::string_view iniPath) {
    return IniBaseName(iniPath) + ".bmp";
}

std::string MenuIconCacheName(std::string_view iniPath) {
    return IniBaseName(iniPath) + "M.bmp";
}

IconCacheAction IconCacheActionAfterSave(std::int32_t bitsPerPixel, bool barVisible, bool closing) {
    // 16 colours cannot show the icons as cached; the cache would only be stale.
    if (bitsPerPixel == 4) return IconCacheAction::Delete;
    if (barVisible && !closing && bitsPerPixel >= 5) return IconCacheAction::Rewrite;
    return IconCacheAction::Keep;
}

std::string WithIniExtension(std::string_view fileName) {
    std::string name(fileName);
    std::size_t dot = ExtensionDot(name);
    if (dot != std::string::npos && dot + 1 < name.size()) return name;
    if (dot == std::string::npos) name += '.';
    name += kIniDefaultExtension;
    return name;
}

bool IsActiveIni(std::string_view chosen, std::string_view programFolder,
                 std::string_view iniPath) {
    if (EqualsNoCase(chosen, iniPath)) return true;
    std::string inFolder(programFolder);
    inFolder += '\\';
    inFolder += chosen;
    return EqualsNoCase(inFolder, iniPath);
}

std::string IniFilter(bool english) {
    return TextIn(Txt::IniFiles, english) + " (*.ini)|*.ini";
}

}  // namespace zorv
