#include "winwatch/watch_platform_win32.h"

#include <iterator>
#include <string_view>

#include "bar/bar_draw_win32.h"
#include "bar/bar_motion_win32.h"
#include "bar/bar_platform_win32.h"
#include "bar/bar_window_win32.h"
#include "launch/window_ops_win32.h"
#include "support/gdi_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

constexpr UINT kZOrderFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
// The x of the mouse move that tells the bar the mouse is outside.
constexpr int kSimulatedMoveX = 30000;

bool g_restackingBar = false;

bool OwnedByThisProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid == GetCurrentProcessId();
}

// SetWindowPos on a window of another thread waits until that thread has
// handled it; a hung program would stop the bar. Posting the request keeps
// the bar free, and Windows carries it out when the program recovers.
void ZOrder(HWND window, HWND after) {
    if (!window) return;
    const UINT async = OwnedByThisProcess(window) ? 0 : SWP_ASYNCWINDOWPOS;
    const bool bar = window == zorv::BarWindow();
    if (bar) g_restackingBar = true;
    SetWindowPos(window, after, 0, 0, 0, 0, kZOrderFlags | async);
    if (bar) g_restackingBar = false;
}

bool VisibleTopLevel(const wchar_t* cls) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
         w = FindWindowExW(nullptr, w, cls, nullptr)) {
        if (IsReallyVisible(w)) return true;
    }
    return false;
}

std::string ClassOf(HWND window) {
    wchar_t name[256];
    const int n = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return n > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(n))) : std::string();
}

// Tooltips and popup menus of the program are no forms: they come and go
// with the mouse and are top-most by themselves.
BOOL CALLBACK FormTopmost(HWND window, LPARAM bar) {
    if (window == reinterpret_cast<HWND>(bar) || !IsWindowVisible(window) ||
        GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        return TRUE;
    }
    const std::string cls = ClassOf(window);
    if (cls != "tooltips_class32" && cls != "#32768") ZOrder(window, HWND_TOPMOST);
    return TRUE;
}

std::int32_t DeviceCaps(int index) {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), index);
}

}  // namespace

bool RestackingBar() {
    return g_restackingBar;
}

WindowId Win32WatchPlatform::BarWindow() {
    return ToWindowId(zorv::BarWindow());
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
    return window != 0 ? ClassOf(ToHwnd(window)) : std::string();
}

std::string Win32WatchPlatform::Text(WindowId window) {
    return window != 0 ? WindowTextTimeout(ToHwnd(window)) : std::string();
}

std::uint32_t Win32WatchPlatform::Style(WindowId window) {
    if (window == 0) return 0;
    return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
}

ScreenRect Win32WatchPlatform::Rect(WindowId window) {
    RECT r{};
    if (window != 0) GetWindowRect(ToHwnd(window), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool Win32WatchPlatform::SameSize(WindowId a, WindowId b) {
    WINDOWPLACEMENT pa{}, pb{};
    pa.length = pb.length = sizeof(WINDOWPLACEMENT);
    if (!GetWindowPlacement(ToHwnd(a), &pa) || !GetWindowPlacement(ToHwnd(b), &pb)) return false;
    const RECT& ra = pa.rcNormalPosition;
    const RECT& rb = pb.rcNormalPosition;
    return ra.right - ra.left == rb.right - rb.left && ra.bottom - ra.top == rb.bottom - rb.top;
}

// The forms and message boxes of the program live in its process; a box
// titled like the program (shown by its companion library) counts too.
bool Win32WatchPlatform::IsOwnWindow(WindowId window) {
    if (window == 0) return false;
    const HWND w = ToHwnd(window);
    if (window == BarWindow() || OwnedByThisProcess(w)) return true;
    return ClassOf(w) == "#32770" && WindowTextTimeout(w) == Narrow(kAppTitle);
}

WindowId Win32WatchPlatform::Taskbar() {
    return ToWindowId(FindWindowW(L"Shell_TrayWnd", nullptr));
}

ScreenSize Win32WatchPlatform::Screen() {
    return {DeviceCaps(HORZRES), DeviceCaps(VERTRES)};
}

ScreenPoint Win32WatchPlatform::CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

std::int32_t Win32WatchPlatform::OpenFormCount() {
    const HWND bar = zorv::BarWindow();
    return bar ? Win32BarPlatform(bar).OpenFormCount() : 0;
}

bool Win32WatchPlatform::MenuOrToolbarVisible() {
    return VisibleTopLevel(L"#32768") || VisibleTopLevel(L"ToolbarWindow32");
}

bool Win32WatchPlatform::BarHasCapture() {
    const HWND bar = zorv::BarWindow();
    return bar && GetCapture() == bar;
}

bool Win32WatchPlatform::BarShowsAtCorners() {
    return zorv::BarShowsAtCorners();
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
// invisible on Windows: the bar stays above the window in front).
void Win32WatchPlatform::FormsTopmost() {
    const HWND bar = zorv::BarWindow();
    if (bar) {
        ZOrder(bar, HWND_NOTOPMOST);
        ZOrder(bar, HWND_TOPMOST);
    }
    EnumThreadWindows(GetCurrentThreadId(), FormTopmost, reinterpret_cast<LPARAM>(bar));
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

void Win32WatchPlatform::BringToFront(WindowId window, const char* tag) {
    zorv::BringToFront(ToHwnd(window), tag);
}

void Win32WatchPlatform::ReduceNow() {
    zorv::ReduceNow();
}
void Win32WatchPlatform::SetAlphaValue(std::int32_t alpha) {
    zorv::SetAlphaValue(alpha);
}
void Win32WatchPlatform::SetBarPos() {
    zorv::SetBarPos();
}

// The line's colour is resolved when the bar image is built; the image is
// built again without the cached picture, which may be older than the items.
void Win32WatchPlatform::ApplyLineColour() {
    if (BarBuilt()) BarCreate(false);
}

void Win32WatchPlatform::SimMouseMoveOutSide() {
    if (const HWND bar = zorv::BarWindow()) {
        SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(kSimulatedMoveX, 0));
    }
}

}  // namespace zorv
