#include "bar/bar_platform_win32.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <iterator>
#include <string_view>

#include "bar/bar_layout.h"
#include "bar/reduce.h"
#include "support/dpi_win32.h"
#include "support/text_win32.h"
#include "support/late_bound_win32.h"
#include "support/timer_resolution_win32.h"
#include "support/tick_clock.h"

namespace zorv {

namespace {

// A window of another program gets this long to take a paint message; the
// soft reduce gives up on a step that takes 30 ms.
constexpr UINT kPaintTimeoutMs = 20;

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
// The multimedia library is bound when an animation first wants it.
void Win32BarPlatform::BeginTimerResolution() {
    BeginTimerResolution1ms();
}
void Win32BarPlatform::EndTimerResolution() {
    EndTimerResolution1ms();
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
    return painter_.DrawnBarSize();
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
    return painter_.MouseOnBarNow(false);
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
    return host_.IsMenuOrToolbarShown();
}

std::int32_t Win32BarPlatform::OpenFormCount() {
    return zorv::OpenFormCount(bar_);
}

void Win32BarPlatform::HideToolTip() {
    hover_.Hide_ToolTip();
}
void Win32BarPlatform::Try4UnRaise() {
    hover_.Try4UnRaise();
}
void Win32BarPlatform::TopNow() {
    host_.TopNow();
}
void Win32BarPlatform::EndActivationCycle() {
    host_.EndActivationCycle();
}
void Win32BarPlatform::RecordForegroundWindow() {
    host_.RecordForegroundWindow();
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
    return ScreenCaps(HORZRES);
}
std::int32_t Win32BarPlatform::ScreenHeight() {
    return ScreenCaps(VERTRES);
}
// The drawing code stores the depth the same way, so the two never disagree
// about a change.
std::int32_t Win32BarPlatform::BitsPerPixel() {
    return ScreenBitsPerPixel();
}
std::int32_t Win32BarPlatform::SysColor3DFace() {
    return static_cast<std::int32_t>(GetSysColor(COLOR_3DFACE));
}
std::int32_t Win32BarPlatform::CaptionButtonWidth() {
    return SystemMetricAt(SM_CXSIZE, WindowDpi(bar_));
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
    static const auto appBar =
        LateBound<decltype(&SHAppBarMessage)>(L"shell32.dll", "SHAppBarMessage");
    if (!appBar || !appBar(ABM_GETTASKBARPOS, &abd)) return std::nullopt;
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
    return clicks_.Pressed >= 0;
}

void Win32BarPlatform::BarRedraw() {
    painter_.SetScrollOffset(placement_ ? placement_->ScrollOffset : painter_.ScrollOffset());
    if (painter_.BarBuilt()) {
        painter_.BarRedraw(true);
    } else {
        RedrawWindow(bar_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
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
    host_.RebuildMenus();
}

void Win32BarPlatform::RebuildColourResources() {
    painter_.CreateBarImages();
    painter_.BarCreate(false);
}

void Win32BarPlatform::SaveConfiguration() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    host_.SaveConfiguration();
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
    return host_.IsDX(window);
}
bool Win32BarPlatform::IsSpecialWindow(WindowId window) {
    return host_.IsSpecialWindow(window);
}
void Win32BarPlatform::CheckForVideoOrFullscreen() {
    host_.CheckForVideoOrFullscreen();
}

}  // namespace zorv
