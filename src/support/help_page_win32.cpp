#include "support/help_page_win32.h"

#include <shellapi.h>

#include <cstdint>

#include "support/file_win32.h"
#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"

namespace zorv {

// The page is opened as a file, without a "#topic": the shell does not carry
// a fragment over to the browser for a file path.
void OpenHelpPage(HWND owner, const std::string& helpFile) {
    if (!FileExists(helpFile)) {
        Log(1, "Help: %s not found", helpFile);
        MsgBox(TextArg(Txt::HelpMissing, helpFile), MB_OK | MB_ICONEXCLAMATION, owner);
        return;
    }
    static const auto shellExecute =
        LateBound<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    const std::wstring file = Widen(helpFile);
    const auto result = shellExecute
                            ? reinterpret_cast<INT_PTR>(shellExecute(
                                  owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL))
                            : 0;
    Log(2, "Help: %s opened (%i)", helpFile, static_cast<std::int64_t>(result));
}

}  // namespace zorv
