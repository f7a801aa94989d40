#include "support/window_win32.h"

#include <cwchar>
#include <iterator>
#include <string_view>

#include "support/gdi_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

constexpr UINT kNullTimeoutMs = 50;
constexpr UINT kTextTimeoutMs = 100;
constexpr int kTextChars = 260;

struct FormCount {
    std::int32_t Count = 0;
};

BOOL CALLBACK CountForm(HWND window, LPARAM param) {
    if (IsFormWindow(window)) ++reinterpret_cast<FormCount*>(param)->Count;
    return TRUE;
}

}  // namespace

std::string ClassOf(HWND window) {
    if (!window) return {};
    wchar_t name[256];
    const int n = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return n > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(n))) : std::string();
}

std::string OwnWindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

// A hung window would block SendMessage for good; SMTO_ABORTIFHUNG returns at
// once for a window Windows already considers hung, the time-outs cover the
// rest.
std::string WindowTextTimeout(HWND window) {
    if (!window) return {};
    if (IsHung(window)) return "no text because no response";
    wchar_t text[kTextChars] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
        return {};
    // The answer's length is the window's claim; the buffer is the fact.
    return Narrow(std::wstring_view(text, wcsnlen(text, kTextChars - 1)));
}

bool IsHung(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kNullTimeoutMs, &result) ==
           0;
}

bool IsReallyVisible(HWND window) {
    RECT r{};
    return IsWindowVisible(window) && GetWindowRect(window, &r) && r.right - r.left >= 1 &&
           r.bottom - r.top >= 1;
}

bool VisibleTopLevel(const wchar_t* cls) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w;
         w = FindWindowExW(nullptr, w, cls, nullptr)) {
        if (IsReallyVisible(w)) return true;
    }
    return false;
}

bool OwnedByThisProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid == GetCurrentProcessId();
}

bool IsFormWindow(HWND window) {
    if (!IsWindowVisible(window) || GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        return false;
    }
    const std::string cls = ClassOf(window);
    return cls != "tooltips_class32" && cls != "#32768";
}

std::int32_t OpenFormCount(HWND bar) {
    FormCount count;
    EnumThreadWindows(GetCurrentThreadId(), CountForm, reinterpret_cast<LPARAM>(&count));
    if (bar && !IsWindowVisible(bar)) ++count.Count;
    return count.Count;
}

std::int32_t ScreenCaps(int index) {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), index);
}

std::int32_t ScreenBitsPerPixel() {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
}

}  // namespace zorv
