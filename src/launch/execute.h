// The launcher's decisions from an item to a start request: activation of a
// running instance, the existence checks and their messages, the working
// folder, the forced window state, the request itself, and what happens
// after the starter answered. The system is reached only through
// LaunchPlatform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "items/items.h"
#include "launch/command.h"
#include "launch/exec_request.h"
#include "launch/folder_history.h"
#include "launch/force_state.h"
#include "launch/launch_platform.h"

namespace zorv {

// What ExecuteItem did; the numbers are the ones the log shows.
enum class ExecResult : int {
    Nothing = 1,    // separator or failure
    Started = 2,    // a start request was accepted
    Activated = 3,  // a running instance came to the front
};

// Messages about the starter itself: one wording in every language.
inline constexpr std::string_view kDllNotFoundText = "Zorv.dll not found";
inline constexpr std::string_view kCallErrorText = "Error: ";

// A foreground lock timeout from this value on keeps a started program from
// taking the foreground by itself: the launcher then brings its window.
inline constexpr std::uint32_t kForegroundLockActive = 300;

class Launcher {
  public:
    Launcher(LaunchPlatform& platform, LaunchFacts facts);
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Starts `item`, or activates a running instance when its Activate is 1
    // and `startAnyway` is not set.
    ExecResult ExecuteItem(const Item& item, bool startAnyway);
    // A running instance of the item's program (by its Title or program
    // file) came to the front.
    bool ActivateRunning(const Item& item);
    // The item's command as a normal user, without a window title to wait
    // for and without any message (the autostart and autoclose lists).
    bool StartQuietly(const Item& item);
    // The last command failed only because the starter is still starting the
    // same program ("Already starting").
    bool LastStartWasBusy() const { return lastBusy_; }
    // Starts a raw command; path, wrkDir, userType and prio are normalised in
    // place. True when the start request was accepted.
    bool ExecuteCommand(std::string& path, std::string& wrkDir, std::int32_t& userType,
                        std::int32_t style, std::int32_t& prio, const std::string& title,
                        bool showErrors);

    ExecResult LastResult() const { return lastResult_; }
    const Item& Current() const { return current_; }
    ForceWindowState& ForceState() { return force_; }
    CommandResolver& Resolver() { return resolver_; }
    // The request handed to the starter last.
    const ExecRequest& LastRequest() const { return request_; }
    // Zorv.dll failed a start after it had accepted it (a shell start in its
    // worker): the message the start itself would have shown. A cancelled
    // elevation or credentials prompt is the user's answer, not an error.
    void ReportLateFailure(std::int32_t reportId, std::int32_t errorCode);

  private:
    struct StartOutcome;
    void RecordForcedState(const std::string& path, const std::string& wrkDir,
                           const std::string& exe, const std::string& title, std::int32_t& style,
                           const std::string& file);
    void ReportMissing(const std::string& path, bool showErrors);
    void ChooseWorkDir(std::string& wrkDir);
    StartOutcome Start(const std::string& file, const std::string& params,
                       const std::string& wrkDir, std::int32_t showCmd, std::int32_t& prio,
                       std::int32_t userType);
    StartOutcome StartWithStarter(const std::string& file, const std::string& params,
                                  const std::string& wrkDir, std::int32_t showCmd,
                                  std::int32_t prio, std::int32_t userType);
    void PullNewWindow(const std::string& title, WindowId previous);
    void AssignReportId();
    bool ReportFailure(const StartOutcome& outcome, const std::string& file, std::int32_t userType,
                       bool showErrors);
    void ShowStartError(const std::string& file, std::int32_t errorCode);
    void RestOnWindowsDrive();

    // The starts the library may still report a failure of, newest last.
    struct PendingStart {
        std::int32_t ReportId = 0;
        std::string File;
        bool ShowErrors = false;
    };
    static constexpr std::size_t kPendingStarts = 16;

    LaunchPlatform& platform_;
    LaunchFacts facts_;
    Item current_;
    FolderHistory history_;
    CommandResolver resolver_;
    ForceWindowState force_;
    ExecRequest request_{};
    ExecResult lastResult_ = ExecResult::Nothing;
    bool lastBusy_ = false;
    std::vector<PendingStart> pending_;
    std::int32_t nextReportId_ = 1;
};

}  // namespace zorv
