// zorv_probe.exe: a stand-in program for the end-to-end tests. It records how
// it was started and shows one window, so a test can check what a launcher
// handed to it without any real application.
//
// On start it writes %ZORV_PROBE_DIR%\probe-<pid>.txt (beside the exe when the
// variable is unset), first under a temporary name and then renamed, so a
// reader never sees half a record:
//   pid=<decimal>            cmdline=<GetCommandLineW, UTF-8>
//   cwd=<current folder>     showcmd=<STARTUPINFO wShowWindow, or -1>
//   priority=0x<class hex>   args=<count>, then one arg=<text> per argument
//
// Arguments:
//   --title=<text>      window title (default "Zorv Probe")
//   --exit-after=<ms>   close itself after that time
//   --fullscreen        a borderless popup exactly covering the primary screen
//   --busy=<ms>         stay busy this long before the message loop, so that
//                       WaitForInputIdle on the probe runs into its time-out
//   --show-normal       ignore the show command it was given, like programs
//                       that restore their own window placement
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kClass[] = L"ZorvProbe";
constexpr UINT_PTR kExitTimer = 1;

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::vector<std::wstring> Arguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < argc; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

std::wstring OutputFolder() {
    wchar_t buf[MAX_PATH * 4];
    DWORD n = GetEnvironmentVariableW(L"ZORV_PROBE_DIR", buf, static_cast<DWORD>(std::size(buf)));
    if (n > 0 && n < std::size(buf)) return std::wstring(buf, n);
    n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    std::wstring exe(buf, n);
    return exe.substr(0, exe.find_last_of(L'\\'));
}

// The starter's show command, or -1 when it gave none.
int StartupShowCommand() {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    GetStartupInfoW(&si);
    return (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
}

std::string Record(const std::vector<std::wstring>& args) {
    const int show = StartupShowCommand();
    wchar_t cwd[MAX_PATH * 4];
    DWORD cwdLen = GetCurrentDirectoryW(static_cast<DWORD>(std::size(cwd)), cwd);
    char prio[16];
    wsprintfA(prio, "0x%X", GetPriorityClass(GetCurrentProcess()));

    std::string text = "pid=" + std::to_string(GetCurrentProcessId()) + "\r\n";
    text += "cmdline=" + Utf8(GetCommandLineW()) + "\r\n";
    text += "cwd=" + Utf8(std::wstring(cwd, cwdLen)) + "\r\n";
    text += "showcmd=" + std::to_string(show) + "\r\n";
    text += std::string("priority=") + prio + "\r\n";
    text += "args=" + std::to_string(args.size()) + "\r\n";
    for (const std::wstring& a : args) text += "arg=" + Utf8(a) + "\r\n";
    return text;
}

void WriteRecord(const std::string& text) {
    const std::wstring base = OutputFolder() + L"\\probe-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring temp = base + L".tmp";
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD put = 0;
    const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) &&
                    put == text.size();
    CloseHandle(h);
    if (!ok || !MoveFileExW(temp.c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temp.c_str());
    }
}

// The value of "--name=value" among the arguments, or `fallback`.
std::wstring Option(const std::vector<std::wstring>& args, const std::wstring& name,
                    const std::wstring& fallback) {
    const std::wstring prefix = L"--" + name + L"=";
    for (const std::wstring& a : args) {
        if (a.compare(0, prefix.size(), prefix) == 0) return a.substr(prefix.size());
    }
    return fallback;
}

bool HasFlag(const std::vector<std::wstring>& args, const wchar_t* flag) {
    for (const std::wstring& a : args) {
        if (a == flag) return true;
    }
    return false;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kExitTimer) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

HWND CreateProbeWindow(HINSTANCE inst, const std::wstring& title, bool fullscreen) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    if (fullscreen) {
        return CreateWindowExW(0, kClass, title.c_str(), WS_POPUP, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               nullptr, nullptr, inst, nullptr);
    }
    return CreateWindowExW(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 480, 320, nullptr, nullptr, inst, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    const std::vector<std::wstring> args = Arguments();
    WriteRecord(Record(args));

    HWND hwnd = CreateProbeWindow(inst, Option(args, L"title", L"Zorv Probe"),
                                  HasFlag(args, L"--fullscreen"));
    if (!hwnd) return 1;
    // What SW_SHOWDEFAULT means, spelled out: Wine 8 treats SW_SHOWDEFAULT as
    // SW_SHOWNORMAL and ignores the show command the starter put in STARTUPINFO.
    const int show = HasFlag(args, L"--show-normal") ? -1 : StartupShowCommand();
    ShowWindow(hwnd, show >= 0 ? show : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    const UINT exitAfter = static_cast<UINT>(_wtoi(Option(args, L"exit-after", L"0").c_str()));
    if (exitAfter > 0) SetTimer(hwnd, kExitTimer, exitAfter, nullptr);
    const DWORD busy = static_cast<DWORD>(_wtoi(Option(args, L"busy", L"0").c_str()));
    if (busy > 0) Sleep(busy);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
