#include "app/command_line.h"

#include "support/ascii.h"

namespace zorv {

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from) {
    if (what.size() > text.size()) return std::string_view::npos;
    for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && LowerAscii(text[i + k]) == LowerAscii(what[k])) ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

std::string_view ArgumentsOf(std::string_view commandLine) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < commandLine.size() && blank(commandLine[i])) ++i;
    if (i < commandLine.size() && commandLine[i] == '"') {
        // A quoted program path runs to the closing quote (or to the end).
        const std::size_t close = commandLine.find('"', i + 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && !blank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

CommandLineSwitches ParseCommandLine(std::string_view fullCommandLine) {
    // Only the arguments count: a program installed under "C:\tools-noau"
    // must not switch its own autostart off.
    const std::string_view commandLine = ArgumentsOf(fullCommandLine);
    CommandLineSwitches sw;
    constexpr std::string_view kIni = "/ini=";
    if (std::size_t at = FindNoCase(commandLine, kIni); at != std::string_view::npos) {
        // The value runs to the next "/" (the start of another switch) or to
        // the end, blanks included: "/ini=C:\a.ini /noconfig" keeps "C:\a.ini ".
        std::size_t start = at + kIni.size();
        std::size_t end = commandLine.find('/', start);
        sw.Ini = std::string(commandLine.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start));
    }
    sw.NoConfig = FindNoCase(commandLine, "/noconfig") != std::string_view::npos;
    sw.NoAu = FindNoCase(commandLine, "noau") != std::string_view::npos;
    sw.NoStart = FindNoCase(commandLine, "nostart") != std::string_view::npos;
    return sw;
}

}  // namespace zorv
