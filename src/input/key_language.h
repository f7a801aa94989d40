// The key language of keystroke texts (`SendKeysByChars`): a text becomes a
// list of steps with the waits around them, which the shell carries out
// against the target window. Characters are Unicode code points (the text is
// UTF-8); the shell posts them as UTF-16.
//
//   {{            one left brace
//   {NAME}        the named key (the token upper-cased, looked up exactly;
//                 an unknown name presses virtual key 0); a modifier (Shift,
//                 Ctrl, Alt, Windows key) stays down for the next step
//   {NAME+} {NAME-}  a toggle key (Num Lock, Caps Lock, Scroll Lock) on or off
//   {DELAY=n}     a pause of n ms, at most kMaxKeyDelayMs
//   CR            Enter, where the target wants it; LF nothing
//   a "{" with no "}" after it is typed as it stands
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_names.h"

namespace zorv {

// The longest pause a "{DELAY=n}" makes: the bar's thread waits meanwhile.
inline constexpr std::uint32_t kMaxKeyDelayMs = 10000;

// What the target is like.
struct KeyTarget {
    bool WantsEnter = true;  // an edit control without ES_WANTRETURN does not
    bool Slow = false;       // "MozillaWindowClass": longer pauses
};

enum class KeyStep : std::uint8_t {
    Type,     // Char as WM_CHAR
    Enter,    // WM_CHAR 13 with lParam 0x1C0001
    Press,    // Vk down; up at once unless Hold
    Toggle,   // SetToggleKey(Vk, On)
    Delay,    // sleep DelayMs
    Release,  // release the held modifiers Held (HeldModifierReleaseEvents)
};

struct KeyAction {
    KeyStep Step = KeyStep::Type;
    char32_t Char = 0;
    std::uint16_t Vk = 0;
    bool Hold = false;           // Press of a modifier
    bool On = false;             // Toggle
    bool WaitFocusMove = false;  // Press of Tab: wait until the focus has moved
    std::uint32_t DelayMs = 0;
    std::uint8_t Held = 0;  // Release: HeldModifierBit set
    std::string Name;       // Press, Toggle: the upper-cased token, for the log
    // The waits around the step: wait for the target to be idle
    // (WaitTargetIdle) before and after it, pauses in ms (after: 0 = yield).
    bool IdleBefore = false;
    bool IdleAfter = false;
    std::uint16_t PauseBeforeMs = 0;
    std::uint16_t PauseAfterMs = 0;

    bool operator==(const KeyAction&) const = default;
};

struct KeyPlan {
    std::vector<KeyAction> Actions;
    // A text with a "}" has keys to press: the target's priority is raised
    // from normal to high while it is typed, and every character waits for
    // the target to be idle.
    bool RaisePriority = false;
};

KeyPlan PlanKeystrokes(std::string_view text, const KeyNameTable& names, const KeyTarget& target);

// The bound of WaitFocusMove.
inline constexpr std::uint16_t kFocusMoveTries = 11;   // Tab: the focus must move within
inline constexpr std::uint16_t kFocusMoveStepMs = 10;  //   11 x 10 ms
inline constexpr std::uint32_t kEnterCharLParam = 0x1C0001;  // scan 28, repeat 1

}  // namespace zorv
