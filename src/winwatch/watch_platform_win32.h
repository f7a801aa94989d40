// The foreground watcher's view of Windows: window facts read with
// time-outs, z-order changes that never wait on another program, and the
// bar's reduce and placement (through the application).
#pragma once

#include <windows.h>

#include "winwatch/foreground_watch.h"
#include "winwatch/watch_host.h"

namespace zorv {

class Win32WatchPlatform final : public WatchPlatform {
  public:
    explicit Win32WatchPlatform(WatchHost& host) : host_(host) {}

    // Set while a menu of the program or the item editor is shown.
    void SetBusy(bool busy) { busy_ = busy; }
    // True while the watcher itself changes the bar's z-order: the bar's
    // WM_WINDOWPOSCHANGED check then has nothing to repair (on the way
    // between two changes the bar may briefly lie below another top-most
    // window).
    bool RestackingBar() const { return restackingBar_; }

    WindowId BarWindow() override { return host_.BarWindow(); }
    WindowId ForegroundWindow() override;
    WindowId WindowAt(ScreenPoint point) override;
    WindowId Parent(WindowId window) override;
    bool Exists(WindowId window) override;
    bool IsVisible(WindowId window) override;
    std::uint32_t ProcessOf(WindowId window) override;
    std::string ClassName(WindowId window) override;
    std::string Text(WindowId window) override;
    std::uint32_t Style(WindowId window) override;
    ScreenRect Rect(WindowId window) override;
    bool SameSize(WindowId a, WindowId b) override;
    bool IsOwnWindow(WindowId window) override;
    WindowId Taskbar() override;

    ScreenSize Screen() override;
    ScreenPoint CursorPos() override;
    std::int32_t OpenFormCount() override;
    bool MenuOrToolbarVisible() override;
    bool Busy() override { return busy_; }
    bool BarHasCapture() override;
    bool BarShowsAtCorners() override { return host_.BarShowsAtCorners(); }
    void Sleep(std::uint32_t ms) override;

    void SetTopmost(WindowId window) override;
    void SetNotTopmost(WindowId window) override;
    void SetBottom(WindowId window) override;
    void PlaceBehind(WindowId window, WindowId after) override;
    void FormsTopmost() override;
    void HideWindow(WindowId window) override;
    void ShowWindow(WindowId window, std::int32_t showCommand) override;
    void Maximize(WindowId window) override;
    void BringToFront(WindowId window, const char* tag) override {
        host_.BringToFront(window, tag);
    }

    void ReduceNow() override { host_.ReduceNow(); }
    void SetAlphaValue(std::int32_t alpha) override { host_.SetAlphaValue(alpha); }
    void SetBarPos() override { host_.SetBarPos(); }
    void ApplyLineColour() override { host_.ApplyLineColour(); }
    void SimMouseMoveOutSide() override { host_.SimMouseMoveOutSide(); }

  private:
    void ZOrder(HWND window, HWND after);

    WatchHost& host_;
    bool busy_ = false;
    bool restackingBar_ = false;
};

}  // namespace zorv
