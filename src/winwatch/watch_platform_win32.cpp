#include "winwatch/watch_platform_win32.h"

#include "support/window_win32.h"
#include "winwatch/bar_events.h"

namespace zorv {

namespace {

struct FormsTopmostContext {
    HWND Bar;
    Win32WatchPlatform* Platform;
};

}  // namespace

// SetWindowPos on a window of another thread waits until that thread has
// handled it; a hung program would stop the bar. Posting the request keeps
// the bar free, and Windows carries it out when the program recovers.
void Win32WatchPlatform::ZOrder(HWND window, HWND after) {
    if (!window) return;
    const UINT async = OwnedByThisProcess(window) ? 0 : SWP_ASYNCWINDOWPOS;
    const bool bar = window == ToHwnd(host_.BarWindow());
    if (bar) restackingBar_ = true;
    SetWindowPos(window, after, 0, 0, 0, 0, kZOrderFlags | async);
    if (bar) restackingBar_ = false;
}

WindowId Win32WatchPlatform::ForegroundWindow() {
    return ToWindowId(GetForegroundWindow());
}
WindowId Win32WatchPlatform::WindowAt(ScreenPoint point) {
    return ToWindowId(WindowFromPoint(POINT{point.X, point.Y}));
}
WindowId Win32WatchPlatform::Parent(WindowId window) {
    return ToWindowId(GetParent(ToHwnd(window)));
}
bool Win32WatchPlatform::Exists(WindowId window) {
    return window != 0 && IsWindow(ToHwnd(window));
}
bool Win32WatchPlatform::IsVisible(WindowId window) {
    return window != 0 && IsWindowVisible(ToHwnd(window));
}

std::uint32_t Win32WatchPlatform::ProcessOf(WindowId window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(ToHwnd(window), &pid);
    return pid;
}

std::string Win32WatchPlatform::ClassName(WindowId window) {
    return ClassOf(ToHwnd(window));
}

std::string Win32WatchPlatform::Text(WindowId window) {
    return WindowTextTimeout(ToHwnd(window));
}

std::uint32_t Win32WatchPlatform::Style(WindowId window) {
    if (window == 0) return 0;
    return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
}

ScreenRect Win32WatchPlatform::Rect(WindowId window) {
    RECT r{};
    if (window != 0) GetWindowRect(ToHwnd(window), &r);
    return ToScreenRect(r);
}

bool Win32WatchPlatform::SameSize(WindowId a, WindowId b) {
    WINDOWPLACEMENT pa{}, pb{};
    pa.length = pb.length = sizeof(WINDOWPLACEMENT);
    if (!GetWindowPlacement(ToHwnd(a), &pa) || !GetWindowPlacement(ToHwnd(b), &pb)) return false;
    const RECT& ra = pa.rcNormalPosition;
    const RECT& rb = pb.rcNormalPosition;
    return ra.right - ra.left == rb.right - rb.left && ra.bottom - ra.top == rb.bottom - rb.top;
}

// The text costs a message to the window: it is read only for a dialog.
bool Win32WatchPlatform::IsOwnWindow(WindowId window) {
    if (window == 0) return false;
    const HWND w = ToHwnd(window);
    return IsOwnWindowRule(window == host_.BarWindow(), OwnedByThisProcess(w), ClassOf(w),
                           [w] { return WindowTextTimeout(w); });
}

WindowId Win32WatchPlatform::Taskbar() {
    return ToWindowId(FindWindowW(L"Shell_TrayWnd", nullptr));
}

ScreenSize Win32WatchPlatform::Screen() {
    return {ScreenCaps(HORZRES), ScreenCaps(VERTRES)};
}

ScreenPoint Win32WatchPlatform::CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

std::int32_t Win32WatchPlatform::OpenFormCount() {
    const HWND bar = ToHwnd(host_.BarWindow());
    return bar ? zorv::OpenFormCount(bar) : 0;
}

bool Win32WatchPlatform::MenuOrToolbarVisible() {
    return VisibleTopLevel(L"#32768") || VisibleTopLevel(L"ToolbarWindow32");
}

bool Win32WatchPlatform::BarHasCapture() {
    const HWND bar = ToHwnd(host_.BarWindow());
    return bar && GetCapture() == bar;
}

void Win32WatchPlatform::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}

void Win32WatchPlatform::SetTopmost(WindowId window) {
    ZOrder(ToHwnd(window), HWND_TOPMOST);
}
void Win32WatchPlatform::SetNotTopmost(WindowId window) {
    ZOrder(ToHwnd(window), HWND_NOTOPMOST);
}
void Win32WatchPlatform::SetBottom(WindowId window) {
    ZOrder(ToHwnd(window), HWND_BOTTOM);
}
void Win32WatchPlatform::PlaceBehind(WindowId window, WindowId after) {
    ZOrder(ToHwnd(window), ToHwnd(after));
}

// A window that is already first among the top-most ones gets no z-order
// change from HWND_TOPMOST, and then Wine does not restack the screen either,
// where the activated window may have been raised above the bar. Leaving the
// top-most band and entering it again is a real change on every system (and
// invisible on Windows: the bar stays above the window in front). Tooltips
// and popup menus are top-most by themselves.
void Win32WatchPlatform::FormsTopmost() {
    const HWND bar = ToHwnd(host_.BarWindow());
    if (bar) {
        ZOrder(bar, HWND_NOTOPMOST);
        ZOrder(bar, HWND_TOPMOST);
    }
    FormsTopmostContext context{bar, this};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto& c = *reinterpret_cast<FormsTopmostContext*>(param);
            if (window != c.Bar && IsFormWindow(window)) c.Platform->SetTopmost(ToWindowId(window));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
}

// The taskbar belongs to the shell: its show state is changed without
// waiting for it.
void Win32WatchPlatform::HideWindow(WindowId window) {
    ShowWindowAsync(ToHwnd(window), SW_HIDE);
}
void Win32WatchPlatform::ShowWindow(WindowId window, std::int32_t showCommand) {
    ShowWindowAsync(ToHwnd(window), showCommand);
}
void Win32WatchPlatform::Maximize(WindowId window) {
    ShowWindowAsync(ToHwnd(window), SW_MAXIMIZE);
}

}  // namespace zorv
