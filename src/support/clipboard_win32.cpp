#include "support/clipboard_win32.h"

#include <cstring>
#include <string>

#include "support/text_win32.h"

namespace zorv {

namespace {

// Another program may hold the clipboard for a moment: a few tries, 10 ms apart.
constexpr int kOpenTries = 20;
constexpr DWORD kOpenPauseMs = 10;

class OpenClipboardGuard {
  public:
    explicit OpenClipboardGuard(HWND owner) {
        for (int i = 0; i < kOpenTries && !open_; ++i) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(kOpenPauseMs);
        }
    }
    ~OpenClipboardGuard() {
        if (open_) CloseClipboard();
    }
    OpenClipboardGuard(const OpenClipboardGuard&) = delete;
    OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_ = false;
};

}  // namespace

// The memory belongs to the system only once SetClipboardData accepted it.
bool PutTextOnClipboard(HWND owner, std::string_view utf8) {
    const std::wstring text = Widen(utf8);
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (void* locked = GlobalLock(memory)) {
        std::memcpy(locked, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    OpenClipboardGuard clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

}  // namespace zorv
