// zorv_probe.exe: a stand-in program for the end-to-end tests. It records how
// it was started and shows one window, so a test can check what a launcher
// handed to it without any real application.
//
// On start it writes %ZORV_PROBE_DIR%\probe-<pid>.txt (beside the exe when the
// variable is unset), first under a temporary name and then renamed, so a
// reader never sees half a record. Its lines: the pid, the command line
// (UTF-8), the current folder, the show command of STARTUPINFO (-1: none),
// the priority class (hexadecimal), then each argument.
//
// Arguments:
//   --title=<text>      window title (default "Zorv Probe")
//   --at=<x>,<y>,<w>,<h>  where the window stands
//   --popup             a window without caption or frame
//   --busy=<ms>         stay busy this long before the message loop, so that
//                       WaitForInputIdle on the probe runs into its time-out
//   --show-normal       ignore the show command it was given, like programs
//                       that restore their own window placement
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    std::string s(w.size() * 3, '\0');
    s.resize(WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), int(s.size()),
                                 nullptr, nullptr));
    return s;
}

void WriteRecord(const std::vector<std::wstring>& args, int show) {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buf);
    char prio[16];
    std::snprintf(prio, sizeof prio, "%lX", GetPriorityClass(GetCurrentProcess()));
    std::string text = std::to_string(GetCurrentProcessId()) + "\r\n" + Utf8(GetCommandLineW()) +
                       "\r\n" + Utf8(std::wstring(buf, n)) + "\r\n" + std::to_string(show) +
                       "\r\n" + prio + "\r\n";
    for (const std::wstring& a : args) text += Utf8(a) + "\r\n";

    n = GetEnvironmentVariableW(L"ZORV_PROBE_DIR", buf, MAX_PATH * 4);
    std::wstring folder(buf, n);
    if (n == 0 || n >= MAX_PATH * 4) {
        folder.assign(buf, GetModuleFileNameW(nullptr, buf, MAX_PATH * 4));
        folder.resize(folder.find_last_of(L'\\'));
    }
    const std::wstring base = folder + L"\\probe-" + std::to_wstring(GetCurrentProcessId());
    HANDLE h =
        CreateFileW((base + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(h, text.data(), DWORD(text.size()), &put, nullptr);
    CloseHandle(h);
    MoveFileExW((base + L".tmp").c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
    WriteRecord(args, show);

    std::wstring title = L"Zorv Probe";
    int busy = 0, x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = 480, h = 320;
    DWORD style = WS_OVERLAPPEDWINDOW;
    bool showNormal = false;
    for (const std::wstring& a : args) {
        if (a.starts_with(L"--title=")) title = a.substr(8);
        if (a.starts_with(L"--busy=")) busy = _wtoi(a.c_str() + 7);
        if (a.starts_with(L"--at=")) swscanf(a.c_str() + 5, L"%d,%d,%d,%d", &x, &y, &w, &h);
        if (a == L"--popup") style = WS_POPUP;
        showNormal = showNormal || a == L"--show-normal";
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    wc.lpszClassName = L"ZorvProbe";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), style, x, y, w, h, nullptr,
                                nullptr, inst, nullptr);
    // What SW_SHOWDEFAULT means, spelled out: Wine 8 treats SW_SHOWDEFAULT as
    // SW_SHOWNORMAL and ignores the show command the starter put in STARTUPINFO.
    ShowWindow(hwnd, show >= 0 && !showNormal ? show : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    Sleep(busy);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
