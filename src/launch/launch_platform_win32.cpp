#include "launch/launch_platform_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "support/log.h"
#include "launch/command.h"
#include "launch/dll_rules.h"
#include "launch/window_ops_win32.h"
#include "support/ascii.h"
#include "support/text_win32.h"
#include "support/tick_clock.h"
#include "support/window_win32.h"
#include "support/file_win32.h"
#include "support/late_bound_win32.h"
#include "support/shell_link_win32.h"

namespace zorv {

namespace {

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

std::string AskFindExecutable(const std::string& file, const std::string& folder) {
    wchar_t result[MAX_PATH + 1] = L"";
    const std::wstring dir = Widen(folder);
    static const auto find =
        LateBound<decltype(&FindExecutableW)>(L"shell32.dll", "FindExecutableW");
    const auto code = find ? reinterpret_cast<INT_PTR>(find(WithoutQuotes(file).c_str(),
                                                            dir.empty() ? nullptr : dir.c_str(),
                                                            result))
                           : 0;
    if (code <= 32) {
        Log(5, "FindExecutable(%s, %s) failed: %i", file, folder, static_cast<int>(code));
        return {};
    }
    return Narrow(std::wstring_view(result, wcsnlen(result, MAX_PATH + 1)));
}

}  // namespace

bool ZorvDllStarter::Load(HWND reportWindow) {
    if (!module_) {
        const std::wstring path = Widen(folder_) + L"\\Zorv.dll";
        module_ = LoadLibraryW(path.c_str());
        if (!module_) {
            Log(1, "LoadLibrary(%s) failed: %u", Narrow(path), GetLastError());
            return false;
        }
        // An older library has no reports; its late failures stay silent.
        using SetReportWindow = void(__stdcall*)(HWND, UINT);
        if (const auto set = reinterpret_cast<SetReportWindow>(reinterpret_cast<void*>(
                GetProcAddress(module_, "SetStartReportWindow")))) {
            set(reportWindow, kMsgLateStartFailure);
        } else {
            Log(1, "Zorv.dll reports no late failures");
        }
    }
    return true;
}

std::optional<StarterOutcome> ZorvDllStarter::StartUnicode(const std::string& file,
                                                           const std::string& params,
                                                           const std::string& workDir,
                                                           ExecRequest& request,
                                                           HWND reportWindow) {
    if (!Load(reportWindow)) return StarterOutcome{StarterAnswer::LibraryMissing, {}};
    using EntryW = std::int32_t(__stdcall*)(ExecRequestW*);
    const auto entry = reinterpret_cast<EntryW>(
        reinterpret_cast<void*>(GetProcAddress(module_, "ExecuteProcessAsyncW")));
    if (!entry) return std::nullopt;  // an older library: the ANSI form refuses
    const std::wstring f = Widen(file), p = Widen(params), w = Widen(workDir);
    ExecRequestW wide{};
    wide.Size = sizeof wide;
    wide.ShowCmd = request.ShowCmd;
    wide.ReportId = request.ReportId;
    wide.PriorityClass = request.PriorityClass;
    wide.UserType = request.UserType;
    wide.ShellStart = request.ShellStart;
    wide.File = f.c_str();
    wide.Params = p.c_str();
    wide.WorkDir = w.c_str();
    QueryPerformanceCounter(&handed_);
    const std::int32_t result = entry(&wide);
    request.ErrorCode = wide.ErrorCode;
    request.Result = wide.Result;
    Log(2, "ExecuteProcessAsyncW = %i, ErrorCode %i", result, wide.ErrorCode);
    return StarterOutcome{result != 0 ? StarterAnswer::Accepted : StarterAnswer::Refused, {}};
}

StarterOutcome ZorvDllStarter::Start(ExecRequest& request, HWND reportWindow) {
    if (!Load(reportWindow)) return {StarterAnswer::LibraryMissing, {}};
    if (!entry_) {
        entry_ = reinterpret_cast<Entry>(
            reinterpret_cast<void*>(GetProcAddress(module_, "ExecuteProcessAsync")));
        if (!entry_) {
            const DWORD error = GetLastError();
            return {StarterAnswer::CallFailed,
                    ErrorText(static_cast<std::int32_t>(error), SystemText(error))};
        }
    }
    QueryPerformanceCounter(&handed_);
    const std::int32_t result = entry_(&request);
    Log(2, "ExecuteProcessAsync = %i, ErrorCode %i", result, request.ErrorCode);
    return {result != 0 ? StarterAnswer::Accepted : StarterAnswer::Refused, {}};
}

std::int32_t ZorvDllStarter::WaitForShellStarts(std::uint32_t timeoutMs) {
    if (!module_) return 0;
    using Wait = std::int32_t(__stdcall*)(std::uint32_t);
    const auto wait = reinterpret_cast<Wait>(
        reinterpret_cast<void*>(GetProcAddress(module_, "WaitForShellStarts")));
    if (!wait) return 0;
    const std::int32_t left = wait(timeoutMs);
    Log(1, "WaitForShellStarts(%i) = %i", timeoutMs, left);
    return left;
}

// ---- Win32ActivatePlatform --------------------------------------------------

Win32ActivatePlatform::Win32ActivatePlatform(const StartupState& app, ProcessLister& processes)
    : app_(app),
      processes_(processes),
      startTick_(TickCount64()),
      random_(TickCount64() ^ GetCurrentProcessId()) {}

std::vector<WindowEntry> Win32ActivatePlatform::AppWindows(bool includeHidden) {
    return ListAppWindows(includeHidden);
}
std::vector<WindowId> Win32ActivatePlatform::TopLevelWindows() {
    std::vector<WindowId> ids;
    for (HWND w : zorv::TopLevelWindows()) ids.push_back(ToWindowId(w));
    return ids;
}
std::string Win32ActivatePlatform::WindowText(WindowId window) {
    return WindowTextTimeout(ToHwnd(window));
}
std::string Win32ActivatePlatform::ShortPathUpper(const std::string& path) {
    return zorv::ShortPathUpper(path, app_.WindowsVersion.NT);
}
bool Win32ActivatePlatform::FileExists(const std::string& path) {
    return zorv::FileExists(path);
}
bool Win32ActivatePlatform::Is64BitWindows() {
    if (!is64_) {
        is64_ = app_.WindowsFolder.empty() ? app_.WindowsVersion.Is64
                                           : FolderExists(app_.WindowsFolder + "\\SysWOW64");
    }
    return *is64_;
}
std::uint64_t Win32ActivatePlatform::Seconds() {
    return (TickCount64() - startTick_) / 1000;
}
bool Win32ActivatePlatform::WindowExists(WindowId window) {
    return GetWindowLongW(ToHwnd(window), GWL_STYLE) != 0;
}
void Win32ActivatePlatform::ActivateWindow(WindowId window) {
    zorv::ActivateWindow(ToHwnd(window), HasForegroundLock(app_.WindowsVersion));
}

// ---- Win32Launch -------------------------------------------------------------

std::uint32_t Win32Launch::FileAttributes(const std::string& path) {
    if (path.empty()) return kNoAttributes;
    return GetFileAttributesW(Widen(path).c_str());
}
std::uint32_t Win32Launch::DriveType(const std::string& root) {
    return GetDriveTypeW(Widen(root).c_str());
}

// One command asks FindExecutable the same question more than once (the
// split, the shell-start rule), and each answer is a walk through the
// registry: answers are reused for a second. A relative file depends on the
// current folder, so that is part of the question.
std::string Win32Launch::FindProgram(const std::string& file, const std::string& folder) {
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

std::string Win32Launch::AssocCommand(const std::string& dotExtension) {
    wchar_t buffer[1024] = L"";
    DWORD size = 1024;
    static const auto query =
        LateBound<decltype(&AssocQueryStringW)>(L"shlwapi.dll", "AssocQueryStringW");
    if (!query ||
        query(0, ASSOCSTR_COMMAND, Widen(dotExtension).c_str(), nullptr, buffer, &size) != S_OK) {
        return {};
    }
    return Narrow(buffer);
}

std::optional<std::string> Win32Launch::EnvironmentVariable(const std::string& name) {
    const std::wstring wide = Widen(name);
    const DWORD needed = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::wstring value(needed, L'\0');
    const DWORD n = GetEnvironmentVariableW(wide.c_str(), value.data(), needed);
    if (n == 0 || n >= needed) return std::nullopt;
    value.resize(n);
    return Narrow(value);
}

std::string Win32Launch::CurrentFolder() {
    wchar_t buffer[MAX_PATH * 2] = L"";
    GetCurrentDirectoryW(MAX_PATH * 2, buffer);
    return Narrow(buffer);
}

// Each change costs a file-system round trip; the folder dance around
// FindExecutable often lands where it already is.
bool Win32Launch::SetCurrentFolder(const std::string& folder) {
    if (!folder.empty() && EqualsNoCase(folder, CurrentFolder())) return true;
    return SetCurrentDirectoryW(Widen(folder).c_str()) != FALSE;
}

void Win32Launch::ShowMessage(const std::string& text) {
    MsgBox(text, MB_ICONEXCLAMATION);
}
std::uint32_t Win32Launch::ForegroundLockTimeout() {
    return ReadForegroundLockTimeout();
}
std::uint64_t Win32Launch::NowMs() {
    return TickCount64();
}
std::string Win32Launch::ShortPathUpper(const std::string& path) {
    return zorv::ShortPathUpper(path, s_.App.WindowsVersion.NT);
}
std::string Win32Launch::SystemMessage(std::int32_t code) {
    return SystemText(static_cast<DWORD>(code));
}
WindowId Win32Launch::ForegroundWindow() {
    return ToWindowId(GetForegroundWindow());
}

void Win32Launch::SnapshotTitleWindows(const std::string& title) {
    titleSnapshot_ = TitleWindows(TitledTopLevelWindows(), title);
}
WindowId Win32Launch::FindNewTitleWindow(const std::string& title) {
    const std::vector<WindowId>* snapshot = titleSnapshot_ ? &*titleSnapshot_ : nullptr;
    return zorv::FindNewTitleWindow(TitledTopLevelWindows(), snapshot, title);
}
std::string Win32Launch::WindowText(WindowId window) {
    return WindowTextTimeout(ToHwnd(window));
}
bool Win32Launch::ForceForeground(WindowId window) {
    return zorv::ForceForeground(ToHwnd(window));
}
void Win32Launch::BarToFront() {
    if (const HWND bar = ToHwnd(host_.BarWindow())) zorv::ForceForeground(bar);
}
bool Win32Launch::BarIsForeground() {
    const HWND bar = ToHwnd(host_.BarWindow());
    return bar && GetForegroundWindow() == bar;
}
void Win32Launch::PressEscape() {
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}
void Win32Launch::SetBarOnTop() {
    if (const HWND bar = ToHwnd(host_.BarWindow()))
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
}
void Win32Launch::ShowMessageTop(const std::string& text) {
    MsgBoxTop(text, MB_ICONEXCLAMATION);
}

// The bar comes to the front first so the box is not opened behind the
// window the user works in; that window gets the foreground back after.
int Win32Launch::MsgBoxTop(const std::string& text, UINT style) {
    BarToFront();
    const int answer = MsgBox(text, style);
    host_.RestoreFGWin();
    return answer;
}

std::optional<std::string> Win32Launch::ToAnsi(const std::string& text) {
    return Utf8ToCodePage(text);
}

bool Win32Launch::ReadShortcut(const std::string& lnkPath, ShortcutInfo& out) {
    const bool ok = ReadShellLink(lnkPath, out);
    if (ok) ShowCmdFromLinkFile(Widen(lnkPath), out.ShowCmd);
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

ShellOutcome Win32Launch::StartThroughShell(const ShellStartArgs& args) {
    const std::wstring verb = Widen(args.Verb), file = Widen(args.File);
    const std::wstring params = Widen(args.Params), dir = Widen(args.WorkDir);
    SetLastError(0);
    static const auto execute =
        LateBound<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (!execute) return {false, static_cast<std::int32_t>(ERROR_MOD_NOT_FOUND)};
    const auto result = reinterpret_cast<INT_PTR>(
        execute(GetDesktopWindow(), verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                params.empty() ? nullptr : params.c_str(), dir.empty() ? nullptr : dir.c_str(),
                args.ShowCmd));
    if (result > 32) return {true, 0};
    const DWORD error = GetLastError();
    return {false,
            error != 0 ? static_cast<std::int32_t>(error) : static_cast<std::int32_t>(result)};
}

// ---- Win32Force ---------------------------------------------------------------

std::uint64_t Win32Force::NowMs() {
    return TickCount64();
}
WindowId Win32Force::VisibleForegroundWindow() {
    HWND window = GetForegroundWindow();
    return window && IsWindowVisible(window) ? ToWindowId(window) : 0;
}
std::string Win32Force::ExeOfWindowShort(WindowId window) {
    const std::string exe = ExeOfWindow(processes_, ToHwnd(window));
    return exe.empty() ? exe : zorv::ShortPathUpper(exe, app_.WindowsVersion.NT);
}
WindowId Win32Force::WindowByTitle(const std::string& title) {
    return ToWindowId(FindWindowByTitle(title));
}
std::uint32_t Win32Force::WindowStyle(WindowId window) {
    return static_cast<std::uint32_t>(GetWindowLongW(ToHwnd(window), GWL_STYLE));
}
bool Win32Force::IsVisible(WindowId window) {
    return IsWindowVisible(ToHwnd(window)) != FALSE;
}
bool Win32Force::IsMinimized(WindowId window) {
    return IsIconic(ToHwnd(window)) != FALSE;
}
bool Win32Force::IsMaximized(WindowId window) {
    return IsZoomed(ToHwnd(window)) != FALSE;
}
// The program may still be setting up and not answer yet: never wait for it.
void Win32Force::Show(WindowId window, std::int32_t showCmd) {
    ShowWindowAsync(ToHwnd(window), showCmd);
}

}  // namespace zorv
