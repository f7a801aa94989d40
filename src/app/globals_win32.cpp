#include <windows.h>
#include <shlobj.h>

#include <ctime>

#include "app/command_line.h"
#include "app/globals_win32.h"
#include "app/ini_path.h"
#include "support/log.h"
#include "support/texts.h"
#include "support/text_win32.h"
#include "support/window_win32.h"
#include "support/file_win32.h"
#include "support/late_bound_win32.h"

namespace zorv {

namespace {

// The system sets these variables at logon from the same folders the shell
// reports; reading them keeps shell32 and the libraries it brings out of the
// start. Without them (older systems) the shell is asked.
std::string SpecialFolder(int csidl, const wchar_t* variable) {
    wchar_t path[MAX_PATH * 2] = L"";
    const DWORD n = GetEnvironmentVariableW(variable, path, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2 && FolderExists(Narrow(path))) return Narrow(path);
    static const auto folderPath =
        LateBound<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    path[0] = L'\0';
    if (!folderPath || FAILED(folderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return Narrow(path);
}

class Win32FileProbe final : public FileProbe {
  public:
    bool Exists(const std::string& path) override { return FileExists(path); }
    bool CreateEmpty(const std::string& path) override {
        HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        return true;
    }
};

WindowsVersionInfo QueryWindowsVersion() {
    // GetVersionEx lies to programs without a compatibility manifest; the
    // kernel's own record does not.
    OSVERSIONINFOEXW v{};
    v.dwOSVersionInfoSize = sizeof v;
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    auto rtl = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (!rtl || rtl(&v) != 0) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v));
#pragma GCC diagnostic pop
    }
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return MakeWindowsVersion(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber,
                              wow64 != FALSE, sizeof(void*) == 8);
}

std::uint32_t QueryElevationType(const WindowsVersionInfo& version) {
    if (!version.VistaOrLater) return 1;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 1;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD len = 0;
    if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &len)) {
        type = TokenElevationTypeDefault;
    }
    CloseHandle(token);
    return static_cast<std::uint32_t>(type);
}

}  // namespace

bool InitGlobals(StartupState& app, const std::wstring& commandLine) {
    wchar_t buf[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    const ProgramPaths paths = ProgramPathsFromModule(Narrow(buf));
    app.ProgramFolder = paths.ProgramFolder;
    app.ExePath = paths.ExePath;
    app.IconFolder = paths.IconFolder;
    GetWindowsDirectoryW(buf, MAX_PATH);
    app.WindowsFolder = Narrow(buf);
    app.WindowsVersion = QueryWindowsVersion();
    app.ElevationType = QueryElevationType(app.WindowsVersion);
    app.StartTime = static_cast<std::int64_t>(std::time(nullptr));
    app.TwipsPerPixelX = TwipsPerPixel(ScreenCaps(LOGPIXELSX));
    app.TwipsPerPixelY = TwipsPerPixel(ScreenCaps(LOGPIXELSY));

    const std::string line = Narrow(commandLine);
    const CommandLineSwitches sw = ParseCommandLine(line);
    std::string_view arguments = ArgumentsOf(line);
    while (!arguments.empty() && (arguments.front() == ' ' || arguments.front() == '\t'))
        arguments.remove_prefix(1);
    app.Arguments = std::string(arguments);
    app.NoConfig = sw.NoConfig;
    app.NoAu = sw.NoAu;
    app.NoStart = sw.NoStart;

    IniPathFacts facts{app.ProgramFolder, paths.ExeFileName, SpecialFolder(CSIDL_COMMON_APPDATA, L"ProgramData"),
                       SpecialFolder(CSIDL_APPDATA, L"APPDATA")};
    Win32FileProbe fs;
    IniPathChoice choice = ChooseIniPath(facts, sw.Ini, fs);
    if (choice.Invalid) {
        // The language is not chosen yet, so this one message is German.
        MsgBox(InvalidIniMessage(*sw.Ini, EnglishTexts), MB_OK | MB_ICONERROR);
        return false;
    }
    app.IniPath = choice.IniPath;
    return true;
}

void ReadEarlyLogSettings(const StartupState& app) {
    const std::wstring ini = Widen(app.IniPath);
    auto read = [&](const wchar_t* key) {
        wchar_t value[260] = L"";
        GetPrivateProfileStringW(L"Settings", key, L"0", value, 260, ini.c_str());
        return Narrow(value);
    };
    LogLevel = EarlyNumber(read(L"LogLevel"));
    WriteLogFile = EarlyFlag(read(L"WriteLogFile"));
    WriteDebugView = EarlyFlag(read(L"WriteDebugView"));
}

}  // namespace zorv
