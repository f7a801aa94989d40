#include "bar/bar_images_win32.h"

#include <shellapi.h>

#include <optional>

#include "support/log.h"
#include "bar/icon_source.h"
#include "support/gdi_win32.h"
#include "support/late_bound_win32.h"
#include "support/program_icon_win32.h"
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

void BarImages::CreateBitmapHDCs(Dpi dpi) {
    BarImages& im = *this;
    ReleaseBitmapHDCs();
    im.Scale = dpi;
    im.IconSize = dpi.Px(kIconSize);
    im.Cell = im.Dcs.Create(dpi.Px(kFaceImageWidth), dpi.Px(kMaxBarHeight));
    im.Strip = im.Dcs.Create(dpi.Px(kFaceStripWidth), dpi.Px(kFaceStripHeight));
    im.MainIcon = im.Dcs.Create(im.IconSize, 2 * im.IconSize);
    // The strip drawn for this size, else the next larger one scaled down.
    const SizedStrip pictures = LoadSizedResourceBitmap(im.Dcs, L"II", IconStripSizeFor(im.IconSize));
    const SizedStrip masks = LoadSizedResourceBitmap(im.Dcs, L"IM", pictures.Size);
    im.II = pictures.Dc;
    im.IM = masks.Size == pictures.Size ? masks.Dc : nullptr;
    im.StripSize = pictures.Size;
}

HDC BarImages::Named(MenuPicture which) {
    static constexpr std::array<const wchar_t*, kMenuPictures> kNames = {L"SI", L"SM", L"T", L"M",
                                                                        L"B"};
    const auto i = static_cast<std::size_t>(which);
    if (!NamedPictures[i])
        NamedPictures[i] = LoadSizedResourceBitmap(Dcs, kNames[i], IconStripSizeFor(IconSize)).Dc;
    return NamedPictures[i];
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
    DrawSteps(strip, FaceStripSteps(bw, colours.Etched, Scale), colours);
}

void BarImages::CreateButBitmaps(const BarMetrics& metrics) {
    BarImages& im = *this;
    const Dpi dpi = metrics.Scale;
    const std::int32_t h = metrics.Height;
    const std::int32_t faceWidth = dpi.Px(kFaceImageWidth);
    const std::int32_t sepWidth = dpi.Px(kSeparatorWidth);
    im.Dcs.Recreate(im.EmptyFace, faceWidth, h);
    im.Dcs.Recreate(im.PressedFace, faceWidth, h);
    im.Dcs.Recreate(im.Separator, sepWidth, h);
    if (!im.Strip || !im.EmptyFace || !im.PressedFace || !im.Separator) return;
    BitBlt(im.EmptyFace, 0, 0, faceWidth, h, im.Strip, EmptyFaceX(metrics.ButHId, dpi), 0,
           SRCCOPY);
    BitBlt(im.PressedFace, 0, 0, faceWidth, h, im.Strip, PressedFaceX(metrics.ButHId, dpi), 0,
           SRCCOPY);
    BitBlt(im.Separator, 0, 0, sepWidth, h, im.Strip, SeparatorFaceX(metrics.BaseHeight, dpi), 0,
           SRCCOPY);
}

bool BarImages::CopyBuiltInIcon(std::int32_t n, const IconPlace& to) const {
    const std::optional<ScreenPoint> at = BuiltInIconSource(n, StripSize);
    const BarImages& im = *this;
    if (!at || !im.II || !im.IM) return false;
    CopyIconFromStrips(to, im.II, im.IM, *at, StripSize);
    return true;
}

void BarImages::LoadMainMenuIcon(const std::string& iconFolder) {
    const IconPlace place{MainIcon, {0, 0}, {0, IconSize}, IconSize};
    if (!place.Dc) return;
    if (!LoadIconFile(iconFolder + "\\ZorvMainMenu.bmp", place)) {
        CopyBuiltInIcon(kMainMenuBuiltInIcon, place);
    }
}

bool BarImages::SaveBarPicture(const std::string& path, std::int32_t contentWidth,
                               std::int32_t imageWidth, const BarMetrics& metrics) {
    const BarCacheLayout layout = BarCachePicture(contentWidth, imageWidth, metrics);
    const std::int32_t rowTop = metrics.IconRowTop();
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
        BitBlt(dc.get(), 0, 0, layout.Width, rowTop, bar, 0, 0, SRCCOPY);
        for (const BarCacheBand& band : layout.Bands) {
            BitBlt(dc.get(), 0, band.PictureY, band.Width, 2 * metrics.IconSize, bar, band.ImageX,
                   rowTop, SRCCOPY);
        }
        GdiFlush();
    }
    return WriteDibFile(path, bi.bmiHeader, bits);
}

bool BarImages::LoadBarPicture(const std::string& path, std::int32_t contentWidth,
                               std::int32_t imageWidth, const BarMetrics& metrics) {
    const BarCacheLayout layout = BarCachePicture(contentWidth, imageWidth, metrics);
    const std::int32_t rowTop = metrics.IconRowTop();
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
    BitBlt(bar, 0, 0, layout.Width, rowTop, src.get(), 0, 0, SRCCOPY);
    for (const BarCacheBand& band : layout.Bands) {
        BitBlt(bar, band.ImageX, rowTop, band.Width, 2 * metrics.IconSize, src.get(), 0,
               band.PictureY, SRCCOPY);
    }
    return true;
}

}  // namespace zorv
