#include "bar/button_click.h"

namespace zorv {

bool IsSyntheticPress(std::int32_t x, std::int32_t y) {
    return x == -1 && y == -1;
}

namespace {

bool Accepted(ClickState& state, const PressFacts& press) {
    if (IsSyntheticPress(press.X, press.Y) || press.BarReduced || !press.ReallyDown) return false;
    if (state.HaveDown && press.NowMs - state.LastDownMs < kSecondPressGuardMs) return false;
    state.HaveDown = true;
    state.LastDownMs = press.NowMs;
    return true;
}

}  // namespace

PressAction DecidePress(ClickState& state, const PressFacts& press) {
    if (!Accepted(state, press)) return PressAction::Ignore;
    if (state.Pressed >= 0 || press.Y < 0 || press.Y >= press.BarHeight) return PressAction::Ignore;
    state.PressX = state.PressY = -1;
    const bool modifier = press.Ctrl || press.Shift || press.Button == 4;
    if (press.Index >= press.Count) return PressAction::MainMenu;
    if (modifier) return press.Button == 1 ? PressAction::EditDialog : PressAction::ContextMenu;
    state.Pressed = press.Index;
    state.DrawnPressed = true;
    if (press.Button == 1) {
        state.DragSource = press.Index;
        state.PressX = press.X;
        state.PressY = press.Y;
    }
    return press.HasMenu ? PressAction::PressMenu : PressAction::Press;
}

bool DecideRelease(ClickState& state, const ReleaseFacts& release) {
    const bool same = state.Pressed >= 0 && release.Index == state.Pressed &&
                      release.Index < release.Count && release.Y < release.BarHeight;
    state.Pressed = -1;
    state.DrawnPressed = false;
    state.PressX = state.PressY = -1;
    if (!same) return false;
    return !state.HaveStart || release.NowMs - state.LastStartMs > kPostStartGuardMs;
}

void NoteStarted(ClickState& state, std::uint64_t nowMs) {
    state.HaveStart = true;
    state.LastStartMs = nowMs;
}

HeldMove DecideHeldMove(const ClickState& state, const MoveFacts& move) {
    if (state.Pressed < 0 || move.Dragging) return HeldMove::None;
    if (!move.AnyButtonDown) return HeldMove::CompleteRelease;
    const bool inside = move.X >= move.CellLeft && move.X <= move.CellRight && move.Y >= 0 &&
                        move.Y < move.BarHeight;
    if (inside && !state.DrawnPressed) return HeldMove::DrawPressed;
    if (!inside && state.DrawnPressed) return HeldMove::DrawUnpressed;
    return HeldMove::None;
}

}  // namespace zorv
