#include "bar/bar_window_win32.h"

#include <windowsx.h>

#include "support/dpi_win32.h"
#include "support/log.h"
#include "bar/reduce.h"
#include "support/text_win32.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

// The bar has no double clicks: two fast presses are two presses.
constexpr UINT kBarClassStyle = 0;

// The sink comes with WM_NCCREATE and stays in the window's user data; the
// few messages before it go to the default procedure.
LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* sink = reinterpret_cast<BarMessageSink*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!sink) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return sink->OnBarMessage(hwnd, msg, wParam, lParam);
}

HWND TryCreate(HINSTANCE instance, BarMessageSink& sink) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = kBarClassStyle;
    wc.lpfnWndProc = BarProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBarClass;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    // Given, the small icon is read from the icon file as it is; left out,
    // the system makes it by scaling the large one (Wine: 2 to 9 ms of start).
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    // Out of sight until the first show: 22 high, screen-wide, 23 above the top.
    return CreateWindowExW(WS_EX_TOOLWINDOW, kBarClass, kBarTitle, WS_POPUP, 0, -23,
                           GetSystemMetrics(SM_CXSCREEN), 22, nullptr, nullptr, instance, &sink);
}

}  // namespace

frmButtons::frmButtons(AppState& state, BarHost& host)
    : s_(state),
      host_(host),
      painter_(state, host, *this),
      clicks_(state, painter_, host),
      hover_(state, painter_, clicks_),
      drop_(state, painter_, host) {}

bool frmButtons::Create(HINSTANCE instance, BarMessageSink& sink) {
    for (int attempt = 1; attempt <= 1200; ++attempt) {
        hwnd_ = TryCreate(instance, sink);
        if (hwnd_) return true;
        Log(1, "CreateBarWindow: attempt %i failed (%u)", attempt,
            static_cast<std::uint32_t>(GetLastError()));
        Sleep(500);
    }
    return false;
}

void frmButtons::InitMotion() {
    if (s_.App.WindowsVersion.Code >= 1280) {
        const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    }
    painter_.AttachWindow(hwnd_);
    painter_.SetDpi(WindowDpi(hwnd_));
    motion_ = std::make_unique<BarMotion>(hwnd_, s_, painter_, clicks_.State(), hover_, host_);
    clicks_.SetMotion(motion_.get());
    drop_.SetMotion(motion_.get());
    hover_.SetDragSource(&drop_);
    clicks_.SetHover(&hover_);
    hover_.Attach(hwnd_, motion_.get());
    // A change asked for before (an older file taken over) keeps its pace.
    if (host_.ConfigChanged()) motion_->SaveSoon();
}

void frmButtons::FirstShow() {
    Log(1, "FirstShow");
    painter_.CreateBarImages();
    painter_.BarCreate(true);
    motion_->Placer().BarResize(0);
    const bool layered = s_.App.WindowsVersion.Win2000OrLater;
    Reducer& reducer = motion_->Reduce();
    if (layered && UsesAlpha(s_.Options, layered)) {
        // A layered window shows nothing until its attributes are set, so it
        // gets them together with the style.
        const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
        reducer.SetAlphaValue(kOpaque);
    }
    // A bar faded all the way is kept out of the way in its reduced place: the
    // placement below would otherwise bring it back to the top, nearly
    // invisible but still catching the clicks meant for the window beneath.
    const bool fadedOut =
        layered && s_.Options.AutoRed == 2 && FadedAlpha(s_.Options) == kLineAlpha;
    if (layered && s_.Options.AutoRed == 2) {
        reducer.SetAlphaValue(FadedAlpha(s_.Options));
        if (fadedOut) reducer.ReduceTo1();
    }
    motion_->Placer().SetBarPos(false);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderFlags);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
    painter_.BarRedraw(true);
    if (s_.Options.AutoRed == 1 || fadedOut) reducer.ReduceTo1();
    if (s_.Options.SepColor == 4) painter_.SetRgn();
    if (IsHung(hwnd_)) MsgBox("Froze", MB_OK | MB_ICONEXCLAMATION);
    motion_->StartPosTimer();
    // Files may be dropped on the bar from a moment after it shows: OLE
    // stays out of the start.
    SetTimer(hwnd_, kTimDropTarget, kDropTargetAfterShowMs, nullptr);
    Log(1, "FirstShow: W=%i, H=%i, scroll=%i", painter_.BarContentWidth(), painter_.BarHeight(),
        painter_.ScrollOffset());
}

bool frmButtons::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_PAINT:
            painter_.OnPaint(hwnd_);
            return true;
        case WM_MOUSEMOVE:
            OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
            return true;
        case WM_TIMER:
            if (wParam == kTimNewDpi) {
                OnDpiChanged(pendingDpi_.value_or(painter_.ScreenDpi()));
                return true;
            }
            if (wParam == kTimDropTarget) {
                KillTimer(hwnd_, kTimDropTarget);
                drop_.Register(hwnd_);
                return true;
            }
            if (!clicks_.OnTimer(hwnd_, wParam) && !hover_.OnTimer(wParam) && motion_)
                motion_->OnTimer(wParam);
            return true;
        case WM_DISPLAYCHANGE:
            // The screen the bar is on may have gone (it then is on the
            // primary one) or changed its scaling.
            OnDpiChanged(WindowDpi(hwnd_));
            if (motion_) motion_->OnDisplayChange();
            return true;
        case WM_DPICHANGED:
            // The bar places itself; the rectangle Windows suggests is not taken.
            OnDpiChanged(DpiOrStandard(LOWORD(wParam)));
            return true;
        case WM_SYSCOLORCHANGE:
            OnSysColorChange();
            return true;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETNONCLIENTMETRICS && motion_) motion_->OnNonClientMetricsChange();
            return false;
        case WM_MOVE:
            OnMove();
            return false;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            hover_.OnMouseDown();
            clicks_.OnMouseDown(hwnd_, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                                MouseButtonOf(msg), wParam);
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            clicks_.OnMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseButtonOf(msg),
                              wParam);
            return true;
        case WM_CAPTURECHANGED:
            clicks_.OnCaptureLost(hwnd_, reinterpret_cast<HWND>(lParam));
            return true;
        case WM_MOUSEACTIVATE:
            result = OnMouseActivate(wParam, lParam);
            return true;
        default:
            return false;
    }
}

// The steps of a mouse move: the hole check, the click's, then reduce,
// fade, restore, the top-most state and scrolling, then drag start, tooltip
// and the raised look.
void frmButtons::OnMouseMove(int x, int y, WPARAM keys) {
    Log(6, "FB_MM1 frmButtons_MouseMove(%i, %i, 0x%X)", x, y, static_cast<std::uint32_t>(keys));
    if (!motion_) return;
    const bool simulated = x == kSimulatedMoveX;
    if (!simulated) hover_.OnMouseMoveFirst(x, y);
    if (!simulated && !clicks_.OnMouseMove(x, y, keys)) return;
    // A held button keeps the mouse's moves coming from off the bar too;
    // they belong to the press only.
    RECT client{};
    if (GetCapture() == hwnd_ && GetClientRect(hwnd_, &client) && !PtInRect(&client, POINT{x, y}))
        return;
    if (motion_->OnMouseMove(hwnd_, x, y, simulated)) hover_.OnMouseMove(x, y, keys, simulated);
}

void frmButtons::OnSysColorChange() {
    Log(1, "frmButtons: system colours changed");
    if (!painter_.BarBuilt() || !motion_) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    motion_->Placer().BarResize(painter_.FullBarRecreate());
    painter_.BarRedraw(true);
}

// Everything of the bar is drawn anew for the new resolution, and the menus,
// whose icons come from the bar image, are built again. An open menu of the
// program is left alone: the bar moving and changing under it would cancel
// it, and under Wine a menu cancelled so can leave the mouse's presses going
// nowhere. The new resolution waits for the menu to close.
void frmButtons::OnDpiChanged(Dpi dpi) {
    if (dpi == painter_.ScreenDpi() && !pendingDpi_) return;
    if (host_.OwnMenuOpen()) {
        if (!pendingDpi_) Log(2, "frmButtons: %i dots per inch after the menu", dpi.Value);
        pendingDpi_ = dpi;
        SetTimer(hwnd_, kTimNewDpi, kNewDpiRetryMs, nullptr);
        return;
    }
    pendingDpi_.reset();
    KillTimer(hwnd_, kTimNewDpi);
    if (dpi == painter_.ScreenDpi()) return;
    Log(1, "frmButtons: %i dots per inch (was %i)", dpi.Value, painter_.ScreenDpi().Value);
    painter_.SetDpi(dpi);
    if (!painter_.BarBuilt() || !motion_) return;
    motion_->Placer().BarResize(painter_.FullBarRecreate());
    painter_.BarRedraw(true);
    motion_->Placer().SetBarRight();
    motion_->Ticker().State().RebuildMenusPending = true;
    motion_->Ticker().TimPosSetFast();
}

// A reduced bar that something moved to the top edge keeps its reduced
// height: it is put back up so that only its line shows.
void frmButtons::OnMove() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const std::optional<std::int32_t> top = ReducedBarTopAfterMove(
        s_.Options.AutoRed, painter_.BarBuilt(), ToScreenRect(r), painter_.BarHeight(),
        painter_.Metrics().LineHeight);
    if (top)
        SetWindowPos(hwnd_, nullptr, r.left, *top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A click on the bar does not activate it, so the window the user works in
// keeps the focus; with Shift or Ctrl (editing a button) it may.
LRESULT frmButtons::OnMouseActivate(WPARAM wParam, LPARAM lParam) {
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0)
        return DefWindowProcW(hwnd_, WM_MOUSEACTIVATE, wParam, lParam);
    return MA_NOACTIVATE;
}

void frmButtons::StopTimers() {
    if (motion_) motion_->StopTimers();
    hover_.StopTimers();
}

void frmButtons::OnDestroyed() {
    drop_.Revoke();
    hover_.OnDestroyed();
    painter_.ReleaseBarImages();
    hwnd_ = nullptr;
}

void frmButtons::AfterRedraw() {
    if (motion_) motion_->Platform().ReapplyAlpha(motion_->Reduce().State().CurrentAlpha);
}

void frmButtons::ColoursChanged() {
    if (motion_) motion_->Ticker().TimPosSetOneSecond();
}

void frmButtons::ReduceNow() {
    if (motion_) motion_->Reduce().ReduceNow();
}
void frmButtons::SetAlphaValue(std::int32_t alpha) {
    if (motion_) motion_->Reduce().SetAlphaValue(alpha);
}
void frmButtons::SetBarPos() {
    if (motion_) motion_->Placer().SetBarPos();
}
void frmButtons::SetBarRight() {
    if (motion_) motion_->Placer().SetBarRight();
}
std::int32_t frmButtons::CurrentRightGap() {
    return motion_ ? motion_->Placer().CurrentRightGap() : 0;
}
void frmButtons::TimPosSetFast() {
    if (motion_) motion_->Ticker().TimPosSetFast();
}
void frmButtons::StartEnsureVisibleTimer() {
    if (motion_) motion_->Platform().StartEnsureVisibleTimer();
}
bool frmButtons::BarShowsAtCorners() {
    return !motion_ || motion_->BarShowsAtCorners();
}
void frmButtons::ApplyLineColour() {
    if (painter_.BarBuilt()) painter_.BarCreate(false);
}
void frmButtons::SimMouseMoveOutSide() {
    if (hwnd_) SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(kSimulatedMoveX, 0));
}
void frmButtons::ShowAtOnce() {
    if (motion_) motion_->Reduce().UnScrollAndFade();
}
void frmButtons::ButtonsChanged() {
    if (!painter_.BarBuilt() || !motion_) return;
    motion_->Placer().BarResize(painter_.FullBarRecreate());
    painter_.BarRedraw(true);
    SimMouseMoveOutSide();
}
void frmButtons::SaveSoon() {
    if (motion_) motion_->SaveSoon();
}

}  // namespace zorv
