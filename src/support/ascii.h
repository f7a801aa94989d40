// Letter-case rules for the ASCII names Windows compares without case
// (file names, window classes, process names, switches). Portable.
#pragma once

#include <string>
#include <string_view>

namespace zorv {

constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Blanks as the configuration file and command lines have them.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// `text` without its leading and trailing blanks.
constexpr std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A path in double quotes when it has a blank and is not quoted yet, so
// that a command line reads it as one word.
inline std::string QuoteIfBlank(std::string_view path) {
    if (path.find(' ') == std::string_view::npos || (!path.empty() && path.front() == '"')) {
        return std::string(path);
    }
    return "\"" + std::string(path) + "\"";
}

constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

}  // namespace zorv
