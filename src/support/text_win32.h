// Conversions at the Win32 boundary: the program keeps text as UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zorv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The program's title for message boxes.
inline constexpr wchar_t kAppTitle[] = L"ZorvPanel";

// A message box in front of everything; returns the button pressed.
int MsgBox(std::string_view text, UINT flags, HWND owner = nullptr);

}  // namespace zorv
