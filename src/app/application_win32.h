// The application: the one object that owns the program-wide state and every
// subsystem, wires them together through their host interfaces, runs the
// start-up and closing sequences, and routes the bar window's messages.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "app/script_command.h"
#include "app/startup.h"
#include "autostart/autostart_host.h"
#include "autostart/autostart_win32.h"
#include "dialogs/dialog_host.h"
#include "dialogs/dialogs_win32.h"
#include "items/app_state.h"
#include "support/log_win32.h"
#include "bar/bar_host.h"
#include "bar/bar_window_win32.h"
#include "items/config_host.h"
#include "items/config_win32.h"
#include "input/input_host.h"
#include "input/input_win32.h"
#include "launch/launch_host.h"
#include "launch/launch_win32.h"
#include "menus/menu_host.h"
#include "menus/program_menus_win32.h"
#include "support/callback_timer_win32.h"
#include "winwatch/foreground_win32.h"
#include "winwatch/watch_host.h"

namespace zorv {

class Application final : public BarMessageSink,
                          private BarHost,
                          private WatchHost,
                          private LaunchHost,
                          private ConfigHost,
                          private MenuHost,
                          private InputHost,
                          private AutostartHost,
                          private DialogHost {
  public:
    Application();
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up, the message loop, closing; the process's exit code.
    int Run(HINSTANCE instance);
    // Closes every window of the program (the bar last).
    void UnloadAllWindows();

  private:
    // Start-up and closing.
    void StartLog();
    void BarFirstLoad();
    void LoadConfig();
    static void CALLBACK W4IdleTickProc(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK BuildMenusProc(HWND, UINT, UINT_PTR, DWORD);
    static constexpr std::uint32_t kMenusAfterShowMs = 100;
    void W4IdleTick();
    static void CALLBACK AutostartProc(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK StartupFolderProc(HWND, UINT, UINT_PTR, DWORD);
    // The closing steps, once: from WM_CLOSE, or at logoff or shutdown
    // (`sessionEnding`: no message box may wait for an answer then).
    void OnClose(WPARAM wParam, bool sessionEnding);
    // A script's command from a second start: answered at once, carried out
    // once the message loop comes back (kMsgScript).
    ScriptAnswer OnScriptCommand(const ScriptCommand& command);
    void CarryScriptCommand(WPARAM verb, LPARAM item);
    // "/reload": the file read again; an unreadable one leaves everything.
    void ReloadConfig();
    static constexpr std::uint32_t kShellHandOverMs = 3000;
    void OnDestroy(HWND bar);

    // BarMessageSink: the foreground tracking sees every message first.
    LRESULT OnBarMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // BarHost.
    void TopNow() override;
    void RecordForegroundWindow() override;
    void AddToForegroundHistory(WindowId window) override;
    void HandForegroundBack(const char* tag) override;
    bool IsMenuOrToolbarShown() override;
    bool OwnMenuOpen() override;
    bool IsDX(WindowId window) override;
    bool IsSpecialWindow(WindowId window) override;
    void CheckForVideoOrFullscreen() override;
    bool ExecuteButton(std::int32_t index, bool startAnyway) override;
    void EndActivationCycle() override;
    std::int64_t LastRequestHandedCounter() override;
    void BuildButtonMenus(const std::vector<ButtonMenuPlan>& plans) override;
    void RebuildMenus() override;
    void OpenMainMenu(bool rightButton) override;
    std::int32_t ShowButtonMenu(std::int32_t button, ScreenPoint cell, bool rightButton) override;
    void CarryButtonMenuChoice(std::int32_t button, std::int32_t chosen, bool ctrl,
                               bool rightButton) override;
    std::int32_t ShowButtonContextMenu() override;
    void ExecPopupBut(std::int32_t id, std::int32_t button) override;
    void EditButton(std::int32_t index) override;
    void ButtonListChanged() override { ButtonsChanged(); }
    void SaveZorvINI_in1s() override;
    bool ConfigChanged() override;
    void SaveConfiguration() override;

    // WatchHost.
    WindowId BarWindow() override;
    void ReduceNow() override;
    void SetAlphaValue(std::int32_t alpha) override;
    void SetBarPos() override;
    void ApplyLineColour() override;
    void SimMouseMoveOutSide() override;
    bool BarShowsAtCorners() override;
    void StartEnsureVisibleTimer() override;
    bool IsClosing() override;
    void BringToFront(WindowId window, const char* tag) override;
    void CheckForcedWindowState() override;

    // LaunchHost (BarWindow above).
    void ClearForegroundHistory() override;
    void RestoreFGWin() override;

    // ConfigHost.
    Settings SettingsForSaving(const Settings& live) override;
    void AfterSave(const std::string& path) override;
    void SaveSoon() override;
    void RebuildAfterImport() override;

    // MenuHost (BarWindow and HandForegroundBack above).
    std::int32_t BarHeight() override;
    void MenuShowing(bool showing) override;
    bool ExecuteItem(std::int32_t list, std::int32_t index, bool startAnyway) override;
    void PasteClipItem(std::int32_t list, std::int32_t index) override;
    void ExitFromMenu() override;
    static void CALLBACK ExitTimerProc(HWND, UINT, UINT_PTR, DWORD);
    void EditItem(std::int32_t index) override;
    void EditList(std::int32_t list) override;
    void OpenRunDialog() override { dialogs_.Run(); }
    void OpenOptions() override { dialogs_.Options(); }
    void ExportSettings() override;
    void ImportSettings() override;
    void WatchPopup(bool on) override;
    static void CALLBACK ClosePopupProc(HWND, UINT, UINT_PTR, DWORD);
    std::vector<WindowId> RecentForegroundWindows() override;

    // InputHost (BarWindow, RecordForegroundWindow and ExecuteItem above).
    WindowId NewestForegroundWindow() override;
    void HotkeyMainMenu() override;
    void HotkeyPressButton(std::int32_t index) override;
    std::string ExpandClipText(std::string text) override;

    // AutostartHost.
    void ScheduleAutostartStep(std::uint32_t ms) override;
    void CancelAutostartStep() override;
    bool ActivateRunningItem(const Item& item) override;
    ItemStart StartItemQuietly(const Item& item) override;

    // DialogHost (BarWindow above).
    void DialogShowing(bool showing) override;
    std::string HotkeyName(std::int32_t value) override;
    std::vector<std::string> SpecialKeyNames() override;
    bool StartCommand(const std::string& path, const std::string& wrkDir,
                      std::int32_t userType) override;
    void BringToFront(WindowId window) override;
    void ListChanged(std::int32_t list) override;
    void SettingsChanged() override;
    bool IsInStartup() override;
    void SetZorvToAutoStart(bool on) override;
    std::vector<std::string> HotkeysTakenByOthers() override;
    std::int32_t AutomaticBarRight() override;
    void BarRightChanged() override;
    void OptionsChanged() override;
    void CheckForegroundWindow() override;
    // "/noconfig": the configuration may not be changed (message once per try).
    bool ConfigLocked();

    // The button list changed (a button removed): bar, menus, save.
    void ButtonsChanged();

    ForegroundWatcher& Watcher() { return watch_->Watcher(); }

    AppState s_;
    std::unique_ptr<Win32LogPlatform> log_;
    HANDLE ownProcess_ = nullptr;
    clsCallBackTimer timers_;
    W4IdleState idle_;
    ConfigStore config_;
    frmButtons bar_;
    ProgramMenus menus_;
    InputShell input_;
    AutostartShell autostart_;
    Dialogs dialogs_;
    std::int32_t dialogsOpen_ = 0;
    bool closeRan_ = false;
    ScriptCommand pendingScript_;
    // Made once start-up has read the folders and the Windows version.
    std::optional<ForegroundTracker> watch_;
    std::optional<LaunchShell> launch_;
};

}  // namespace zorv
