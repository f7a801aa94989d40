// Skeleton: the click handling is being built.
#include "bar/bar_click_win32.h"

namespace zorv {

void OnBarMouseDown(HWND, int, int, int, WPARAM) {}
void OnBarMouseUp(HWND, int, int, int, WPARAM) {}
bool OnBarMouseMoveClick(HWND, int, int, WPARAM) {
    return true;
}

}  // namespace zorv
