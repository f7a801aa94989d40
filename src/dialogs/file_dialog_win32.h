// The system's open-file dialog as the dialogs use it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace zorv {

// Asks for an existing file; `filter` as "Name|*.a;*.b|Name|*.*", `start`
// the name the dialog starts from. Nothing when the user cancels.
std::optional<std::string> AskOpenFile(HWND owner, std::string_view filter,
                                       const std::string& start);

}  // namespace zorv
