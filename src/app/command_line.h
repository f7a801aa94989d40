// The program's command-line switches. Portable: no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorv {

struct CommandLineSwitches {
    std::optional<std::string> Ini;  // the "/ini=" value, unchanged (not trimmed)
    bool NoConfig = false;           // "/noconfig"
    bool NoAu = false;               // "noau": no autostart, no wait for idle
    bool NoStart = false;            // "nostart": no autostart
};

// Takes the whole command line as the system gives it, program path first.
// Switches may stand anywhere in the arguments and match in any letter case;
// "noau" and "nostart" are plain substrings (they also match inside words).
CommandLineSwitches ParseCommandLine(std::string_view fullCommandLine);

// What follows the program path (quoted, or up to the first blank).
std::string_view ArgumentsOf(std::string_view commandLine);

// Case-insensitive (ASCII) search; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0);

}  // namespace zorv
