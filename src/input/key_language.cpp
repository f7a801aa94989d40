#include "input/key_language.h"

#include <algorithm>

#include "input/key_events.h"
#include "items/items.h"
#include "support/utf8.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

constexpr std::string_view kDelayPrefix = "DELAY=";

class Planner {
  public:
    Planner(const KeyNameTable& names, const KeyTarget& target, bool keys)
        : names_(names), target_(target), keys_(keys) {}

    // A "{...}" token, already upper-cased.
    void Token(std::string token) {
        KeyAction a;
        if (token.starts_with(kDelayPrefix)) {
            const std::int32_t ms = ParseDecimalPrefix(std::string_view(token).substr(kDelayPrefix.size()));
            a.Step = KeyStep::Delay;
            a.DelayMs = static_cast<std::uint32_t>(std::clamp<std::int32_t>(ms, 0, kMaxKeyDelayMs));
        } else {
            a.Vk = names_.LookupKeyName(token);
            a.IdleBefore = true;
            if (!token.empty() && (token.back() == '+' || token.back() == '-')) {
                a.Step = KeyStep::Toggle;
                a.On = token.back() == '+';
            } else {
                a.Step = KeyStep::Press;
                a.Hold = HeldModifierOf(a.Vk) != 0;
                a.WaitFocusMove = a.Vk == win::kVkTab;
                a.PauseBeforeMs = 1;
                a.PauseAfterMs = 1;
            }
            a.Name = std::move(token);
        }
        Add(std::move(a));
        // The step after a token begins with a short pause.
        carryPause_ = 10;
    }

    // One character; `nextIsBrace` when a "{" follows it.
    void Character(char32_t c, bool nextIsBrace) {
        KeyAction a;
        a.IdleBefore = keys_;
        if (c == '\r') {
            if (!target_.WantsEnter) return EndStep(false);
            a.Step = KeyStep::Enter;
            a.Char = c;
            a.PauseBeforeMs = target_.Slow ? 5 : 1;
        } else if (c == '\n') {
            return EndStep(false);
        } else {
            a.Step = KeyStep::Type;
            a.Char = c;
            a.PauseAfterMs = target_.Slow ? 3 : 0;
        }
        if (nextIsBrace) {
            a.IdleAfter = true;
            a.PauseAfterMs += 10;
        }
        Add(std::move(a));
    }

    // A modifier held at the end would stay down in the whole system.
    KeyPlan Finish() {
        EndStep(false);
        return std::move(plan_);
    }

  private:
    void Add(KeyAction a) {
        a.PauseBeforeMs += carryPause_;
        carryPause_ = 0;
        const bool holds = a.Step == KeyStep::Press && a.Hold;
        if (holds) held_ |= HeldModifierOf(a.Vk);
        plan_.Actions.push_back(std::move(a));
        EndStep(holds);
    }

    // After every step that did not press a modifier, the held ones go up.
    void EndStep(bool leftModifierDown) {
        if (leftModifierDown || held_ == 0) return;
        KeyAction release;
        release.Step = KeyStep::Release;
        release.Held = held_;
        release.PauseAfterMs = 1;
        release.IdleAfter = true;
        plan_.Actions.push_back(std::move(release));
        held_ = 0;
    }

    const KeyNameTable& names_;
    const KeyTarget& target_;
    const bool keys_;
    KeyPlan plan_;
    std::uint8_t held_ = 0;
    std::uint16_t carryPause_ = 0;
};

}  // namespace

KeyPlan PlanKeystrokes(std::string_view text, const KeyNameTable& names, const KeyTarget& target) {
    const bool keys = text.find('}') != std::string_view::npos;
    Planner planner(names, target, keys);
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '{') {
            if (pos + 1 < text.size() && text[pos + 1] == '{') {
                pos += 2;
                planner.Character('{', pos < text.size() && text[pos] == '{');
                continue;
            }
            const std::size_t close = text.find('}', pos + 1);
            if (close != std::string_view::npos) {
                planner.Token(UpperKeyName(text.substr(pos + 1, close - pos - 1)));
                pos = close + 1;
                continue;
            }
        }
        const char32_t c = NextCodePoint(text, pos);
        planner.Character(c, pos < text.size() && text[pos] == '{');
    }
    KeyPlan plan = planner.Finish();
    plan.RaisePriority = keys;
    return plan;
}

}  // namespace zorv
