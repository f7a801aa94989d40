#include "launch/launch_win32.h"

#include "support/log.h"
#include "launch/window_ops_win32.h"

namespace zorv {

LaunchShell::LaunchShell(AppState& state, LaunchHost& host)
    : s_(state),
      processes_(state.App),
      activatePlatform_(state.App, processes_),
      cycle_(activatePlatform_),
      launch_(state, host, cycle_),
      force_(state.App, processes_),
      launcher_(launch_, LaunchFacts{state.App.ProgramFolder, state.App.WindowsFolder,
                                     state.App.StartFolder, state.App.WindowsVersion.Major}) {}

ExecResult LaunchShell::ExecuteItem(int list, int index, bool startAnyway) {
    Log(1, "ExecuteItem(%i, %i, %i)", list, index, startAnyway);
    if (list < 0 || list >= kListCount || index < 0 || index >= s_.Lists[list].Count()) {
        return ExecResult::Nothing;
    }
    Item item;
    s_.Lists[list].GetItem(index, item);
    return launcher_.ExecuteItem(item, startAnyway);
}

bool LaunchShell::ExecuteCommand(std::string& path, std::string& wrkDir, std::int32_t& userType,
                                 std::int32_t style, std::int32_t& prio, const std::string& title,
                                 bool showErrors) {
    return launcher_.ExecuteCommand(path, wrkDir, userType, style, prio, title, showErrors);
}

void LaunchShell::CheckForcedWindowState() {
    if (launcher_.ForceState().Pending())
        zorv::CheckForcedWindowState(launcher_.ForceState(), force_);
}

void LaunchShell::BringToFront(HWND window, const char* tag) {
    zorv::BringToFront(window, tag, HasForegroundLock(s_.App.WindowsVersion));
}

}  // namespace zorv
