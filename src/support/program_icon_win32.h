// The 16x16 icon of the program, document or folder an item's command names,
// taken from the file (or the shell's icon for its type) into a picture and
// mask, and drawn back with its mask. Shared by the bar and the item dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/picture_file_win32.h"

namespace zorv {

inline constexpr int kProgramIconSize = 16;

// The icon of the program (or document, or folder) an item's Path names.
bool LoadProgramIcon(const std::string& itemPath, const IconPlace& to);
// Paints the icon over whatever `dc` shows at (x, y): transparent where the
// mask is white.
void DrawIconWithMask(HDC dc, std::int32_t x, std::int32_t y, const IconPlace& from);

}  // namespace zorv
