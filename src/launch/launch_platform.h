// What the launcher needs from the system, with portable types: the file
// system and shell associations for resolving a command, and the windows,
// message boxes and starter for carrying a start out. The Win32 shell
// implements it; the tests give it a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "launch/exec_request.h"

#include "support/geometry.h"
#include "support/shortcut.h"
#include "support/win32_constants.h"

namespace zorv {

inline constexpr std::uint32_t kNoAttributes = win::kInvalidFileAttributes;
inline constexpr std::uint32_t kAttrDirectory = win::kFileAttributeDirectory;
inline constexpr std::uint32_t kDriveNoRootDir = win::kDriveNoRootDir;


// The local time with the user's names for it, for the "%Now:" macro.
struct DateTimeParts {
    std::int32_t Year = 2000, Month = 1, Day = 1;  // Month 1..12
    std::int32_t Hour = 0, Minute = 0, Second = 0;
    std::string DayName, DayAbbrev;      // "Monday", "Mon"
    std::string MonthName, MonthAbbrev;  // "January", "Jan"
    std::string Am = "AM", Pm = "PM";
};

// What resolving a command text needs.
class CommandPlatform {
  public:
    virtual ~CommandPlatform() = default;

    virtual std::uint32_t FileAttributes(const std::string& path) = 0;  // kNoAttributes if none
    virtual std::uint32_t DriveType(const std::string& root) = 0;       // "D:\"
    // FindExecutable's result as returned (it may carry NULs); empty when
    // there is no program for the file.
    virtual std::string FindProgram(const std::string& file, const std::string& folder) = 0;
    // The association's command for an extension given with its dot.
    virtual std::string AssocCommand(const std::string& dotExtension) = 0;
    virtual bool ReadShortcut(const std::string& lnkPath, ShortcutInfo& out) = 0;
    virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
    virtual DateTimeParts LocalNow() = 0;
    virtual std::string CurrentFolder() = 0;
    // Changes folder and, for "X:..." targets, drive; false when refused.
    virtual bool SetCurrentFolder(const std::string& folder) = 0;
    // A message box with the exclamation icon.
    virtual void ShowMessage(const std::string& text) = 0;
};

// How the starter answered.
enum class StarterAnswer {
    Accepted,        // non-zero result: the start is under way
    Refused,         // zero result: ErrorCode of the request says why
    LibraryMissing,  // Zorv.dll could not be loaded
    CallFailed,      // the library or its export failed otherwise
};
struct StarterOutcome {
    StarterAnswer Answer = StarterAnswer::Refused;
    std::string Description;  // for CallFailed
};

// The shell start of systems older than Windows 2000.
struct ShellStartArgs {
    std::string Verb;  // empty: the default verb
    std::string File, Params, WorkDir;
    std::int32_t ShowCmd = 1;
};
struct ShellOutcome {
    bool Ok = false;         // ShellExecute answered above 32
    std::int32_t Error = 0;  // the system's last error otherwise
};

// Everything a start touches besides the command resolution. Names avoid
// the Win32 macros (MessageBox, ShellExecute, FindExecutable).
class LaunchPlatform : public CommandPlatform {
  public:
    // Facts and pacing.
    virtual std::uint32_t ForegroundLockTimeout() = 0;  // 0 when unreadable
    virtual std::uint64_t NowMs() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;
    virtual std::string ShortPathUpper(const std::string& path) = 0;
    virtual std::string SystemMessage(std::int32_t code) = 0;  // FormatMessage, raw

    // Windows.
    virtual WindowId ForegroundWindow() = 0;
    virtual void SnapshotTitleWindows(const std::string& title) = 0;
    virtual WindowId FindNewTitleWindow(const std::string& title) = 0;
    virtual std::string WindowText(WindowId window) = 0;
    virtual bool ForceForeground(WindowId window) = 0;
    virtual void BarToFront() = 0;  // ForceForeground on the bar
    virtual bool BarIsForeground() = 0;
    virtual void PressEscape() = 0;
    virtual void ClearForegroundHistory() = 0;

    // Running instances (Activate = 1) and the bar's z-order.
    virtual bool ActivateApp(const std::string& title, const std::string& exe) = 0;
    virtual void EndActivationCycle() = 0;
    virtual void SetBarOnTop() = 0;

    // ShowMessage with the bar brought to the front first and the
    // foreground given back afterwards.
    virtual void ShowMessageTop(const std::string& text) = 0;

    // Starting. ToAnsi gives the text in the ANSI code page, or nothing when
    // the code page cannot represent it.
    virtual std::optional<std::string> ToAnsi(const std::string& text) = 0;
    virtual StarterOutcome StartProcess(ExecRequest& request) = 0;
    // The Unicode form for texts the ANSI fields cannot carry: the UTF-8
    // texts and the numbers of `request`, whose ErrorCode and Result are
    // written. Nothing when the library has no such form (an older one).
    virtual std::optional<StarterOutcome> StartProcessUnicode(const std::string& file,
                                                              const std::string& params,
                                                              const std::string& workDir,
                                                              ExecRequest& request) = 0;
    virtual ShellOutcome StartThroughShell(const ShellStartArgs& args) = 0;
};

}  // namespace zorv
