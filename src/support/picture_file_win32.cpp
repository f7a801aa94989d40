#include "support/picture_file_win32.h"

#include <algorithm>
#include <utility>

#include "support/log.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

// dest = dest AND NOT source (the "DSna" raster operation).
constexpr DWORD kRopAndNotSource = 0x00220326;

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace

Picture LoadPictureFile(const std::string& path) {
    Picture pic;
    pic.Bitmap.reset(static_cast<HBITMAP>(LoadImageW(nullptr, Widen(path).c_str(), IMAGE_BITMAP, 0,
                                                     0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP bm{};
    if (pic.Bitmap && GetObjectW(pic.Bitmap.get(), sizeof bm, &bm)) {
        pic.Width = bm.bmWidth;
        pic.Height = bm.bmHeight;
    }
    return pic;
}

namespace {

void CopyScaled(HDC to, ScreenPoint at, std::int32_t size, HDC from, std::int32_t x,
                std::int32_t y, std::int32_t sourceSize, bool mask) {
    if (size == sourceSize) {
        BitBlt(to, at.X, at.Y, size, size, from, x, y, SRCCOPY);
        return;
    }
    // A mask keeps whole pixels (it must stay black and white), and so does
    // a picture made larger (16 doubled for 32 stays sharp); a picture made
    // smaller is averaged.
    const bool average = !mask && sourceSize > size;
    const int oldMode = SetStretchBltMode(to, average ? HALFTONE : COLORONCOLOR);
    if (average) SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, at.X, at.Y, size, size, from, x, y, sourceSize, sourceSize, SRCCOPY);
    SetStretchBltMode(to, oldMode);
}

}  // namespace

// A picture of the icon folder is the icon, square as its height, with the
// mask at its right end when it is wider (16 x 16, or 32 x 16 with the mask;
// larger pictures for larger screens alike). Pictures drawn by hand need not
// be black under their mask; the masked drawing (AND the mask, then OR the
// picture) needs them to be.
bool LoadIconFile(const std::string& path, const IconPlace& to) {
    const Picture pic = LoadPictureFile(path);
    if (!pic.Bitmap || pic.Width < kIconPixels || pic.Height < kIconPixels) return false;
    const std::int32_t sourceSize = std::min(pic.Width, pic.Height);
    UniqueDC src(CreateCompatibleDC(to.Dc));
    SelectGuard select(src.get(), pic.Bitmap.get());
    CopyScaled(to.Dc, to.Icon, to.Size, src.get(), 0, 0, sourceSize, false);
    if (pic.Width > sourceSize) {
        CopyScaled(to.Dc, to.Mask, to.Size, src.get(), pic.Width - sourceSize, 0, sourceSize, true);
    } else {
        PatBlt(to.Dc, to.Mask.X, to.Mask.Y, to.Size, to.Size, BLACKNESS);
    }
    BitBlt(to.Dc, to.Icon.X, to.Icon.Y, to.Size, to.Size, to.Dc, to.Mask.X, to.Mask.Y,
           kRopAndNotSource);
    return true;
}

// A colour picture keeps its DIB section (no copy, a quarter of the memory
// of a 32-bit screen bitmap). A monochrome one is turned into a screen
// bitmap once: a monochrome source would take its colours from each target
// context's text and background colours at every copy.
HDC LoadResourceBitmap(clsBmpDC& dcs, const wchar_t* name) {
    UniqueBitmap picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP bm{};
    if (!picture || !GetObjectW(picture.get(), sizeof bm, &bm)) {
        Log(1, "LoadResBMP(%s) failed (%u)", Narrow(name),
            static_cast<std::uint32_t>(GetLastError()));
        return nullptr;
    }
    if (bm.bmBitsPixel > 1) return dcs.Adopt(std::move(picture));
    HDC dc = dcs.Create(bm.bmWidth, bm.bmHeight);
    if (!dc) return nullptr;
    UniqueDC src(CreateCompatibleDC(dc));
    SelectGuard select(src.get(), picture.get());
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
    return dc;
}

// A 24-bit bottom-up DIB section already has the row order and padding of a
// .bmp file, so its bits go to the file as they are.
bool WriteDibFile(const std::string& path, const BITMAPINFOHEADER& header, const void* bits) {
    const DWORD stride = ((header.biWidth * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * static_cast<DWORD>(header.biHeight);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + imageSize;
    const std::wstring name = Widen(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = WriteAll(file, &fileHeader, sizeof fileHeader) &&
                    WriteAll(file, &header, sizeof header) && WriteAll(file, bits, imageSize);
    CloseHandle(file);
    if (!ok) DeleteFileW(name.c_str());
    return ok;
}

SizedStrip LoadSizedResourceBitmap(clsBmpDC& dcs, const wchar_t* name, std::int32_t size) {
    if (size != kIconPixels) {
        const std::wstring sized = name + std::to_wstring(size);
        if (HDC dc = LoadResourceBitmap(dcs, sized.c_str())) return {dc, size};
    }
    return {LoadResourceBitmap(dcs, name), kIconPixels};
}

void CopyIconFromStrips(const IconPlace& to, HDC pictures, HDC masks, ScreenPoint at,
                        std::int32_t sourceSize) {
    if (to.Size == sourceSize) {
        BitBlt(to.Dc, to.Icon.X, to.Icon.Y, to.Size, to.Size, pictures, at.X, at.Y, SRCCOPY);
        BitBlt(to.Dc, to.Mask.X, to.Mask.Y, to.Size, to.Size, masks, at.X, at.Y, SRCCOPY);
        return;
    }
    const int oldMode = SetStretchBltMode(to.Dc, HALFTONE);
    SetBrushOrgEx(to.Dc, 0, 0, nullptr);
    StretchBlt(to.Dc, to.Icon.X, to.Icon.Y, to.Size, to.Size, pictures, at.X, at.Y, sourceSize,
               sourceSize, SRCCOPY);
    SetStretchBltMode(to.Dc, COLORONCOLOR);
    StretchBlt(to.Dc, to.Mask.X, to.Mask.Y, to.Size, to.Size, masks, at.X, at.Y, sourceSize,
               sourceSize, SRCCOPY);
    SetStretchBltMode(to.Dc, oldMode);
    BitBlt(to.Dc, to.Icon.X, to.Icon.Y, to.Size, to.Size, to.Dc, to.Mask.X, to.Mask.Y,
           kRopAndNotSource);
}

}  // namespace zorv
