#include "support/dpi_win32.h"

#include "support/late_bound_win32.h"

namespace zorv {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

Dpi ScreenDpi() {
    static const auto forSystem = LateBound<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    if (forSystem) return DpiOrStandard(forSystem());
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return DpiOrStandard(dpi);
}

}  // namespace

Dpi WindowDpi(HWND window) {
    static const auto forWindow = LateBound<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return DpiOrStandard(dpi);
    }
    return ScreenDpi();
}

int SystemMetricAt(int index, Dpi dpi) {
    static const auto forDpi =
        LateBound<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi.Value));
    const Dpi system = ScreenDpi();
    return static_cast<int>(static_cast<long long>(GetSystemMetrics(index)) * dpi.Value /
                            system.Value);
}

}  // namespace zorv
