#include "input/key_language.h"

#include <gtest/gtest.h>

#include "input/fake_keyboard.h"

namespace zorv {
namespace {

// A plan in short: a typed character as itself, "CR" Enter, "P<vk>" a key
// press (h held, t waits for the focus to move), "T<vk>+/-" a toggle,
// "D<ms>" a pause, "R<bits>" the release of held modifiers.
std::string Show(const KeyPlan& plan) {
    std::string out;
    for (const KeyAction& a : plan.Actions) {
        if (!out.empty()) out += ' ';
        char buf[16];
        switch (a.Step) {
            case KeyStep::Type:
                out += a.Char < 0x80 ? std::string(1, static_cast<char>(a.Char))
                                     : "U+" + std::to_string(a.Char);
                break;
            case KeyStep::Enter: out += "CR"; break;
            case KeyStep::Press:
                snprintf(buf, sizeof buf, "P%X%s%s", a.Vk, a.Hold ? "h" : "", a.WaitFocusMove ? "t" : "");
                out += buf;
                break;
            case KeyStep::Toggle: snprintf(buf, sizeof buf, "T%X%c", a.Vk, a.On ? '+' : '-'); out += buf; break;
            case KeyStep::Delay: out += "D" + std::to_string(a.DelayMs); break;
            case KeyStep::Release: out += "R" + std::to_string(a.Held); break;
        }
    }
    return out;
}

TEST(KeyLanguage, TextsBecomeKeysCharactersPausesAndReleases) {
    testing::FakeKeyboard keyboard;
    const KeyNameTable names = BuildKeyNameTable(keyboard);
    const struct {
        const char* text;
        bool wantsEnter;
        const char* want;
    } cases[] = {
        {"a{{b}", true, "a { b }"},
        {"{delay=500}{DELAY=}{Delay=99999999}{DELAY=-5}", true, "D500 D0 D10000 D0"},
        {"{NUMLOCK+}{capslock-}{SCROLLLOCK+}", true, "T90+ T14- T91+"},
        {"{WINKEY}{SHIFT}s", true, "P5Bh P10h s R9"},
        {"{CTRL}a{ALT}{F4}", true, "P11h a R2 P12h P73 R4"},
        {"{PGUP}{F5}{NOPE}{}{\xC3\xBC}", true, "P21 P74 P0 P0 PBA"},
        {"{Eingabe}{TAB}{TAB+WAIT}", true, "P0 P9t P9t"},
        {"x\r\ny\n", true, "x CR y"},
        {"x\r\ny", false, "x y"},
        {"a{b", true, "a { b"},
        {"{b{c}", true, "P0"},
        {"\xC3\xA9\xE2\x82\xAC\xC3\x9F\xD0\x96\xF0\x9F\x98\x80", true,
         "U+233 U+8364 U+223 U+1046 U+128512"},
        {"{SHIFT}", true, "P10h R1"},
        {"", true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Show(PlanKeystrokes(c.text, names, {c.wantsEnter, false})), c.want) << c.text;
    }
}

TEST(KeyLanguage, WaitsFollowTheTargetAndTheTokens) {
    testing::FakeKeyboard keyboard;
    const KeyNameTable names = BuildKeyNameTable(keyboard);
    const KeyPlan slow = PlanKeystrokes("a{TAB}b\r", names, {true, true});
    ASSERT_EQ(slow.Actions.size(), 4u);
    EXPECT_TRUE(slow.RaisePriority);
    // Before a token: idle and 10 ms more; after it, the next step pauses.
    EXPECT_TRUE(slow.Actions[0].IdleBefore && slow.Actions[0].IdleAfter);
    EXPECT_EQ(slow.Actions[0].PauseAfterMs, 3 + 10);
    EXPECT_TRUE(slow.Actions[1].IdleBefore);
    EXPECT_EQ(slow.Actions[2].PauseBeforeMs, 10);
    EXPECT_EQ(slow.Actions[3].PauseBeforeMs, 5);
    // Without braces nothing waits for the target.
    const KeyPlan plain = PlanKeystrokes("ab\r", names, {});
    EXPECT_FALSE(plain.RaisePriority || plain.Actions[0].IdleBefore);
    EXPECT_EQ(plain.Actions[0].PauseAfterMs, 0);
    EXPECT_EQ(plain.Actions[2].PauseBeforeMs, 1);
    // A long text plans every character.
    EXPECT_EQ(PlanKeystrokes(std::string(66665, 'x'), names, {}).Actions.size(), 66665u);
}

TEST(KeyNames, TableAndDisplayNames) {
    testing::FakeKeyboard keyboard;
    const KeyNameTable names = BuildKeyNameTable(keyboard);
    // The named keys first, then the system's names that are not there yet;
    // the lookup is exact, so only upper-case system names match a token.
    EXPECT_EQ(names.LookupKeyName("ENTER"), 0x0D);
    EXPECT_EQ(names.LookupKeyName("A"), 'A');
    EXPECT_EQ(names.LookupKeyName("F12"), 0x7B);
    EXPECT_EQ(names.LookupKeyName("Eingabe"), 0x0D);
    EXPECT_EQ(names.LookupKeyName("(255)") + names.LookupKeyName("Pos1") + names.LookupKeyName("tab"), 0);
    EXPECT_EQ(UpperKeyName("pgup \xC3\xBC\xC3\xB7"), "PGUP \xC3\x9C\xC3\xB7");
    EXPECT_EQ(KeyName(110, keyboard), ", (Num)");
    EXPECT_EQ(KeyName(96, keyboard) + KeyName(106, keyboard), "0 (Num)* (Num)");
    EXPECT_EQ(KeyName(0x2C, keyboard), "");
    EXPECT_EQ(KeyName(0x24, keyboard), "Pos1");
    EXPECT_EQ(KeyName(0xBA, keyboard), "\xC3\x9C");
}

}  // namespace
}  // namespace zorv
