// zorv_probe.exe, a stand-in program for the end-to-end tests, shows a window and writes how
// it was started to %ZORV_PROBE_DIR%\probe-<pid>.txt (renamed from .tmp once complete): lines
// with the pid, command line, current folder, show command (-1: none), priority class (hex),
// whether its token acts as an administrator's (1/0), then each argument (UTF-8). Arguments: --title=<text>, --at=<x>,<y>,<w>,<h>, --popup (no
// frame), --busy=<ms> before the message loop (WaitForInputIdle times out), --show-normal
// (ignore the show command, as some programs do). A copy whose name holds "hang" minimizes and
// then stops answering (it takes no arguments, so a launcher can find it by its path alone).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;

    wchar_t folder[MAX_PATH * 4], cwd[MAX_PATH * 4];
    GetEnvironmentVariableW(L"ZORV_PROBE_DIR", folder, MAX_PATH * 4);
    GetCurrentDirectoryW(MAX_PATH * 4, cwd);
    const std::wstring base = folder + (L"\\probe-" + std::to_wstring(GetCurrentProcessId()));
    // The Administrators group counts only where the token may use it (not deny-only).
    BOOL admin = FALSE;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                 0, 0, 0, 0, &admins)) {
        HANDLE token = nullptr, impersonation = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &token) &&
            DuplicateToken(token, SecurityIdentification, &impersonation)) {
            CheckTokenMembership(impersonation, admins, &admin);
        }
        if (impersonation) CloseHandle(impersonation);
        if (token) CloseHandle(token);
        FreeSid(admins);
    }
    if (FILE* f = _wfopen((base + L".tmp").c_str(), L"wb")) {
        std::fprintf(f, "%lu\r\n%s\r\n%s\r\n%d\r\n%lX\r\n%d\r\n", GetCurrentProcessId(),
                     Utf8(GetCommandLineW()).c_str(), Utf8(cwd).c_str(), show,
                     GetPriorityClass(GetCurrentProcess()), admin ? 1 : 0);
        for (const std::wstring& a : args) std::fprintf(f, "%s\r\n", Utf8(a).c_str());
        std::fclose(f);
        MoveFileExW((base + L".tmp").c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
    }

    std::wstring title = L"Zorv Probe";
    int busy = 0, x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = 480, h = 320;
    DWORD style = WS_OVERLAPPEDWINDOW;
    bool showNormal = false;
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const bool hang = wcsstr(self, L"hang") != nullptr;
    for (const std::wstring& a : args) {
        if (a.starts_with(L"--title=")) title = a.substr(8);
        if (a.starts_with(L"--busy=")) busy = _wtoi(a.c_str() + 7);
        if (a.starts_with(L"--at=")) swscanf(a.c_str() + 5, L"%d,%d,%d,%d", &x, &y, &w, &h);
        if (a == L"--popup") style = WS_POPUP;
        showNormal = showNormal || a == L"--show-normal";
    }
    // A black static control: unlike the bar; closing it leaves no window.
    HWND hwnd = CreateWindowExW(0, L"Static", title.c_str(), style | SS_BLACKRECT, x, y, w, h,
                                nullptr, nullptr, inst, nullptr);
    // Wine 8 ignores STARTUPINFO's show command for SW_SHOWDEFAULT.
    ShowWindow(hwnd, show >= 0 && !showNormal ? show : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    Sleep(busy);
    MSG msg;
    if (hang) {
        ShowWindow(hwnd, SW_MINIMIZE);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(INFINITE);
    }
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
