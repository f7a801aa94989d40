// Skeleton: the window operations are being built.
#include "launch/window_ops_win32.h"

namespace zorv {

std::string WindowTextTimeout(HWND) {
    return {};
}
bool IsHung(HWND) {
    return false;
}
bool IsReallyVisible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}
void ActivateWindow(HWND window) {
    SetForegroundWindow(window);
}
void BringToFront(HWND window, const char*) {
    SetForegroundWindow(window);
}
bool ForceForeground(HWND window) {
    return SetForegroundWindow(window) != FALSE;
}
HWND FindWindowByTitle(const std::string&) {
    return nullptr;
}
void SnapshotTitleWindows(const std::string&) {}
HWND FindNewTitleWindow(const std::string&) {
    return nullptr;
}
std::string ExeOfWindow(HWND) {
    return {};
}
std::string ExeOfWindowShort(HWND) {
    return {};
}
std::string ShortPathUpper(const std::string& path) {
    return path;
}
bool ActivateApp(const std::string&, const std::string&) {
    return false;
}
void EndActivationCycle() {}

}  // namespace zorv
