#include "bar/hover.h"

#include <cstdlib>

namespace zorv {

// ---- Tooltip ----------------------------------------------------------------

TooltipChange TooltipForCell(TooltipState& state, std::int32_t index, const BarLayout& layout,
                             const clsItems& buttons, std::string_view mainMenuCaption) {
    if (index < 0 || index > layout.Count()) {
        state.Cell = -1;
        return {TooltipAction::Hide, {}};
    }
    if (index == state.Cell) return {};
    state.Cell = index;
    switch (layout.KindAt(index)) {
        case CellKind::Button:
            return {TooltipAction::Show, " " + buttons.GetDesc(index) + " "};
        case CellKind::MainMenu:
            return {TooltipAction::Show, std::string(mainMenuCaption)};
        case CellKind::Separator:
        case CellKind::MenuEntry:
            break;
    }
    return {TooltipAction::Hide, {}};
}

void TooltipHidden(TooltipState& state) {
    state.Cell = -1;
}

void TooltipAfterExecute(TooltipState& state, std::int32_t index) {
    state.Cell = index;
}

// ---- Raised look of flat buttons ---------------------------------------------

RaiseChange DecideRaise(const RaiseFacts& f) {
    RaiseChange change;
    if (!f.CursorOnBar) {
        // The held button keeps its look until its press ends; it is
        // watched until then.
        if (f.AnyButtonDown || (f.Raised >= 0 && f.Raised == f.Pressed)) return change;
        change.Lower = f.Raised;
        change.StopWatching = true;
        return change;
    }
    if (f.Index == f.Raised) return change;
    change.Lower = f.Raised;
    if (f.IndexRaisable) change.Raise = f.Index;
    return change;
}

// ---- The hole ---------------------------------------------------------------

bool HoleOnMouseMove(HoleState& state, ScreenPoint client) {
    const bool moved = state.LastMove != client;
    state.LastMove = client;
    // A running check keeps its pace: restarting it on every move would hold
    // off its ticks while the mouse moves.
    if (!moved || state.Running) return false;
    state.Running = true;
    state.IntervalMs = kHoleIdleIntervalMs;
    return true;
}

namespace {

// The cursor went elsewhere: the check stops, and a hole left open goes with
// it. The next move over the bar starts it again, wherever it comes.
HoleAction Stop(HoleState& state) {
    state.Running = false;
    state.At.reset();
    state.LastMove.reset();
    if (!state.Open) return HoleAction::None;
    state.Open = false;
    state.IntervalMs = kHoleIdleIntervalMs;
    return HoleAction::Mend;
}

}  // namespace

HoleAction HoleTick(HoleState& state, const HoleTickFacts& f) {
    if (!state.Running) return HoleAction::None;
    if (f.OverOtherWindow) return Stop(state);
    HoleAction action = HoleAction::None;
    const bool moved = state.At != f.Cursor;
    if (!f.ShiftDown) {
        if (state.Open) {
            state.Open = false;
            state.IntervalMs = kHoleIdleIntervalMs;
            state.At.reset();
            action = HoleAction::Mend;
        }
        state.Resting = state.At == f.Cursor ? state.Resting + 1 : 0;
        if (static_cast<std::uint64_t>(state.Resting) * state.IntervalMs >= kHoleRestStopMs) {
            state.Running = false;
        }
    } else {
        state.Resting = 0;
        if (!state.Open || moved) {
            state.Open = true;
            state.IntervalMs = kHoleOpenIntervalMs;
            action = HoleAction::Cut;
        }
    }
    state.At = f.Cursor;
    // Well away from the bar the check ends (and takes an open hole with it).
    if (f.Cursor.X < f.Scale.Px(-55) || f.Cursor.Y >= f.Scale.Px(56)) {
        return Stop(state) == HoleAction::Mend ? HoleAction::Mend : action;
    }
    return action;
}

// The offsets 1.5s - 1 and s/2 - 1 rounded half up: for odd s the ellipse's
// box then has the cursor's pixel in its middle.
ScreenRect HoleEllipse(ScreenPoint at, std::int32_t step, Dpi dpi) {
    const std::int32_t s = dpi.Px(step);
    return {at.X - (3 * s - 1) / 2, at.Y - (s - 1) / 2, 3 * s, s};
}

std::vector<std::int32_t> HoleSteps(bool alreadyOpen) {
    std::vector<std::int32_t> steps;
    for (std::int32_t s = alreadyOpen ? kHoleSteps : 1; s <= kHoleSteps; ++s) steps.push_back(s);
    return steps;
}

// ---- Drag start -------------------------------------------------------------

DragStep DecideDragStart(DragState& state, const ClickState& click, const DragFacts& f) {
    if (state.Dragging) return DragStep::None;
    const bool fromThisPress = state.StartedFromDownMs == click.LastDownMs;
    const std::int32_t threshold = f.Scale.Px(kDragThreshold);
    const bool moved = std::abs(f.X - click.PressX) > threshold ||
                       std::abs(f.Y - click.PressY) > threshold;
    if (f.LeftDown && !f.NoDragDropSource && !fromThisPress && click.PressX > 0 &&
        click.PressY > 0 && moved && f.Y >= 0 && f.Y < f.BarHeight) {
        if (click.Pressed < 0 || f.Index != click.Pressed) return DragStep::None;
        state.Dragging = true;
        state.StartedFromDownMs = click.LastDownMs;
        return DragStep::Start;
    }
    if (f.AnyButtonDown) return DragStep::None;
    state.StartedFromDownMs.reset();
    return click.Pressed >= 0 ? DragStep::DrawUnpressed : DragStep::None;
}

}  // namespace zorv
