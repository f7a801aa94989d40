// The autostart and autoclose lists on Windows, and starting with Windows:
// the logon time, Shift, the beep, the message pump between autoclose
// items, and the shortcuts in the Startup folders. The decisions are the
// portable Autostarter's.
#pragma once

#include <string>

#include "autostart/autostart.h"
#include "autostart/autostart_host.h"

namespace zorv {

class AutostartShell final : private AutostartPlatform {
  public:
    AutostartShell(AppState& state, AutostartHost& host) : s_(state), host_(host) {}
    AutostartShell(const AutostartShell&) = delete;
    AutostartShell& operator=(const AutostartShell&) = delete;

    // Once, at the bar's first load: whether the list runs (and its first
    // step scheduled); TooLate also decides the wait for an idle system.
    AutostartDecision DecideAutostart();
    // The step timer fired.
    void AutostartNext() { starter_.AutostartNext(); }
    // The program closes: the rest of the list is abandoned.
    void Abandon() { starter_.Abandon(); }
    std::int32_t AutostartIndex() const { return starter_.AutostartIndex(); }
    // While the program closes (also at logoff and shutdown).
    AutocloseOutcome RunAutoclose();

    // Start with Windows: a shortcut to the program in a Startup folder.
    bool IsInStartup();
    void SetZorvToAutoStart(bool on);

  private:
    // AutostartPlatform.
    void StartStepTimer(std::uint32_t ms) override { host_.ScheduleAutostartStep(ms); }
    void StopStepTimer() override { host_.CancelAutostartStep(); }
    bool ActivateRunning(const Item& item) override { return host_.ActivateRunningItem(item); }
    ItemStart StartQuietly(const Item& item) override { return host_.StartItemQuietly(item); }
    void RestOnWindowsDrive() override;
    void Beep() override;
    void ProcessPendingMessages() override;
    void Pause(std::uint32_t ms) override;

    AppState& s_;
    AutostartHost& host_;
    Autostarter starter_{s_, *this};
};

// Days since the user logged on, 0 when it cannot be told.
double TimeSinceLogon();
// Writes the shortcut in the temporary folder, then moves it to `linkPath`;
// true when the shortcut was written.
bool CreateShortcut(const std::string& description, const std::string& linkPath,
                    const std::string& target, const std::string& workDir,
                    const std::string& arguments, int showCmd);
void DeleteShellFile(const std::string& path);
// The folder of a CSIDL value, empty when the system has none.
std::string GetSpecialFolder(int csidl);
// Whether a shortcut in that folder points at `target`; each one found is
// deleted when `remove` is set.
bool FindLinksTo(const std::string& target, int csidl, bool remove);

}  // namespace zorv
