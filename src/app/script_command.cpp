#include "app/script_command.h"

#include "app/command_line.h"
#include "support/ascii.h"

namespace zorv {

namespace {

// A switch standing as a word of its own ("/menu", not "/menus").
bool HasSwitch(std::string_view args, std::string_view name) {
    for (std::size_t at = FindNoCase(args, name); at != std::string_view::npos;
         at = FindNoCase(args, name, at + 1)) {
        const std::size_t end = at + name.size();
        const bool startsWord = at == 0 || IsBlank(args[at - 1]) || args[at - 1] == '"';
        const bool endsWord = end == args.size() || IsBlank(args[end]) || args[end] == '"';
        if (startsWord && endsWord) return true;
    }
    return false;
}

std::string Caption(std::string_view desc) {
    std::string caption(StripDepth(desc));
    std::erase(caption, '&');
    return std::string(TrimBlanks(caption));
}

}  // namespace

ScriptCommand ParseScriptCommand(std::string_view fullCommandLine) {
    const std::string_view args = ArgumentsOf(fullCommandLine);
    ScriptCommand command;
    constexpr std::string_view kRun = "/run=";
    if (const std::size_t at = FindNoCase(args, kRun); at != std::string_view::npos) {
        const std::size_t start = at + kRun.size();
        std::size_t end;
        std::size_t from = start;
        if (at > 0 && args[at - 1] == '"') {
            end = args.find('"', start);  // the whole switch quoted
        } else if (start < args.size() && args[start] == '"') {
            from = start + 1;
            end = args.find('"', from);  // the description quoted
        } else {
            end = start;
            while (end < args.size() && !IsBlank(args[end])) ++end;
        }
        if (end == std::string_view::npos) end = args.size();
        command.Verb = ScriptVerb::Run;
        command.Description = std::string(TrimBlanks(args.substr(from, end - from)));
    } else if (HasSwitch(args, "/menu")) {
        command.Verb = ScriptVerb::Menu;
    } else if (HasSwitch(args, "/reload")) {
        command.Verb = ScriptVerb::Reload;
    }
    return command;
}

ItemMatch FindItemByDescription(const ItemLists& lists, std::string_view description) {
    const std::string wanted = Caption(description);
    ItemMatch match;
    if (wanted.empty()) return match;
    for (std::int32_t list : {kListButtons, kListMenu, kListAutostart, kListAutoclose}) {
        const clsItems& items = lists[list];
        for (std::int32_t i = 0; i < items.Count(); ++i) {
            if (!EqualsNoCase(Caption(items.GetDesc(i)), wanted)) continue;
            if (match.Result == ItemMatch::Found) return {ItemMatch::Ambiguous, -1, -1};
            match = {ItemMatch::Found, list, i};
        }
    }
    return match;
}

std::string ScriptAnswerText(ScriptAnswer answer, const ScriptCommand& command) {
    const std::string quoted = "\"" + command.Description + "\"";
    switch (answer) {
        case ScriptAnswer::Done:
            switch (command.Verb) {
                case ScriptVerb::Run: return "ZorvPanel: " + quoted + " started";
                case ScriptVerb::Menu: return "ZorvPanel: main menu opened";
                case ScriptVerb::Reload: return "ZorvPanel: configuration read again";
                case ScriptVerb::None: break;
            }
            return "ZorvPanel: done";
        case ScriptAnswer::UnknownDescription:
            return "ZorvPanel: no item is called " + quoted;
        case ScriptAnswer::AmbiguousDescription:
            return "ZorvPanel: more than one item is called " + quoted;
        case ScriptAnswer::NotRunning:
            return "ZorvPanel: the bar is not running";
        case ScriptAnswer::NoAnswer:
            return "ZorvPanel: the bar does not answer";
        case ScriptAnswer::Busy:
            return "ZorvPanel: the bar is busy (a dialog is open); try again";
    }
    return "ZorvPanel: ?";
}

}  // namespace zorv
