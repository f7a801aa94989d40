// The launcher's platforms on Windows: files, associations, shortcuts, the
// environment, windows, message boxes and Zorv.dll; the forced window state;
// the process and window lists of the activation cycle.
#pragma once

#include <windows.h>

#include <optional>
#include <random>
#include <vector>

#include "items/app_state.h"
#include "launch/activate.h"
#include "launch/force_state.h"
#include "launch/launch_host.h"
#include "launch/launch_platform.h"
#include "launch/process_list_win32.h"
#include "support/window_win32.h"

namespace zorv {

// ExecuteProcessAsync(ExecRequest*), stdcall, from Zorv.dll beside the
// program: loaded by its full path, never through the search path, so no
// other folder can slip in a library of the same name.
// The bar's message for a start that Zorv.dll failed after accepting it:
// wParam the request's ReportId, lParam the Windows error.
inline constexpr UINT kMsgLateStartFailure = WM_APP + 1;

class ZorvDllStarter {
  public:
    explicit ZorvDllStarter(const std::string& programFolder) : folder_(programFolder) {}
    // Loads the library on first use; its late failures go to `reportWindow`.
    StarterOutcome Start(ExecRequest& request, HWND reportWindow);
    // The Unicode form with the numbers of `request` (ErrorCode and Result
    // written back); nothing when the library has no such export.
    std::optional<StarterOutcome> StartUnicode(const std::string& file, const std::string& params,
                                               const std::string& workDir, ExecRequest& request,
                                               HWND reportWindow);
    // QueryPerformanceCounter when the last request was handed over; 0 before.
    std::int64_t HandedCounter() const { return handed_.QuadPart; }
    // Waits (at most `timeoutMs`) until the library has handed every shell
    // start to the shell, so that ending the process loses none; the number
    // still in hand. An older library, or none loaded, answers 0 at once.
    std::int32_t WaitForShellStarts(std::uint32_t timeoutMs);

  private:
    using Entry = std::int32_t(__stdcall*)(ExecRequest*);
    bool Load(HWND reportWindow);
    const std::string& folder_;
    HMODULE module_ = nullptr;
    Entry entry_ = nullptr;
    LARGE_INTEGER handed_{};
};

class Win32ActivatePlatform final : public ActivatePlatform {
  public:
    Win32ActivatePlatform(const StartupState& app, ProcessLister& processes);

    std::vector<ProcessEntry> ProcessList(const std::vector<std::uint32_t>* pathsOf) override {
        return processes_.GetProcessList(pathsOf);
    }
    std::vector<WindowEntry> AppWindows(bool includeHidden) override;
    std::vector<WindowId> TopLevelWindows() override;
    std::string WindowText(WindowId window) override;
    std::string ShortPathUpper(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    bool Is64BitWindows() override;
    std::uint64_t Seconds() override;
    double Random() override { return chance_(random_); }
    bool WindowExists(WindowId window) override;
    void ActivateWindow(WindowId window) override;

  private:
    const StartupState& app_;
    ProcessLister& processes_;
    std::uint64_t startTick_;  // the activation cycle's clock starts with the program
    std::optional<bool> is64_;
    std::mt19937_64 random_;
    std::uniform_real_distribution<double> chance_{0.0, 1.0};
};

class Win32Launch final : public LaunchPlatform {
  public:
    Win32Launch(AppState& state, LaunchHost& host, ActivationCycle& cycle)
        : s_(state), host_(host), cycle_(cycle), starter_(state.App.ProgramFolder) {}

    std::int64_t HandedCounter() const { return starter_.HandedCounter(); }
    std::int32_t WaitForShellStarts(std::uint32_t timeoutMs) {
        return starter_.WaitForShellStarts(timeoutMs);
    }
    // Message box in front of everything: the bar is brought to the front
    // first, the previous foreground window gets the focus back afterwards.
    int MsgBoxTop(const std::string& text, UINT style);

    std::uint32_t FileAttributes(const std::string& path) override;
    std::uint32_t DriveType(const std::string& root) override;
    std::string FindProgram(const std::string& file, const std::string& folder) override;
    std::string AssocCommand(const std::string& dotExtension) override;
    bool ReadShortcut(const std::string& lnkPath, ShortcutInfo& out) override;
    std::optional<std::string> EnvironmentVariable(const std::string& name) override;
    DateTimeParts LocalNow() override;
    std::string CurrentFolder() override;
    bool SetCurrentFolder(const std::string& folder) override;
    void ShowMessage(const std::string& text) override;

    std::uint32_t ForegroundLockTimeout() override;
    std::uint64_t NowMs() override;
    void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
    std::string ShortPathUpper(const std::string& path) override;
    std::string SystemMessage(std::int32_t code) override;

    WindowId ForegroundWindow() override;
    void SnapshotTitleWindows(const std::string& title) override;
    WindowId FindNewTitleWindow(const std::string& title) override;
    std::string WindowText(WindowId window) override;
    bool ForceForeground(WindowId window) override;
    void BarToFront() override;
    bool BarIsForeground() override;
    void PressEscape() override;
    void ClearForegroundHistory() override { host_.ClearForegroundHistory(); }

    bool ActivateApp(const std::string& title, const std::string& exe) override {
        return cycle_.ActivateApp(title, exe);
    }
    void EndActivationCycle() override { cycle_.EndByStart(); }
    void SetBarOnTop() override;
    void ShowMessageTop(const std::string& text) override;

    std::optional<std::string> ToAnsi(const std::string& text) override;
    StarterOutcome StartProcess(ExecRequest& request) override {
        return starter_.Start(request, ToHwnd(host_.BarWindow()));
    }
    std::optional<StarterOutcome> StartProcessUnicode(const std::string& file,
                                                      const std::string& params,
                                                      const std::string& workDir,
                                                      ExecRequest& request) override {
        return starter_.StartUnicode(file, params, workDir, request, ToHwnd(host_.BarWindow()));
    }
    ShellOutcome StartThroughShell(const ShellStartArgs& args) override;

  private:
    struct FoundProgram {
        std::string File, Folder, Current, Program;
        std::uint64_t At = 0;
    };

    AppState& s_;
    LaunchHost& host_;
    ActivationCycle& cycle_;
    ZorvDllStarter starter_;
    std::vector<FoundProgram> found_;
    // The windows recorded before a start that waits for a new window by title.
    std::optional<std::vector<WindowId>> titleSnapshot_;
};

class Win32Force final : public ForcePlatform {
  public:
    Win32Force(const StartupState& app, ProcessLister& processes)
        : app_(app), processes_(processes) {}

    std::uint64_t NowMs() override;
    WindowId VisibleForegroundWindow() override;
    void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
    std::string ExeOfWindowShort(WindowId window) override;
    WindowId WindowByTitle(const std::string& title) override;
    std::uint32_t WindowStyle(WindowId window) override;
    bool IsVisible(WindowId window) override;
    bool IsMinimized(WindowId window) override;
    bool IsMaximized(WindowId window) override;
    void Show(WindowId window, std::int32_t showCmd) override;

  private:
    const StartupState& app_;
    ProcessLister& processes_;
};

}  // namespace zorv
