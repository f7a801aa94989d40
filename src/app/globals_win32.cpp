#include <windows.h>
#include <shlobj.h>

#include <ctime>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/globals_win32.h"
#include "app/ini_path.h"
#include "app/log.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

HANDLE OwnProcess = nullptr;

std::string SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return Narrow(path);
}

class Win32FileProbe final : public FileProbe {
  public:
    bool Exists(const std::string& path) override {
        DWORD a = GetFileAttributesW(Widen(path).c_str());
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
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

std::uint32_t QueryElevationType() {
    if (!App.WindowsVersion.VistaOrLater) return 1;
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

void InitPaths() {
    wchar_t buf[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    std::string exe = Narrow(buf);
    std::size_t slash = exe.rfind('\\');
    App.ProgramFolder = exe.substr(0, slash);
    std::string fileName = exe.substr(slash + 1);
    std::size_t dot = fileName.rfind('.');
    App.ExePath = App.ProgramFolder + "\\" + fileName.substr(0, dot) + ".exe";
    App.IconFolder = App.ProgramFolder + "\\Icons";
    GetWindowsDirectoryW(buf, MAX_PATH);
    App.WindowsFolder = Narrow(buf);
}

void InitTwips() {
    HDC screen = GetDC(nullptr);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    App.TwipsPerPixelX = dpiX > 0 ? 1440 / dpiX : 15;
    App.TwipsPerPixelY = dpiY > 0 ? 1440 / dpiY : 15;
}

}  // namespace

bool InitGlobals(const std::wstring& commandLine) {
    OwnProcess = OpenProcess(0x600, FALSE, GetCurrentProcessId());
    InitPaths();
    App.WindowsVersion = QueryWindowsVersion();
    App.ElevationType = QueryElevationType();
    App.StartTime = static_cast<std::int64_t>(std::time(nullptr));
    InitTwips();

    const CommandLineSwitches sw = ParseCommandLine(Narrow(commandLine));
    App.NoConfig = sw.NoConfig;
    App.NoAu = sw.NoAu;
    App.NoStart = sw.NoStart;

    IniPathFacts facts{App.ProgramFolder, App.ExePath.substr(App.ProgramFolder.size() + 1),
                       SpecialFolder(CSIDL_COMMON_APPDATA), SpecialFolder(CSIDL_APPDATA)};
    Win32FileProbe fs;
    IniPathChoice choice = ChooseIniPath(facts, sw.Ini, fs);
    if (choice.Invalid) {
        // The language is not chosen yet, so this one message is German.
        MsgBox(InvalidIniMessage(*sw.Ini, EnglishTexts), MB_OK | MB_ICONERROR);
        return false;
    }
    App.IniPath = choice.IniPath;
    return true;
}

void ReadEarlyLogSettings() {
    const std::wstring ini = Widen(App.IniPath);
    auto read = [&](const wchar_t* key) {
        wchar_t value[260] = L"";
        GetPrivateProfileStringW(L"Settings", key, L"0", value, 260, ini.c_str());
        return Narrow(value);
    };
    LogLevel = EarlyNumber(read(L"LogLevel"));
    WriteLogFile = EarlyFlag(read(L"WriteLogFile"));
    WriteDebugView = EarlyFlag(read(L"WriteDebugView"));
}

void CloseOwnProcess() {
    if (OwnProcess) CloseHandle(OwnProcess);
    OwnProcess = nullptr;
}

}  // namespace zorv
