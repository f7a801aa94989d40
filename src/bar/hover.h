// What the mouse does to the bar while it only hovers or drags: the tooltip
// text for the cell under it, which cell shows the raised look of flat
// buttons, the see-through hole while Shift is held, and when a held button
// turns into a drag. Portable: plain state and facts in, decisions out; the
// bar's window code (bar_hover_win32) gathers the facts and acts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bar/bar_layout.h"
#include "bar/button_click.h"
#include "support/geometry.h"

namespace zorv {

// ---- Tooltip ----------------------------------------------------------------

struct TooltipState {
    // The cell the tooltip was last decided for; -1 after a hide, so that the
    // next hover decides again. An executed button stays here, hidden.
    std::int32_t Cell = -1;
};

enum class TooltipAction : std::uint8_t { Keep, Show, Hide };
struct TooltipChange {
    TooltipAction Action = TooltipAction::Keep;
    std::string Text;  // Show only
};

// The mouse is over cell `index`: a button shows " " + its description + " ",
// the main-menu cell `mainMenuCaption`, a separator or an invalid index
// hides. Nothing changes while the mouse stays on the cell decided last.
TooltipChange TooltipForCell(TooltipState& state, std::int32_t index, const BarLayout& layout,
                             const clsItems& buttons, std::string_view mainMenuCaption);
// The tooltip was hidden (a press, a reduce, a scroll): any cell shows again.
void TooltipHidden(TooltipState& state);
// Button `index` was just executed: hidden until the mouse reaches another cell.
void TooltipAfterExecute(TooltipState& state, std::int32_t index);

// ---- Raised look of flat buttons ---------------------------------------------

struct RaiseFacts {
    bool CursorOnBar = false;  // the window under the cursor is the bar
    bool AnyButtonDown = false;
    std::int32_t Index = -1;     // the cell under the cursor (on the bar)
    bool IndexRaisable = false;  // a button or the main-menu cell, not a separator
    std::int32_t Raised = -1;    // the cell drawn raised now
    std::int32_t Pressed = -1;   // the button held down
};
struct RaiseChange {
    std::int32_t Lower = -1;    // drawn flat again
    std::int32_t Raise = -1;    // drawn raised
    bool StopWatching = false;  // the cursor has left the bar: nothing more to follow
    bool operator==(const RaiseChange&) const = default;
};
// One raised cell at most, the one under the cursor, and none once the cursor
// has left the bar with no mouse button down (the held button keeps its look
// until its press ends).
RaiseChange DecideRaise(const RaiseFacts& facts);

// ---- The hole ---------------------------------------------------------------

inline constexpr std::uint32_t kHoleIdleIntervalMs = 100;
inline constexpr std::uint32_t kHoleOpenIntervalMs = 10;
// With Shift up, the check stops after the cursor rested this long.
inline constexpr std::uint32_t kHoleRestStopMs = 2000;
inline constexpr std::int32_t kHoleSteps = 29;
inline constexpr std::int32_t kHoleBaseHeight = 22;

struct HoleState {
    bool Running = false;  // timCheckHole
    std::uint32_t IntervalMs = kHoleIdleIntervalMs;
    bool Open = false;
    std::optional<ScreenPoint> LastMove;  // client position of the last mouse move
    std::optional<ScreenPoint> At;        // cursor at the last tick
    std::int32_t Resting = 0;             // ticks the cursor stayed at At, Shift up
};

struct HoleTickFacts {
    bool OverOtherWindow = false;  // the cursor is on another window than the bar
    ScreenPoint Cursor;            // client coordinates
    bool ShiftDown = false;
    Dpi Scale;                     // the distances below are 96-dpi ones
};

enum class HoleAction : std::uint8_t { None, Cut, Mend };

// A mouse move at `client` with Hole on: true when the check must start.
bool HoleOnMouseMove(HoleState& state, ScreenPoint client);
// timCheckHole: cut (or move) the hole at the cursor while Shift is held,
// mend it when Shift is up or the cursor went elsewhere. Updates Open,
// Running and IntervalMs; the caller carries out the action and the timer.
HoleAction HoleTick(HoleState& state, const HoleTickFacts& facts);

// The ellipse of growth step s (1..29) around client point `at`: 3s wide,
// s high (s scaled for the screen); the last, 87 x 29 at 96 dpi, centred on
// the cursor's pixel.
ScreenRect HoleEllipse(ScreenPoint at, std::int32_t s, Dpi dpi = {});
// The steps of a new hole (1..29), or the last alone to move an open one.
std::vector<std::int32_t> HoleSteps(bool alreadyOpen);

// ---- Drag start -------------------------------------------------------------

inline constexpr std::int32_t kDragThreshold = 3;

struct DragState {
    bool Dragging = false;
    // The press a drag was started from, told by its time (a new press has another).
    std::optional<std::uint64_t> StartedFromDownMs;
};
struct DragFacts {
    bool LeftDown = false;
    bool AnyButtonDown = false;
    bool NoDragDropSource = false;
    std::int32_t X = 0;  // client
    std::int32_t Y = 0;
    std::int32_t BarHeight = 20;
    std::int32_t Index = -1;  // ButtonAt(X)
    Dpi Scale;                // the threshold grows with the screen's resolution
};
enum class DragStep : std::uint8_t {
    None,
    Start,          // the held button is being dragged (Dragging is set)
    DrawUnpressed,  // no mouse button down, a button still pressed
};
// A left press that moved more than 3 pixels from its point, still inside
// the bar on its own button, starts a drag once per press.
DragStep DecideDragStart(DragState& state, const ClickState& click, const DragFacts& facts);

}  // namespace zorv
