// Starting items on Windows: the launcher's decisions run on the Win32
// platform, with the program's start-up state as its facts.
#include "launch/launch_win32.h"

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_window_win32.h"
#include "launch/execute.h"
#include "launch/launch_platform_win32.h"
#include "launch/window_ops_win32.h"
#include "support/text_win32.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

static_assert(kExecNothing == kItemNothing && kExecStarted == kItemStarted &&
              kExecActivated == kItemActivated);

namespace {

// Built on first use: the start-up state is fixed by then.
Launcher& TheLauncher() {
    static Launcher launcher(Win32LaunchPlatform(),
                             LaunchFacts{App.ProgramFolder, App.WindowsFolder, App.StartFolder,
                                         App.WindowsVersion.Major});
    return launcher;
}

}  // namespace

int ExecuteItem(int list, int index, bool startAnyway) {
    Log(1, "ExecuteItem(%i, %i, %i)", list, index, startAnyway);
    if (list < 0 || list >= kListCount || index < 0 || index >= Lists[list].Count()) {
        return kExecNothing;
    }
    Item item;
    Lists[list].GetItem(index, item);
    return TheLauncher().ExecuteItem(item, startAnyway);
}

bool ExecuteCommand(std::string& path, std::string& wrkDir, std::int32_t& userType,
                    std::int32_t style, std::int32_t& prio, const std::string& title,
                    bool showErrors) {
    return TheLauncher().ExecuteCommand(path, wrkDir, userType, style, prio, title, showErrors);
}

int LastExecuteResult() {
    return TheLauncher().LastResult();
}

bool ForcedWindowStatePending() {
    return TheLauncher().ForceState().Pending();
}

void CheckForcedWindowState() {
    CheckForcedWindowState(TheLauncher().ForceState(), Win32ForcePlatform());
}

// The bar comes to the front first so the box is not opened behind the
// window the user works in; that window gets the foreground back after.
int MsgBoxTop(const std::string& text, UINT style) {
    if (BarWindow()) ForceForeground(BarWindow());
    const int answer = MsgBox(text, style);
    RestoreFGWin();
    return answer;
}

}  // namespace zorv
