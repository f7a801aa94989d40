#include "app/application_win32.h"

#include <psapi.h>

#include <cstdlib>
#include <ctime>
#include <utility>

#include "app/globals_win32.h"
#include "app/language_win32.h"
#include "app/script_command_win32.h"
#include "menus/menu_actions.h"
#include "support/handle_count.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"
#include "support/window_win32.h"
#include "support/file_win32.h"

namespace zorv {

namespace {

// The one way back to the application from a callback that Win32 gives no
// context: the window-less timers.
Application* g_application = nullptr;

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

// A small minimum working set makes the bar slow after it was paged out.
void EnsureWorkingSet(const WindowsVersionInfo& version) {
    if (!version.NT) return;
    SIZE_T minimum = 0, maximum = 0;
    if (GetProcessWorkingSetSize(GetCurrentProcess(), &minimum, &maximum) &&
        minimum < kWorkingSetFloor) {
        SetProcessWorkingSetSize(GetCurrentProcess(), kWorkingSetMinimum, kWorkingSetMaximum);
    }
}

// A bar that is already running closes itself; the close counts like the
// exit command of its menu (so its autoclose list may be skipped).
void CloseRunningInstance() {
    HWND old = FindRunningBar();
    if (!old) return;
    Log(1, "Closing the running instance %X", reinterpret_cast<const void*>(old));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(old, WM_CLOSE, kCloseFromNewInstance, 0, SMTO_ABORTIFHUNG, 10000, &result);
    Sleep(500);
}

IdleSample SampleActivity(const std::string& windowsFolder) {
    IdleSample s;
    EnumWindows(
        [](HWND, LPARAM count) -> BOOL { return ++*reinterpret_cast<std::int64_t*>(count), TRUE; },
        reinterpret_cast<LPARAM>(&s.Windows));
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    const std::wstring root = Widen(windowsFolder.substr(0, 3));
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

}  // namespace

Application::Application() : config_(s_, *this), bar_(s_, *this), menus_(s_, *this),
      input_(s_, static_cast<InputHost&>(*this)),
      autostart_(s_, static_cast<AutostartHost&>(*this)),
      dialogs_(s_, static_cast<DialogHost&>(*this)) {
    g_application = this;
}

Application::~Application() {
    SetLogPlatform(nullptr);
    if (ownProcess_) CloseHandle(ownProcess_);
    g_application = nullptr;
}

// A posted message of the bar to itself: a script's command to carry out.
constexpr UINT kMsgScript = WM_APP + 2;

int Application::Run(HINSTANCE instance) {
    // A script's command goes to the bar that runs; this start ends there.
    if (const ScriptCommand script = ParseScriptCommand(Narrow(GetCommandLineW()));
        script.Verb != ScriptVerb::None) {
        return SendScriptCommand(script);
    }
    wchar_t cwd[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, cwd);
    s_.App.StartFolder = Narrow(cwd);
    ReleaseCurrentDirectories();
    ownProcess_ = OpenProcess(0x600, FALSE, GetCurrentProcessId());
    if (!InitGlobals(s_.App, GetCommandLineW())) return 1;
    StartLog();
    EnsureWorkingSet(s_.App.WindowsVersion);
    CloseRunningInstance();
    watch_.emplace(s_, static_cast<WatchHost&>(*this));
    launch_.emplace(s_, static_cast<LaunchHost&>(*this));
    if (!bar_.Create(instance, *this)) {
        Log(1, "Main: the bar window could not be created");
        return 7;  // out of memory
    }
    BarFirstLoad();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The bar freed its images with its window: any count left is a leak.
    Log(1, "Own handles at closing: %s", LiveHandleText());
    return static_cast<int>(msg.wParam);
}

void Application::UnloadAllWindows() {
    if (bar_.Window()) DestroyWindow(bar_.Window());
}

void Application::StartLog() {
    ReadEarlyLogSettings(s_.App);
    const std::wstring logFile = Widen(s_.App.ProgramFolder + "\\zorv.log");
    if (WriteLogFile) DeleteFileW(logFile.c_str());
    log_ = std::make_unique<Win32LogPlatform>(logFile);
    SetLogPlatform(log_.get());
    for (int i = 0; i < 4; ++i) Log(1, kStartBanner, LogLevel);
}

// The bar window's first load: lists, configuration, language, foreground
// tracking, then the first show at once or once the system is idle; the
// menus follow 100 ms after it, the tooltip with the first hover. The
// hotkeys are registered once the configuration is read; the autostart list
// is scheduled last. A logon too long ago skips the wait for idle as well.
void Application::BarFirstLoad() {
    Log(1, "frmButtons_Load");
    std::srand(GetTickCount());
    Log(2, "Seconds since start %i, screen height %i",
        static_cast<std::int64_t>(std::time(nullptr)) - s_.App.StartTime,
        GetSystemMetrics(SM_CYSCREEN));
    s_.Lists = CreateItemLists();
    s_.Options = DefaultSettings(!s_.App.WindowsVersion.NT);
    // Before the configuration is read: taking over an older file asks for
    // a save, which the bar's position timer carries out.
    bar_.InitMotion();
    LoadConfig();
    ApplyLanguage(s_);
    const HWND bar = bar_.Window();
    watch_->Install(bar);
    input_.RegisterAllHotkeys();
    // The menus are not needed for the first show: they are built just after it.
    timers_.CreateTimer(kMenusAfterShowMs, BuildMenusProc);
    const AutostartDecision autostart = autostart_.DecideAutostart();
    if (s_.Options.W4Idle && !s_.App.NoAu && !autostart.TooLate) {
        Log(1, "Waiting for an idle system");
        timers_.CreateTimer(1000, W4IdleTickProc);
    } else {
        bar_.FirstShow();
    }
    // The Startup folder needs the shell and COM: not before the first show.
    if (s_.Options.StartWithWindows >= 0) timers_.CreateTimer(1000, StartupFolderProc);
}

void CALLBACK Application::AutostartProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_application) g_application->autostart_.AutostartNext();
}

// "StartWithWindows=" in the file: the shortcut in the Startup folder
// follows it at every start.
void CALLBACK Application::StartupFolderProc(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_application) return;
    g_application->timers_.DeleteTimer(StartupFolderProc);
    g_application->autostart_.SetZorvToAutoStart(g_application->s_.Options.StartWithWindows == 1);
}

void Application::LoadConfig() {
    const std::string oldIni = s_.App.ProgramFolder + "\\zorv.ini";
    const ConfigSource source = ChooseConfigSource(FileExists(s_.App.IniPath), FileExists(oldIni));
    bool read = true;
    switch (source) {
        case ConfigSource::IniFile:
            read = config_.ReadIni(s_.App.IniPath);
            break;
        case ConfigSource::OldIniFile:
            read = config_.ReadIni(oldIni);
            break;
        case ConfigSource::OldStore:
            config_.ImportOldSettings();
            break;
    }
    if (read && SaveAfterLoading(source)) config_.SaveZorvINI_in1s();
    if (s_.Options.ProcessPrio == 2) SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}

void CALLBACK Application::BuildMenusProc(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_application) return;
    g_application->timers_.DeleteTimer(BuildMenusProc);
    g_application->menus_.EnsureBuilt();
}

void CALLBACK Application::W4IdleTickProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_application) g_application->W4IdleTick();
}

void Application::W4IdleTick() {
    const IdleSample now = SampleActivity(s_.App.WindowsFolder);
    const bool show = zorv::W4IdleTick(idle_, now);
    Log(2, "W4IdleTick %i: windows=%i, free=%i KiB, processes=%i", idle_.Ticks, now.Windows,
        now.FreeKiB, now.Processes);
    if (!show) return;
    timers_.DeleteTimer(W4IdleTickProc);
    if (bar_.Window()) bar_.FirstShow();
}

// Form_QueryUnload: the autostart abandoned, timers off, the pending save,
// the autoclose list, then unload. Runs once: a second close that arrives
// while the autoclose list lets messages through finds it done.
void Application::OnClose(WPARAM wParam, bool sessionEnding) {
    if (closeRan_) return;
    closeRan_ = true;
    if (wParam == kCloseFromNewInstance) s_.ClosedFromMenu = true;
    Log(1, "frmButtons_QueryUnload(wParam=%X, ClosedFromMenu=%i)",
        static_cast<std::uint64_t>(wParam), s_.ClosedFromMenu ? 1 : 0);
    if (sessionEnding) Log(1, "frmButtons_QueryUnload: Windows ends the session");
    s_.IsClosing = true;
    autostart_.Abandon();
    for (TIMERPROC proc : {BuildMenusProc, W4IdleTickProc, AutostartProc, StartupFolderProc})
        timers_.DeleteTimer(proc);
    bar_.StopTimers();
    if (ownProcess_) CloseHandle(std::exchange(ownProcess_, nullptr));
    config_.SaveIfChanged(!sessionEnding);
    input_.UnregisterAll();
    autostart_.RunAutoclose();
    // Documents and addresses go through the shell in Zorv.dll's workers,
    // which end with the process.
    if (launch_) launch_->WaitForShellStarts(kShellHandOverMs);
    DestroyWindow(bar_.Window());
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

void Application::OnDestroy(HWND bar) {
    Log(1, "frmButtons_Unload");
    watch_->Remove(bar);
    timers_.DeleteTimer(ExitTimerProc);
    menus_.Release();
    bar_.OnDestroyed();
    PostQuitMessage(0);
}

LRESULT Application::OnBarMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (watch_) watch_->OnMessage(bar, msg, wParam, lParam);
    switch (msg) {
        case WM_CLOSE:
            OnClose(wParam, false);
            return 0;
        case WM_ENDSESSION:
            // Logoff or shutdown: the process may end once this returns.
            if (wParam) OnClose(0, true);
            return 0;
        case WM_DESTROY:
            OnDestroy(bar);
            return 0;
        case WM_HOTKEY:
            input_.OnHotkey(wParam, lParam);
            return 0;
        case WM_COPYDATA: {
            ScriptCommand command;
            if (ReadScriptCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), command))
                return static_cast<LRESULT>(OnScriptCommand(command));
            break;
        }
        case kMsgScript:
            CarryScriptCommand(wParam, lParam);
            return 0;
        case kMsgLateStartFailure:
            if (launch_) launch_->OnLateStartFailure(wParam, lParam);
            return 0;
        default:
            break;
    }
    LRESULT result = 0;
    if (bar_.OnMessage(msg, wParam, lParam, result)) return result;
    return DefWindowProcW(bar, msg, wParam, lParam);
}

ScriptAnswer Application::OnScriptCommand(const ScriptCommand& command) {
    Log(1, "Script command %i '%s'", static_cast<int>(command.Verb), command.Description);
    if (s_.IsClosing || dialogsOpen_ > 0 || menus_.MenuOpen()) return ScriptAnswer::Busy;
    LPARAM item = 0;
    if (command.Verb == ScriptVerb::Run) {
        const ItemMatch match = FindItemByDescription(s_.Lists, command.Description);
        if (match.Result == ItemMatch::NotFound) return ScriptAnswer::UnknownDescription;
        if (match.Result == ItemMatch::Ambiguous) return ScriptAnswer::AmbiguousDescription;
        item = MAKELPARAM(match.Index, match.List);
    }
    PostMessageW(bar_.Window(), kMsgScript, static_cast<WPARAM>(command.Verb), item);
    return ScriptAnswer::Done;
}

void Application::CarryScriptCommand(WPARAM verb, LPARAM item) {
    if (s_.IsClosing || dialogsOpen_ > 0) return;
    switch (static_cast<ScriptVerb>(verb)) {
        case ScriptVerb::Run:
            ExecuteItem(HIWORD(item), LOWORD(item), false);
            break;
        case ScriptVerb::Menu:
            menus_.OpenMainMenuAtCursor();
            break;
        case ScriptVerb::Reload:
            ReloadConfig();
            break;
        case ScriptVerb::None:
            break;
    }
}

void Application::ReloadConfig() {
    if (config_.ReloadIni(s_.App.IniPath)) RebuildAfterImport();
}

// ---- What the bar asks ------------------------------------------------------

void Application::TopNow() {
    Watcher().TopNow();
}
void Application::RecordForegroundWindow() {
    Watcher().RecordForegroundWindow();
}
void Application::AddToForegroundHistory(WindowId window) {
    Watcher().State().History.Add(window);
}
void Application::HandForegroundBack(const char* tag) {
    if (const WindowId last = Watcher().NewestHistoryWindow()) BringToFront(last, tag);
}
bool Application::IsMenuOrToolbarShown() {
    return dialogsOpen_ > 0 || menus_.MenuOpen() || Watcher().IsMenuOrToolbarShown();
}
bool Application::OwnMenuOpen() {
    return menus_.MenuTracking();
}
bool Application::IsDX(WindowId window) {
    return Watcher().IsDX(window);
}
bool Application::IsSpecialWindow(WindowId window) {
    return Watcher().IsSpecialWindow(window);
}
void Application::CheckForVideoOrFullscreen() {
    Watcher().CheckForVideoOrFullscreen();
}
bool Application::ExecuteButton(std::int32_t index, bool startAnyway) {
    return launch_->ExecuteItem(0, index, startAnyway) == ExecResult::Started;
}
void Application::EndActivationCycle() {
    launch_->EndActivationCycle();
}
std::int64_t Application::LastRequestHandedCounter() {
    return launch_->LastRequestHandedCounter();
}
void Application::BuildButtonMenus(const std::vector<ButtonMenuPlan>& plans) {
    menus_.SetButtonMenus(plans, bar_.BarImage(), bar_.Metrics());
}
void Application::RebuildMenus() {
    menus_.Rebuild(false);
}
void Application::OpenMainMenu(bool rightButton) {
    menus_.OpenMainMenu(rightButton);
}
std::int32_t Application::ShowButtonMenu(std::int32_t button, ScreenPoint cell,
                                        bool rightButton) {
    return menus_.ShowButtonMenu(button, cell, rightButton);
}
void Application::CarryButtonMenuChoice(std::int32_t button, std::int32_t chosen, bool ctrl,
                                        bool rightButton) {
    menus_.CarryButtonChoice(button, chosen, ctrl, rightButton);
}
std::int32_t Application::ShowButtonContextMenu() {
    return menus_.ShowButtonContextMenu();
}
// ExecPopupBut: Add and Edit open the item dialog, which comes with the
// editors; Remove takes the button (and its menu block) off the bar.
void Application::ExecPopupBut(std::int32_t id, std::int32_t button) {
    Log(1, "MenuClick, frmButtons.hWnd");
    HandForegroundBack("ExecPopupBut");
    switch (ButtonContextChoice(id)) {
        case ButtonContextAction::AddButton:
            if (!ConfigLocked()) dialogs_.AddButton(button);
            break;
        case ButtonContextAction::EditButton:
            EditItem(button);
            break;
        case ButtonContextAction::RemoveButton:
            if (ConfigLocked()) break;
            Log(1, "Button_Remove %i", button);
            s_.Lists[kListButtons].RemoveItem(button, true);
            ButtonsChanged();
            break;
        case ButtonContextAction::None:
            break;
    }
}
void Application::ButtonsChanged() {
    bar_.ButtonsChanged();
    menus_.Rebuild(false);
    input_.RegisterAllHotkeys();  // the buttons after the removed one have new ids
    config_.SaveZorvINI_in1s();
}
void Application::SaveZorvINI_in1s() {
    config_.SaveZorvINI_in1s();
}
bool Application::ConfigChanged() {
    return config_.SaveDue();
}
void Application::SaveConfiguration() {
    config_.SaveIniNow();
}

// ---- What the foreground tracking asks --------------------------------------

WindowId Application::BarWindow() {
    return ToWindowId(bar_.Window());
}
void Application::ReduceNow() {
    bar_.ReduceNow();
}
void Application::SetAlphaValue(std::int32_t alpha) {
    bar_.SetAlphaValue(alpha);
}
void Application::SetBarPos() {
    bar_.SetBarPos();
}
void Application::ApplyLineColour() {
    bar_.ApplyLineColour();
}
void Application::SimMouseMoveOutSide() {
    bar_.SimMouseMoveOutSide();
}
bool Application::BarShowsAtCorners() {
    return bar_.BarShowsAtCorners();
}
void Application::StartEnsureVisibleTimer() {
    bar_.StartEnsureVisibleTimer();
}
bool Application::IsClosing() {
    return s_.IsClosing;
}
void Application::BringToFront(WindowId window, const char* tag) {
    launch_->BringToFront(ToHwnd(window), tag);
}
void Application::CheckForcedWindowState() {
    launch_->CheckForcedWindowState();
}

// ---- What the launcher asks --------------------------------------------------

void Application::ClearForegroundHistory() {
    Watcher().State().History.Clear();
}
void Application::RestoreFGWin() {
    Watcher().RestoreFGWin();
}

// ---- What the configuration file asks ----------------------------------------

Settings Application::SettingsForSaving(const Settings& live) {
    return watch_ ? watch_->SettingsForSaving(live) : live;
}
void Application::AfterSave(const std::string& path) {
    bar_.RefreshBarPictureCache(path);
    menus_.AfterSave(path);
}
void Application::SaveSoon() {
    bar_.SaveSoon();
}
// Everything the imported file holds: the bar's buttons and look, then
// the menus and the global hotkeys.
void Application::RebuildAfterImport() {
    Log(2, "RebuildAfterImport");
    ApplyLanguage(s_);
    bar_.ButtonsChanged();
    menus_.Rebuild(false);
    input_.RegisterAllHotkeys();
}

// ---- What the menus ask -------------------------------------------------------

std::int32_t Application::BarHeight() {
    return bar_.Height();
}
void Application::MenuShowing(bool showing) {
    if (watch_) watch_->SetBusy(showing);
}
bool Application::ExecuteItem(std::int32_t list, std::int32_t index, bool startAnyway) {
    return launch_->ExecuteItem(list, index, startAnyway) == ExecResult::Started;
}
// A clipboard entry delivers its text by the item's paste mode.
void Application::PasteClipItem(std::int32_t list, std::int32_t index) {
    input_.ExecuteClipboardItem(list, index);
}
// The bar unloads once the menu has closed, through the closing steps of
// WM_CLOSE.
void Application::ExitFromMenu() {
    s_.IsClosing = true;
    s_.ClosedFromMenu = true;
    timers_.CreateTimer(10, ExitTimerProc);
}
void Application::EditItem(std::int32_t index) {
    if (!ConfigLocked()) dialogs_.EditButton(index);
}
void Application::EditButton(std::int32_t index) {
    EditItem(index);
}
void Application::EditList(std::int32_t list) {
    dialogs_.EditList(list);
}
bool Application::ConfigLocked() {
    if (!s_.App.NoConfig) return false;
    MsgBox(Text(Txt::AccessRestricted), MB_OK | MB_ICONEXCLAMATION);
    return true;
}
void Application::ExportSettings() {
    config_.ExportIni(bar_.Window());
}
void Application::ImportSettings() {
    config_.ImportIni(bar_.Window());
}
void Application::WatchPopup(bool on) {
    if (on) {
        timers_.CreateTimer(10, ClosePopupProc);
    } else {
        timers_.DeleteTimer(ClosePopupProc);
    }
}
void CALLBACK Application::ClosePopupProc(HWND, UINT, UINT_PTR, DWORD) {
    if (g_application) g_application->menus_.TickClosePopup();
}
std::vector<WindowId> Application::RecentForegroundWindows() {
    const ForegroundHistory& history = Watcher().State().History;
    std::vector<WindowId> recent;
    for (std::size_t i = 0; i < ForegroundHistory::kSize; ++i) {
        if (history.At(i)) recent.push_back(history.At(i));
    }
    return recent;
}
// ---- What the input subsystem asks ---------------------------------------------

WindowId Application::NewestForegroundWindow() {
    return Watcher().NewestHistoryWindow();
}
void Application::HotkeyMainMenu() {
    bar_.ShowAtOnce();
    launch_->BringToFront(bar_.Window(), "ExeuteHotkey");
    menus_.OpenMainMenu(false);
}
void Application::HotkeyPressButton(std::int32_t index) {
    launch_->BringToFront(bar_.Window(), "ExeuteHotkey");
    bar_.PressByHotkey(index);
}
std::string Application::ExpandClipText(std::string text) {
    return launch_->ExpandClipText(std::move(text));
}

// ---- What the editors ask --------------------------------------------------------

// Hotkeys are off while any dialog shows (a dialog may open another).
void Application::DialogShowing(bool showing) {
    dialogsOpen_ += showing ? 1 : -1;
    if (showing && dialogsOpen_ == 1) input_.Suspend();
    if (!showing && dialogsOpen_ == 0) input_.Resume();
}
std::string Application::HotkeyName(std::int32_t value) {
    return input_.HotkeyName(value);
}
std::vector<std::string> Application::SpecialKeyNames() {
    return input_.SpecialKeyNames();
}
bool Application::StartCommand(const std::string& path, const std::string& wrkDir,
                               std::int32_t userType) {
    std::string p = path, w = wrkDir;
    std::int32_t user = userType, prio = 2;
    return launch_ && launch_->ExecuteCommand(p, w, user, 1, prio, "", true);
}
void Application::BringToFront(WindowId window) {
    launch_->BringToFront(ToHwnd(window), "dialog");
}
// What depends on the list is built again; the file follows a second later.
void Application::ListChanged(std::int32_t list) {
    Log(2, "ListChanged %i", list);
    if (list == kListButtons || list == kListClipboard || list == kListClipboard2) {
        ButtonsChanged();
        return;
    }
    menus_.Rebuild(false);
    input_.RegisterAllHotkeys();
    config_.SaveZorvINI_in1s();
}
void Application::SettingsChanged() {
    config_.SaveZorvINI_in1s();
}
bool Application::IsInStartup() {
    return autostart_.IsInStartup();
}
void Application::SetZorvToAutoStart(bool on) {
    autostart_.SetZorvToAutoStart(on);
    // The file's request follows the dialog, so the next start keeps it.
    s_.Options.StartWithWindows = on ? 1 : 0;
}
std::vector<std::string> Application::HotkeysTakenByOthers() {
    return input_.GetAllRegisteredHotkeyNames();
}
std::int32_t Application::AutomaticBarRight() {
    const std::int32_t forced = std::exchange(s_.Options.ForcedBarRight, 0);
    const std::int32_t gap = bar_.CurrentRightGap();
    s_.Options.ForcedBarRight = forced;
    return gap;
}
void Application::BarRightChanged() {
    bar_.SetBarRight();
}
// Everything the options set: the bar's look and place (flat buttons,
// colours, height, fade mode), the menus' look, the hotkeys and the priority.
void Application::OptionsChanged() {
    Log(1, "OptionsChanged");
    UpdateDerivedSettings(s_.Options, s_.App.WindowsVersion.Win2000OrLater);
    bar_.ButtonsChanged();
    bar_.ApplyLineColour();
    bar_.SetBarRight();
    bar_.SetBarPos();
    menus_.Rebuild(false);
    input_.RegisterAllHotkeys();
    SetPriorityClass(GetCurrentProcess(),
                     s_.Options.ProcessPrio == 2 ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
    config_.SaveZorvINI_in1s();
}
void Application::CheckForegroundWindow() {
    Watcher().OnNewFGWin();
}

// ---- What the autostart and autoclose lists ask -------------------------------

void Application::ScheduleAutostartStep(std::uint32_t ms) {
    timers_.DeleteTimer(AutostartProc);
    timers_.CreateTimer(ms, AutostartProc);
}
void Application::CancelAutostartStep() {
    timers_.DeleteTimer(AutostartProc);
}
bool Application::ActivateRunningItem(const Item& item) {
    return launch_ && launch_->ActivateRunning(item);
}
ItemStart Application::StartItemQuietly(const Item& item) {
    if (!launch_) return ItemStart::Failed;
    if (launch_->StartQuietly(item)) return ItemStart::Started;
    return launch_->LastStartWasBusy() ? ItemStart::Busy : ItemStart::Failed;
}

void CALLBACK Application::ExitTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_application) return;
    g_application->timers_.DeleteTimer(ExitTimerProc);
    if (HWND bar = g_application->bar_.Window()) SendMessageW(bar, WM_CLOSE, 0, 0);
}

}  // namespace zorv
