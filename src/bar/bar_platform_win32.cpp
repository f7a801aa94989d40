#include "bar/bar_platform_win32.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <iterator>
#include <string_view>

#include "app/app_state.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_layout.h"
#include "bar/position_tick.h"
#include "bar/reduce.h"
#include "items/config_win32.h"
#include "support/gdi_win32.h"
#include "support/text_win32.h"
#include "support/tick_clock.h"

namespace zorv {

namespace {

// A window of another program gets this long to take a paint message; the
// soft reduce gives up on a step that takes 30 ms.
constexpr UINT kPaintTimeoutMs = 20;
constexpr UINT kZOrderFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

// ---- The drawing code's view of the bar --------------------------------

// Before the first build the bar is the main-menu cell alone, at the
// configured height.
BarSize DrawnBarSize() {
    if (BarBuilt()) return {BarHeight(), BarContentWidth(), BarButtonWidth()};
    const std::int32_t buttonWidth = ButtonWidth(Options.ButFlat);
    return {ResolveBarMetrics(Options.ButH_id).Height, buttonWidth, buttonWidth};
}

void DrawBar(HWND bar, std::int32_t scrollOffset) {
    SetBarScrollOffset(scrollOffset);
    if (BarBuilt()) {
        zorv::BarRedraw(true);
    } else {
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

// ---- Other windows ---------------------------------------------------------

std::string ClassOf(HWND window) {
    wchar_t name[256];
    const int n = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return n > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(n))) : std::string();
}

bool VisibleTopLevel(const wchar_t* cls) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
         w = FindWindowExW(nullptr, w, cls, nullptr)) {
        if (IsWindowVisible(w)) return true;
    }
    return false;
}

// Visible windows of this thread that are forms of their own: dialogs,
// message boxes, editors. Tooltips and popup menus do not count.
BOOL CALLBACK CountForm(HWND window, LPARAM param) {
    auto& count = *reinterpret_cast<std::int32_t*>(param);
    if (!IsWindowVisible(window) || GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        return TRUE;
    }
    const std::string cls = ClassOf(window);
    if (cls != "tooltips_class32" && cls != "#32768") ++count;
    return TRUE;
}

ScreenRect ToScreenRect(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::int32_t DeviceCaps(int index) {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), index);
}

}  // namespace

void Win32BarPlatform::ReapplyAlpha(std::int32_t alpha) {
    if (!(GetWindowLongPtrW(bar_, GWL_EXSTYLE) & WS_EX_LAYERED)) return;
    BYTE current = 0;
    DWORD flags = 0;
    const auto wanted = static_cast<BYTE>(alpha & 0xFF);
    if (GetLayeredWindowAttributes(bar_, nullptr, &current, &flags) && (flags & LWA_ALPHA) &&
        current == wanted) {
        return;
    }
    SetLayeredWindowAttributes(bar_, 0, wanted, LWA_ALPHA);
}

void Win32BarPlatform::StartEnsureVisibleTimer() {
    SetTimer(bar_, kTimEnsureVisible, kEnsureVisibleMs, nullptr);
}

void Win32BarPlatform::StopMotionTimers() {
    KillTimer(bar_, kTimAutoreduce);
    KillTimer(bar_, kTimPos);
    KillTimer(bar_, kTimEnsureVisible);
    posEnabled_ = false;
}

std::uint64_t Win32BarPlatform::NowMs() {
    return TickCount64();
}
void Win32BarPlatform::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}
void Win32BarPlatform::BeginTimerResolution() {
    timeBeginPeriod(1);
}
void Win32BarPlatform::EndTimerResolution() {
    timeEndPeriod(1);
}
void Win32BarPlatform::SetHighPriority() {
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}
void Win32BarPlatform::SetNormalPriority() {
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

ScreenRect Win32BarPlatform::BarRect() {
    RECT r{};
    GetWindowRect(bar_, &r);
    return ToScreenRect(r);
}

BarSize Win32BarPlatform::CurrentBarSize() {
    return DrawnBarSize();
}

void Win32BarPlatform::MoveBar(const ScreenRect& rect) {
    MoveWindow(bar_, rect.Left, rect.Top, rect.Width, rect.Height, TRUE);
}

void Win32BarPlatform::RepaintBar() {
    RedrawWindow(bar_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// SetLayeredWindowAttributes fails on a window without WS_EX_LAYERED. The
// bar gets the style at its first show when the settings ask for alpha; a
// later setting change may ask before that, so the style is added here. An
// opaque value needs no layering.
void Win32BarPlatform::SendAlpha(std::uint8_t alpha) {
    const LONG_PTR ex = GetWindowLongPtrW(bar_, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) {
        if (alpha == kOpaque) return;
        SetWindowLongPtrW(bar_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    }
    SetLayeredWindowAttributes(bar_, 0, alpha, LWA_ALPHA);
}

ScreenPoint Win32BarPlatform::CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

bool Win32BarPlatform::MouseOnBar() {
    return MouseOnBarNow(false);
}
bool Win32BarPlatform::BarHasCapture() {
    return GetCapture() == bar_;
}
bool Win32BarPlatform::AltDown() {
    return GetKeyState(VK_MENU) < 0;
}
bool Win32BarPlatform::MouseButtonDown() {
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
}

bool Win32BarPlatform::IsMenuOrToolbarShown() {
    if (hooks_.IsMenuOrToolbarShown) return hooks_.IsMenuOrToolbarShown();
    return VisibleTopLevel(L"#32768") || VisibleTopLevel(L"ToolbarWindow32");
}

std::int32_t Win32BarPlatform::OpenFormCount() {
    std::int32_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountForm, reinterpret_cast<LPARAM>(&count));
    // The bar counts as one even while it is hidden (before its first show).
    if (!IsWindowVisible(bar_)) ++count;
    return count;
}

void Win32BarPlatform::HideToolTip() {
    if (hooks_.HideToolTip) hooks_.HideToolTip();
}
void Win32BarPlatform::Try4UnRaise() {
    zorv::Try4UnRaise();
}

// Under Wine an activated window can cover the top-most bar on screen while
// the window manager still lists the bar in front; only a new HWND_TOPMOST
// puts it back on top for real.
void Win32BarPlatform::TopNow() {
    if (hooks_.TopNow) {
        hooks_.TopNow();
        return;
    }
    SetWindowPos(bar_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
}

void Win32BarPlatform::EndActivationCycle() {
    if (hooks_.EndActivationCycle) hooks_.EndActivationCycle();
}
void Win32BarPlatform::RecordForegroundWindow() {
    if (hooks_.RecordForegroundWindow) hooks_.RecordForegroundWindow();
}

void Win32BarPlatform::StopAutoReduceTimer() {
    KillTimer(bar_, kTimAutoreduce);
}
void Win32BarPlatform::StartAutoReduceTimer() {
    SetTimer(bar_, kTimAutoreduce, kAutoReduceIntervalMs, nullptr);
}

// Enabling a running timer leaves its countdown alone: every mouse move over
// the bar starts timPos, and the tick must still come.
void Win32BarPlatform::StartPosTimer() {
    if (posEnabled_) return;
    posEnabled_ = true;
    SetTimer(bar_, kTimPos, posIntervalMs_, nullptr);
}

void Win32BarPlatform::SetPosTimerInterval(std::uint32_t ms) {
    if (ms == posIntervalMs_) return;
    posIntervalMs_ = ms;
    if (posEnabled_) SetTimer(bar_, kTimPos, posIntervalMs_, nullptr);
}

void Win32BarPlatform::StopEnsureVisibleTimer() {
    KillTimer(bar_, kTimEnsureVisible);
}

WindowId Win32BarPlatform::WindowAt(ScreenPoint point) {
    return ToWindowId(WindowFromPoint(POINT{point.X, point.Y}));
}

bool Win32BarPlatform::WindowHasCaption(WindowId window) {
    return (GetWindowLongPtrW(ToHwnd(window), GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

std::string Win32BarPlatform::WindowProcessName(WindowId window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(ToHwnd(window), &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!ok) return {};
    const std::wstring_view full(path, size);
    return Narrow(full.substr(full.find_last_of(L"\\/") + 1));
}

// A hung program must not stall the animation: the message is given up
// after a short time-out.
void Win32BarPlatform::SendPaint(WindowId window, bool nonClient) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(ToHwnd(window), nonClient ? WM_NCPAINT : WM_PAINT, nonClient ? 1 : 0, 0,
                        SMTO_ABORTIFHUNG | SMTO_NORMAL, kPaintTimeoutMs, &result);
}

std::int32_t Win32BarPlatform::ScreenWidth() {
    return DeviceCaps(HORZRES);
}
std::int32_t Win32BarPlatform::ScreenHeight() {
    return DeviceCaps(VERTRES);
}
// The drawing code stores the depth the same way (bits per pixel times
// planes), so the two never disagree about a change.
std::int32_t Win32BarPlatform::BitsPerPixel() {
    return DeviceCaps(BITSPIXEL) * DeviceCaps(PLANES);
}
std::int32_t Win32BarPlatform::SysColor3DFace() {
    return static_cast<std::int32_t>(GetSysColor(COLOR_3DFACE));
}
std::int32_t Win32BarPlatform::CaptionButtonWidth() {
    return GetSystemMetrics(SM_CXSIZE);
}
std::string Win32BarPlatform::WindowClassName(WindowId window) {
    return ClassOf(ToHwnd(window));
}

ScreenRect Win32BarPlatform::WindowRect(WindowId window) {
    RECT r{};
    GetWindowRect(ToHwnd(window), &r);
    return ToScreenRect(r);
}

std::optional<ScreenRect> Win32BarPlatform::TaskbarRect() {
    APPBARDATA abd{};
    abd.cbSize = sizeof abd;
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &abd)) return std::nullopt;
    return ToScreenRect(abd.rc);
}

WindowId Win32BarPlatform::ForegroundWindow() {
    return ToWindowId(GetForegroundWindow());
}

std::uint32_t Win32BarPlatform::WindowStyle(WindowId window) {
    if (window == 0) return 0;
    return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
}

ScreenBorder Win32BarPlatform::MouseOnBorder() {
    const ScreenPoint cursor = CursorPos();
    const std::int32_t width = ScreenWidth();
    if (zorv::MouseOnBorder(cursor.X, width, false)) return ScreenBorder::Left;
    if (zorv::MouseOnBorder(cursor.X, width, true)) return ScreenBorder::Right;
    return ScreenBorder::None;
}

bool Win32BarPlatform::ButtonPressed() {
    return PressedIndex() >= 0;
}

void Win32BarPlatform::BarRedraw() {
    DrawBar(bar_, placement_ ? placement_->ScrollOffset : BarScrollOffset());
}

bool Win32BarPlatform::BarIsTopmost() {
    return (GetWindowLongPtrW(bar_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Win32BarPlatform::ZOrderBottomTopTopmost() {
    SetWindowPos(bar_, HWND_BOTTOM, 0, 0, 0, 0, kZOrderFlags);
    SetWindowPos(bar_, HWND_TOP, 0, 0, 0, 0, kZOrderFlags);
    SetWindowPos(bar_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
}

void Win32BarPlatform::ZOrderNotTopmostTopmost() {
    SetWindowPos(bar_, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderFlags);
    SetWindowPos(bar_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
}

void Win32BarPlatform::RebuildMenus() {
    if (hooks_.RebuildMenus) hooks_.RebuildMenus();
}

void Win32BarPlatform::RebuildColourResources() {
    CreateBarImages();
    BarCreate(false);
}

void Win32BarPlatform::SaveConfiguration() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SaveIniNow();
    SetCursor(previous);
}

std::uint64_t Win32BarPlatform::MinWorkingSetSize() {
    SIZE_T minimum = 0, maximum = 0;
    if (!GetProcessWorkingSetSize(GetCurrentProcess(), &minimum, &maximum)) return kWorkingSetFloor;
    return minimum;
}

void Win32BarPlatform::SetWorkingSetSize(std::uint64_t minimum, std::uint64_t maximum) {
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(minimum),
                             static_cast<SIZE_T>(maximum));
}

bool Win32BarPlatform::IsDX(WindowId window) {
    return hooks_.IsDX ? hooks_.IsDX(window) : false;
}
bool Win32BarPlatform::IsSpecialWindow(WindowId window) {
    return hooks_.IsSpecialWindow ? hooks_.IsSpecialWindow(window) : false;
}
void Win32BarPlatform::CheckForVideoOrFullscreen() {
    if (hooks_.CheckForVideoOrFullscreen) hooks_.CheckForVideoOrFullscreen();
}

}  // namespace zorv
