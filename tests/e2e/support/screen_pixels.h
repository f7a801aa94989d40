// Pixels of the screen, of .bmp files and of a program's bitmap resources,
// all as 0x00RRGGBB rows from the top. Header-only: the pixel tests are its
// only users.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zorv::e2e {

struct Pixels {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Px;  // row by row from the top

    Pixels() = default;
    Pixels(int w, int h, std::uint32_t fill = 0)
        : Width(w), Height(h), Px(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}
    std::uint32_t At(int x, int y) const { return Px[static_cast<size_t>(y) * Width + x]; }
    void Set(int x, int y, std::uint32_t c) { Px[static_cast<size_t>(y) * Width + x] = c; }
};

// A COLORREF (0x00BBGGRR) as 0x00RRGGBB.
inline std::uint32_t RgbOf(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

namespace detail {

inline BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

inline std::optional<Pixels> PixelsOf(HBITMAP bmp) {
    BITMAP bm{};
    if (!bmp || !GetObjectW(bmp, sizeof bm, &bm)) return std::nullopt;
    Pixels p(bm.bmWidth, bm.bmHeight);
    BITMAPINFO bi = TopDown32(p.Width, p.Height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bmp, 0, p.Height, p.Px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);
    if (rows != p.Height) return std::nullopt;
    for (auto& px : p.Px) px &= 0xFFFFFF;
    return p;
}

}  // namespace detail

// What the screen shows in `r` now (GetDC(NULL) gives the real pixels, also
// under Wine).
inline Pixels GrabScreen(const RECT& r) {
    Pixels p(r.right - r.left, r.bottom - r.top);
    if (p.Width <= 0 || p.Height <= 0) return Pixels();
    BITMAPINFO bi = detail::TopDown32(p.Width, p.Height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, p.Width, p.Height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* src = static_cast<const std::uint32_t*>(bits);
        for (size_t i = 0; i < p.Px.size(); ++i) p.Px[i] = src[i] & 0xFFFFFF;
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
}

// A bitmap resource of `module`, loaded as data (none of its code runs).
inline std::optional<Pixels> LoadBitmapResource(const std::filesystem::path& module,
                                                const wchar_t* name) {
    HMODULE m = LoadLibraryExW(module.c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!m) return std::nullopt;
    auto p = detail::PixelsOf(
        static_cast<HBITMAP>(LoadImageW(m, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    FreeLibrary(m);
    return p;
}

inline std::optional<Pixels> ReadBmpFile(const std::filesystem::path& path) {
    return detail::PixelsOf(static_cast<HBITMAP>(LoadImageW(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

// A 24-bit .bmp file; false when it cannot be written.
inline bool WriteBmpFile(const std::filesystem::path& path, const Pixels& p) {
    const int stride = (p.Width * 3 + 3) / 4 * 4;
    std::string bits(static_cast<size_t>(stride) * p.Height, '\0');
    for (int y = 0; y < p.Height; ++y) {
        char* row = bits.data() + static_cast<size_t>(p.Height - 1 - y) * stride;
        for (int x = 0; x < p.Width; ++x) {
            const std::uint32_t c = p.At(x, y);
            row[3 * x] = static_cast<char>(c & 0xFF);
            row[3 * x + 1] = static_cast<char>((c >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = p.Width;
    info.biHeight = p.Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(h, &file, sizeof file, &n, nullptr) &&
              WriteFile(h, &info, sizeof info, &n, nullptr) &&
              WriteFile(h, bits.data(), static_cast<DWORD>(bits.size()), &n, nullptr);
    CloseHandle(h);
    return ok;
}

}  // namespace zorv::e2e
