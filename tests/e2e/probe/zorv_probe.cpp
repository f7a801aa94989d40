// zorv_probe.exe: a stand-in program for the end-to-end tests. It records how
// it was started and shows one window, so a test can check what a launcher
// handed to it without any real application.
//
// On start it writes %ZORV_PROBE_DIR%\probe-<pid>.txt (beside the exe when the
// variable is unset), first under a temporary name and then renamed, so a
// reader never sees half a record:
//   pid=<decimal>            cmdline=<GetCommandLineW, UTF-8>
//   cwd=<current folder>     showcmd=<STARTUPINFO wShowWindow, or -1>
//   priority=0x<class hex>   then one arg=<text> per argument
//
// Arguments:
//   --title=<text>   window title (default "Zorv Probe")
//   --busy=<ms>      stay busy this long before the message loop, so that
//                    WaitForInputIdle on the probe runs into its time-out
//   --show-normal    ignore the show command it was given, like programs
//                    that restore their own window placement
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring Env(const wchar_t* name) {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : std::wstring();
}

void WriteRecord(const std::vector<std::wstring>& args, int show) {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(std::size(buf)), buf);
    char prio[16];
    wsprintfA(prio, "0x%X", GetPriorityClass(GetCurrentProcess()));
    std::string text = "pid=" + std::to_string(GetCurrentProcessId()) +
                       "\r\ncmdline=" + Utf8(GetCommandLineW()) +
                       "\r\ncwd=" + Utf8(std::wstring(buf, n)) +
                       "\r\nshowcmd=" + std::to_string(show) + "\r\npriority=" + prio + "\r\n";
    for (const std::wstring& a : args) text += "arg=" + Utf8(a) + "\r\n";

    std::wstring folder = Env(L"ZORV_PROBE_DIR");
    if (folder.empty()) {
        n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
        folder = std::wstring(buf, n);
        folder.resize(folder.find_last_of(L'\\'));
    }
    const std::wstring base = folder + L"\\probe-" + std::to_wstring(GetCurrentProcessId());
    HANDLE h = CreateFileW((base + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD put = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
    CloseHandle(h);
    MoveFileExW((base + L".tmp").c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
    WriteRecord(args, show);

    std::wstring title = L"Zorv Probe";
    DWORD busy = 0;
    bool showNormal = false;
    for (const std::wstring& a : args) {
        if (a.starts_with(L"--title=")) title = a.substr(8);
        if (a.starts_with(L"--busy=")) busy = static_cast<DWORD>(_wtoi(a.c_str() + 7));
        showNormal = showNormal || a == L"--show-normal";
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZorvProbe";
    RegisterClassW(&wc);
    HWND hwnd =
        CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 480, 320, nullptr, nullptr, inst, nullptr);
    if (!hwnd) return 1;
    // What SW_SHOWDEFAULT means, spelled out: Wine 8 treats SW_SHOWDEFAULT as
    // SW_SHOWNORMAL and ignores the show command the starter put in STARTUPINFO.
    ShowWindow(hwnd, show >= 0 && !showNormal ? show : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    Sleep(busy);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
