// What the bar does when the foreground window changes: the foreground
// history, the bar on top or out of the way, the covered state for videos and
// full-screen windows, giving the foreground back after the program's own
// menus and boxes, and the Maximizer. Portable: the system is reached
// through WatchPlatform; the Win32 shell implements it, tests record it.
#pragma once

#include <cstdint>
#include <string>

#include "support/geometry.h"
#include "items/settings.h"
#include "winwatch/cover_state.h"
#include "winwatch/foreground_history.h"
#include "winwatch/window_rules.h"

namespace zorv {

class WatchPlatform {
  public:
    virtual ~WatchPlatform() = default;

    // Windows.
    virtual WindowId BarWindow() = 0;
    virtual WindowId ForegroundWindow() = 0;  // GetForegroundWindow
    virtual WindowId WindowAt(ScreenPoint point) = 0;
    virtual WindowId Parent(WindowId window) = 0;  // GetParent: parent or owner
    virtual bool Exists(WindowId window) = 0;
    virtual bool IsVisible(WindowId window) = 0;
    virtual std::uint32_t ProcessOf(WindowId window) = 0;
    virtual std::string ClassName(WindowId window) = 0;
    virtual std::string Text(WindowId window) = 0;  // asked with a time-out
    virtual std::uint32_t Style(WindowId window) = 0;
    virtual ScreenRect Rect(WindowId window) = 0;
    // Whether the restored (normal-position) rectangles are equally big.
    virtual bool SameSize(WindowId a, WindowId b) = 0;
    // The bar, a form of the program, or one of its message boxes.
    virtual bool IsOwnWindow(WindowId window) = 0;
    virtual WindowId Taskbar() = 0;  // "Shell_TrayWnd", or 0

    // The system and the program.
    virtual ScreenSize Screen() = 0;
    virtual ScreenPoint CursorPos() = 0;
    virtual std::int32_t OpenFormCount() = 0;  // the bar counts as one
    virtual bool MenuOrToolbarVisible() = 0;   // one look
    // Set while a menu of the program or the item editor is shown.
    virtual bool Busy() = 0;
    virtual bool BarHasCapture() = 0;
    virtual bool BarShowsAtCorners() = 0;
    virtual void Sleep(std::uint32_t ms) = 0;

    // Z-order: no move, no size, no activation.
    virtual void SetTopmost(WindowId window) = 0;
    virtual void SetNotTopmost(WindowId window) = 0;
    virtual void SetBottom(WindowId window) = 0;
    virtual void PlaceBehind(WindowId window, WindowId after) = 0;
    virtual void FormsTopmost() = 0;  // every loaded form of the program
    virtual void HideWindow(WindowId window) = 0;
    virtual void ShowWindow(WindowId window, std::int32_t showCommand) = 0;
    virtual void Maximize(WindowId window) = 0;
    virtual void BringToFront(WindowId window, const char* tag) = 0;

    // The bar.
    virtual void ReduceNow() = 0;
    virtual void SetAlphaValue(std::int32_t alpha) = 0;
    virtual void SetBarPos() = 0;
    virtual void ApplyLineColour() = 0;  // the line drawn in the colour of LineColor
    virtual void SimMouseMoveOutSide() = 0;
};

// Follows the parents upwards while each is visible and belongs to the
// window's process; the topmost such window.
WindowId RootOwner(WatchPlatform& platform, WindowId window);

struct WatchState {
    WindowId LastHandled = 0;  // the last foreground window OnNewFGWin looked at
    bool LastWasDX = false;
    bool OnTop = false;
    WindowId MaximizerPrevious = 0;
    CoverState Cover;
    ForegroundHistory History;
};

struct WatchTraits {
    std::int32_t WindowsMajor = 10;
    bool Win2000OrLater = true;
};

class ForegroundWatcher {
  public:
    ForegroundWatcher(WatchPlatform& platform, Settings& settings, WatchTraits traits)
        : platform_(platform), settings_(settings), traits_(traits) {}

    WatchState& State() { return state_; }
    const WatchState& State() const { return state_; }

    // The facts the rules look at; the text is read when first needed.
    WindowFacts Facts(WindowId window);

    // NewFgWinTimer fired (after the forced window state was checked).
    void OnNewFGWin();
    void WorkOnNewFGWin();
    void CheckForVideoOrFullscreen();
    void TopNow();
    void NoTop();

    bool IsDX(WindowId window);
    bool IsSpecialWindow(WindowId window);
    bool IsSimpleFullscreenWindow(WindowId window);
    bool IsMenuOrToolbarShown();

    // A mouse move on the bar: the foreground window joins the history when
    // it is new there and not one of the program's own.
    void RecordForegroundWindow();
    WindowId NewestHistoryWindow();
    void SetLastFGWin();
    void RestoreFGWin();

    // The Maximizer, for the window of a creation or activation notification.
    void MaximizeLikePrevious(WindowId window);

  private:
    RuleContext Context();
    WindowId VisibleForeground();
    bool TopNowAllowed(const WindowFacts& fg, const WindowFacts& centre);
    void TaskbarOnTop();
    void BarOnTop();
    void ApplyCover(bool covered);

    WatchPlatform& platform_;
    Settings& settings_;
    WatchTraits traits_;
    WatchState state_;
};

}  // namespace zorv
