#include "bar/first_show_win32.h"

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_motion_win32.h"
#include "bar/reduce.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

// The time-out after which a window counts as hung (abort-if-hung).
constexpr UINT kHungTimeoutMs = 50;

bool LayeredWindowsAvailable() {
    return App.WindowsVersion.Win2000OrLater;
}

// A layered window shows nothing until its attributes are set, so it gets
// them together with the style.
void MakeLayered(HWND bar) {
    const LONG_PTR ex = GetWindowLongPtrW(bar, GWL_EXSTYLE);
    SetWindowLongPtrW(bar, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(bar, 0, 255, LWA_ALPHA);
    SetAlphaValue(kOpaque);
}

void PlaceAndShow(HWND bar) {
    SetBarPos();
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    SetWindowPos(bar, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool IsHung(HWND window) {
    DWORD_PTR result = 0;
    return !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungTimeoutMs, &result);
}

}  // namespace

void FirstShow(HWND bar) {
    Log(1, "FirstShow");
    AttachBarWindow(bar);
    CreateBarImages();
    BarCreate(true);
    BarResize(0);
    const bool layered = LayeredWindowsAvailable();
    if (layered && UsesAlpha(Options, layered)) MakeLayered(bar);
    // A bar faded all the way is kept out of the way in its reduced place: the
    // placement below would otherwise bring it back to the top, nearly
    // invisible but still catching the clicks meant for the window beneath.
    const bool fadedOut = layered && Options.AutoRed == 2 && FadedAlpha(Options) == kLineAlpha;
    if (layered && Options.AutoRed == 2) {
        SetAlphaValue(FadedAlpha(Options));
        if (fadedOut) ReduceTo1();
    }
    PlaceAndShow(bar);
    BarRedraw(true);
    if (Options.AutoRed == 1 || fadedOut) ReduceTo1();
    if (Options.SepColor == 4) SetRgn();
    if (IsHung(bar)) MsgBox("Froze", MB_OK | MB_ICONEXCLAMATION);
    StartPosTimer();
    Log(1, "FirstShow: W=%i, H=%i, scroll=%i", BarContentWidth(), BarHeight(), BarScrollOffset());
}

}  // namespace zorv
