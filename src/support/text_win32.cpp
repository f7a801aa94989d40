#include "support/text_win32.h"

namespace zorv {

std::wstring Widen(std::string_view utf8) {
    return CodePageToWide(utf8, CP_UTF8);
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                            nullptr, nullptr);
    }
    return out;
}

std::wstring CodePageToWide(std::string_view bytes, UINT codePage) {
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.empty()) return {};
    const int n =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                            n);
    }
    return out;
}

std::string CodePageToUtf8(std::string_view bytes, UINT codePage) {
    return Narrow(CodePageToWide(bytes, codePage));
}

// WideCharToMultiByte refuses lpUsedDefaultChar for UTF-8 (and UTF-7), and
// UTF-8 may be the system code page (an option of Windows 10 and later), so
// a lost character is found by converting back instead: a character the
// code page lacks comes back as something else.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, UINT codePage) {
    if (utf8.empty()) return std::string();
    const std::wstring wide = Widen(utf8);
    const int wideLen = static_cast<int>(wide.size());
    const int n =
        WideCharToMultiByte(codePage, 0, wide.data(), wideLen, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), wideLen, out.data(), n, nullptr, nullptr);
    if (CodePageToWide(out, codePage) != wide || Narrow(wide) != utf8) return std::nullopt;
    return out;
}

int MsgBox(std::string_view text, UINT flags, HWND owner) {
    return MessageBoxW(owner, Widen(text).c_str(), kAppTitle, flags | MB_SETFOREGROUND);
}

}  // namespace zorv
