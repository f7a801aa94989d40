// Keystroke texts through the key language. The first byte chooses the
// target (wants Enter, slow), the rest is the text. Checked: every typed
// character can be sent as UTF-16 and is neither CR nor LF, no held modifier
// outlives the text, pauses stay within their bound, and a text without
// braces types exactly its characters.
#include "../tests/unit/input/fake_keyboard.h"
#include "fuzz_common.h"
#include "input/key_events.h"
#include "input/key_language.h"
#include "support/utf8.h"

namespace zorv::fuzz {

void FuzzOne(std::string_view input) {
    static testing::FakeKeyboard keyboard;
    static const KeyNameTable names = BuildKeyNameTable(keyboard);
    if (input.empty()) return;
    const KeyTarget target{(input[0] & 1) != 0, (input[0] & 2) != 0};
    const std::string_view text = input.substr(1);
    const KeyPlan plan = PlanKeystrokes(text, names, target);

    std::uint8_t held = 0;
    std::size_t typed = 0;
    for (const KeyAction& a : plan.Actions) {
        switch (a.Step) {
            case KeyStep::Type:
                Check(a.Char <= 0x10FFFF && (a.Char < 0xD800 || a.Char > 0xDFFF));
                Check(a.Char != '\r' && a.Char != '\n');
                ++typed;
                break;
            case KeyStep::Enter:
                Check(target.WantsEnter);
                ++typed;
                break;
            case KeyStep::Press:
                if (a.Hold) held |= HeldModifierOf(a.Vk);
                break;
            case KeyStep::Release:
                Check(a.Held != 0 && a.Held == held);
                held = 0;
                break;
            case KeyStep::Delay:
                Check(a.DelayMs <= kMaxKeyDelayMs);
                break;
            case KeyStep::Toggle:
                break;
        }
    }
    Check(held == 0);
    Check(plan.RaisePriority == (text.find('}') != std::string_view::npos));
    if (text.find('{') == std::string_view::npos) {
        std::size_t characters = 0;
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t c = NextCodePoint(text, pos);
            characters += c != '\n' && (c != '\r' || target.WantsEnter);
        }
        Check(typed == characters);
    }
}

}  // namespace zorv::fuzz
