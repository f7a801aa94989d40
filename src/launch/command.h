// From an item's command text to what will be started: expanding variables
// and the date macro, telling URLs from files, splitting program and
// arguments, finding the program behind a document, shortcuts and consoles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "items/items.h"
#include "launch/folder_history.h"
#include "launch/launch_platform.h"

namespace zorv {

// The launcher's view of the start-up state.
struct LaunchFacts {
    std::string ProgramFolder;  // without trailing backslash
    std::string WindowsFolder;  // "C:\WINDOWS"
    std::string StartFolder;    // current folder when the program started
    std::uint32_t WindowsMajor = 6;
};

// The message for a shortcut that is not there; like the starter's own
// messages it has only this one wording, whatever the language.
inline constexpr std::string_view kFileNotFoundText = "File not found";

// Text rules.
// Without leading and trailing spaces (tabs stay: they may belong to a name).
std::string TrimSpaces(std::string_view text);
// Without one pair of enclosing double quotes.
std::string Unquote(std::string_view text);
// The text after the last ".", a trailing quote removed; empty without a dot.
std::string FileExtension(std::string_view file);
// http://, https://, nntp://, www., ftp://, ftp., mailto: (any case).
bool IsUrl(std::string_view path);
// pif, exe, com, bat, lnk, cmd (any case).
bool IsExecutableExt(std::string_view file);
bool IsBatCmdPif(std::string_view file);
// The text of a Windows error code; `systemMessage` is FormatMessage's text
// for it, used for every code without a text of our own.
std::string ErrorText(std::int32_t code, std::string_view systemMessage);

class CommandResolver {
  public:
    // `current` is the current-item record: the shortcut fallback of FindExe
    // writes the shortcut's target, folder and show command into it.
    CommandResolver(CommandPlatform& platform, const LaunchFacts& facts, FolderHistory& history,
                    Item* current)
        : platform_(platform), facts_(facts), history_(history), current_(current) {}

    std::string ExpandEnvVars(std::string text);
    std::string ExpandNowMacro(std::string text);

    bool FileExists(const std::string& path, const std::string& folder);
    bool FileOrExeExists(const std::string& path, const std::string& folder);
    bool DirExists(const std::string& path);
    // The full path of the program that opens `file`, or empty text.
    std::string FindExe(std::string file, std::string folder);
    // The ShellStart flag of a start request for `file`.
    bool NeedsShellStart(const std::string& file, const std::string& folder);

    // Expands and splits `path` (and expands `wrkDir`) in place; `file`,
    // `params` and `exe` (the program that will really run) are set. True
    // when a startable file was found.
    bool SplitCommandLine(std::string& path, std::string& wrkDir, std::string& file,
                          std::string& params, std::string& exe, bool showErrors);

  private:
    bool SplitShortcut(const std::string& path, const std::string& bare, std::string& wrkDir,
                       std::string& file, std::string& params, std::string& exe, bool showErrors);
    void SplitUnquoted(const std::string& path, const std::string& wrkDir, std::string& file,
                       std::string& params);
    void AdoptProgram(std::string& wrkDir, std::string& file, std::string& params,
                      std::string& exe);
    bool Finish(std::string& wrkDir, const std::string& file);
    std::string FolderOf(const std::string& file);

    CommandPlatform& platform_;
    const LaunchFacts& facts_;
    FolderHistory& history_;
    Item* current_;
};

}  // namespace zorv
