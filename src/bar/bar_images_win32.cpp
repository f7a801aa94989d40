#include "bar/bar_images_win32.h"

#include <shellapi.h>

#include <optional>

#include "support/log.h"
#include "bar/icon_source.h"
#include "support/gdi_win32.h"
#include "support/late_bound_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

void ForgetContexts(BarImages& im) {
    im.Cell = im.Strip = im.EmptyFace = im.PressedFace = im.Separator = nullptr;
    im.II = im.IM = nullptr;
    im.NamedPictures.fill(nullptr);
    im.MainIcon = im.Bar = nullptr;
}

}  // namespace

void BarImages::ReleaseBitmapHDCs() {
    BarImages& im = *this;
    im.Dcs.Clear();
    ForgetContexts(im);
}

void BarImages::CreateBitmapHDCs() {
    BarImages& im = *this;
    ReleaseBitmapHDCs();
    im.Cell = im.Dcs.Create(kFaceImageWidth, kMaxBarHeight);
    im.Strip = im.Dcs.Create(kFaceStripWidth, kFaceStripHeight);
    im.MainIcon = im.Dcs.Create(kIconSize, 2 * kIconSize);
    im.II = im.LoadResBMP(L"II");
    im.IM = im.LoadResBMP(L"IM");
}

HDC BarImages::Named(MenuPicture which) {
    static constexpr std::array<const wchar_t*, kMenuPictures> kNames = {L"SI", L"SM", L"T", L"M",
                                                                        L"B"};
    const auto i = static_cast<std::size_t>(which);
    if (!NamedPictures[i]) NamedPictures[i] = LoadResBMP(kNames[i]);
    return NamedPictures[i];
}

HDC BarImages::LoadResBMP(const wchar_t* name) {
    return LoadResourceBitmap(Dcs, name);
}

SystemColours ReadSystemColours() {
    SystemColours s;
    s.Face3D = GetSysColor(COLOR_3DFACE);
    s.Shadow3D = GetSysColor(COLOR_3DSHADOW);
    s.Highlight3D = GetSysColor(COLOR_3DHIGHLIGHT);
    s.DarkShadow3D = GetSysColor(COLOR_3DDKSHADOW);
    s.Desktop = GetSysColor(COLOR_DESKTOP);
    s.ActiveCaption = GetSysColor(COLOR_ACTIVECAPTION);
    s.GradientActiveCaption = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    return s;
}

// Colour keeps the COLORREF layout, so it goes to GDI unchanged.
void FillColour(HDC dc, const RECT& r, Colour c) {
    SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Boxes include both corners, hence the + 1 on the far one; LineTo leaves out
// its end point exactly as the steps expect.
void DrawSteps(HDC dc, const std::vector<DrawStep>& steps, const FaceStripColours& colours,
               std::int32_t dx) {
    SelectGuard pen(dc, GetStockObject(DC_PEN));
    for (const DrawStep& step : steps) {
        const Colour c = RoleColour(step.Role, colours);
        if (step.Kind == StepKind::Box) {
            const RECT r{std::min(step.From.X, step.To.X) + dx, std::min(step.From.Y, step.To.Y),
                         std::max(step.From.X, step.To.X) + dx + 1,
                         std::max(step.From.Y, step.To.Y) + 1};
            FillColour(dc, r, c);
        } else {
            SetDCPenColor(dc, c);
            MoveToEx(dc, step.From.X + dx, step.From.Y, nullptr);
            LineTo(dc, step.To.X + dx, step.To.Y);
        }
    }
}

void BarImages::ButBmpCreate(const FaceStripColours& colours, std::int32_t bw) {
    HDC strip = Strip;
    if (!strip) return;
    DrawSteps(strip, FaceStripSteps(bw, colours.Etched), colours);
}

void BarImages::CreateButBitmaps(const BarMetrics& metrics) {
    BarImages& im = *this;
    const std::int32_t h = metrics.Height;
    im.Dcs.Recreate(im.EmptyFace, kFaceImageWidth, h);
    im.Dcs.Recreate(im.PressedFace, kFaceImageWidth, h);
    im.Dcs.Recreate(im.Separator, kSeparatorWidth, h);
    if (!im.Strip || !im.EmptyFace || !im.PressedFace || !im.Separator) return;
    BitBlt(im.EmptyFace, 0, 0, kFaceImageWidth, h, im.Strip, EmptyFaceX(metrics.ButHId), 0,
           SRCCOPY);
    BitBlt(im.PressedFace, 0, 0, kFaceImageWidth, h, im.Strip, PressedFaceX(metrics.ButHId), 0,
           SRCCOPY);
    BitBlt(im.Separator, 0, 0, kSeparatorWidth, h, im.Strip, SeparatorFaceX(h), 0, SRCCOPY);
}

bool BarImages::CopyBuiltInIcon(std::int32_t n, const IconPlace& to) const {
    const std::optional<ScreenPoint> at = BuiltInIconSource(n);
    const BarImages& im = *this;
    if (!at || !im.II || !im.IM) return false;
    BitBlt(to.Dc, to.Icon.X, to.Icon.Y, kIconSize, kIconSize, im.II, at->X, at->Y, SRCCOPY);
    BitBlt(to.Dc, to.Mask.X, to.Mask.Y, kIconSize, kIconSize, im.IM, at->X, at->Y, SRCCOPY);
    return true;
}

namespace {

std::wstring ExpandEnvironment(const std::wstring& text) {
    wchar_t buf[MAX_PATH * 2];
    const DWORD n =
        ExpandEnvironmentStringsW(text.c_str(), buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n > std::size(buf)) return text;
    return buf;
}

// As the command would find it: as written (relative to the current folder),
// else along the search path with ".exe" added when the name has no extension.
std::optional<std::wstring> FindProgramFile(const std::string& itemPath) {
    for (const std::string& candidate : ProgramFileCandidates(itemPath)) {
        const std::wstring name = ExpandEnvironment(Widen(candidate));
        if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) return name;
        wchar_t found[MAX_PATH];
        const DWORD n = SearchPathW(nullptr, name.c_str(), L".exe",
                                    static_cast<DWORD>(std::size(found)), found, nullptr);
        if (n > 0 && n < std::size(found)) return std::wstring(found);
    }
    return std::nullopt;
}

// Programs and icon libraries carry their own icons; for documents and
// folders the shell knows the icon of their type.
HICON ExtractSmallIcon(const std::wstring& file) {
    static const auto extract =
        LateBound<decltype(&ExtractIconExW)>(L"shell32.dll", "ExtractIconExW");
    static const auto fileInfo =
        LateBound<decltype(&SHGetFileInfoW)>(L"shell32.dll", "SHGetFileInfoW");
    HICON small = nullptr;
    if (extract && extract(file.c_str(), 0, nullptr, &small, 1) > 0 && small) return small;
    SHFILEINFOW info{};
    if (fileInfo && fileInfo(file.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
        return info.hIcon;
    }
    return nullptr;
}

// An icon may be a mask and a picture, or 32-bit with alpha and an empty
// mask: drawn once on black and once on white, it shows which pixels it
// covers whatever its format.
bool DrawIconIntoPlace(HICON icon, const IconPlace& to) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kIconSize;
    bi.bmiHeader.biHeight = -2 * kIconSize;  // top-down: rows 0..15 on black, 16..31 on white
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return false;
    UniqueDC dc(CreateCompatibleDC(to.Dc));
    SelectGuard select(dc.get(), dib.get());
    PatBlt(dc.get(), 0, 0, kIconSize, kIconSize, BLACKNESS);
    PatBlt(dc.get(), 0, kIconSize, kIconSize, kIconSize, WHITENESS);
    if (!DrawIconEx(dc.get(), 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL) ||
        !DrawIconEx(dc.get(), 0, kIconSize, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL)) {
        return false;
    }
    GdiFlush();
    auto* px = static_cast<std::uint32_t*>(bits);
    constexpr int kArea = kIconSize * kIconSize;
    for (int i = 0; i < kArea; ++i) {
        const IconPixel p = SeparateIconPixel(px[i], px[kArea + i]);
        px[i] = p.Opaque ? p.Pixel : 0;
        px[kArea + i] = p.Opaque ? 0 : 0xFFFFFF;
    }
    BitBlt(to.Dc, to.Icon.X, to.Icon.Y, kIconSize, kIconSize, dc.get(), 0, 0, SRCCOPY);
    BitBlt(to.Dc, to.Mask.X, to.Mask.Y, kIconSize, kIconSize, dc.get(), 0, kIconSize, SRCCOPY);
    return true;
}

}  // namespace

bool LoadProgramIcon(const std::string& itemPath, const IconPlace& to) {
    const std::optional<std::wstring> file = FindProgramFile(itemPath);
    if (!file) return false;
    UniqueIcon icon(ExtractSmallIcon(*file));
    if (!icon) {
        Log(2, "LoadProgramIcon: no icon in %s", Narrow(*file));
        return false;
    }
    return DrawIconIntoPlace(icon.get(), to);
}

void DrawIconWithMask(HDC dc, std::int32_t x, std::int32_t y, const IconPlace& from) {
    BitBlt(dc, x, y, kIconSize, kIconSize, from.Dc, from.Mask.X, from.Mask.Y, SRCAND);
    BitBlt(dc, x, y, kIconSize, kIconSize, from.Dc, from.Icon.X, from.Icon.Y, SRCPAINT);
}

void BarImages::LoadMainMenuIcon(const std::string& iconFolder) {
    const IconPlace place{MainIcon, {0, 0}, {0, kIconSize}};
    if (!place.Dc) return;
    if (!LoadIconFile(iconFolder + "\\ZorvMainMenu.bmp", place)) {
        CopyBuiltInIcon(kMainMenuBuiltInIcon, place);
    }
}

bool BarImages::SaveBarPicture(const std::string& path, std::int32_t contentWidth,
                               std::int32_t imageWidth) {
    const BarCacheLayout layout = BarCachePicture(contentWidth, imageWidth);
    HDC bar = Bar;
    if (!bar || layout.Width <= 0) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = layout.Width;
    bi.bmiHeader.biHeight = layout.Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return false;
    {
        UniqueDC dc(CreateCompatibleDC(bar));
        SelectGuard select(dc.get(), dib.get());
        BitBlt(dc.get(), 0, 0, layout.Width, kIconRowTop, bar, 0, 0, SRCCOPY);
        for (const BarCacheBand& band : layout.Bands) {
            BitBlt(dc.get(), 0, band.PictureY, band.Width, 2 * kIconSize, bar, band.ImageX,
                   kIconRowTop, SRCCOPY);
        }
        GdiFlush();
    }
    return WriteDibFile(path, bi.bmiHeader, bits);
}

bool BarImages::LoadBarPicture(const std::string& path, std::int32_t contentWidth,
                               std::int32_t imageWidth) {
    const BarCacheLayout layout = BarCachePicture(contentWidth, imageWidth);
    HDC bar = Bar;
    if (!bar || layout.Width <= 0) return false;
    const Picture pic = LoadPictureFile(path);
    if (!pic.Bitmap) return false;
    if (pic.Width != layout.Width || pic.Height != layout.Height) {
        Log(2, "LoadBarPicture: %ix%i, the bar needs %ix%i", pic.Width, pic.Height, layout.Width,
            layout.Height);
        return false;
    }
    UniqueDC src(CreateCompatibleDC(bar));
    SelectGuard select(src.get(), pic.Bitmap.get());
    BitBlt(bar, 0, 0, layout.Width, kIconRowTop, src.get(), 0, 0, SRCCOPY);
    for (const BarCacheBand& band : layout.Bands) {
        BitBlt(bar, band.ImageX, kIconRowTop, band.Width, 2 * kIconSize, src.get(), 0,
               band.PictureY, SRCCOPY);
    }
    return true;
}

}  // namespace zorv
