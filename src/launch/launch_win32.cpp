// Skeleton: the launcher is being built.
#include "launch/launch_win32.h"

namespace zorv {

int ExecuteItem(int, int, bool) {
    return kExecNothing;
}
bool ExecuteCommand(std::string&, std::string&, std::int32_t&, std::int32_t, std::int32_t&,
                    const std::string&, bool) {
    return false;
}
bool ForcedWindowStatePending() {
    return false;
}
void CheckForcedWindowState() {}
int MsgBoxTop(const std::string&, UINT) {
    return 0;
}

}  // namespace zorv
