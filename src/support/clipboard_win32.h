// The clipboard opened with a bounded retry and closed by its guard, and
// text put on it. The input subsystem builds its paste and its save and
// restore of the whole clipboard on these.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace zorv {

// Another program may hold the clipboard for a moment: `tries` attempts,
// 10 ms apart. Closed again when the guard goes.
class OpenClipboardGuard {
  public:
    explicit OpenClipboardGuard(HWND owner, int tries = 20);
    ~OpenClipboardGuard() {
        if (open_) CloseClipboard();
    }
    OpenClipboardGuard(const OpenClipboardGuard&) = delete;
    OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_ = false;
};

// A movable memory block holding `bytes` bytes of `data`; null when the
// memory could not be had. Freed by whoever does not hand it to the system.
HGLOBAL CopyToGlobal(const void* data, std::size_t bytes);

// Puts `utf8` on the clipboard as Unicode text, owned by `owner`; false when
// the clipboard stayed busy or the memory could not be had.
bool PutTextOnClipboard(HWND owner, std::string_view utf8);
// The clipboard's text as UTF-8; nullopt when it holds none.
std::optional<std::string> GetClipboardText(HWND owner);

}  // namespace zorv
