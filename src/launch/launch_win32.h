// Starting items: from an item of a list to a start request handed to
// Zorv.dll, or to an activated running instance. The launcher's decisions
// (launch/execute) run on the Win32 platforms held here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "items/app_state.h"
#include "launch/activate.h"
#include "launch/execute.h"
#include "launch/launch_host.h"
#include "launch/launch_platform_win32.h"
#include "launch/process_list_win32.h"

namespace zorv {

class LaunchShell {
  public:
    // Made after start-up has fixed the program's folders and version.
    LaunchShell(AppState& state, LaunchHost& host);
    LaunchShell(const LaunchShell&) = delete;
    LaunchShell& operator=(const LaunchShell&) = delete;

    // Starts item `index` of list `list` (0..5). Without `startAnyway`, an
    // item with Activate = 1 first looks for a running instance of its program.
    ExecResult ExecuteItem(int list, int index, bool startAnyway);
    // Starts a raw command. path, wrkDir, userType and prio are normalised in
    // place. True when the start request was accepted.
    bool ExecuteCommand(std::string& path, std::string& wrkDir, std::int32_t& userType,
                        std::int32_t style, std::int32_t& prio, const std::string& title,
                        bool showErrors);
    // The autostart and autoclose lists: a running instance of the item's
    // program brought to the front; the item started without any message.
    bool ActivateRunning(const Item& item) { return launcher_.ActivateRunning(item); }
    bool StartQuietly(const Item& item) { return launcher_.StartQuietly(item); }
    // The last start failed only because the same program is still starting.
    bool LastStartWasBusy() const { return launcher_.LastStartWasBusy(); }
    // Ending the process: the shell starts Zorv.dll still hands over get
    // `timeoutMs` to go out.
    void WaitForShellStarts(std::uint32_t timeoutMs) { launch_.WaitForShellStarts(timeoutMs); }
    // A clipboard item's text with its "%Now:" pattern and variables expanded.
    std::string ExpandClipText(std::string text) {
        return launcher_.Resolver().ExpandNowMacro(std::move(text));
    }
    ExecResult LastExecuteResult() const { return launcher_.LastResult(); }

    // A forced window state waits for the started program's window; the
    // foreground tracking asks on each foreground change.
    void CheckForcedWindowState();
    // When the last start request was handed to Zorv.dll (performance
    // counter); the bar times its clicks against it.
    std::int64_t LastRequestHandedCounter() const { return launch_.HandedCounter(); }

    void EndActivationCycle() { cycle_.EndByStart(); }
    // The bar received kMsgLateStartFailure.
    void OnLateStartFailure(WPARAM reportId, LPARAM error) {
        launcher_.ReportLateFailure(static_cast<std::int32_t>(reportId),
                                    static_cast<std::int32_t>(error));
    }
    // One attempt to make `window` the foreground window.
    void BringToFront(HWND window, const char* tag);
    int MsgBoxTop(const std::string& text, UINT style) { return launch_.MsgBoxTop(text, style); }

  private:
    AppState& s_;
    ProcessLister processes_;
    Win32ActivatePlatform activatePlatform_;
    ActivationCycle cycle_;
    Win32Launch launch_;
    Win32Force force_;
    Launcher launcher_;
};

}  // namespace zorv
