// What the bar's reduce, fade and placement logic needs from the system: the
// facts it reads and the actions it asks for. Portable: no Windows headers;
// the Win32 bar window implements the interfaces, tests record the calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "support/geometry.h"

namespace zorv {

// The bar's geometry as the layout computed it.
struct BarSize {
    std::int32_t Height = 0;        // H: one row of buttons
    std::int32_t ContentWidth = 0;  // W: all cells plus the main-menu cell
    std::int32_t ButtonWidth = 0;
    std::int32_t LineHeight = 1;    // the row below the buttons
    Dpi Scale;                      // the screen the bar is drawn for
};

// Facts of the platform fixed for the life of the process.
struct PlatformTraits {
    bool LayeredOK = true;       // per-window alpha (Windows 2000 and later)
    bool OldPaintRules = false;  // Windows 95/98/ME and NT 4
    bool NT = true;              // NT family: working-set limits exist
};

enum class ScreenBorder { None, Left, Right };

// Everything reduce, fade and restore touch.
class BarPlatform {
  public:
    virtual ~BarPlatform() = default;

    // Clock and pacing.
    virtual std::uint64_t NowMs() = 0;  // TickCount64
    virtual void Sleep(std::uint32_t ms) = 0;
    virtual void BeginTimerResolution() = 0;  // timeBeginPeriod(1)
    virtual void EndTimerResolution() = 0;    // timeEndPeriod(1)
    virtual void SetHighPriority() = 0;       // HIGH_PRIORITY_CLASS
    virtual void SetNormalPriority() = 0;     // NORMAL_PRIORITY_CLASS

    // The bar window.
    virtual WindowId BarWindow() = 0;
    virtual ScreenRect BarRect() = 0;  // where the window is now
    virtual BarSize CurrentBarSize() = 0;
    virtual void MoveBar(const ScreenRect& rect) = 0;
    virtual void RepaintBar() = 0;                   // paint now
    virtual void SendAlpha(std::uint8_t alpha) = 0;  // SetLayeredWindowAttributes, LWA_ALPHA

    // Input.
    virtual ScreenPoint CursorPos() = 0;
    virtual bool MouseOnBar() = 0;
    virtual bool BarHasCapture() = 0;
    virtual bool AltDown() = 0;
    virtual bool MouseButtonDown() = 0;  // left or right, asynchronous state

    // The rest of the program (the bar window hands these to the application).
    virtual bool IsMenuOrToolbarShown() = 0;
    virtual std::int32_t OpenFormCount() = 0;  // the bar counts as one
    virtual void HideToolTip() = 0;
    virtual void Try4UnRaise() = 0;
    virtual void TopNow() = 0;
    virtual void EndActivationCycle() = 0;      // new token, time now
    virtual void RecordForegroundWindow() = 0;  // into the foreground history

    // Timers of the bar.
    virtual void StopAutoReduceTimer() = 0;
    virtual void StartAutoReduceTimer() = 0;  // 667 ms
    virtual void StartPosTimer() = 0;         // keeps its interval

    // Windows uncovered by the soft reduce.
    virtual WindowId WindowAt(ScreenPoint point) = 0;
    virtual bool WindowHasCaption(WindowId window) = 0;
    virtual std::string WindowProcessName(WindowId window) = 0;   // file name, e.g. "NTVDM.EXE"
    virtual void SendPaint(WindowId window, bool nonClient) = 0;  // WM_NCPAINT / WM_PAINT
};

// What placement and the position tick touch in addition.
class ScreenPlatform : public BarPlatform {
  public:
    virtual std::int32_t ScreenWidth() = 0;   // HORZRES
    virtual std::int32_t ScreenHeight() = 0;  // VERTRES
    virtual std::int32_t BitsPerPixel() = 0;
    virtual std::int32_t SysColor3DFace() = 0;
    virtual std::int32_t CaptionButtonWidth() = 0;  // SM_CXSIZE
    virtual std::string WindowClassName(WindowId window) = 0;
    virtual ScreenRect WindowRect(WindowId window) = 0;
    virtual std::optional<ScreenRect> TaskbarRect() = 0;  // ABM_GETTASKBARPOS
    virtual WindowId ForegroundWindow() = 0;
    virtual std::uint32_t WindowStyle(WindowId window) = 0;
    virtual ScreenBorder MouseOnBorder() = 0;
    virtual bool ButtonPressed() = 0;  // a bar button is held down

    virtual void BarRedraw() = 0;                // draws the content at the current scroll offset
    virtual bool BarIsTopmost() = 0;             // WS_EX_TOPMOST
    virtual void ZOrderBottomTopTopmost() = 0;   // HWND_BOTTOM, HWND_TOP, HWND_TOPMOST
    virtual void ZOrderNotTopmostTopmost() = 0;  // HWND_NOTOPMOST, HWND_TOPMOST
    virtual void SetPosTimerInterval(std::uint32_t ms) = 0;
    virtual void StopEnsureVisibleTimer() = 0;

    virtual void RebuildMenus() = 0;            // context and main menu, menu icons without cache
    virtual void RebuildColourResources() = 0;  // bitmap DCs, images, faces, bar
    virtual bool ConfigChanged() = 0;           // a change waits to be written
    virtual void SaveConfiguration() = 0;       // with the wait cursor shown meanwhile

    virtual std::uint64_t MinWorkingSetSize() = 0;
    virtual void SetWorkingSetSize(std::uint64_t minimum, std::uint64_t maximum) = 0;

    // Window classification belongs to the window watcher; until it exists
    // every window counts as an ordinary one.
    virtual bool IsDX(WindowId) { return false; }
    virtual bool IsSpecialWindow(WindowId) { return false; }
    virtual void CheckForVideoOrFullscreen() {}
};

}  // namespace zorv
