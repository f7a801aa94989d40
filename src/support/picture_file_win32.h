// Pictures from files and from the program's resources, and .bmp files
// written from a DIB: shared by the bar's images and the menus' icon strip.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/bmp_dc_win32.h"
#include "support/gdi_win32.h"
#include "support/geometry.h"

namespace zorv {

// Icons are 16 x 16 pixels wherever the program keeps them.
inline constexpr std::int32_t kIconPixels = 16;

// Where an icon and its mask are kept: both Size x Size in `dc` (16 at
// 96 dpi; the bar's icons grow with the screen's resolution).
struct IconPlace {
    HDC Dc = nullptr;
    ScreenPoint Icon;
    ScreenPoint Mask;
    std::int32_t Size = kIconPixels;
};

struct Picture {
    UniqueBitmap Bitmap;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};
// A .bmp file as a DIB section; no bitmap when it cannot be read.
Picture LoadPictureFile(const std::string& path);

// An icon file of the icon folder: image in the left 16 x 16 square, the
// mask (if the picture is wider) in the right one.
bool LoadIconFile(const std::string& path, const IconPlace& to);

// Bitmap resource `name` of the program in a new context of `dcs` of its
// size; null (and a log line) when it cannot be loaded.
HDC LoadResourceBitmap(clsBmpDC& dcs, const wchar_t* name);

// Writes a 24-bit bottom-up DIB's bits as a .bmp file; a failed write
// leaves no file.
bool WriteDibFile(const std::string& path, const BITMAPINFOHEADER& header, const void* bits);

}  // namespace zorv
