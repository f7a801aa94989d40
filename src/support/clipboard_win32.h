// Text onto the clipboard, for the menus' clipboard entries until the
// clipboard operations of the input subsystem take over.
#pragma once

#include <windows.h>

#include <string_view>

namespace zorv {

// Puts `utf8` on the clipboard as Unicode text, owned by `owner`; false when
// the clipboard stayed busy or the memory could not be had.
bool PutTextOnClipboard(HWND owner, std::string_view utf8);

}  // namespace zorv
