#include "app/language.h"

#include "support/texts.h"

namespace zorv {

bool ChooseLanguage(std::int32_t forcedLanguage, std::uint16_t userLangId) {
    if (forcedLanguage == 1) return false;
    if (forcedLanguage == 2) return true;
    // German of Germany, Switzerland, Austria, Luxembourg and Liechtenstein;
    // every other language gets English.
    switch (userLangId) {
        case 1031:
        case 2055:
        case 3079:
        case 4103:
        case 5127:
            return false;
        default:
            return true;
    }
}

std::string ExeFilterText(bool english, bool win9x) {
    std::string filter = TextIn(Txt::ExeFilter, english);
    // Windows 95, 98 and ME have no .cmd files.
    if (win9x) {
        constexpr std::string_view cmd = ";*.cmd";
        const std::size_t at = filter.find(cmd);
        if (at != std::string::npos) filter.erase(at, cmd.size());
    }
    return filter;
}

std::string HelpFileName(std::string_view programFolder, bool english) {
    return std::string(programFolder) + (english ? "\\Help\\zorv_e.html" : "\\Help\\zorv.html");
}

}  // namespace zorv
