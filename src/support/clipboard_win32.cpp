#include "support/clipboard_win32.h"

#include <cstring>
#include <string>

#include "support/text_win32.h"

namespace zorv {

OpenClipboardGuard::OpenClipboardGuard(HWND owner, int tries) {
    constexpr DWORD kOpenPauseMs = 10;
    for (int i = 0; i < tries && !open_; ++i) {
        open_ = OpenClipboard(owner) != FALSE;
        if (!open_) Sleep(kOpenPauseMs);
    }
}

HGLOBAL CopyToGlobal(const void* data, std::size_t bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes ? bytes : 1);
    if (!memory) return nullptr;
    void* locked = GlobalLock(memory);
    if (!locked) {
        GlobalFree(memory);
        return nullptr;
    }
    if (bytes) std::memcpy(locked, data, bytes);
    GlobalUnlock(memory);
    return memory;
}

// The memory belongs to the system only once SetClipboardData accepted it.
bool PutTextOnClipboard(HWND owner, std::string_view utf8) {
    const std::wstring text = Widen(utf8);
    HGLOBAL memory = CopyToGlobal(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    OpenClipboardGuard clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

std::optional<std::string> GetClipboardText(HWND owner) {
    OpenClipboardGuard clipboard(owner);
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text) return std::nullopt;
    const std::size_t chars = GlobalSize(data) / sizeof(wchar_t);
    std::string utf8 = Narrow(std::wstring_view(text, wcsnlen(text, chars)));
    GlobalUnlock(data);
    return utf8;
}

}  // namespace zorv
