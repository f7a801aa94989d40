// Process entry: paths, configuration file, log, the running instance, and
// the bar window. The program then lives in the bar's message loop.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include "app/app_state.h"
#include "app/globals_win32.h"
#include "app/log.h"
#include "app/log_win32.h"
#include "bar/bar_window_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

// The process's current directory keeps its folder open (it cannot be
// removed, a stick cannot be ejected). Point every local drive at its root.
void ReleaseCurrentDirectories() {
    wchar_t cwd[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
        const UINT type = GetDriveTypeW(root);
        if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED) continue;
        if (towupper(cwd[0]) == root[0] && cwd[1] == L':') {
            SetCurrentDirectoryW(root);
        } else {
            // The hidden "=X:" variable holds that drive's current directory.
            const wchar_t var[] = {L'=', root[0], L':', 0};
            SetEnvironmentVariableW(var, root);
        }
    }
}

void StartLog() {
    ReadEarlyLogSettings();
    const std::wstring logFile = Widen(App.ProgramFolder + "\\zorv.log");
    if (WriteLogFile) DeleteFileW(logFile.c_str());
    StartWin32Log(logFile);
    for (int i = 0; i < 4; ++i) Log(1, kStartBanner, LogLevel);
}

bool CommonControls6OrLater() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    auto getVersion = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(
                                   reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                             : nullptr;
    DLLVERSIONINFO dvi{sizeof dvi, 0, 0, 0, 0};
    return getVersion && SUCCEEDED(getVersion(&dvi)) && dvi.dwMajorVersion >= 6;
}

// A small minimum working set makes the bar slow after it was paged out.
void EnsureWorkingSet() {
    if (!App.WindowsVersion.NT) return;
    SIZE_T minimum = 0, maximum = 0;
    if (GetProcessWorkingSetSize(GetCurrentProcess(), &minimum, &maximum) &&
        minimum < kWorkingSetFloor) {
        SetProcessWorkingSetSize(GetCurrentProcess(), kWorkingSetMinimum, kWorkingSetMaximum);
    }
}

// A bar that is already running closes itself; the close counts like the
// exit command of its menu (so its autoclose list may be skipped).
void CloseRunningInstance() {
    HWND old = FindWindowW(nullptr, kBarTitle);
    if (!old) return;
    wchar_t cls[64] = L"";
    GetClassNameW(old, cls, 64);
    if (lstrcmpW(cls, kBarClass) != 0) return;
    Log(1, "Closing the running instance %X", reinterpret_cast<const void*>(old));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(old, WM_CLOSE, kCloseFromNewInstance, 0, SMTO_ABORTIFHUNG, 10000, &result);
    Sleep(500);
}

int Main(HINSTANCE instance) {
    wchar_t cwd[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, cwd);
    App.StartFolder = Narrow(cwd);
    ReleaseCurrentDirectories();
    if (!InitGlobals(GetCommandLineW())) return 1;
    StartLog();
    App.ComCtl6 = CommonControls6OrLater();
    EnsureWorkingSet();
    CloseRunningInstance();
    if (!CreateBarWindow(instance)) {
        Log(1, "Main: the bar window could not be created");
        return 7;  // out of memory
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CloseOwnProcess();
    return static_cast<int>(msg.wParam);
}

}  // namespace

}  // namespace zorv

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return zorv::Main(instance);
    } catch (const std::exception& e) {
        // Nothing below is supposed to throw; if it does, say so and leave
        // cleanly rather than vanish.
        zorv::MsgBox(std::string("Error: ") + e.what() + "\r\n", MB_OK | MB_ICONEXCLAMATION);
        zorv::UnloadAllWindows();
        return 1;
    }
}
