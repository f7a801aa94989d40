// Hotkey values in their text form (hexadecimal, as in the configuration
// file) and hotkey ids. Input: the value's text, then an id in decimal.
// Checked: the text form and GetCorrectedHK round-trip, the value splits
// into key, modifiers and the extended-key mark without loss, its name has
// a part for every modifier, and a hotkey id runs only an item that exists.
#include <bit>

#include "../tests/unit/input/fake_keyboard.h"
#include "fuzz_common.h"
#include "input/hotkeys.h"

namespace zorv::fuzz {

void FuzzOne(std::string_view input) {
    static testing::FakeKeyboard keyboard;
    const std::vector<std::string> in = Lines(input, 2);
    const std::int32_t value = ParseHexPrefix(in[0]);
    Check(ParseHexPrefix(FormatHex(value)) == value);
    Check(GetCorrectedHK(GetCorrectedHK(value)) == value);
    const auto bits = static_cast<std::uint32_t>(value);
    Check(((HotkeyModifiers(value) << 8) | HotkeyKey(value) | (bits & 0x800)) == bits);

    const std::string name = GetHotkeyName(value, keyboard);
    std::size_t plus = 0;
    for (char c : name) plus += c == '+';
    Check(plus >= static_cast<std::size_t>(std::popcount(HotkeyModifiers(value) & 7u)));
    const std::string line = TakenHotkeyLine(HotkeyModifiers(value) & 7u, HotkeyKey(value), name);
    Check(line.size() == 3 + 1 + name.size());

    ItemLists lists;
    for (int i = 0; i < 5; ++i) lists[static_cast<std::size_t>(i % kListCount)].AddItem(Item{});
    lists[kListButtons].SetItemAt(0, Item{.Hotkey = value});
    const HotkeyCommand command = HotkeyCommandOf(ParseDecimalPrefix(in[1]), lists);
    if (command.Action != HotkeyAction::None) {
        const std::int32_t count = lists[static_cast<std::size_t>(command.List)].Count();
        Check(command.Index < count || (command.Action == HotkeyAction::MainMenu && command.Index == count));
    }
    const std::vector<HotkeyRegistration> plan = PlanHotkeyRegistrations(lists, value);
    Check(plan.size() == (value != 0 ? 2u : 0u));
    Check(plan.empty() || plan[1].SameAs == 0);
}

}  // namespace zorv::fuzz
