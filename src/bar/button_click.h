// What a press and a release on the bar mean: the guards against stray and
// doubled events, which action a press asks for, and whether a release
// starts the button's item. Plain state and facts in, decisions out; the
// bar's window code gathers the facts and carries the decisions out.
#pragma once

#include <cstdint>

namespace zorv {

// A press on the bar, as the window saw it (client pixels).
struct PressFacts {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    int Button = 1;  // 1 left, 2 right, 4 middle
    bool Shift = false;
    bool Ctrl = false;
    bool ReallyDown = true;   // the system's key state confirms the button
    bool BarReduced = false;  // the bar's top is above the screen edge
    std::uint64_t NowMs = 0;
    std::int32_t Index = 0;  // ButtonAt(X)
    std::int32_t Count = 0;  // items in the button list
    std::int32_t BarHeight = 20;
    bool HasMenu = false;  // submenu or clipboard-menu button
};

enum class PressAction : std::uint8_t {
    Ignore,       // stray, synthetic, doubled, or while a press is held
    EditDialog,   // Ctrl/Shift + left: the item dialog on this button
    ContextMenu,  // modifier + right or middle: Add/Edit/Remove Button
    MainMenu,     // the main-menu cell, modifiers or not
    Press,        // an ordinary button: acts on release
    PressMenu,    // a menu button: its menu opens on the press
};

struct ClickState {
    std::int32_t Pressed = -1;  // the button held down
    bool DrawnPressed = false;
    std::int32_t PressX = -1;  // origin of a left press, for drag detection
    std::int32_t PressY = -1;
    std::int32_t DragSource = -1;
    bool HaveDown = false;
    std::uint64_t LastDownMs = 0;
    bool HaveStart = false;
    std::uint64_t LastStartMs = 0;
};

// Two presses closer than this are one (a bouncing or doubled click).
inline constexpr std::uint64_t kSecondPressGuardMs = 100;
// A release this soon after a start does not start again (double click).
inline constexpr std::uint64_t kPostStartGuardMs = 500;

// The guards, then the action; an accepted press is remembered as the last
// one, and a plain press records the pressed button (and the press point for
// a left press).
PressAction DecidePress(ClickState& state, const PressFacts& press);

// Whether a press at (x, y) with `button` is the synthetic (-1, -1) event.
bool IsSyntheticPress(std::int32_t x, std::int32_t y);

struct ReleaseFacts {
    std::int32_t Index = 0;  // ButtonAt(x) of the release
    std::int32_t Y = 0;
    std::int32_t Count = 0;
    std::int32_t BarHeight = 20;
    std::uint64_t NowMs = 0;
};

// butUnPress: true when the release starts the pressed button (same button,
// inside the bar, not right after a start). The pressed button is cleared
// either way.
bool DecideRelease(ClickState& state, const ReleaseFacts& release);
// The item was started (ExecuteItem answered 2): guards the next release.
void NoteStarted(ClickState& state, std::uint64_t nowMs);

// A mouse move while a button is held.
enum class HeldMove : std::uint8_t {
    None,             // nothing held, or the look is right already
    DrawPressed,      // the cursor came back onto the held button
    DrawUnpressed,    // the cursor left the held button
    CompleteRelease,  // no mouse button is down any more: released elsewhere
};
struct MoveFacts {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool AnyButtonDown = false;
    bool Dragging = false;
    std::int32_t CellLeft = 0;   // client x range of the held button's cell
    std::int32_t CellRight = 0;  // inclusive
    std::int32_t BarHeight = 20;
};
HeldMove DecideHeldMove(const ClickState& state, const MoveFacts& move);

}  // namespace zorv
