// Commands a script gives a running bar by starting the program again:
// "/run=<description>" starts (or activates) the item with that caption,
// "/menu" opens the main menu at the mouse, "/reload" reads the
// configuration again. Portable: parsing, finding the item, the answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "items/items.h"

namespace zorv {

enum class ScriptVerb : std::uint32_t { None = 0, Run = 1, Menu = 2, Reload = 3 };

struct ScriptCommand {
    ScriptVerb Verb = ScriptVerb::None;
    std::string Description;  // Run only, UTF-8
};

// From the whole command line (program path first). The description may be
// quoted ("/run="Two words"") or the whole switch may ("/run=Two words");
// unquoted it ends at the next blank.
ScriptCommand ParseScriptCommand(std::string_view fullCommandLine);

// The launch item (buttons, main menu, autostart, autoclose) whose caption,
// without depth marks and "&", equals `description` (letter case aside).
struct ItemMatch {
    enum Kind { Found, NotFound, Ambiguous } Result = NotFound;
    std::int32_t List = -1;
    std::int32_t Index = -1;
};
ItemMatch FindItemByDescription(const ItemLists& lists, std::string_view description);

// What the running bar answers and the exit code of the starting program.
enum class ScriptAnswer : std::int32_t {
    Done = 0,
    UnknownDescription = 2,
    AmbiguousDescription = 3,
    NotRunning = 4,
    NoAnswer = 5,
    Busy = 6,  // a dialog of the bar is open, or it is closing
};
// The console line for an answer.
std::string ScriptAnswerText(ScriptAnswer answer, const ScriptCommand& command);

// The WM_COPYDATA tag of a script command: kScriptTag + verb.
inline constexpr std::uintptr_t kScriptTag = 0x5A6F7200;  // "Zor"

}  // namespace zorv
