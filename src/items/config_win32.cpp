#include "items/config_win32.h"

#include <commdlg.h>

#include <optional>

#include "support/texts.h"
#include "support/ascii.h"
#include "support/late_bound_win32.h"
#include "support/log.h"
#include "items/config_file.h"
#include "items/ini_save.h"
#include "items/old_settings.h"
#include "support/file_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

class Win32IniFileSystem final : public IniFileSystem {
  public:
    bool WriteFlushed(const std::string& path, std::string_view bytes) override {
        HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool ok =
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && FlushFileBuffers(h);
        CloseHandle(h);
        return ok;
    }
    bool Exists(const std::string& path) override {
        return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool Delete(const std::string& path) override { return DeleteFileW(Widen(path).c_str()); }
    bool Copy(const std::string& from, const std::string& to) override {
        return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
};

std::wstring FilterForDialog(const std::string& filter) {
    std::wstring w = Widen(filter);
    for (wchar_t& c : w) {
        if (c == L'|') c = L'\0';
    }
    return w + L'\0';
}

// The open or save dialog for INI files, starting in the program folder.
std::optional<std::string> AskIniFile(HWND owner, const std::string& programFolder,
                                      const wchar_t* proposed, const wchar_t* title, DWORD flags,
                                      bool save) {
    wchar_t file[MAX_PATH] = L"";
    lstrcpynW(file, proposed, MAX_PATH);
    const std::wstring filter = FilterForDialog(IniFilter(EnglishTexts));
    const std::wstring folder = Widen(programFolder);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = L"ini";
    ofn.Flags = flags | OFN_HIDEREADONLY;
    const auto ask = LateBound<decltype(&GetOpenFileNameW)>(
        L"comdlg32.dll", save ? "GetSaveFileNameW" : "GetOpenFileNameW");
    if (!ask || !ask(&ofn)) return std::nullopt;
    return Narrow(file);
}

}  // namespace

// The log follows the settings just read.
void ConfigStore::ApplyLogSettings() {
    LogLevel = s_.Options.LogLevel;
    WriteLogFile = s_.Options.WriteLogfile;
    WriteDebugView = s_.Options.WriteDebugView;
}

IniContext ConfigStore::CurrentIniContext() const {
    IniContext c;
    c.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    c.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    c.TwipsPerPixelX = s_.App.TwipsPerPixelX;
    c.TwipsPerPixelY = s_.App.TwipsPerPixelY;
    c.Win9x = !s_.App.WindowsVersion.NT;
    c.Win2000OrLater = s_.App.WindowsVersion.Win2000OrLater;
    return c;
}

bool ConfigStore::ReadIni(const std::string& path) {
    Log(1, "ReadIni(%s)", path);
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        ClearItemLists(s_.Lists);
        Log(1, "ReadIni: cannot read %s (error %i); it is not written in this run", path,
            static_cast<std::int64_t>(GetLastError()));
        unreadable_ = path;
        return false;
    }
    ApplyIniBytes(*bytes);
    return true;
}

bool ConfigStore::ReloadIni(const std::string& path) {
    Log(1, "ReloadIni(%s)", path);
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        Log(1, "ReloadIni: %s cannot be read; nothing changed", path);
        return false;
    }
    ApplyIniBytes(*bytes);
    return true;
}

void ConfigStore::ApplyIniBytes(const std::string& bytes) {
    utf8File_ = HasUtf8Bom(bytes);
    const std::string text = utf8File_ ? bytes.substr(kUtf8Bom.size()) : CodePageToUtf8(bytes);
    ReadIniText(text, s_.Lists, s_.Options, CurrentIniContext());
    ApplyLogSettings();
    Log(2, "ReadIni: %i buttons, %i menu items, %i autostart, %i autoclose, %i+%i clipboard",
        s_.Lists[0].Count(), s_.Lists[1].Count(), s_.Lists[2].Count(), s_.Lists[3].Count(),
        s_.Lists[4].Count(), s_.Lists[5].Count());
}

bool ConfigStore::SaveIni(const std::string& path, bool showErrors) {
    if (!unreadable_.empty() && EqualsNoCase(path, unreadable_)) {
        Log(1, "SaveIni(%s): not written, it could not be read", path);
        return false;
    }
    // While a full-screen window covers the screen the bar runs on borrowed
    // settings; the file gets the user's own.
    const std::string text =
        FormatIni(s_.Lists, host_.SettingsForSaving(s_.Options), CurrentIniContext());
    std::optional<std::string> bytes;
    if (!utf8File_) bytes = Utf8ToCodePage(text);
    if (!bytes) {
        // A caption or path the code page cannot hold is kept as UTF-8
        // rather than turned into question marks.
        if (!utf8File_) Log(1, "SaveIni: text outside the code page, writing UTF-8");
        utf8File_ = true;
        bytes = std::string(kUtf8Bom) + text;
    }
    Win32IniFileSystem fs;
    const SaveResult result = SaveIniFile(fs, path, *bytes);
    Log(1, "SaveIni(%s) -> %i", path, static_cast<int>(result));
    if (result == SaveResult::SavedWithoutBackup) Log(1, "SaveIni: no backup %s", BackupName(path));
    if (result == SaveResult::Saved || result == SaveResult::SavedWithoutBackup) {
        host_.AfterSave(path);
        return true;
    }
    if (showErrors) MsgBox(Text(Txt::ErrorSavingIni), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void ConfigStore::SaveIniNow() {
    due_ = false;
    if (SaveIni(s_.App.IniPath)) unsaved_ = false;
}

void ConfigStore::SaveZorvINI_in1s() {
    due_ = unsaved_ = true;
    host_.SaveSoon();
}

void ConfigStore::SaveIfChanged(bool showErrors) {
    if (!unsaved_) return;
    due_ = false;
    if (SaveIni(s_.App.IniPath, showErrors)) unsaved_ = false;
}

void ConfigStore::ImportOldSettings() {
    class RegistryStore final : public OldSettingsStore {
      public:
        std::optional<std::string> Get(std::string_view section,
                                       std::string_view key) const override {
            const std::wstring subkey =
                L"Software\\VB and VBA Program Settings\\Zorv\\" + Widen(section);
            const std::wstring name = Widen(key);
            // Values have any length (long clipboard texts): ask for the size
            // first, and again if the value grew in between.
            std::wstring value;
            for (int attempt = 0; attempt < 3; ++attempt) {
                DWORD size = 0;
                if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ,
                                 nullptr, nullptr, &size) != ERROR_SUCCESS) {
                    return std::nullopt;
                }
                value.assign(size / sizeof(wchar_t) + 1, L'\0');
                size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
                const LSTATUS rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(),
                                                RRF_RT_REG_SZ, nullptr, value.data(), &size);
                if (rc == ERROR_MORE_DATA) continue;
                if (rc != ERROR_SUCCESS) return std::nullopt;
                value.resize(wcsnlen(value.c_str(), value.size()));
                return Narrow(value);
            }
            return std::nullopt;
        }
    };
    Log(1, "ImportOldSettings");
    zorv::ImportOldSettings(RegistryStore{}, s_.Lists, s_.Options, CurrentIniContext());
    ApplyLogSettings();
}

void ConfigStore::ExportIni(HWND owner) {
    const std::wstring title = Widen(Text(Txt::SaveFile));
    const std::optional<std::string> file =
        AskIniFile(owner, s_.App.ProgramFolder, L"", title.c_str(),
                   OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, true);
    if (file) SaveIni(WithIniExtension(*file));
}

void ConfigStore::ImportIni(HWND owner) {
    const std::optional<std::string> chosen =
        AskIniFile(owner, s_.App.ProgramFolder, L"zorv.ini", nullptr, OFN_FILEMUSTEXIST, false);
    if (!chosen) return;
    if (IsActiveIni(*chosen, s_.App.ProgramFolder, s_.App.IniPath)) {
        MsgBox(TextArg(Txt::ActiveIniNoImport, *chosen), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (MsgBox(Text(Txt::AllReplaced), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
    // The user replaced everything on purpose: the active file may be written again.
    if (ReadIni(*chosen)) unreadable_.clear();
    host_.RebuildAfterImport();
    SaveZorvINI_in1s();
}

}  // namespace zorv
