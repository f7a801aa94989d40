#include "launch/execute.h"

#include <algorithm>
#include <limits>

#include <utility>

#include "support/log.h"
#include "support/texts.h"
#include "launch/exec_pack.h"

namespace zorv {

namespace {

enum class StartKind {
    Started,
    Refused,         // the starter (or the shell) answered with ErrorCode
    LibraryMissing,  // Zorv.dll could not be loaded
    CallFailed,      // the call itself failed
    TextRefused,     // a text did not fit the request (the message in Description)
};

constexpr char kCrLf[] = "\r\n";

std::string UpperDrive(const std::string& path) {
    std::string drive = path.substr(0, 2);
    if (drive[0] >= 'a' && drive[0] <= 'z') drive[0] = static_cast<char>(drive[0] - 'a' + 'A');
    return drive;
}

}  // namespace

struct Launcher::StartOutcome {
    StartKind Kind = StartKind::Refused;
    std::int32_t ErrorCode = 0;
    std::string Description;
    std::int32_t ReportId = 0;  // the library may report a failure later
};

Launcher::Launcher(LaunchPlatform& platform, LaunchFacts facts)
    : platform_(platform),
      facts_(std::move(facts)),
      history_(platform),
      resolver_(platform, facts_, history_, &current_) {}

ExecResult Launcher::ExecuteItem(const Item& item, bool startAnyway) {
    current_ = item;
    Log(1, "ExecuteItem('%s', '%s', '%s', %i, %i, '%s', %i, %i, %i)", current_.Desc, current_.Path,
        current_.WrkDir, current_.UserType, current_.Activate, current_.Title, current_.Style,
        current_.Prio, startAnyway);
    if (current_.Desc == "-") return lastResult_ = ExecResult::Nothing;
    if (current_.Activate == 1 && !startAnyway) {
        const std::string exe = resolver_.FindExe(current_.Path, current_.WrkDir);
        if (platform_.ActivateApp(current_.Title, exe)) return lastResult_ = ExecResult::Activated;
    }
    platform_.EndActivationCycle();
    platform_.SetBarOnTop();
    // The command works on the current record's own fields: the shortcut
    // fallback of FindExe rewrites them while the command is resolved.
    const std::string title = current_.Title;
    const bool started = ExecuteCommand(current_.Path, current_.WrkDir, current_.UserType,
                                        current_.Style, current_.Prio, title, true);
    if (!started) force_.Clear();
    lastResult_ = started ? ExecResult::Started : ExecResult::Nothing;
    Log(2, "ExecuteItem = %i", static_cast<int>(lastResult_));
    return lastResult_;
}

bool Launcher::ActivateRunning(const Item& item) {
    return platform_.ActivateApp(item.Title, resolver_.FindExe(item.Path, item.WrkDir));
}

bool Launcher::StartQuietly(const Item& item) {
    current_ = item;
    current_.Title.clear();
    current_.UserType = 0;
    const bool started = ExecuteCommand(current_.Path, current_.WrkDir, current_.UserType,
                                        current_.Style, current_.Prio, "", false);
    if (!started) force_.Clear();
    return started;
}

bool Launcher::ExecuteCommand(std::string& path, std::string& wrkDir, std::int32_t& userType,
                              std::int32_t style, std::int32_t& prio, const std::string& title,
                              bool showErrors) {
    Log(1, "ExecuteCommand('%s', '%s', %i, %i, %i, '%s', %i)", path, wrkDir, userType, style, prio,
        title, showErrors);
    lastBusy_ = false;
    platform_.SetCurrentFolder(facts_.StartFolder);
    const bool foregroundLock = platform_.ForegroundLockTimeout() >= kForegroundLockActive;

    std::string file, params, exe;
    if (IsUrl(path)) {
        file = path;
    } else {
        resolver_.SplitCommandLine(path, wrkDir, file, params, exe, false);
    }
    RecordForcedState(path, wrkDir, exe, title, style, file);
    file = TrimSpaces(file);
    // Folders and the like: no program, but the shell can open them.
    if (file.empty() && resolver_.FileOrExeExists(path, "")) {
        prio = 2, userType = 0;
        file = std::exchange(path, std::string());
    }
    const bool exists =
        file.empty() ? resolver_.FileOrExeExists(path, "") : resolver_.FileExists(file, "");
    if (!IsUrl(file) && !exists) {
        ReportMissing(path, showErrors);
        RestOnWindowsDrive();
        return false;
    }
    ChooseWorkDir(wrkDir);
    const std::int32_t showCmd = ShowCmdOf(style);
    if (!title.empty() && foregroundLock) platform_.SnapshotTitleWindows(title);
    const WindowId previous = platform_.ForegroundWindow();
    // An elevation prompt must not open behind the window in front: the bar
    // takes the foreground, and Escape closes whatever menu that opened.
    if (userType == 1 && facts_.WindowsMajor >= 6) {
        platform_.BarToFront();
        if (platform_.BarIsForeground()) platform_.PressEscape();
    }
    const StartOutcome outcome = Start(file, params, wrkDir, showCmd, prio, userType);
    if (outcome.Kind != StartKind::Started)
        return ReportFailure(outcome, file, userType, showErrors);
    if (outcome.ReportId != 0) {
        if (pending_.size() == kPendingStarts) pending_.erase(pending_.begin());
        pending_.push_back({outcome.ReportId, file, showErrors});
    }
    Log(2, "ExecuteCommand: started '%s' '%s' in '%s'", file, params, wrkDir);
    if (!title.empty() && foregroundLock) PullNewWindow(title, previous);
    RestOnWindowsDrive();
    return true;
}

void Launcher::RecordForcedState(const std::string& path, const std::string& wrkDir,
                                 const std::string& exe, const std::string& title,
                                 std::int32_t& style, const std::string& file) {
    if (file.empty() || style < 100) {
        force_.Clear();
        return;
    }
    style -= 100;
    const std::string program = exe.empty() ? resolver_.FindExe(path, wrkDir) : exe;
    // Windows are matched by their program's short upper-case path.
    force_.Exe = program.empty() ? std::string() : platform_.ShortPathUpper(program);
    force_.Title = title;
    force_.State = style;
    force_.LastWindow = 0;
    if (program.empty()) {
        force_.Clear();
    } else {
        force_.StampMs = platform_.NowMs();
    }
}

// A command on a drive that is not there (a removed stick, an unmapped
// network drive) says so instead of blaming the program.
void Launcher::ReportMissing(const std::string& path, bool showErrors) {
    std::string text;
    if (path.size() >= 2 && path[1] == ':' &&
        platform_.DriveType(path.substr(0, 2) + "\\") == kDriveNoRootDir) {
        text = Text(Txt::DriveNotFound) + UpperDrive(path) + Text(Txt::DriveNotFoundFor) + kCrLf +
               path;
    } else {
        text = Text(Txt::ProgramNotFound) + kCrLf + path;
    }
    Log(1, "ExecuteCommand: %s", text);
    if (!showErrors) return;
    platform_.ClearForegroundHistory();
    platform_.BarToFront();
    platform_.ShowMessageTop(text);
}

void Launcher::ChooseWorkDir(std::string& wrkDir) {
    if (TrimSpaces(wrkDir).empty()) {
        platform_.SetCurrentFolder(facts_.WindowsFolder);
        wrkDir.clear();
    }
    if (!resolver_.DirExists(wrkDir)) wrkDir = facts_.WindowsFolder;
}

Launcher::StartOutcome Launcher::Start(const std::string& file, const std::string& params,
                                       const std::string& wrkDir, std::int32_t showCmd,
                                       std::int32_t& prio, std::int32_t userType) {
    if (facts_.WindowsMajor < 5) {
        // Windows 9x and NT 4: the shell starts it; no priority, no user type.
        ShellStartArgs args{IsExecutableExt(file) ? "" : "open", file, params, wrkDir, showCmd};
        const ShellOutcome shell = platform_.StartThroughShell(args);
        if (shell.Ok) return {StartKind::Started, 0, {}};
        return {StartKind::Refused, shell.Error, {}};
    }
    if (prio < 0) prio = 2;
    return StartWithStarter(file, params, wrkDir, showCmd, prio, userType);
}

Launcher::StartOutcome Launcher::StartWithStarter(const std::string& file,
                                                  const std::string& params,
                                                  const std::string& wrkDir, std::int32_t showCmd,
                                                  std::int32_t prio, std::int32_t userType) {
    ExecFields fields;
    fields.File = platform_.ToAnsi(file);
    fields.Params = platform_.ToAnsi(params);
    fields.WorkDir = platform_.ToAnsi(wrkDir);
    fields.Style = showCmd;
    fields.Prio = prio;
    fields.UserType = userType;
    fields.ShellStart = resolver_.NeedsShellStart(file, wrkDir);
    const PackResult packed = PackExecRequest(fields, request_);
    std::optional<StarterOutcome> unicode;
    if (!packed.Ok() && FitsUnicodeRequest(file) && FitsUnicodeRequest(params) &&
        FitsUnicodeRequest(wrkDir)) {
        // Texts the ANSI fields cannot carry go in the Unicode form where the
        // library has it.
        AssignReportId();
        unicode = platform_.StartProcessUnicode(file, params, wrkDir, request_);
        if (unicode) Log(2, "ExecuteCommand: the Unicode request for '%s'", file);
    }
    if (!packed.Ok() && !unicode) {
        const std::string* texts[] = {&file, &params, &wrkDir};
        const Txt why =
            packed.Failure == PackFailure::TooLong ? Txt::StartTextTooLong : Txt::StartTextCodePage;
        const std::string text = Text(why) + kCrLf + *texts[packed.Field];
        Log(1, "ExecuteCommand: %s", text);
        return {StartKind::TextRefused, 0, text};
    }
    if (!unicode) AssignReportId();
    Log(3, "ExecRequest: ShowCmd %i PriorityClass %X UserType %i ShellStart %i", request_.ShowCmd,
        request_.PriorityClass, request_.UserType, request_.ShellStart);
    StarterOutcome answer = unicode ? std::move(*unicode) : platform_.StartProcess(request_);
    switch (answer.Answer) {
        case StarterAnswer::Accepted:
            return {StartKind::Started, 0, {}, request_.ReportId};
        case StarterAnswer::LibraryMissing:
            return {StartKind::LibraryMissing, 0, {}};
        case StarterAnswer::CallFailed:
            return {StartKind::CallFailed, 0, std::move(answer.Description)};
        default:
            return {StartKind::Refused, request_.ErrorCode, {}};
    }
}

// Only a start that finishes in the library's worker can fail after the answer.
void Launcher::AssignReportId() {
    if (request_.ShellStart != 1 && request_.UserType != 1) return;
    request_.ReportId = nextReportId_;
    nextReportId_ = nextReportId_ == std::numeric_limits<std::int32_t>::max() ? 1 : nextReportId_ + 1;
}

// Under a foreground lock the started program may not take the foreground
// itself; its new window is looked for while the user has not moved on.
void Launcher::PullNewWindow(const std::string& title, WindowId previous) {
    for (int i = 0; i < 100; ++i) {
        platform_.Sleep(10);
        if (platform_.ForegroundWindow() != previous) return;
        const WindowId window = platform_.FindNewTitleWindow(title);
        if (window != 0) {
            Log(2, "ExecuteCommand: new window '%s'", platform_.WindowText(window));
            platform_.ForceForeground(window);
            return;
        }
    }
}

bool Launcher::ReportFailure(const StartOutcome& outcome, const std::string& file,
                             std::int32_t userType, bool showErrors) {
    Log(1, "ExecuteCommand: start of '%s' failed (%i, error %i %s)", file,
        static_cast<int>(outcome.Kind), outcome.ErrorCode, outcome.Description);
    lastBusy_ = outcome.Kind == StartKind::Refused && outcome.ErrorCode == kErrorAlreadyStarting;
    // Without messages (the autostart and autoclose lists) the log says it.
    if (!showErrors) {
        RestOnWindowsDrive();
        return false;
    }
    switch (outcome.Kind) {
        case StartKind::TextRefused:
            platform_.ShowMessageTop(outcome.Description);
            return false;
        case StartKind::LibraryMissing:
            platform_.ShowMessage(std::string(kDllNotFoundText));
            return false;
        case StartKind::CallFailed:
            platform_.ShowMessage(std::string(kCallErrorText) + outcome.Description);
            return false;
        default:
            break;
    }
    if (outcome.ErrorCode == kErrorAlreadyStarting) {
        platform_.ClearForegroundHistory();
        platform_.BarToFront();
        platform_.ShowMessage(Text(Txt::AlreadyStarting));
        return false;
    }
    // A refused elevation prompt is the user's answer, not an error.
    if (userType != 1) ShowStartError(file, outcome.ErrorCode);
    RestOnWindowsDrive();
    return false;
}

void Launcher::ShowStartError(const std::string& file, std::int32_t errorCode) {
    const std::string reason = ErrorText(errorCode, platform_.SystemMessage(errorCode));
    platform_.ClearForegroundHistory();
    platform_.BarToFront();
    platform_.ShowMessage(Text(Txt::ErrorExecuting) + file + "'" + kCrLf + reason);
}

void Launcher::ReportLateFailure(std::int32_t reportId, std::int32_t errorCode) {
    const auto it = std::find_if(pending_.begin(), pending_.end(),
                                 [&](const PendingStart& p) { return p.ReportId == reportId; });
    if (it == pending_.end()) {
        Log(1, "Zorv.dll: start %i failed later (error %i), no longer known", reportId, errorCode);
        return;
    }
    const PendingStart start = *it;
    pending_.erase(it);
    Log(1, "Zorv.dll: start of '%s' failed later (error %i)", start.File, errorCode);
    if (start.ShowErrors && errorCode != kErrorCancelled) ShowStartError(start.File, errorCode);
}

// A current folder keeps its folder busy (it cannot be removed or renamed),
// so between starts the launcher rests on the root of the Windows drive.
void Launcher::RestOnWindowsDrive() {
    platform_.SetCurrentFolder(facts_.WindowsFolder.substr(0, 3));
}

}  // namespace zorv
