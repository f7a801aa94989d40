#include "dialogs/file_dialog_win32.h"

#include <commdlg.h>

#include <algorithm>

#include "support/late_bound_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

std::wstring DialogFilter(std::string_view filter) {
    std::wstring w = Widen(filter);
    std::replace(w.begin(), w.end(), L'|', L'\0');
    return w + L'\0';
}

}  // namespace

// comdlg32 is bound here, on the first file dialog, not at the start.
std::optional<std::string> AskOpenFile(HWND owner, std::string_view filter,
                                       const std::string& start) {
    static const auto ask =
        LateBound<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    wchar_t file[MAX_PATH] = L"";
    lstrcpynW(file, Widen(start).c_str(), MAX_PATH);
    const std::wstring filters = DialogFilter(filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!ask || !ask(&ofn)) return std::nullopt;
    return Narrow(file);
}

}  // namespace zorv
