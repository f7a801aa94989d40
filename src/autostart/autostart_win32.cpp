#include "autostart/autostart_win32.h"

#include <windows.h>
#include <lm.h>
#include <ntsecapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/shell_link_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

constexpr std::int64_t kFileTimeTicksPerSecond = 10000000;
constexpr std::int64_t kFileTimeTo1970Seconds = 11644473600;  // 1601-01-01 to 1970-01-01

std::int64_t UnixSecondsOf(std::int64_t fileTime) {
    return fileTime / kFileTimeTicksPerSecond - kFileTimeTo1970Seconds;
}

std::int64_t NowUnixSeconds() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return UnixSecondsOf(static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime));
}

// The start of this process's logon session, from the security subsystem's
// record of the session the token belongs to (an elevated token shares it);
// 0 when it cannot be read (Wine does not keep one).
std::int64_t LogonSessionStart() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 0;
    TOKEN_STATISTICS stats{};
    DWORD size = 0;
    const BOOL ok = GetTokenInformation(token, TokenStatistics, &stats, sizeof stats, &size);
    CloseHandle(token);
    if (!ok) return 0;
    static const auto getData =
        LateBound<decltype(&LsaGetLogonSessionData)>(L"secur32.dll", "LsaGetLogonSessionData");
    static const auto freeBuffer =
        LateBound<decltype(&LsaFreeReturnBuffer)>(L"secur32.dll", "LsaFreeReturnBuffer");
    PSECURITY_LOGON_SESSION_DATA data = nullptr;
    if (!getData || !freeBuffer || getData(&stats.AuthenticationId, &data) != 0 || !data) return 0;
    const std::int64_t logon = data->LogonTime.QuadPart;
    freeBuffer(data);
    return logon > 0 ? UnixSecondsOf(logon) : 0;
}

// The user account's last logon as the network account database keeps it
// (seconds since 1970); 0 when unknown.
std::int64_t AccountLastLogon() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = L"";
    DWORD computerSize = MAX_COMPUTERNAME_LENGTH + 1;
    wchar_t user[UNLEN + 1] = L"";
    DWORD userSize = UNLEN + 1;
    if (!GetComputerNameW(computer, &computerSize) || !GetUserNameW(user, &userSize)) return 0;
    static const auto getInfo =
        LateBound<decltype(&NetUserGetInfo)>(L"netapi32.dll", "NetUserGetInfo");
    static const auto freeBuffer =
        LateBound<decltype(&NetApiBufferFree)>(L"netapi32.dll", "NetApiBufferFree");
    LPBYTE buffer = nullptr;
    if (!getInfo || !freeBuffer || getInfo(computer, user, 2, &buffer) != 0 || !buffer) return 0;
    const std::int64_t last = reinterpret_cast<USER_INFO_2*>(buffer)->usri2_last_logon;
    freeBuffer(buffer);
    return last;
}

// The thread's own view of the keyboard lags at start and misses keys
// pressed over other windows: ask both.
bool ShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0 || GetAsyncKeyState(VK_SHIFT) < 0;
}

}  // namespace

// The logon session's start where the system keeps it (Windows NT family),
// else the account's last logon; both missing: 0, so that the time limit
// never holds the list back.
double TimeSinceLogon() {
    std::int64_t logon = LogonSessionStart();
    const char* source = "logon session";
    if (logon <= 0) logon = AccountLastLogon(), source = "account's last logon";
    if (logon <= 0) {
        Log(1, "TimeSinceLogon: unknown");
        return 0.0;
    }
    const double days = DaysBetween(logon, NowUnixSeconds());
    Log(1, "TimeSinceLogon: %.4f days (%s)", days, source);
    return days > 0.0 ? days : 0.0;
}

AutostartDecision AutostartShell::DecideAutostart() {
    AutostartFacts facts;
    facts.NoAutostartSwitch = s_.App.NoAu || s_.App.NoStart;
    facts.ShiftHeld = ShiftHeld();
    facts.Win9x = !s_.App.WindowsVersion.NT;
    if (s_.Options.ASTimeLimit > 0) {
        if (facts.Win9x) {
            facts.MsSinceBoot = GetTickCount();
        } else {
            facts.DaysSinceLogon = TimeSinceLogon();
        }
    }
    return starter_.Decide(facts);
}

AutocloseOutcome AutostartShell::RunAutoclose() {
    return zorv::RunAutoclose(s_, ShiftHeld(), *this);
}

void AutostartShell::RestOnWindowsDrive() {
    SetCurrentDirectoryW(Widen(s_.App.WindowsFolder.substr(0, 3)).c_str());
}

void AutostartShell::Beep() {
    MessageBeep(MB_OK);
}

// A quit request taken on the way is handed back to the message loop.
void AutostartShell::ProcessPendingMessages() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void AutostartShell::Pause(std::uint32_t ms) {
    Sleep(ms);
}

// The common Startup folder first (every user's), then the user's own.
bool AutostartShell::IsInStartup() {
    if (s_.App.WindowsVersion.NT && FindLinksTo(s_.App.ExePath, CSIDL_COMMON_STARTUP, false))
        return true;
    return FindLinksTo(s_.App.ExePath, CSIDL_STARTUP, false);
}

// Off removes every shortcut to the program from both Startup folders (the
// common one only where the user may write it). The taskbar needs no word
// of the change on the systems this program runs on.
void AutostartShell::SetZorvToAutoStart(bool on) {
    Log(1, "SetZorvToAutoStart(%i)", on ? 1 : 0);
    if (!on) {
        FindLinksTo(s_.App.ExePath, CSIDL_STARTUP, true);
        FindLinksTo(s_.App.ExePath, CSIDL_COMMON_STARTUP, true);
        return;
    }
    if (IsInStartup()) return;
    const std::string folder = GetSpecialFolder(CSIDL_STARTUP | CSIDL_FLAG_CREATE);
    if (folder.empty()) return;
    CreateShortcut("ZorvPanel", folder + "\\ZorvPanel.lnk", s_.App.ExePath, "", s_.App.Arguments,
                   SW_SHOW);
}

bool CreateShortcut(const std::string& description, const std::string& linkPath,
                    const std::string& target, const std::string& workDir,
                    const std::string& arguments, int showCmd) {
    wchar_t temp[MAX_PATH + 1] = L"";
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return false;
    const std::string tempLink = Narrow(temp) + "zorv.lnk";
    ShortcutInfo link;
    link.Target = target, link.WorkDir = workDir, link.Arguments = arguments;
    link.ShowCmd = showCmd;
    if (!WriteShellLink(tempLink, description, link)) {
        Log(1, "CreateShortcut: '%s' could not be written", tempLink);
        return false;
    }
    static const auto operation =
        LateBound<decltype(&SHFileOperationW)>(L"shell32.dll", "SHFileOperationW");
    // Both lists end with a second NUL.
    const std::wstring from = Widen(tempLink) + L'\0', to = Widen(linkPath) + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_MOVE;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    const int result = operation ? operation(&op) : -1;
    Log(1, "CreateShortcut(%s) -> %i", linkPath, result);
    if (result != 0 || op.fAnyOperationsAborted) DeleteFileW(from.c_str());
    return true;
}

void DeleteShellFile(const std::string& path) {
    static const auto operation =
        LateBound<decltype(&SHFileOperationW)>(L"shell32.dll", "SHFileOperationW");
    const std::wstring from = Widen(path) + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    const int result = operation ? operation(&op) : -1;
    Log(1, "DeleteShellFile(%s) -> %i", path, result);
}

std::string GetSpecialFolder(int csidl) {
    static const auto folderPath =
        LateBound<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH + 1] = L"";
    if (!folderPath || FAILED(folderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    std::string folder = Narrow(path);
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == ' ')) folder.pop_back();
    return folder;
}

bool FindLinksTo(const std::string& target, int csidl, bool remove) {
    const std::string folder = GetSpecialFolder(csidl);
    if (folder.empty()) return false;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(Widen(folder + "\\*.lnk").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    std::vector<std::string> matches;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string link = folder + "\\" + Narrow(entry.cFileName);
        ShortcutInfo info;
        // A shortcut that cannot be read is someone else's: left alone.
        if (ReadShellLink(link, info) && LinkPointsTo(target, info.Target, info.WorkDir))
            matches.push_back(link);
    } while (FindNextFileW(search, &entry));
    // Closed before anything is deleted: no search stays open on the folder.
    FindClose(search);
    Log(2, "FindLinksTo(%s, %i): %i found", target, csidl, static_cast<int>(matches.size()));
    if (remove) {
        for (const std::string& link : matches) DeleteShellFile(link);
    }
    return !matches.empty();
}

}  // namespace zorv
