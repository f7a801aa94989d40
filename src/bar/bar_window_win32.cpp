#include "bar/bar_window_win32.h"

#include <windowsx.h>

#include "app/app_state.h"
#include "app/log.h"
#include "app/startup_steps_win32.h"
#include "bar/bar_click_win32.h"
#include "bar/bar_events_win32.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

namespace {

HWND g_bar = nullptr;

// The bar has no double clicks: two fast presses are two presses.
constexpr UINT kBarClassStyle = 0;

// Form_QueryUnload: timers off, pending save, autoclose list, then unload.
void OnClose(HWND hwnd, WPARAM wParam) {
    if (wParam == kCloseFromNewInstance) ClosedFromMenu = true;
    Log(1, "frmButtons_QueryUnload(wParam=%X, ClosedFromMenu=%i)",
        static_cast<std::uint64_t>(wParam), ClosedFromMenu ? 1 : 0);
    IsClosing = true;
    StopMotionTimers(hwnd);
    StopBarTimers();
    SavePendingConfig();
    if (GetKeyState(VK_SHIFT) < 0) {
        MessageBeep(MB_OK);  // Shift held: the autoclose list is skipped
    } else {
        RunAutocloseList();
    }
    DestroyWindow(hwnd);
}

void OnDestroy() {
    Log(1, "frmButtons_Unload");
    EndForegroundTracking();
    ReleaseBarImages();
    g_bar = nullptr;
    PostQuitMessage(0);
}

// A click on the bar does not activate it, so the window the user works in
// keeps the focus; with Shift or Ctrl (editing a button) it may.
LRESULT OnMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0)
        return DefWindowProcW(hwnd, WM_MOUSEACTIVATE, wParam, lParam);
    return MA_NOACTIVATE;
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The foreground tracking sees every message first (shell hook, its
    // timers, moves, setting changes) and never consumes one.
    OnWatchMessage(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT:
            OnBarPaint(hwnd);
            return 0;
        case WM_MOUSEMOVE:
            OnBarMouseMove(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
            return 0;
        case WM_TIMER:
            OnBarTimer(hwnd, wParam);
            return 0;
        case WM_DISPLAYCHANGE:
            OnBarDisplayChange(hwnd);
            return 0;
        case WM_SYSCOLORCHANGE:
            OnBarSysColorChange(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            OnBarMouseDown(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseButtonOf(msg),
                           wParam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            OnBarMouseUp(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseButtonOf(msg),
                         wParam);
            return 0;
        case WM_MOUSEACTIVATE:
            return OnMouseActivate(hwnd, wParam, lParam);
        case WM_CLOSE:
            OnClose(hwnd, wParam);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

HWND TryCreate(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = kBarClassStyle;
    wc.lpfnWndProc = BarProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBarClass;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    // Out of sight until the first show: 22 high, screen-wide, 23 above the top.
    return CreateWindowExW(WS_EX_TOOLWINDOW, kBarClass, kBarTitle, WS_POPUP, 0, -23,
                           GetSystemMetrics(SM_CXSCREEN), 22, nullptr, nullptr, instance, nullptr);
}

}  // namespace

HWND BarWindow() {
    return g_bar;
}

bool CreateBarWindow(HINSTANCE instance) {
    for (int attempt = 1; attempt <= 1200; ++attempt) {
        g_bar = TryCreate(instance);
        if (g_bar) break;
        Log(1, "CreateBarWindow: attempt %i failed (%u)", attempt,
            static_cast<std::uint32_t>(GetLastError()));
        Sleep(500);
    }
    if (!g_bar) return false;
    BarFirstLoad(g_bar);
    return true;
}

void UnloadAllWindows() {
    if (g_bar) DestroyWindow(g_bar);
}

}  // namespace zorv
