#include "app/startup_steps_win32.h"

#include <windows.h>
#include <psapi.h>

#include <cstdlib>
#include <ctime>

#include "app/app_state.h"
#include "app/language_win32.h"
#include "app/log.h"
#include "bar/bar_events_win32.h"
#include "bar/bar_motion_win32.h"
#include "bar/bar_window_win32.h"
#include "bar/first_show_win32.h"
#include "items/config_win32.h"
#include "support/callback_timer_win32.h"
#include "support/text_win32.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

namespace {

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Steps whose subsystems are not built yet: each is a named place the
// start-up order already calls.
void LoadBarImages() {}
void BuildMenus() {}
void BuildTooltips() {}
void RegisterHotkeys() {}
void ScheduleAutostart() {}
bool AutostartTimeLimitPassed() {
    return false;
}

W4IdleState g_idle;

IdleSample SampleActivity() {
    IdleSample s;
    EnumWindows(
        [](HWND, LPARAM count) -> BOOL { return ++*reinterpret_cast<std::int64_t*>(count), TRUE; },
        reinterpret_cast<LPARAM>(&s.Windows));
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    const std::wstring root = Widen(App.WindowsFolder.substr(0, 3));
    if (GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &totalClusters)) {
        s.FreeKiB =
            static_cast<std::int64_t>(bytesPerSector) * sectorsPerCluster / 1024 * freeClusters;
    }
    DWORD pids[4096];
    DWORD bytes = 0;
    if (EnumProcesses(pids, sizeof pids, &bytes)) s.Processes = bytes / sizeof(DWORD);
    return s;
}

void CALLBACK W4IdleTickProc(HWND, UINT, UINT_PTR, DWORD) {
    const IdleSample now = SampleActivity();
    const bool show = W4IdleTick(g_idle, now);
    Log(2, "W4IdleTick %i: windows=%i, free=%i KiB, processes=%i", g_idle.Ticks, now.Windows,
        now.FreeKiB, now.Processes);
    if (!show) return;
    CallBackTimer().DeleteTimer(W4IdleTickProc);
    if (HWND bar = BarWindow()) FirstShow(bar);
}

}  // namespace

void LoadConfig() {
    if (FileExists(App.IniPath)) {
        ReadIni(App.IniPath);
    } else if (const std::string old = App.ProgramFolder + "\\zorv.ini"; FileExists(old)) {
        ReadIni(old);
        SaveZorvINI_in1s();
    } else {
        ImportOldSettings();
        SaveZorvINI_in1s();
    }
    if (Options.ProcessPrio == 2) SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}

void BarFirstLoad(HWND bar) {
    Log(1, "frmButtons_Load");
    if (App.WindowsVersion.Code >= 1280) {
        const LONG_PTR ex = GetWindowLongPtrW(bar, GWL_EXSTYLE);
        SetWindowLongPtrW(bar, GWL_EXSTYLE, ex | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    }
    std::srand(GetTickCount());
    Log(2, "Seconds since start %i, screen height %i",
        static_cast<std::int64_t>(std::time(nullptr)) - App.StartTime,
        GetSystemMetrics(SM_CYSCREEN));
    Lists = CreateItemLists();
    Options = DefaultSettings(!App.WindowsVersion.NT);
    // Before the configuration is read: taking over an older file asks for
    // a save, which the bar's position timer carries out.
    InitBarMotion(bar);
    LoadBarImages();
    LoadConfig();
    ApplyLanguage();
    BuildMenus();
    BuildTooltips();
    RegisterHotkeys();
    InstallShellHook(bar);
    SetWindowPos(bar, nullptr, 0, -23, GetSystemMetrics(SM_CXSCREEN), 22,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (Options.W4Idle && !App.NoAu && !AutostartTimeLimitPassed()) {
        Log(1, "Waiting for an idle system");
        CallBackTimer().CreateTimer(1000, W4IdleTickProc);
    } else {
        FirstShow(bar);
    }
    ScheduleAutostart();
}

void StopBarTimers() {
    CallBackTimer().DeleteTimer(W4IdleTickProc);
    if (HWND bar = BarWindow()) StopMotionTimers(bar);
}
void SavePendingConfig() {
    SaveIfChanged();
}
void RunAutocloseList() {
    if (Options.ACSkip && ClosedFromMenu) return;
}
void EndForegroundTracking() {
    if (HWND bar = BarWindow()) RemoveShellHook(bar);
}

}  // namespace zorv
