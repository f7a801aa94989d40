// The fixed key-event sequences of pasting and typing: Ctrl+V, the release
// of the modifiers a hotkey left down, and the release of the modifiers a
// keystroke text held. The shell plays them with keybd_event/SendInput.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zorv {

struct KeyEvent {
    std::uint8_t Vk = 0;
    std::uint8_t Scan = 0;
    std::uint32_t Flags = 0;          // KEYEVENTF_EXTENDEDKEY, KEYEVENTF_KEYUP
    std::uint16_t PauseAfterMs = 0;   // sleep after this event
    std::string_view Note;            // logged before the event when not empty

    bool operator==(const KeyEvent&) const = default;
};

// Modifier bits of a hotkey message (WM_HOTKEY's lParam AND 7), kept until
// the next paste or typing releases them.
enum HotkeyModifierBit : std::uint8_t { kHkAlt = 1, kHkCtrl = 2, kHkShift = 4, kHkAll = 7 };

// Modifiers a keystroke text holds down for its next step.
enum HeldModifierBit : std::uint8_t { kHeldShift = 1, kHeldCtrl = 2, kHeldAlt = 4, kHeldWin = 8 };

// Ctrl down, V down, V up, Ctrl up.
std::span<const KeyEvent> CtrlVEvents();

// `ReleaseHotkeyModifiers`: key-ups of both sides of every pending modifier,
// sent twice, 10 ms after each modifier (Shift, then Ctrl, then Alt).
std::vector<KeyEvent> HotkeyModifierReleaseEvents(std::uint8_t pendingBits);
// The keyboard-state entries ReleaseHotkeyModifiers then sets to 0.
std::span<const std::uint8_t> HotkeyModifierStateKeys();

// Key-ups sent in one SendInput call before a keystroke text is typed:
// Shift, left Shift, Ctrl, left Ctrl, Alt.
std::span<const KeyEvent> TypingStartReleaseEvents();

// The release of modifiers a keystroke text held: Windows key, Alt, Ctrl,
// Shift, each with its log line ("Unpress Win", ...).
std::vector<KeyEvent> HeldModifierReleaseEvents(std::uint8_t heldBits);

// Which held modifier a virtual key is (0 for any other key).
std::uint8_t HeldModifierOf(std::uint16_t vk);

}  // namespace zorv
