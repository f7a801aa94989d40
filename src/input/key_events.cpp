#include "input/key_events.h"

#include <array>

#include "support/win32_constants.h"

namespace zorv {

namespace {

using namespace win;

constexpr std::uint32_t kUp = kKeyEventKeyUp;
constexpr std::uint32_t kExtUp = kKeyEventKeyUp | kKeyEventExtendedKey;

constexpr KeyEvent Ev(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                      std::string_view note = {}) {
    KeyEvent e;
    e.Vk = vk;
    e.Scan = scan;
    e.Flags = flags;
    e.Note = note;
    return e;
}

// The V key up carries the extended flag as well; targets have always seen
// it that way and none minds.
constexpr std::array<KeyEvent, 4> kCtrlV = {{Ev(kVkControl, 29, 0),
                                             Ev('V', 47, 0),
                                             Ev('V', 47, kExtUp),
                                             Ev(kVkControl, 29, kUp)}};

constexpr std::array<std::uint8_t, 7> kStateKeys = {kVkLShift,    kVkRShift,   kVkShift, kVkLControl,
                                                    kVkRControl, kVkControl, kVkMenu};

constexpr std::array<KeyEvent, 5> kTypingStart = {{Ev(kVkShift, 0, kUp),
                                                   Ev(kVkLShift, 0, kUp),
                                                   Ev(kVkControl, 0, kUp),
                                                   Ev(kVkLControl, 0, kUp),
                                                   Ev(kVkMenu, 0, kUp)}};

}  // namespace

std::span<const KeyEvent> CtrlVEvents() { return kCtrlV; }

std::span<const std::uint8_t> HotkeyModifierStateKeys() { return kStateKeys; }

std::span<const KeyEvent> TypingStartReleaseEvents() { return kTypingStart; }

// Some programs miss a single key-up of a modifier the user still holds
// while the hotkey fires, so each release goes out twice.
std::vector<KeyEvent> HotkeyModifierReleaseEvents(std::uint8_t pendingBits) {
    std::vector<KeyEvent> out;
    auto twice = [&](std::initializer_list<KeyEvent> events) {
        for (int round = 0; round < 2; ++round) out.insert(out.end(), events);
        out.back().PauseAfterMs = 10;
    };
    if (pendingBits & kHkShift) {
        twice({Ev(kVkLShift, 42, kUp), Ev(kVkRShift, 54, kExtUp), Ev(kVkShift, 42, kUp)});
    }
    if (pendingBits & kHkCtrl) {
        twice({Ev(kVkLControl, 29, kUp), Ev(kVkRControl, 29, kExtUp), Ev(kVkControl, 157, kUp)});
    }
    if (pendingBits & kHkAlt) twice({Ev(kVkMenu, 56, kUp), Ev(kVkMenu, 56, kExtUp)});
    return out;
}

std::vector<KeyEvent> HeldModifierReleaseEvents(std::uint8_t heldBits) {
    std::vector<KeyEvent> out;
    if (heldBits & kHeldWin) out.push_back(Ev(kVkLWin, kVkLWin, kUp, "Unpress Win"));
    if (heldBits & kHeldAlt) {
        out.push_back(Ev(kVkMenu, 56, kUp, "Unpress ALT"));
        out.push_back(Ev(kVkRMenu, 56, kExtUp));
    }
    if (heldBits & kHeldCtrl) {
        out.push_back(Ev(kVkControl, 29, kUp, "Unpress Ctrl"));
        out.push_back(Ev(kVkRControl, 29, kExtUp));
    }
    if (heldBits & kHeldShift) {
        out.push_back(Ev(kVkShift, 42, kUp, "Unpress SHIFT"));
        out.push_back(Ev(kVkRShift, 54, kExtUp));
    }
    return out;
}

std::uint8_t HeldModifierOf(std::uint16_t vk) {
    switch (vk) {
        case kVkShift:
        case kVkLShift:
        case kVkRShift:
            return kHeldShift;
        case kVkControl:
        case kVkLControl:
        case kVkRControl:
            return kHeldCtrl;
        case kVkMenu:
        case kVkLMenu:
        case kVkRMenu:
            return kHeldAlt;
        case kVkLWin:
            return kHeldWin;
        default:
            return 0;
    }
}

}  // namespace zorv
