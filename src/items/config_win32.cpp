#include "items/config_win32.h"

#include <commdlg.h>

#include <optional>

#include "app/app_state.h"
#include "app/language.h"
#include "app/language_win32.h"
#include "app/log.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_motion_win32.h"
#include "items/config_file.h"
#include "items/ini_save.h"
#include "items/old_settings.h"
#include "support/text_win32.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

namespace {

bool g_changed = false;
// The file was UTF-8 with a byte order mark: it is written back the same way.
bool g_utf8File = false;

std::optional<std::string> ReadBytes(const std::string& path) {
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

std::string AnsiToUtf8(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return Narrow(wide);
}

// Empty when some character has no place in the system code page.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return std::string();
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, &lossy);
    if (lossy) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                        nullptr, nullptr);
    return ansi;
}

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

// The log follows the settings just read.
void ApplyLogSettings() {
    LogLevel = Options.LogLevel;
    WriteLogFile = Options.WriteLogfile;
    WriteDebugView = Options.WriteDebugView;
}

// Parts of the program that hang on the configuration; they are rebuilt
// after an import.
void RebuildAfterImport() {
    Log(2, "RebuildAfterImport");
}

std::wstring FilterForDialog(const std::string& filter) {
    std::wstring w = Widen(filter);
    for (wchar_t& c : w) {
        if (c == L'|') c = L'\0';
    }
    return w + L'\0';
}

// The open or save dialog for INI files, starting in the program folder.
std::optional<std::string> AskIniFile(HWND owner, const wchar_t* proposed, const wchar_t* title,
                                      DWORD flags, bool save) {
    wchar_t file[MAX_PATH] = L"";
    lstrcpynW(file, proposed, MAX_PATH);
    const std::wstring filter = FilterForDialog(IniFilter(EnglishTexts));
    const std::wstring folder = Widen(App.ProgramFolder);
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
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return std::nullopt;
    return Narrow(file);
}

}  // namespace

IniContext CurrentIniContext() {
    IniContext c;
    c.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    c.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    c.TwipsPerPixelX = App.TwipsPerPixelX;
    c.TwipsPerPixelY = App.TwipsPerPixelY;
    c.Win9x = !App.WindowsVersion.NT;
    c.Win2000OrLater = App.WindowsVersion.Win2000OrLater;
    return c;
}

void ReadIni(const std::string& path) {
    Log(1, "ReadIni(%s)", path);
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes) {
        ClearItemLists(Lists);
        Log(1, "ReadIni: cannot open %s", path);
        return;
    }
    g_utf8File = HasUtf8Bom(*bytes);
    const std::string text = g_utf8File ? bytes->substr(kUtf8Bom.size()) : AnsiToUtf8(*bytes);
    ReadIniText(text, Lists, Options, CurrentIniContext());
    ApplyLogSettings();
    Log(2, "ReadIni: %i buttons, %i menu items, %i autostart, %i autoclose, %i+%i clipboard",
        Lists[0].Count(), Lists[1].Count(), Lists[2].Count(), Lists[3].Count(), Lists[4].Count(),
        Lists[5].Count());
}

bool SaveIni(const std::string& path) {
    // While a full-screen window covers the screen the bar runs on borrowed
    // settings; the file gets the user's own.
    const std::string text = FormatIni(Lists, SettingsForSaving(Options), CurrentIniContext());
    std::optional<std::string> bytes;
    if (!g_utf8File) bytes = Utf8ToAnsi(text);
    if (!bytes) {
        // A caption or path the code page cannot hold is kept as UTF-8
        // rather than turned into question marks.
        if (!g_utf8File) Log(1, "SaveIni: text outside the code page, writing UTF-8");
        g_utf8File = true;
        bytes = std::string(kUtf8Bom) + text;
    }
    Win32IniFileSystem fs;
    const SaveResult result = SaveIniFile(fs, path, *bytes);
    Log(1, "SaveIni(%s) -> %i", path, static_cast<int>(result));
    if (result == SaveResult::Saved) {
        RefreshBarPictureCache(path);
        return true;
    }
    MsgBoxText(Txt::ErrorSavingIni, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void SaveIniNow() {
    g_changed = false;
    SaveIni(App.IniPath);
}

// The position tick writes the file: it waits while the mouse is on the bar,
// a button is held or the bar moves.
void SaveZorvINI_in1s() {
    g_changed = true;
    MarkConfigForSaving();
}

void SaveIfChanged() {
    if (g_changed) SaveIniNow();
}

bool ConfigChanged() {
    return g_changed;
}

void ImportOldSettings() {
    class RegistryStore final : public OldSettingsStore {
      public:
        std::optional<std::string> Get(std::string_view section,
                                       std::string_view key) const override {
            const std::wstring subkey =
                L"Software\\VB and VBA Program Settings\\Zorv\\" + Widen(section);
            wchar_t value[4096];
            DWORD size = sizeof value;
            if (RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), Widen(key).c_str(), RRF_RT_REG_SZ,
                             nullptr, value, &size) != ERROR_SUCCESS) {
                return std::nullopt;
            }
            return Narrow(value);
        }
    };
    Log(1, "ImportOldSettings");
    zorv::ImportOldSettings(RegistryStore{}, Lists, Options, CurrentIniContext());
    ApplyLogSettings();
}

void ExportIni(HWND owner) {
    const std::wstring title = Widen(Text(Txt::SaveFile));
    const std::optional<std::string> file =
        AskIniFile(owner, L"", title.c_str(), OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, true);
    if (file) SaveIni(WithIniExtension(*file));
}

void ImportIni(HWND owner) {
    const std::optional<std::string> chosen =
        AskIniFile(owner, L"zorv.ini", nullptr, OFN_FILEMUSTEXIST, false);
    if (!chosen) return;
    if (IsActiveIni(*chosen, App.ProgramFolder, App.IniPath)) {
        MsgBox(TextArg(Txt::ActiveIniNoImport, *chosen), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (MsgBoxText(Txt::AllReplaced, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
    ReadIni(*chosen);
    RebuildAfterImport();
    SaveZorvINI_in1s();
}

}  // namespace zorv
