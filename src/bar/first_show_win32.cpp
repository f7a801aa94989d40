#include "bar/first_show_win32.h"

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_position.h"

namespace zorv {

namespace {
// Until buttons are drawn, the bar holds only its main-menu cell.
constexpr std::int32_t kMenuCellWidth = 22;
}  // namespace

void FirstShow(HWND bar) {
    const std::int32_t height = ButtonSizes[static_cast<std::size_t>(
        Options.ButH_id >= 0 && Options.ButH_id <= 2 ? Options.ButH_id : 0)];
    const std::int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const std::int32_t right =
        GetNewBarRight(false, Options.ForcedBarRight, GetSystemMetrics(SM_CXSIZE));
    const HorizontalPlace place = PlaceHorizontally(kMenuCellWidth, right, screenWidth);
    Log(1, "FirstShow: left=%i, width=%i, height=%i", place.Left, place.VisibleWidth, height);
    SetWindowPos(bar, nullptr, place.Left, 0, place.VisibleWidth, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    SetWindowPos(bar, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace zorv
