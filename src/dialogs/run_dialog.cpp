#include "dialogs/run_dialog.h"

#include "dialogs/run_dialog_ids.h"
#include "support/ascii.h"

namespace zorv {

std::string_view RunDialogTitle(bool english) {
    return english ? "Execute" : "Ausführen";
}

std::vector<ControlCaption> RunDialogCaptions(const RightsLayout& rights, bool english) {
    const std::string_view box0 = rights.AdminCaption ? AdminCaption(english)
                                  : english           ? "As &Other User"
                                                      : "Als &anderer Nutzer";
    return {
        {kDialogIdOk, "OK"},
        {kDialogIdCancel, english ? "Cancel" : "Abbrechen"},
        {IDC_RUN_BROWSE, english ? "&Browse..." : "&Durchsuchen..."},
        {IDC_RUN_USERTYPE0, box0},
        {IDC_RUN_USERTYPE1, english ? "Run &restricted" : "&eingeschränkt"},
    };
}

// Unlike the item dialog's boxes, where the last click wins, box 0 always
// wins here: a click on box 1 while box 0 is checked does nothing.
void SettleRunRightsBoxes(bool& box0, bool& box1) {
    if (box0) box1 = false;
    if (box1) box0 = false;
}

std::int32_t RunUserType(bool box0, bool box1) {
    return box1 ? 2 : box0 ? 1 : 0;
}

// A quoted program ends at its closing quote, an unquoted one at ".exe " as
// the launcher splits it; without either the whole text may be the program.
std::string_view RunProgramPart(std::string_view command) {
    std::string_view program = TrimBlanks(command);
    if (!program.empty() && program.front() == '"') {
        program.remove_prefix(1);
        return program.substr(0, program.find('"'));
    }
    std::string lower(program);
    for (char& c : lower) c = LowerAscii(c);
    const std::size_t exeEnd = lower.find(".exe ");
    return exeEnd == std::string::npos ? program : program.substr(0, exeEnd + 4);
}

// Only the program's folder counts: the arguments' own folders must not
// become the working folder.
std::string RunWorkingFolder(std::string_view command) {
    const std::string_view program = RunProgramPart(command);
    const std::size_t slash = program.rfind('\\');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(program.substr(0, slash + 1));
}

std::int32_t RunDialogWidth(std::int32_t fieldLeft, std::int32_t fieldWidth) {
    return 3 * fieldLeft + fieldWidth;
}

}  // namespace zorv
