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

// An icon file of the icon folder: image in the left square, the mask (if
// the picture is wider) in the right one; drawn at to.Size.
bool LoadIconFile(const std::string& path, const IconPlace& to);

// Bitmap resource `name` of the program in a new context of `dcs` of its
// size; null (and a log line) when it cannot be loaded.
HDC LoadResourceBitmap(clsBmpDC& dcs, const wchar_t* name);

// A picture strip of the program's resources drawn for icons of `size`
// pixels: "II24" for name "II" and size 24; the 16-pixel one ("II") for 16
// and whenever the program has no version of that size.
struct SizedStrip {
    HDC Dc = nullptr;
    std::int32_t Size = kIconPixels;  // the icons' size in it
};
SizedStrip LoadSizedResourceBitmap(clsBmpDC& dcs, const wchar_t* name, std::int32_t size);

// Icon and mask at `at` of two strips of `sourceSize` icons into `to`, made
// to.Size: copied when the sizes agree, else the picture averaged and the
// mask in whole pixels (it stays black and white), then the picture cleared
// under the mask as the masked drawing needs.
void CopyIconFromStrips(const IconPlace& to, HDC pictures, HDC masks, ScreenPoint at,
                        std::int32_t sourceSize);

// Writes a 24-bit bottom-up DIB's bits as a .bmp file; a failed write
// leaves no file.
bool WriteDibFile(const std::string& path, const BITMAPINFOHEADER& header, const void* bits);

}  // namespace zorv
