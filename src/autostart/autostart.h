// The autostart and autoclose lists: whether the autostart list runs at all,
// its schedule (a delay before the first item, a pause between items), the
// step that starts one item, the autoclose sequence, and which shortcut in a
// Startup folder points at the program. Portable: the system is reached only
// through AutostartPlatform.
#pragma once

#include <cstdint>
#include <string_view>

#include "items/app_state.h"

namespace zorv {

// What the system says when the bar first loads.
struct AutostartFacts {
    bool NoAutostartSwitch = false;  // "noau" or "nostart" on the command line
    bool ShiftHeld = false;
    // Days since the user logged on (a date difference); 0 when unknown, and
    // then the time limit never skips.
    double DaysSinceLogon = 0.0;
    // Windows 95/98/ME have no logon record: the boot stands in for it.
    bool Win9x = false;
    std::uint64_t MsSinceBoot = 0;
};

enum class AutostartSkip { None, Switch, TooLate, EmptyList, Shift };

struct AutostartDecision {
    bool TooLate = false;  // the logon lies beyond ASTimeLimit (also ends the wait for idle)
    AutostartSkip Skip = AutostartSkip::None;
    bool Beep = false;              // Shift skipped a list that would have run
    std::uint32_t FirstDelayMs = 0;  // ASDelay; 0 fires on the next timer tick
    std::uint32_t PauseMs = 100;     // between items; ASPause 0 means 100 ms
};

// `limitMinutes` > 0 and the logon (or boot) lies further back.
bool IsTooLate(std::int32_t limitMinutes, const AutostartFacts& facts);
AutostartDecision DecideAutostart(const Settings& settings, std::int32_t itemCount,
                                  const AutostartFacts& facts);
// ASPause in whole milliseconds; 0 gives 100.
std::uint32_t AutostartPauseMs(double seconds);
// Days between two instants given in seconds since 1970 (UTC).
double DaysBetween(std::int64_t earlierSeconds, std::int64_t laterSeconds);

// How a quiet start went. Busy: the starter is still starting the same
// program (a start is in progress for up to about 1.5 s), so the item is
// tried again shortly rather than lost.
enum class ItemStart { Started, Failed, Busy };

// A busy item is tried again this often, this far apart (3 s in all).
inline constexpr std::uint32_t kBusyRetryMs = 100;
inline constexpr int kBusyRetries = 30;

// What the two sequences need of the rest of the program and the system.
class AutostartPlatform {
  public:
    virtual ~AutostartPlatform() = default;
    // The one autostart step timer: (re)started with the interval, or stopped.
    virtual void StartStepTimer(std::uint32_t ms) = 0;
    virtual void StopStepTimer() = 0;
    // A running instance of the item's program (by its Title or program
    // file) came to the front.
    virtual bool ActivateRunning(const Item& item) = 0;
    // The item's command (Path, WrkDir, Style, Prio) as a normal user and
    // without any message.
    virtual ItemStart StartQuietly(const Item& item) = 0;
    // No folder of a started item stays current: the Windows drive's root is.
    virtual void RestOnWindowsDrive() = 0;
    virtual void Beep() = 0;
    // Lets the window messages that wait be handled (between autoclose items).
    virtual void ProcessPendingMessages() = 0;
    // Waits `ms` while the program closes (a busy autoclose item).
    virtual void Pause(std::uint32_t ms) = 0;
};

// The autostart list, one item per timer step. It runs once per process.
class Autostarter {
  public:
    Autostarter(const AppState& state, AutostartPlatform& platform)
        : s_(state), platform_(platform) {}
    Autostarter(const Autostarter&) = delete;
    Autostarter& operator=(const Autostarter&) = delete;

    // Decides and, unless skipped, schedules the first step; the beep of a
    // Shift skip is sounded here.
    AutostartDecision Decide(const AutostartFacts& facts);
    // The timer's step: starts or activates item AutostartIndex, then
    // schedules the next one or, after the last, rests on the Windows drive.
    void AutostartNext();
    // The program closes: a pending step is dropped and nothing starts after.
    void Abandon();

    std::int32_t AutostartIndex() const { return index_; }
    // A step is scheduled.
    bool Pending() const { return pending_; }

  private:
    const AppState& s_;
    AutostartPlatform& platform_;
    std::int32_t index_ = 0;
    std::uint32_t pauseMs_ = 100;
    int busyTries_ = 0;  // of the item at index_
    bool pending_ = false;
    bool abandoned_ = false;
};

enum class AutocloseOutcome { Ran, SkippedAfterExit, SkippedByShift };

// The autoclose list while the program closes: skipped after an exit from
// the menu (or by a new instance) when ACSkip is set, and when Shift is held
// (with a beep). Pending messages are handled between the items.
AutocloseOutcome RunAutoclose(const AppState& state, bool shiftHeld, AutostartPlatform& platform);

// A shortcut with this target and working folder points at `target` when
// the target is the same file, or the working folder joined with a relative
// target is; letter case aside.
bool LinkPointsTo(std::string_view target, std::string_view linkTarget,
                  std::string_view linkWorkDir);

}  // namespace zorv
