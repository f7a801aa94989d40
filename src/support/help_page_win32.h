// The program's help page (an HTML file), opened by the shell in the
// user's browser.
#pragma once

#include <windows.h>

#include <string>

namespace zorv {

// Opens `helpFile`; a missing file is reported in a message box.
void OpenHelpPage(HWND owner, const std::string& helpFile);

}  // namespace zorv
