#include "app/ini_path.h"

#include "support/texts.h"

namespace zorv {

std::string IniFileName(const std::string& programFileName) {
    std::size_t dot = programFileName.rfind('.');
    return (dot == std::string::npos ? programFileName : programFileName.substr(0, dot)) + ".ini";
}

namespace {

bool IsAbsolute(const std::string& value) {
    return value.rfind("\\\\", 0) == 0 || value.compare(1, 2, ":\\") == 0;
}

bool ExistsOrCreate(const std::string& path, FileProbe& fs) {
    return fs.Exists(path) || fs.CreateEmpty(path);
}

}  // namespace

IniPathChoice ChooseIniPath(const IniPathFacts& facts, const std::optional<std::string>& iniSwitch,
                            FileProbe& fs) {
    const std::string name = IniFileName(facts.ProgramFileName);
    const std::string inProgramFolder = facts.ProgramFolder + "\\" + name;
    IniPathChoice choice{inProgramFolder, false};
    for (const std::string* folder : {&facts.CommonAppData, &facts.UserAppData}) {
        if (folder->empty()) continue;
        std::string candidate = *folder + "\\Zorv\\" + name;
        if (fs.Exists(candidate)) {
            choice.IniPath = candidate;
            break;
        }
    }
    if (!iniSwitch) return choice;

    const std::string& value = *iniSwitch;
    if (!value.empty() && IsAbsolute(value)) {
        if (ExistsOrCreate(value, fs)) return {value, false};
    } else if (!value.empty()) {
        std::string relative = facts.ProgramFolder + "\\" + value;
        if (ExistsOrCreate(relative, fs)) return {relative, false};
    }
    return {choice.IniPath, true};
}

std::string InvalidIniMessage(const std::string& value, bool english) {
    return TextArgIn(Txt::InvalidValue, value, english);
}

}  // namespace zorv
