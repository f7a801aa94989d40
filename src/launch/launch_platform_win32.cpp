#include "launch/launch_platform_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_window_win32.h"
#include "launch/command.h"
#include "launch/dll_rules.h"
#include "launch/launch_win32.h"
#include "launch/window_ops_win32.h"
#include "support/ascii.h"
#include "support/text_win32.h"
#include "support/tick_clock.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

namespace {

HWND AsHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}
WindowId AsId(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

// Unlike the shell's "open", FindExecutable takes the file as a parameter
// of its own, so blanks need no quotes (and not every shell strips them).
std::wstring WithoutQuotes(const std::string& path) {
    std::string_view p = path;
    if (p.size() >= 2 && p.front() == '"' && p.back() == '"') p = p.substr(1, p.size() - 2);
    return Widen(p);
}

// The show command stored in the link file itself: the shell-link object
// answers SW_SHOWNORMAL for every link under Wine. The header rules are
// shared with Zorv.dll (LinkShowCommand).
bool ShowCmdFromLinkFile(const std::wstring& path, std::int32_t& showCmd) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned char header[kLinkHeaderSize] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof header, &read, nullptr);
    CloseHandle(file);
    if (!ok) return false;
    const std::optional<int> show = LinkShowCommand(std::span<const unsigned char>(header, read));
    if (!show) return false;
    showCmd = *show;
    return true;
}

bool LoadShellLink(const std::wstring& path, ShortcutInfo& out) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    IPersistFile* persist = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    ok = ok && SUCCEEDED(persist->Load(path.c_str(), STGM_READ));
    if (ok) {
        wchar_t buffer[MAX_PATH * 2] = L"";
        link->GetPath(buffer, MAX_PATH * 2, nullptr, 0);
        out.Target = Narrow(buffer);
        buffer[0] = 0;
        link->GetWorkingDirectory(buffer, MAX_PATH * 2);
        out.WorkDir = Narrow(buffer);
        buffer[0] = 0;
        link->GetArguments(buffer, MAX_PATH * 2);
        out.Arguments = Narrow(buffer);
        buffer[0] = 0;
        int icon = 0;
        link->GetIconLocation(buffer, MAX_PATH * 2, &icon);
        out.IconPath = Narrow(buffer);
        out.IconIndex = icon;
        int show = SW_SHOWNORMAL;
        link->GetShowCmd(&show);
        out.ShowCmd = show;
    }
    if (persist) persist->Release();
    link->Release();
    return ok;
}

std::string LocaleText(LCTYPE what) {
    wchar_t buffer[80] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buffer, 80);
    return Narrow(buffer);
}

std::string DatePicture(const SYSTEMTIME& time, const wchar_t* picture) {
    wchar_t buffer[80] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, picture, buffer, 80);
    return Narrow(buffer);
}

std::uint32_t ReadForegroundLockTimeout() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return 0;
    }
    DWORD value = 0, size = sizeof value, type = 0;
    const LONG result = RegQueryValueExW(key, L"ForegroundLockTimeout", nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD ? value : 0;
}

std::string SystemText(DWORD code) {
    wchar_t buffer[1024] = L"";
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0x400, buffer, 1024, nullptr);
    return Narrow(std::wstring_view(buffer, n));
}

// When the last start request was handed to Zorv.dll (performance counter):
// the bar times its clicks against it.
LARGE_INTEGER g_handed{};

// ExecuteProcessAsync(ExecRequest*), stdcall, from Zorv.dll beside the
// program: loaded by its full path, never through the search path, so no
// other folder can slip in a library of the same name.
class Starter {
  public:
    StarterOutcome Start(ExecRequest& request) {
        if (!module_) {
            const std::wstring path = Widen(App.ProgramFolder) + L"\\Zorv.dll";
            module_ = LoadLibraryW(path.c_str());
            if (!module_) {
                Log(1, "LoadLibrary(%s) failed: %u", Narrow(path), GetLastError());
                return {StarterAnswer::LibraryMissing, {}};
            }
        }
        if (!entry_) {
            entry_ = reinterpret_cast<Entry>(
                reinterpret_cast<void*>(GetProcAddress(module_, "ExecuteProcessAsync")));
            if (!entry_) {
                const DWORD error = GetLastError();
                return {StarterAnswer::CallFailed,
                        ErrorText(static_cast<std::int32_t>(error), SystemText(error))};
            }
        }
        QueryPerformanceCounter(&g_handed);
        const std::int32_t result = entry_(&request);
        Log(2, "ExecuteProcessAsync = %i, ErrorCode %i", result, request.ErrorCode);
        return {result != 0 ? StarterAnswer::Accepted : StarterAnswer::Refused, {}};
    }

  private:
    using Entry = std::int32_t(__stdcall*)(ExecRequest*);
    HMODULE module_ = nullptr;
    Entry entry_ = nullptr;
};

struct FoundProgram {
    std::string File, Folder, Current, Program;
    std::uint64_t At = 0;
};

std::string AskFindExecutable(const std::string& file, const std::string& folder) {
    wchar_t result[MAX_PATH + 1] = L"";
    const std::wstring dir = Widen(folder);
    const auto code = reinterpret_cast<INT_PTR>(
        FindExecutableW(WithoutQuotes(file).c_str(), dir.empty() ? nullptr : dir.c_str(), result));
    if (code <= 32) {
        Log(5, "FindExecutable(%s, %s) failed: %i", file, folder, static_cast<int>(code));
        return {};
    }
    return Narrow(std::wstring_view(result, wcsnlen(result, MAX_PATH + 1)));
}

class Win32Launch final : public LaunchPlatform {
  public:
    std::uint32_t FileAttributes(const std::string& path) override {
        if (path.empty()) return kNoAttributes;
        return GetFileAttributesW(Widen(path).c_str());
    }
    std::uint32_t DriveType(const std::string& root) override {
        return GetDriveTypeW(Widen(root).c_str());
    }
    // One command asks FindExecutable the same question more than once (the
    // split, the shell-start rule), and each answer is a walk through the
    // registry: answers are reused for a second. A relative file depends on
    // the current folder, so that is part of the question.
    std::string FindProgram(const std::string& file, const std::string& folder) override {
        const std::uint64_t now = TickCount64();
        const std::string current = CurrentFolder();
        std::erase_if(found_, [now](const FoundProgram& f) { return now - f.At >= 1000; });
        for (const FoundProgram& f : found_) {
            if (f.File == file && f.Folder == folder && f.Current == current) return f.Program;
        }
        std::string program = AskFindExecutable(file, folder);
        if (found_.size() >= 8) found_.erase(found_.begin());
        found_.push_back({file, folder, current, program, now});
        return program;
    }
    std::string AssocCommand(const std::string& dotExtension) override {
        wchar_t buffer[1024] = L"";
        DWORD size = 1024;
        if (AssocQueryStringW(0, ASSOCSTR_COMMAND, Widen(dotExtension).c_str(), nullptr, buffer,
                              &size) != S_OK) {
            return {};
        }
        return Narrow(buffer);
    }
    bool ReadShortcut(const std::string& lnkPath, ShortcutInfo& out) override;
    std::optional<std::string> EnvironmentVariable(const std::string& name) override {
        const std::wstring wide = Widen(name);
        const DWORD needed = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
        if (needed == 0) return std::nullopt;
        std::wstring value(needed, L'\0');
        const DWORD n = GetEnvironmentVariableW(wide.c_str(), value.data(), needed);
        if (n == 0 || n >= needed) return std::nullopt;
        value.resize(n);
        return Narrow(value);
    }
    DateTimeParts LocalNow() override;
    std::string CurrentFolder() override {
        wchar_t buffer[MAX_PATH * 2] = L"";
        GetCurrentDirectoryW(MAX_PATH * 2, buffer);
        return Narrow(buffer);
    }
    // Each change costs a file-system round trip; the folder dance around
    // FindExecutable often lands where it already is.
    bool SetCurrentFolder(const std::string& folder) override {
        if (!folder.empty() && EqualsNoCase(folder, CurrentFolder())) return true;
        return SetCurrentDirectoryW(Widen(folder).c_str()) != FALSE;
    }
    void ShowMessage(const std::string& text) override { MsgBox(text, MB_ICONEXCLAMATION); }

    std::uint32_t ForegroundLockTimeout() override { return ReadForegroundLockTimeout(); }
    std::uint64_t NowMs() override { return TickCount64(); }
    void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
    std::string ShortPathUpper(const std::string& path) override {
        return zorv::ShortPathUpper(path);
    }
    std::string SystemMessage(std::int32_t code) override {
        return SystemText(static_cast<DWORD>(code));
    }

    WindowId ForegroundWindow() override { return AsId(GetForegroundWindow()); }
    void SnapshotTitleWindows(const std::string& title) override {
        zorv::SnapshotTitleWindows(title);
    }
    WindowId FindNewTitleWindow(const std::string& title) override {
        return AsId(zorv::FindNewTitleWindow(title));
    }
    std::string WindowText(WindowId window) override { return WindowTextTimeout(AsHwnd(window)); }
    bool ForceForeground(WindowId window) override { return zorv::ForceForeground(AsHwnd(window)); }
    void BarToFront() override {
        if (BarWindow()) zorv::ForceForeground(BarWindow());
    }
    bool BarIsForeground() override { return BarWindow() && GetForegroundWindow() == BarWindow(); }
    void PressEscape() override {
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    }
    void ClearForegroundHistory() override { zorv::ClearForegroundHistory(); }

    bool ActivateApp(const std::string& title, const std::string& exe) override {
        return zorv::ActivateApp(title, exe);
    }
    void EndActivationCycle() override { zorv::EndActivationCycle(); }
    void SetBarOnTop() override {
        if (!BarWindow()) return;
        SetWindowPos(BarWindow(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void ShowMessageTop(const std::string& text) override { MsgBoxTop(text, MB_ICONEXCLAMATION); }

    std::optional<std::string> ToAnsi(const std::string& text) override;
    StarterOutcome StartProcess(ExecRequest& request) override { return starter_.Start(request); }
    ShellOutcome StartThroughShell(const ShellStartArgs& args) override;

  private:
    Starter starter_;
    std::vector<FoundProgram> found_;
};

bool Win32Launch::ReadShortcut(const std::string& lnkPath, ShortcutInfo& out) {
    // Balanced per call: the bar's thread may or may not have COM already.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring path = Widen(lnkPath);
    const bool ok = LoadShellLink(path, out);
    if (SUCCEEDED(init)) CoUninitialize();
    if (ok) ShowCmdFromLinkFile(path, out.ShowCmd);
    Log(3, "ReadShortcut(%s) = %i: '%s' in '%s', show %i", lnkPath, ok, out.Target, out.WorkDir,
        out.ShowCmd);
    return ok;
}

DateTimeParts Win32Launch::LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    DateTimeParts parts;
    parts.Year = now.wYear, parts.Month = now.wMonth, parts.Day = now.wDay;
    parts.Hour = now.wHour, parts.Minute = now.wMinute, parts.Second = now.wSecond;
    parts.DayName = DatePicture(now, L"dddd");
    parts.DayAbbrev = DatePicture(now, L"ddd");
    parts.MonthName = DatePicture(now, L"MMMM");
    parts.MonthAbbrev = DatePicture(now, L"MMM");
    parts.Am = LocaleText(LOCALE_S1159);
    parts.Pm = LocaleText(LOCALE_S2359);
    return parts;
}

// The text in the ANSI code page, and back: a character the code page lacks
// comes back as something else ("?" or a best-fit look-alike), and then the
// text is not representable. The round trip also holds when the code page
// is UTF-8, where the default-character flags are not allowed.
std::optional<std::string> Win32Launch::ToAnsi(const std::string& text) {
    if (text.empty()) return std::string();
    const std::wstring wide = Widen(text);
    const int wideLen = static_cast<int>(wide.size());
    const int n =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLen, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLen, ansi.data(), n, nullptr, nullptr);
    const int back = MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0);
    std::wstring again(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, again.data(), back);
    if (again != wide || Narrow(again) != text) return std::nullopt;
    return ansi;
}

ShellOutcome Win32Launch::StartThroughShell(const ShellStartArgs& args) {
    const std::wstring verb = Widen(args.Verb), file = Widen(args.File);
    const std::wstring params = Widen(args.Params), dir = Widen(args.WorkDir);
    SetLastError(0);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                      params.empty() ? nullptr : params.c_str(),
                      dir.empty() ? nullptr : dir.c_str(), args.ShowCmd));
    if (result > 32) return {true, 0};
    const DWORD error = GetLastError();
    return {false,
            error != 0 ? static_cast<std::int32_t>(error) : static_cast<std::int32_t>(result)};
}

class Win32Force final : public ForcePlatform {
  public:
    std::uint64_t NowMs() override { return TickCount64(); }
    WindowId VisibleForegroundWindow() override {
        HWND window = GetForegroundWindow();
        return window && IsWindowVisible(window) ? AsId(window) : 0;
    }
    void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
    std::string ExeOfWindowShort(WindowId window) override {
        return zorv::ExeOfWindowShort(AsHwnd(window));
    }
    WindowId WindowByTitle(const std::string& title) override {
        return AsId(FindWindowByTitle(title));
    }
    std::uint32_t WindowStyle(WindowId window) override {
        return static_cast<std::uint32_t>(GetWindowLongW(AsHwnd(window), GWL_STYLE));
    }
    bool IsVisible(WindowId window) override { return IsWindowVisible(AsHwnd(window)) != FALSE; }
    bool IsMinimized(WindowId window) override { return IsIconic(AsHwnd(window)) != FALSE; }
    bool IsMaximized(WindowId window) override { return IsZoomed(AsHwnd(window)) != FALSE; }
    void Show(WindowId window, std::int32_t showCmd) override {
        ShowWindow(AsHwnd(window), showCmd);
    }
};

}  // namespace

LaunchPlatform& Win32LaunchPlatform() {
    static Win32Launch platform;
    return platform;
}

ForcePlatform& Win32ForcePlatform() {
    static Win32Force platform;
    return platform;
}

std::int64_t LastRequestHandedCounter() {
    return g_handed.QuadPart;
}

}  // namespace zorv
