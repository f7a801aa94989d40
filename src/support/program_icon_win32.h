// The icon of the program, document or folder an item's command names,
// taken from the file (or the shell's icon for its type) into a picture and
// mask, and drawn back with its mask. Shared by the bar and the item dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/picture_file_win32.h"
#include "support/program_icon.h"

namespace zorv {

// The icon of the program (or document, or folder) an item's Path names.
bool LoadProgramIcon(const std::string& itemPath, const IconPlace& to);
// Paints the icon over whatever `dc` shows at (x, y): transparent where the
// mask is white.
void DrawIconWithMask(HDC dc, std::int32_t x, std::int32_t y, const IconPlace& from);

// The file system answering for ProgramNameOf.
class Win32NameOnDisk final : public NameOnDiskLookup {
  public:
    std::optional<std::string> NameOnDisk(const std::string& path) override;
};

// The "*.bmp" files of the icon folder (names only).
std::vector<std::string> IconFolderFiles(const std::string& folder);

// Writes the icon and its mask kept in `from` into the icon folder as one
// picture twice as wide as high (image left, mask right): under the name of an equal
// file already there, else under a new name for the program of `path`.
// Empty when nothing could be written.
std::string WriteIconPicture(const IconPlace& from, const std::string& folder,
                             const std::string& path);

}  // namespace zorv
