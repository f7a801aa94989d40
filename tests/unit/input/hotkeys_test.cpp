#include "input/hotkeys.h"

#include <gtest/gtest.h>

#include "input/fake_keyboard.h"

namespace zorv {
namespace {

ItemLists ListsWith(std::int32_t buttons) {
    ItemLists lists;
    for (std::int32_t i = 0; i < buttons; ++i) lists[kListButtons].AddItem(Item{});
    for (int i = 0; i < 4; ++i) lists[kListAutostart].AddItem(Item{});
    for (int i = 0; i < 2; ++i) lists[kListClipboard2].AddItem(Item{});
    return lists;
}

TEST(Hotkeys, ValueEncodingCorrectionAndNames) {
    // The control's Ctrl+Shift+X (Shift 0x100) is RegisterHotKey's 0x600.
    EXPECT_EQ(GetCorrectedHK(0x358), 0x658);
    for (std::int32_t v : {0, 0x241, 0x558, 0x1FF, 0x4FF, 0xF00, -1, 0x7FFFFFFF, 0x12345678}) {
        EXPECT_EQ(GetCorrectedHK(GetCorrectedHK(v)), v) << v;
    }
    EXPECT_EQ(HotkeyModifiers(0x241), 2u);
    EXPECT_EQ(HotkeyKey(0x241), 0x41);
    EXPECT_EQ(HotkeyModifiers(0xA24), 2u);  // the control's extended-key mark is no Windows key
    testing::FakeKeyboard keyboard;
    EXPECT_EQ(GetHotkeyName(0x241, keyboard), "Strg+A");
    EXPECT_EQ(GetHotkeyName(0x76E, keyboard), "Strg+Umschalt+Alt+, (Num)");
    EXPECT_EQ(TakenHotkeyLine(2, 0x41, "Strg+A"), "241 Strg+A");
    EXPECT_EQ(TakenHotkeyLine(0, 8, ""), "008 ");
}

TEST(Hotkeys, RegistrationIdsAndDoubledCombinations) {
    ItemLists lists = ListsWith(12);
    lists[kListButtons].SetItemAt(0, Item{.Hotkey = 0x241});
    lists[kListAutostart].SetItemAt(3, Item{.Hotkey = 0x242});
    lists[kListClipboard2].SetItemAt(1, Item{.Hotkey = 0xA41});  // Ctrl+A again, with the mark
    const std::vector<HotkeyRegistration> plan = PlanHotkeyRegistrations(lists, 0x470);
    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ(plan[0], (HotkeyRegistration{0, 0x241, 2, 0x41, std::nullopt}));
    EXPECT_EQ(plan[1].Id, 8195);
    EXPECT_EQ(plan[2].Id, 5 * 4096 + 1);
    EXPECT_EQ(plan[2].SameAs, 0);
    EXPECT_EQ(plan[3], (HotkeyRegistration{12, 0x470, 4, 0x70, std::nullopt}));
    EXPECT_TRUE(PlanHotkeyRegistrations(ListsWith(3), 0).empty());
}

TEST(Hotkeys, MessagesRunTheirItemUnlessADialogIsActive) {
    const ItemLists lists = ListsWith(12);
    using A = HotkeyAction;
    const struct {
        std::int32_t id;
        HotkeyCommand want;
    } cases[] = {
        {12, {A::MainMenu, 0, 12}},     {3, {A::PressButton, 0, 3}},
        {8195, {A::ExecuteItem, 2, 3}}, {0x5001, {A::PasteClipItem, 5, 1}},
        {0x5002, {}},                   {13, {}},
        {0x6000, {}},                   {0x1000, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(OnHotkeyMessage(c.id, 0x410006, false, lists).Command, c.want) << c.id;
    const HotkeyMessage inDialog = OnHotkeyMessage(12, 0x410006, true, lists);
    EXPECT_EQ(inDialog.Command.Action, A::None);
    EXPECT_EQ(inDialog.PendingModifiers, 6);
    EXPECT_EQ(PasteModeOf(1), PasteMode::Paste);
    EXPECT_EQ(PasteModeOf(2), PasteMode::Type);
    EXPECT_EQ(PasteModeOf(0), PasteMode::ClipboardOnly);
}

}  // namespace
}  // namespace zorv
