// The bar window (frmButtons): creation, the bar's own messages, and what
// the rest of the program asks of the bar (through the application).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "items/app_state.h"
#include "bar/bar_click_win32.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_drop_win32.h"
#include "bar/bar_host.h"
#include "bar/bar_hover_win32.h"
#include "bar/bar_motion_win32.h"

namespace zorv {

inline constexpr wchar_t kBarClass[] = L"ZorvBar";
inline constexpr wchar_t kBarTitle[] = L"Zorv";
// wParam of the WM_CLOSE a newly started instance sends the running one.
inline constexpr WPARAM kCloseFromNewInstance = 0x01010101;

// Whoever handles the bar window's messages (the application, which routes
// them to the subsystems). Found through the window's user data.
class BarMessageSink {
  public:
    virtual ~BarMessageSink() = default;
    virtual LRESULT OnBarMessage(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

class frmButtons final : private BarPainter::Events {
  public:
    frmButtons(AppState& state, BarHost& host);
    frmButtons(const frmButtons&) = delete;
    frmButtons& operator=(const frmButtons&) = delete;

    // Creates the window, retrying while the desktop is not ready (right
    // after logon). False after 1200 failed attempts.
    bool Create(HINSTANCE instance, BarMessageSink& sink);
    HWND Window() const { return hwnd_; }

    // First load, before the configuration is read: the window styles and
    // the reduce, fade and placement machinery.
    void InitMotion();
    // First display: builds the bar's images and the bar, makes the window
    // layered when fading needs it, places and shows it without activating
    // it, above other windows, and starts the position timer.
    void FirstShow();

    // The bar's own messages; false when the message is not the bar's.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Closing: the bar's timers stop.
    void StopTimers();
    // WM_DESTROY: images released, the window forgotten.
    void OnDestroyed();

    // What the rest of the program asks of the bar.
    bool Built() const { return painter_.BarBuilt(); }
    std::int32_t Height() const { return painter_.BarHeight(); }
    void ReduceNow();
    void SetAlphaValue(std::int32_t alpha);
    void SetBarPos();
    void SetBarRight();
    // The distance from the right screen edge the placement gives the bar now.
    std::int32_t CurrentRightGap();
    void TimPosSetFast();
    void StartEnsureVisibleTimer();
    bool BarShowsAtCorners();
    // The line is drawn in the colour of LineColor: the image is built again
    // (without the cached picture, which may be older than the items).
    void ApplyLineColour();
    void SimMouseMoveOutSide();
    // Fully shown at once, not scrolled, opaque (UnScrollAndFade).
    void ShowAtOnce();
    // A button's hotkey: the button does what a press on it does.
    void PressByHotkey(std::int32_t index) { clicks_.PressByHotkey(hwnd_, index); }
    // The button list changed: the bar is rebuilt, resized and redrawn.
    void ButtonsChanged();
    HDC BarImage() const { return painter_.BarImage(); }
    const BarMetrics& Metrics() const { return painter_.Metrics(); }
    // A configuration change waits for its save.
    void SaveSoon();
    void RefreshBarPictureCache(const std::string& iniPath) {
        painter_.RefreshBarPictureCache(iniPath);
    }

  private:
    static constexpr UINT kDropTargetAfterShowMs = 500;
    static constexpr UINT kNewDpiRetryMs = 100;
    void AfterRedraw() override;
    void ColoursChanged() override;

    void OnMouseMove(int x, int y, WPARAM keys);
    void OnSysColorChange();
    void OnDpiChanged(Dpi dpi);
    void OnMove();
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    AppState& s_;
    BarHost& host_;
    HWND hwnd_ = nullptr;
    BarPainter painter_;
    BarClicks clicks_;
    BarHover hover_;
    BarDragDrop drop_;
    std::unique_ptr<BarMotion> motion_;  // from the first load on
    std::optional<Dpi> pendingDpi_;      // a new resolution waiting for a menu to close
};

}  // namespace zorv
