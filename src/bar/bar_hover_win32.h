// The mouse over the bar when no click is the matter: the tooltip control,
// the raised look of flat buttons, the see-through hole while Shift is held,
// and where a held button turns into a drag. The decisions are hover.h's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "items/app_state.h"
#include "bar/bar_draw_win32.h"
#include "bar/hover.h"

namespace zorv {

class BarClicks;
class BarMotion;

class BarDragDrop;

class BarHover {
  public:
    BarHover(AppState& state, BarPainter& painter, BarClicks& clicks)
        : s_(state), painter_(painter), clicks_(clicks) {}
    BarHover(const BarHover&) = delete;
    BarHover& operator=(const BarHover&) = delete;

    // The window and the motion (its timer resolution, sleeps and busy flag),
    // from the first load on.
    // Where a held button dragged far enough goes out.
    void SetDragSource(BarDragDrop* source) { dragSource_ = source; }
    void Attach(HWND bar, BarMotion* motion) {
        bar_ = bar;
        motion_ = motion;
    }

    // Mouse-move step 1: a move starts the hole check.
    void OnMouseMoveFirst(int x, int y);
    // The later steps of a mouse move: drag start, tooltip, raised look. A
    // simulated move (the mouse is outside) only lets the raised look go.
    void OnMouseMove(int x, int y, WPARAM keys, bool simulated);
    // A mouse button went down on the bar.
    void OnMouseDown();
    // Button `index` is about to be executed.
    void ButtonExecuted(std::int32_t index);
    // timCheckHole and the raised-look watch; false for other timers.
    bool OnTimer(UINT_PTR id);
    void StopTimers();
    // WM_DESTROY: the tooltip went with its owner.
    void OnDestroyed();

    void SetTooltip(const std::string& text);
    void Hide_ToolTip();
    // Flat mode: the cell under the cursor is drawn raised, and once the
    // cursor has left the bar with no mouse button down, none (the held one
    // keeps its look).
    void Try4UnRaise();
    // Flat mode: the raised cell goes flat (unless held) and nothing follows
    // the cursor any more, as before a menu opens.
    void ReleaseCaptureNow();
    void CreateHole(int x, int y, const char* caller);
    void RemoveHole();

  private:
    bool CreateToolTip(int x, int y, WPARAM keys);
    void UpdateTooltip(int x, int y, WPARAM keys);
    void CheckDragStart(int x, int y, WPARAM keys);
    void HoleTimerTick();
    void SyncHoleTimer();

    AppState& s_;
    BarPainter& painter_;
    BarClicks& clicks_;
    BarMotion* motion_ = nullptr;
    HWND bar_ = nullptr;
    HWND tip_ = nullptr;
    bool tipTool6_ = false;  // the tool record in its comctl32 6 size
    TooltipState tooltip_;
    DragState drag_;
    HoleState hole_;
    std::uint32_t holeTimerMs_ = 0;  // timCheckHole's interval as set, 0 = stopped
    bool watchingRaised_ = false;
    BarDragDrop* dragSource_ = nullptr;
};

}  // namespace zorv
