// Conversions at the Win32 boundary: the program keeps text as UTF-8. These
// are the only conversions of the program (and of Zorv.dll, which compiles
// this file too).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace zorv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Bytes of code page `codePage` (the system's ANSI code page by default) as
// UTF-8; a terminating zero ends the text.
std::string CodePageToUtf8(std::string_view bytes, UINT codePage = CP_ACP);
std::wstring CodePageToWide(std::string_view bytes, UINT codePage = CP_ACP);
// UTF-8 in code page `codePage`; nothing when some character has no place
// in it (it would come back as "?" or a look-alike). Works for every code
// page, UTF-8 (65001) included.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, UINT codePage = CP_ACP);

// The program's title for message boxes.
inline constexpr wchar_t kAppTitle[] = L"ZorvPanel";

// A message box in front of everything; returns the button pressed.
int MsgBox(std::string_view text, UINT flags, HWND owner = nullptr);

}  // namespace zorv
