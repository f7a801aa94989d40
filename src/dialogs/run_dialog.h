// frmExec, the run dialog: a command line typed once and started, with the
// rights boxes of the item dialog. What it shows and what OK makes of it, as
// plain data; the window is run_dialog_win32. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/clip_dialog.h"
#include "dialogs/item_dialog.h"

namespace zorv {

std::string_view RunDialogTitle(bool english);
// The controls' captions for this run; box 0 as RightsFor decides.
std::vector<ControlCaption> RunDialogCaptions(const RightsLayout& rights, bool english);

// After a click on either box: a checked box 0 clears box 1, then a checked
// box 1 clears box 0. So box 1 cannot be checked while box 0 is.
void SettleRunRightsBoxes(bool& box0, bool& box1);
// UserType for the start: 1 box 0, 2 box 1 (which wins), 0 none.
std::int32_t RunUserType(bool box0, bool box1);

// The program of a typed command, without its quotes and arguments: where
// the file dialog of Browse starts.
std::string_view RunProgramPart(std::string_view command);
// The working folder of a typed command: the text up to and with its last
// "\" (of the quoted program when the command starts with a quote, and of
// the part before ".exe " when it has one); empty without a "\".
std::string RunWorkingFolder(std::string_view command);

// The window's width in pixels: three times the text field's left edge plus
// the field's width, both in the dialog's client pixels.
std::int32_t RunDialogWidth(std::int32_t fieldLeft, std::int32_t fieldWidth);

// The face the dialog takes when FixFontProblem is set, and the one after it
// when that is not installed.
inline constexpr std::string_view kFixedDialogFont = "Microsoft Sans Serif";
inline constexpr std::string_view kFixedDialogFontFallback = "Arial";

}  // namespace zorv
