#include "input/hotkeys.h"

#include <map>
#include <utility>

#include "input/key_events.h"
#include "support/log.h"
#include "support/win32_constants.h"

namespace zorv {

std::vector<HotkeyRegistration> PlanHotkeyRegistrations(const ItemLists& lists,
                                                        std::int32_t mnuHotkey) {
    std::vector<HotkeyRegistration> plan;
    std::map<std::pair<std::uint32_t, std::uint8_t>, std::int32_t> firstIdOf;
    auto add = [&](std::int32_t id, std::int32_t value) {
        HotkeyRegistration r{id, value, HotkeyModifiers(value), HotkeyKey(value), std::nullopt};
        const auto [at, isNew] = firstIdOf.try_emplace({r.Modifiers, r.Key}, id);
        if (!isNew) r.SameAs = at->second;
        plan.push_back(r);
    };
    for (std::int32_t list = 0; list < kListCount; ++list) {
        const clsItems& items = lists[static_cast<std::size_t>(list)];
        for (std::int32_t i = 0; i < items.Count(); ++i) {
            const std::int32_t value = items.GetHotkey(i);
            if (value == 0) continue;
            if (i >= kHotkeyListStride) {
                Log(2, "Hotkey %X of list %d item %d not registered: no id past item 4095", value,
                    list, i);
                continue;
            }
            add(HotkeyId(list, i), value);
        }
    }
    const std::int32_t buttons = lists[kListButtons].Count();
    if (mnuHotkey != 0 && buttons < kHotkeyListStride) {
        add(HotkeyId(kListButtons, buttons), mnuHotkey);
    } else if (mnuHotkey != 0) {
        Log(2, "Main menu hotkey %X not registered: no id past button 4095", mnuHotkey);
    }
    return plan;
}

HotkeyCommand HotkeyCommandOf(std::int32_t id, const ItemLists& lists) {
    const std::int32_t list = (id & 0xFF000) / kHotkeyListStride;
    const std::int32_t index = id & 0xFFF;
    if (list >= kListCount) return {};
    const std::int32_t count = lists[static_cast<std::size_t>(list)].Count();
    if (list == kListButtons && index == count) return {HotkeyAction::MainMenu, list, index};
    if (index >= count) return {};
    switch (list) {
        case kListButtons:
            return {HotkeyAction::PressButton, list, index};
        case kListClipboard:
        case kListClipboard2:
            return {HotkeyAction::PasteClipItem, list, index};
        default:
            return {HotkeyAction::ExecuteItem, list, index};
    }
}

HotkeyMessage OnHotkeyMessage(std::int32_t id, std::uint32_t lParam, bool dialogActive,
                              const ItemLists& lists) {
    HotkeyMessage message;
    message.PendingModifiers = static_cast<std::uint8_t>(lParam & kHkAll);
    if (!dialogActive) message.Command = HotkeyCommandOf(id, lists);
    return message;
}

PasteMode PasteModeOf(std::uint8_t activate) {
    return activate == 1 ? PasteMode::Paste : activate == 2 ? PasteMode::Type : PasteMode::ClipboardOnly;
}

std::string GetHotkeyName(std::int32_t value, KeyboardFacts& keyboard) {
    const std::uint32_t m = HotkeyModifiers(value);
    std::string name;
    if (m & win::kModControl) name += KeyName(win::kVkControl, keyboard) + "+";
    if (m & win::kModShift) name += KeyName(win::kVkShift, keyboard) + "+";
    if (m & win::kModAlt) name += KeyName(win::kVkMenu, keyboard) + "+";
    return name + KeyName(HotkeyKey(value), keyboard);
}

std::string TakenHotkeyLine(std::uint32_t modifiers, std::uint8_t key, std::string_view name) {
    std::string key2 = FormatHex(key);
    if (key2.size() < 2) key2.insert(0, "0");
    return FormatHex(static_cast<std::int32_t>(modifiers)) + key2 + " " + std::string(name);
}

}  // namespace zorv
