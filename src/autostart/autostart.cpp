#include "autostart/autostart.h"

#include <algorithm>
#include <string>

#include "support/ascii.h"
#include "support/format_number.h"
#include "support/log.h"

namespace zorv {

bool IsTooLate(std::int32_t limitMinutes, const AutostartFacts& facts) {
    if (limitMinutes <= 0) return false;
    if (facts.Win9x) return facts.MsSinceBoot > static_cast<std::uint64_t>(limitMinutes) * 60000u;
    return facts.DaysSinceLogon > limitMinutes / 1440.0;
}

std::uint32_t AutostartPauseMs(double seconds) {
    if (!(seconds > 0.0)) return 100;
    return static_cast<std::uint32_t>(fmtnum::RoundHalfEven(std::min(seconds, 5.0) * 1000.0));
}

double DaysBetween(std::int64_t earlierSeconds, std::int64_t laterSeconds) {
    return static_cast<double>(laterSeconds - earlierSeconds) / 86400.0;
}

// In this order: the time limit, the switches, an empty list, Shift. The
// beep tells the user that Shift held back a list that would have run.
AutostartDecision DecideAutostart(const Settings& settings, std::int32_t itemCount,
                                  const AutostartFacts& facts) {
    AutostartDecision d;
    d.TooLate = IsTooLate(settings.ASTimeLimit, facts);
    if (facts.NoAutostartSwitch) {
        d.Skip = AutostartSkip::Switch;
    } else if (settings.ASTimeLimit >= 1 && d.TooLate) {
        d.Skip = AutostartSkip::TooLate;
    } else if (itemCount <= 0) {
        d.Skip = AutostartSkip::EmptyList;
    } else if (facts.ShiftHeld) {
        d.Skip = AutostartSkip::Shift;
        d.Beep = true;
    }
    d.FirstDelayMs = static_cast<std::uint32_t>(std::clamp(settings.ASDelay, 0, 60)) * 1000u;
    d.PauseMs = AutostartPauseMs(settings.ASPause);
    return d;
}

AutostartDecision Autostarter::Decide(const AutostartFacts& facts) {
    const AutostartDecision d =
        DecideAutostart(s_.Options, s_.Lists[kListAutostart].Count(), facts);
    Log(1, "DecideAutostart: TooLate=%i, skip=%i, %i items, delay %i ms, pause %i ms",
        d.TooLate ? 1 : 0, static_cast<int>(d.Skip), s_.Lists[kListAutostart].Count(),
        d.FirstDelayMs, d.PauseMs);
    if (d.Beep) platform_.Beep();
    if (d.Skip != AutostartSkip::None) return d;
    pauseMs_ = d.PauseMs;
    pending_ = true;
    platform_.StartStepTimer(d.FirstDelayMs);
    return d;
}

void Autostarter::AutostartNext() {
    platform_.StopStepTimer();
    pending_ = false;
    if (abandoned_ || s_.IsClosing) return;
    const clsItems& list = s_.Lists[kListAutostart];
    if (index_ < list.Count()) {
        Item item;
        list.GetItem(index_, item);
        Log(1, "AutostartNext %i: '%s'", index_, item.Desc);
        if (item.Desc != "-") {
            if (item.Activate == 1 && platform_.ActivateRunning(item)) {
                Log(2, "AutostartNext: a running instance was activated");
            } else {
                const ItemStart started = platform_.StartQuietly(item);
                if (started == ItemStart::Busy && ++busyTries_ < kBusyRetries) {
                    pending_ = true;
                    platform_.StartStepTimer(kBusyRetryMs);
                    return;
                }
                if (started != ItemStart::Started)
                    Log(1, "AutostartNext: '%s' did not start", item.Path);
            }
        }
        busyTries_ = 0;
        ++index_;
    }
    // The list may have been edited meanwhile: its count now is what counts.
    if (index_ < list.Count() && !abandoned_ && !s_.IsClosing) {
        pending_ = true;
        platform_.StartStepTimer(pauseMs_);
    } else {
        platform_.RestOnWindowsDrive();
    }
}

void Autostarter::Abandon() {
    abandoned_ = true;
    if (pending_) {
        platform_.StopStepTimer();
        pending_ = false;
        Log(1, "Autostart abandoned at item %i", index_);
    }
}

AutocloseOutcome RunAutoclose(const AppState& state, bool shiftHeld, AutostartPlatform& platform) {
    if (state.Options.ACSkip && state.ClosedFromMenu) {
        Log(1, "RunAutoclose: skipped after an exit from the menu");
        return AutocloseOutcome::SkippedAfterExit;
    }
    if (shiftHeld) {
        Log(1, "RunAutoclose: skipped, Shift is held");
        platform.Beep();
        return AutocloseOutcome::SkippedByShift;
    }
    const clsItems& list = state.Lists[kListAutoclose];
    Log(1, "RunAutoclose: %i items", list.Count());
    for (std::int32_t i = 0; i < list.Count(); ++i) {
        Item item;
        list.GetItem(i, item);
        if (item.Desc == "-") continue;
        ItemStart started = platform.StartQuietly(item);
        for (int tries = 1; started == ItemStart::Busy && tries < kBusyRetries; ++tries) {
            platform.ProcessPendingMessages();
            platform.Pause(kBusyRetryMs);
            started = platform.StartQuietly(item);
        }
        if (started != ItemStart::Started) Log(1, "RunAutoclose: '%s' did not start", item.Path);
        platform.ProcessPendingMessages();
    }
    return AutocloseOutcome::Ran;
}

bool LinkPointsTo(std::string_view target, std::string_view linkTarget,
                  std::string_view linkWorkDir) {
    if (target.empty() || linkTarget.empty()) return false;
    if (EqualsNoCase(target, linkTarget)) return true;
    if (linkWorkDir.empty()) return false;
    std::string joined(linkWorkDir);
    if (joined.back() != '\\') joined += '\\';
    joined += linkTarget;
    return EqualsNoCase(target, joined);
}

}  // namespace zorv
