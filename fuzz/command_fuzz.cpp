// Command texts against a small imaginary machine. The input is up to four
// lines: the command, the working folder, a value for every environment
// variable, and a date pattern. Checked: expansion without known names
// changes nothing and always ends, a found file is never empty, every
// current-folder change made while resolving is undone, and the date
// pattern's output stays bounded.
#include <algorithm>
#include <optional>

#include "fuzz_common.h"
#include "launch/command.h"
#include "launch/date_pattern.h"

namespace zorv::fuzz {
namespace {

std::string Lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return s;
}

// Files are what their names say: "...exist..." is a file, "...dir..." a
// folder; programs open ".txt"; every other name is missing.
class Machine : public CommandPlatform {
  public:
    std::optional<std::string> envValue;  // the value of every variable
    std::string cwd = "C:\\Start";

    std::uint32_t FileAttributes(const std::string& path) override {
        const std::string lower = Lower(path);
        if (lower.find("dir") != std::string::npos) return kAttrDirectory;
        return lower.find("exist") != std::string::npos ? 0x20 : kNoAttributes;
    }
    std::uint32_t DriveType(const std::string&) override { return 3; }
    std::string FindProgram(const std::string& file, const std::string&) override {
        const std::string lower = Lower(file);
        if (lower.find("exist") == std::string::npos) return {};
        if (lower.ends_with(".txt\"")) return std::string("C:\\notepad.exe\0\0", 16);
        if (lower.ends_with(".exe\"")) return file.substr(1, file.size() - 2);
        return {};
    }
    std::string AssocCommand(const std::string&) override { return "x.exe \"%1\""; }
    bool ReadShortcut(const std::string& path, ShortcutInfo& out) override {
        out.Target = "C:\\existing.exe";
        out.WorkDir = path;
        return true;
    }
    std::optional<std::string> EnvironmentVariable(const std::string&) override { return envValue; }
    DateTimeParts LocalNow() override { return {}; }
    std::string CurrentFolder() override { return cwd; }
    bool SetCurrentFolder(const std::string& folder) override {
        cwd = folder;
        return true;
    }
    void ShowMessage(const std::string&) override {}
};

void CheckExpansion(Machine& machine, CommandResolver& resolver, const std::string& text,
                    const std::string& value) {
    machine.envValue.reset();
    if (Lower(text).find("%zorv") == std::string::npos) {
        Check(resolver.ExpandEnvVars(text) == text);
    }
    machine.envValue = value;
    // Each replaced "%NAME%" is at least three characters.
    const std::size_t longest = std::max<std::size_t>({value.size(), 13, 3});
    Check(resolver.ExpandEnvVars(text).size() <= text.size() * longest);
}

}  // namespace

void FuzzOne(std::string_view input) {
    const std::vector<std::string> in = Lines(input, 4);
    Machine machine;
    const LaunchFacts facts{"D:\\Zorv", "C:\\WINDOWS", "C:\\Start", 6};
    FolderHistory history(machine);
    Item current;
    CommandResolver resolver(machine, facts, history, &current);
    CheckExpansion(machine, resolver, in[0], in[2]);
    CheckExpansion(machine, resolver, in[1], in[2]);

    machine.envValue = in[2];
    std::string path = in[0], wrkDir = in[1], file, params, exe;
    const bool found = resolver.SplitCommandLine(path, wrkDir, file, params, exe, true);
    Check(!found || !file.empty());
    Check(history.Depth() == 0 && machine.cwd == "C:\\Start");
    resolver.NeedsShellStart(file, wrkDir);
    Check(history.Depth() == 0 && machine.cwd == "C:\\Start");
    (void)IsUrl(in[0]), (void)IsExecutableExt(in[0]), (void)IsBatCmdPif(in[0]);

    DateTimeParts now;
    now.DayName = now.MonthName = std::string(9, 'n');
    Check(FormatDateTime(in[3], now).size() <= in[3].size() * 9);
}

}  // namespace zorv::fuzz
