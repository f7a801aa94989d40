// Global hotkeys as values and ids: the value's encoding (low byte virtual
// key, next byte modifiers), the swap between the hotkey control's layout
// and RegisterHotKey's, the ids of the six lists and of the main menu,
// which items get registered, what a hotkey message runs, and the names
// shown for a hotkey. The shell registers and carries out. Portable: no
// Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_names.h"
#include "items/items.h"

namespace zorv {

// The control gives Shift as 0x100 and Alt as 0x400, RegisterHotKey wants
// them the other way round; every other bit stays. Its own inverse.
constexpr std::int32_t GetCorrectedHK(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>((v & ~0x500u) | ((v & 0x400u) >> 2) | ((v & 0x100u) << 2));
}

constexpr std::uint8_t HotkeyKey(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// RegisterHotKey's modifiers of a value. The control marks extended keys
// (the navigation block, right Ctrl and Alt) with 0x800, which RegisterHotKey
// would read as the Windows key; the virtual key already tells those keys
// apart, so the mark is left out and Ctrl+Home fires on Ctrl+Home.
constexpr std::uint32_t HotkeyModifiers(std::int32_t value) {
    return (static_cast<std::uint32_t>(value) >> 8) & ~0x8u;
}

// Hotkey ids: list x 4096 + index; the main menu's is the number of buttons.
inline constexpr std::int32_t kHotkeyListStride = 4096;
constexpr std::int32_t HotkeyId(std::int32_t list, std::int32_t index) {
    return list * kHotkeyListStride + index;
}

struct HotkeyRegistration {
    std::int32_t Id = 0;
    std::int32_t Value = 0;  // as stored
    std::uint32_t Modifiers = 0;
    std::uint8_t Key = 0;
    // The id of an earlier registration with the same combination: this one
    // is not registered (the system would refuse it), the earlier one wins.
    std::optional<std::int32_t> SameAs;

    bool operator==(const HotkeyRegistration&) const = default;
};

// `RegisterAllHotkeys`: every item with a hotkey, lists 0 to 5 in order,
// then the main menu's `MnuHotkey`. Items past index 4095 have no id and are
// left out (logged).
std::vector<HotkeyRegistration> PlanHotkeyRegistrations(const ItemLists& lists,
                                                        std::int32_t mnuHotkey);

// What a hotkey message runs (`ExecuteHotkey`).
enum class HotkeyAction : std::uint8_t {
    None,           // a dialog of the program is active, or the id names nothing
    MainMenu,       // at the mouse, the bar shown and in front
    PressButton,    // the bar button Index, as a press on it
    ExecuteItem,    // lists 1..3: ExecuteItem(List, Index, start anyway = false)
    PasteClipItem,  // lists 4, 5: by the item's paste mode
};
struct HotkeyCommand {
    HotkeyAction Action = HotkeyAction::None;
    std::int32_t List = 0;
    std::int32_t Index = 0;

    bool operator==(const HotkeyCommand&) const = default;
};

// The list (bits 12..19) and index (bits 0..11) of the id; id = number of
// buttons is the main menu. An index past the end of its list runs nothing.
HotkeyCommand HotkeyCommandOf(std::int32_t id, const ItemLists& lists);

// The state a hotkey message leaves for the paste it may start.
struct HotkeyMessage {
    std::uint8_t PendingModifiers = 0;  // HotkeyModifierBit
    HotkeyCommand Command;
};
// WM_HOTKEY: the modifiers are kept in any case; the command runs only when
// no dialog of the program is the active window.
HotkeyMessage OnHotkeyMessage(std::int32_t id, std::uint32_t lParam, bool dialogActive,
                              const ItemLists& lists);

// How a clipboard item delivers its text (its Activate field).
enum class PasteMode : std::uint8_t { ClipboardOnly, Paste, Type };
PasteMode PasteModeOf(std::uint8_t activate);

// `GetHotkeyName`: Ctrl, Shift, Alt (in that order, each with "+") and the
// key, in the system's names.
std::string GetHotkeyName(std::int32_t value, KeyboardFacts& keyboard);

// One line of `GetAllRegisteredHotkeyNames`, for a combination another
// program holds: the modifiers in hex, the key in two hex digits, a blank
// and the name ("241 Ctrl+A").
std::string TakenHotkeyLine(std::uint32_t modifiers, std::uint8_t key, std::string_view name);
// The combinations that list tries: modifiers 0..7 with keys 8..254.
inline constexpr std::uint32_t kTakenModifiersLast = 7;
inline constexpr std::uint8_t kTakenKeyFirst = 8;
inline constexpr std::uint8_t kTakenKeyLast = 254;

}  // namespace zorv
