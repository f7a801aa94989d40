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
// Arguments: --title=<text> (default "Zorv Probe"); --at=<x>,<y>,<w>,<h> for
// its place; --popup for no caption and frame; --busy=<ms> to stay busy that
// long before the message loop (so that WaitForInputIdle on it times out);
// --show-normal to ignore the show command, like programs that restore their
// own window placement.
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

    wchar_t buf[MAX_PATH * 4];
    std::wstring folder(buf, GetEnvironmentVariableW(L"ZORV_PROBE_DIR", buf, MAX_PATH * 4));
    if (folder.empty()) {
        folder.assign(buf, GetModuleFileNameW(nullptr, buf, MAX_PATH * 4));
        folder.resize(folder.find_last_of(L'\\'));
    }
    const std::wstring base = folder + L"\\probe-" + std::to_wstring(GetCurrentProcessId());
    if (FILE* f = _wfopen((base + L".tmp").c_str(), L"wb")) {
        const std::wstring cwd(buf, GetCurrentDirectoryW(MAX_PATH * 4, buf));
        std::fprintf(f, "%lu\r\n%s\r\n%s\r\n%d\r\n%lX\r\n", GetCurrentProcessId(),
                     Utf8(GetCommandLineW()).c_str(), Utf8(cwd).c_str(), show,
                     GetPriorityClass(GetCurrentProcess()));
        for (const std::wstring& a : args) std::fprintf(f, "%s\r\n", Utf8(a).c_str());
        std::fclose(f);
        MoveFileExW((base + L".tmp").c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
    }

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
    // A black static control as the window: a sight unlike the bar's, and
    // closing it leaves the probe windowless until the test ends it.
    HWND hwnd = CreateWindowExW(0, L"Static", title.c_str(), style | SS_BLACKRECT, x, y, w, h,
                                nullptr, nullptr, inst, nullptr);
    // What SW_SHOWDEFAULT means, spelled out: Wine 8 treats SW_SHOWDEFAULT as
    // SW_SHOWNORMAL and ignores the show command the starter put in STARTUPINFO.
    ShowWindow(hwnd, show >= 0 && !showNormal ? show : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    Sleep(busy);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
