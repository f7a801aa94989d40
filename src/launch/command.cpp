#include "launch/command.h"

#include <algorithm>
#include <array>
#include <optional>

#include "support/log.h"
#include "support/texts.h"
#include "launch/date_pattern.h"
#include "support/ascii.h"

namespace zorv {

namespace {

std::string Lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = LowerAscii(c);
    return s;
}

std::string Upper(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A file with an extension that is not a program's: it needs the program
// its type is associated with.
bool IsDocument(std::string_view file) {
    return Contains(file, ".") && !IsExecutableExt(file);
}

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// FindExecutable hands back a fixed buffer.
std::string CleanResult(const std::string& raw) {
    return TrimSpaces(std::string_view(raw).substr(0, raw.find('\0')));
}

void SplitAtBlank(const std::string& path, std::string& file, std::string& params) {
    const std::size_t blank = path.find(' ');
    file = path.substr(0, blank);
    params = blank == std::string::npos ? std::string() : path.substr(blank + 1);
}

}  // namespace

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string Unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

std::string FileExtension(std::string_view file) {
    if (!file.empty() && file.back() == '"') file.remove_suffix(1);
    const std::size_t dot = file.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(file.substr(dot + 1));
}

bool IsUrl(std::string_view path) {
    static constexpr std::array<std::string_view, 7> kPrefixes = {
        "http://", "https://", "nntp://", "www.", "ftp://", "ftp.", "mailto:"};
    const std::string lower = Lower(path);
    for (std::string_view prefix : kPrefixes) {
        if (lower.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

bool IsExecutableExt(std::string_view file) {
    static constexpr std::array<std::string_view, 6> kExtensions = {"pif", "exe", "com",
                                                                    "bat", "lnk", "cmd"};
    const std::string ext = FileExtension(file);
    for (std::string_view known : kExtensions) {
        if (EqualsNoCase(ext, known)) return true;
    }
    return false;
}

bool IsBatCmdPif(std::string_view file) {
    const std::string ext = FileExtension(file);
    return EqualsNoCase(ext, "bat") || EqualsNoCase(ext, "cmd") || EqualsNoCase(ext, "pif");
}

std::string ErrorText(std::int32_t code, std::string_view systemMessage) {
    if (code == 31) return Text(Txt::NoLinkForType);
    if (code == 216) return Text(Txt::BadCpuType);
    std::string_view text = systemMessage.substr(0, systemMessage.find('\0'));
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") text.remove_suffix(2);
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    return std::string(text);
}

// An unknown name keeps both its percent signs, and its closing one may open
// the next pair ("%NOPE%TEMP%"). A value is not searched again: a variable
// whose value holds its own name would otherwise expand for ever.
std::string CommandResolver::ExpandEnvVars(std::string text) {
    std::size_t p1 = text.find('%');
    std::size_t p2 = p1 == std::string::npos ? p1 : text.find('%', p1 + 1);
    while (p2 != std::string::npos) {
        const std::string name = text.substr(p1 + 1, p2 - p1 - 1);
        std::optional<std::string> value;
        if (EqualsNoCase(name, "ZORV")) {
            value = facts_.ProgramFolder;
        } else if (EqualsNoCase(name, "ZORVROOT")) {
            const std::string& folder = facts_.ProgramFolder;
            const bool drive = folder.size() >= 2 && folder[1] == ':';
            value = (drive ? folder.substr(0, 1) : std::string()) + ":\\";
        } else if (!name.empty()) {
            value = platform_.EnvironmentVariable(name);
            if (value && value->empty()) value.reset();
        }
        std::size_t from = p1 + 1;
        if (value) {
            text.replace(p1, p2 - p1 + 1, *value);
            from = std::max(from, p1 + value->size());
        }
        p1 = text.find('%', from);
        p2 = p1 == std::string::npos ? p1 : text.find('%', p1 + 1);
    }
    return text;
}

std::string CommandResolver::ExpandNowMacro(std::string text) {
    const std::size_t at = Lower(text).find("%now:");
    if (at != std::string::npos) {
        const std::size_t end = text.find('%', at + 5);
        if (end != std::string::npos) {
            const std::string pattern = text.substr(at + 5, end - at - 5);
            text.replace(at, end - at + 1, FormatDateTime(pattern, platform_.LocalNow()));
        }
    }
    return ExpandEnvVars(std::move(text));
}

bool CommandResolver::FileExists(const std::string& path, const std::string& folder) {
    if (TrimSpaces(path).empty()) return false;
    const std::string bare = Unquote(path);
    if (platform_.FileAttributes(bare) != kNoAttributes) return true;
    return !folder.empty() &&
           platform_.FileAttributes(WithBackslash(folder) + bare) != kNoAttributes;
}

bool CommandResolver::FileOrExeExists(const std::string& path, const std::string& folder) {
    if (FileExists(path, folder)) return true;
    return !TrimSpaces(path).empty() && !FindExe(path, folder).empty();
}

bool CommandResolver::DirExists(const std::string& path) {
    const std::string bare = Unquote(path);
    if (bare.empty()) return false;
    const std::uint32_t attributes = platform_.FileAttributes(bare);
    return attributes != kNoAttributes && (attributes & kAttrDirectory) != 0;
}

// FindExecutable looks for a relative file in the current folder, so the
// first try runs from the Windows folder. Shortcuts and consoles have no
// "open" program of their own: a shortcut's target stands in (and takes over
// the current item), a console opens with mmc.
std::string CommandResolver::FindExe(std::string file, std::string folder) {
    if (file.empty()) return {};
    if (file.front() != '"') file = "\"" + file + "\"";
    history_.PushChDir(facts_.WindowsFolder);
    std::string exe = CleanResult(platform_.FindProgram(file, folder));
    history_.PushChDir("");
    if (exe.empty()) exe = CleanResult(platform_.FindProgram(file, ""));
    if (exe.empty()) {
        const std::string ext = Upper(FileExtension(file));
        ShortcutInfo link;
        if (ext == "LNK" && platform_.ReadShortcut(Unquote(file), link)) {
            if (current_) {
                current_->Path = link.Target;
                current_->WrkDir = link.WorkDir;
                current_->Style = link.ShowCmd;
            }
            exe = link.Target;
        } else if (ext == "MSC") {
            exe = facts_.WindowsFolder + "\\System32\\mmc.exe";
        }
    }
    Log(4, "FindExe(%s, %s) = '%s'", file, folder, exe);
    return exe;
}

// The shell must start what has no program of its own, and documents whose
// program takes them through DDE ("[...]") or in a form CreateProcess would
// not give it; a plain `"...\prog.EXE" "%1"` can be started directly.
bool CommandResolver::NeedsShellStart(const std::string& file, const std::string& folder) {
    if (EndsWithNoCase(file, ".lnk")) return true;
    if (FindExe(file, folder).empty()) return true;
    if (!IsDocument(file)) return false;
    const std::string command = platform_.AssocCommand("." + FileExtension(file));
    const bool special =
        Contains(command, "[") || Contains(command, "%1") || Contains(command, "%*");
    const std::string tail =
        Upper(command.size() > 10 ? command.substr(command.size() - 10) : command);
    return special && tail != ".EXE\" \"%1\"";
}

// Shortcuts are started themselves (the shell applies their settings); their
// target is what will run, and their folder serves when the item has none.
bool CommandResolver::SplitShortcut(const std::string& path, const std::string& bare,
                                    std::string& wrkDir, std::string& file, std::string& params,
                                    std::string& exe, bool showErrors) {
    if (!FileExists(bare, "")) {
        if (showErrors) platform_.ShowMessage(std::string(kFileNotFoundText) + "\r\n" + path);
        return false;
    }
    ShortcutInfo link;
    platform_.ReadShortcut(bare, link);
    exe = link.Target;
    file = bare;
    params.clear();
    if ((wrkDir.empty() || !DirExists(wrkDir)) && DirExists(link.WorkDir)) wrkDir = link.WorkDir;
    Log(2, "SplitCommandLine: shortcut '%s' -> '%s' in '%s'", file, exe, wrkDir);
    return true;
}

// A path without quotes: blanks may belong to the path or start the
// arguments; ".exe " and an existing file decide before the first blank does.
void CommandResolver::SplitUnquoted(const std::string& path, const std::string& wrkDir,
                                    std::string& file, std::string& params) {
    const std::size_t exeEnd = Lower(path).find(".exe ");
    if (exeEnd != std::string::npos) {
        file = path.substr(0, exeEnd + 4);
        params = path.substr(exeEnd + 5, 999);
    } else if (FileExists(path, wrkDir)) {
        const std::string exe = FindExe(path, wrkDir);
        if (!exe.empty() && exe != path && IsDocument(path)) params = QuoteIfBlank(path);
        file = exe;
    } else if (!Contains(path, " ")) {
        file = path;
        params.clear();
    } else if (!Contains(path, " -") && !Contains(path, " /")) {
        const std::string exe = FindExe(path, wrkDir);
        if (!exe.empty()) {
            if (IsDocument(path)) params = QuoteIfBlank(path);
            file = exe;
        }
        if (file.empty()) SplitAtBlank(path, file, params);
    } else {
        SplitAtBlank(path, file, params);
    }
}

// A document runs as an argument of its program; a file that is not there
// may still be found by its type (a console opens with mmc from System32).
void CommandResolver::AdoptProgram(std::string& wrkDir, std::string& file, std::string& params,
                                   std::string& exe) {
    if (FileExists(file, wrkDir)) {
        const std::string program = FindExe(file, wrkDir);
        if (program.empty()) return;
        exe = program;
        if (IsDocument(file)) {
            params = QuoteIfBlank(file) + (params.empty() ? "" : " " + params);
            file = exe;
        }
        return;
    }
    const std::string program = FindExe(file, wrkDir);
    if (program.empty()) return;
    if (IsDocument(file)) params = file;
    if (EndsWithNoCase(params, ".msc") && !FileExists(params, wrkDir)) {
        wrkDir = facts_.WindowsFolder + "\\System32";
    }
    file = program;
}

std::string CommandResolver::FolderOf(const std::string& file) {
    const std::size_t slash = file.rfind('\\');
    if (slash == std::string::npos) return {};
    const std::string folder = file.substr(0, slash + 1);
    if (DirExists(folder)) return folder;
    if (folder.size() > 1 && DirExists(folder.substr(0, folder.size() - 1))) {
        return folder.substr(0, folder.size() - 1);
    }
    return {};
}

bool CommandResolver::Finish(std::string& wrkDir, const std::string& file) {
    if (!FileOrExeExists(file, wrkDir)) return false;
    if (wrkDir.empty()) wrkDir = FolderOf(file);
    return true;
}

bool CommandResolver::SplitCommandLine(std::string& path, std::string& wrkDir, std::string& file,
                                       std::string& params, std::string& exe, bool showErrors) {
    file.clear(), params.clear(), exe.clear();
    path = ExpandNowMacro(ExpandEnvVars(TrimSpaces(path)));
    wrkDir = ExpandNowMacro(ExpandEnvVars(TrimSpaces(wrkDir)));
    wrkDir = WithBackslash(wrkDir);

    const std::string bare = Unquote(path);
    if (EndsWithNoCase(bare, ".lnk")) {
        return SplitShortcut(path, bare, wrkDir, file, params, exe, showErrors);
    }
    if (!path.empty() && path.front() == '"') {
        const std::size_t close = path.find('"', 1);
        if (close == std::string::npos) return false;
        // A closing quote at the very end leaves the split to the rules
        // for unquoted paths, which take the quoted path as a whole.
        if (close < path.size() - 1) {
            file = path.substr(1, close - 1);
            params = close + 2 < path.size() ? path.substr(close + 2) : std::string();
        }
    }
    if (file.empty()) SplitUnquoted(path, wrkDir, file, params);
    AdoptProgram(wrkDir, file, params, exe);
    const bool found = Finish(wrkDir, file);
    Log(2, "SplitCommandLine(%s) = %i: File '%s' Params '%s' WrkDir '%s' Exe '%s'", path, found,
        file, params, wrkDir, exe);
    return found;
}

}  // namespace zorv
