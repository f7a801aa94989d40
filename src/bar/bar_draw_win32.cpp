// The bar's images and painting.
#include "bar/bar_draw_win32.h"

#include <algorithm>

#include "support/program_icon_win32.h"
#include "support/log.h"
#include "bar/bar_colours.h"
#include "bar/bar_region.h"
#include "bar/hover.h"
#include "bar/icon_source.h"
#include "items/ini_save.h"
#include "support/gdi_win32.h"
#include "support/text_win32.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

std::int64_t FileTime(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

}  // namespace

// A cell that can be drawn: a button or the main-menu cell.
bool BarPainter::IsDrawableCell(std::int32_t i) const {
    if (i < 0 || i > layout_.Count()) return false;
    const CellKind kind = layout_.KindAt(i);
    return kind == CellKind::Button || kind == CellKind::MainMenu;
}

IconPlace BarPainter::SlotOf(std::int32_t i) {
    const std::int32_t size = metrics_.IconSize;
    if (i >= layout_.Count()) return {images_.MainIcon, {0, 0}, {0, size}, size};
    return {images_.Bar, IconSlot(i, metrics_), MaskSlot(i, metrics_), size};
}

void BarPainter::DrawCellIcon(HDC dc, std::int32_t cellLeft, std::int32_t i, bool pressed) {
    const ScreenPoint at = IconPosition(cellLeft, metrics_.IconTop, pressed, metrics_.Scale);
    DrawIconWithMask(dc, at.X, at.Y, SlotOf(i));
}

void BarPainter::DrawEmptyButton(std::int32_t i) {
    const std::int32_t x = layout_.ButtonX(i);
    if (s_.Options.ButFlat) {
        FillColour(images_.Bar, RECT{x, 0, x + buttonWidth_, BarHeight() - 1}, colours_.Face);
    } else {
        BitBlt(images_.Bar, x, 0, buttonWidth_, BarHeight(), images_.EmptyFace, 0, 0, SRCCOPY);
    }
}

void BarPainter::DrawSep(std::int32_t i) {
    BitBlt(images_.Bar, layout_.ButtonX(i), 0, layout_.ItemWidth(i), BarHeight(),
           images_.Separator, 0, 0, SRCCOPY);
}

void BarPainter::DrawFrame(std::int32_t i, FrameLook look) {
    DrawSteps(images_.Bar,
              CellFrameSteps(layout_.ButtonX(i), layout_.CellRight(i), BarHeight(), look,
                             metrics_.Scale.Px(1)),
              colours_);
}

// One cell of the bar image to the window: the whole cost of a hover or press.
void BarPainter::CopyCellToWindow(std::int32_t i) {
    if (!window_) return;
    WindowDC dc(window_);
    const std::int32_t x = layout_.ButtonX(i);
    BitBlt(dc.get(), x - scrollOffset_, 0, layout_.ItemWidth(i), BarHeight(), images_.Bar, x, 0,
           SRCCOPY);
}

void BarPainter::PaintCellNormal(std::int32_t i) {
    DrawEmptyButton(i);
    DrawCellIcon(images_.Bar, layout_.ButtonX(i), i, false);
    if (s_.Options.ButFlat) DrawFrame(i, raised_ == i ? FrameLook::Raised : FrameLook::Flat);
}

// The pressed face is drawn in the cell buffer, so the icon goes onto it
// before the finished cell replaces the one in the bar image.
void BarPainter::PaintCellPressed(std::int32_t i) {
    HDC cell = images_.Cell;
    BitBlt(cell, 0, 0, buttonWidth_, BarHeight(), images_.PressedFace, 0, 0, SRCCOPY);
    DrawCellIcon(cell, 0, i, true);
    BitBlt(images_.Bar, layout_.ButtonX(i), 0, buttonWidth_, BarHeight(), cell, 0, 0, SRCCOPY);
}

// The icon of every item from `first` on into the icon and mask rows; each
// slot starts with the fallback so that a picture that cannot be had leaves
// the generic program icon. Returns the index after the last item.
std::int32_t BarPainter::AddButtonIconsToZorvDC(std::int32_t first) {
    const clsItems& buttons = s_.Lists[kListButtons];
    for (std::int32_t i = first; i < buttons.Count(); ++i) {
        if (layout_.IsSeparator(i)) continue;
        const IconPlace slot = SlotOf(i);
        images_.CopyBuiltInIcon(kFallbackBuiltInIcon, slot);
        const IconSource source = ResolveIconSource(buttons.GetIcon(i), s_.App.IconFolder);
        bool loaded = true;
        switch (source.Kind) {
            case IconSourceKind::BuiltIn:
                loaded = images_.CopyBuiltInIcon(source.BuiltInNumber, slot);
                break;
            case IconSourceKind::File:
                loaded = LoadIconFile(source.FilePath, slot);
                break;
            case IconSourceKind::ProgramIcon:
                loaded = LoadProgramIcon(buttons.GetPath(i), slot);
                break;
            case IconSourceKind::Fallback:
                break;
        }
        if (!loaded) Log(2, "Button %i: no icon from \"%s\"", i, buttons.GetIcon(i));
    }
    return buttons.Count();
}

void BarPainter::PaintCells() {
    const BarLayout& layout = layout_;
    for (std::int32_t i = 0; i < layout.Count(); ++i) {
        if (layout.KindAt(i) == CellKind::Separator) {
            DrawSep(i);
        } else if (layout.KindAt(i) == CellKind::Button) {
            DrawEmptyButton(i);
            DrawCellIcon(images_.Bar, layout.ButtonX(i), i, false);
        }
    }
    DrawEmptyButton(layout.Count());
    DrawCellIcon(images_.Bar, layout.ButtonX(layout.Count()), layout.Count(), false);
}

// Step 1 of BarCreate: height, colours, faces and cell positions. The strip
// is drawn again each time, so a changed colour or separator setting needs
// no other call.
void BarPainter::ResolveGeometry() {
    const SystemColours system = ReadSystemColours();
    const BarMetrics metrics = ResolveBarMetrics(s_.Options.ButH_id, dpi_);
    if (metrics.ButHIdReset) s_.Options.ButH_id = metrics.ButHId;
    metrics_ = metrics;
    buttonWidth_ = ButtonWidth(s_.Options.ButFlat, dpi_);
    colours_ = MakeFaceStripColours(system, s_.Options.ForcedColor3DFace, s_.Options.SepColor,
                                    s_.App.WindowsVersion.Major);
    lineColour_ = ColourFromIndex(s_.Options.LineColor, system, s_.App.WindowsVersion.Major).Value;
    images_.ButBmpCreate(colours_, ButtonWidth(s_.Options.ButFlat));
    images_.CreateButBitmaps(metrics);
    layout_ = BarLayout(s_.Lists[kListButtons], s_.Options.ButFlat, dpi_);
}

// Step 3: the empty image, and whether the colours it is built for are the
// stored ones. A picture cached under other colours would show them.
bool BarPainter::FillAndCheckColours() {
    HDC bar = images_.Bar;
    const std::int32_t width = layout_.BarImageWidth();
    FillColour(bar, RECT{0, 0, width, metrics_.IconRowTop()}, colours_.Face);
    PatBlt(bar, 0, metrics_.IconRowTop(), width, metrics_.IconSize, BLACKNESS);
    PatBlt(bar, 0, metrics_.MaskRowTop(), width, metrics_.IconSize, WHITENESS);
    const auto face = static_cast<std::int32_t>(colours_.Face);
    const std::int32_t bpp = ScreenBitsPerPixel();
    const std::int32_t storedFace = s_.Options.LastColor3DFace;
    const std::int32_t storedBpp = s_.Options.LastBitsPerPixel;
    if (TakeBarColours(s_.Options, face, bpp)) return true;
    Log(1, "BarCreate: face %.6X (stored %.6X), %i bits per pixel (stored %i)", face, storedFace,
        bpp, storedBpp);
    events_.ColoursChanged();
    host_.SaveZorvINI_in1s();
    return false;
}

bool BarPainter::UseCachedPicture() {
    const std::string cache = BarIconCacheName(s_.App.IniPath);
    WIN32_FILE_ATTRIBUTE_DATA cacheData{}, iniData{};
    if (!GetFileAttributesExW(Widen(cache).c_str(), GetFileExInfoStandard, &cacheData) ||
        !GetFileAttributesExW(Widen(s_.App.IniPath).c_str(), GetFileExInfoStandard, &iniData)) {
        return false;
    }
    if (!CacheTimeMatches(FileTime(cacheData.ftLastWriteTime), FileTime(iniData.ftLastWriteTime))) {
        Log(2, "BarCreate: %s is not of the configuration's time", cache);
        return false;
    }
    return images_.LoadBarPicture(cache, layout_.BarWidth(), layout_.BarImageWidth(), metrics_);
}

namespace {

// The union of `rects`; the caller owns it until SetWindowRgn takes it.
UniqueRgn RegionOf(const std::vector<ScreenRect>& rects) {
    UniqueRgn region(CreateRectRgn(0, 0, 0, 0));
    for (const ScreenRect& r : rects) {
        UniqueRgn part(CreateRectRgn(r.Left, r.Top, r.Right(), r.Bottom()));
        CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
    }
    return region;
}

}  // namespace

// Empty rectangles: the window goes back to having no region.
void BarPainter::ApplyRegion(const std::vector<ScreenRect>& rects) {
    // Only this painter gives the bar a region, so the one it gave last (none
    // for a new window) is the one the window has; asking again costs a
    // round trip to the window system.
    if (region_ == rects) return;
    region_ = rects;
    holeCut_ = false;
    if (rects.empty()) {
        SetWindowRgn(window_, nullptr, TRUE);
        return;
    }
    UniqueRgn region = RegionOf(rects);
    // The system owns the region once it is set.
    if (SetWindowRgn(window_, region.get(), TRUE)) region.release();
}

void BarPainter::CutHole(const ScreenRect& ellipse, std::int32_t width) {
    if (!window_) return;
    UniqueRgn region = s_.Options.SepColor == kColourTransparent
                           ? RegionOf(WantedRegion())
                           : UniqueRgn(CreateRectRgn(0, 0, width, dpi_.Px(kHoleBaseHeight)));
    UniqueRgn hole(CreateEllipticRgn(ellipse.Left, ellipse.Top, ellipse.Right(), ellipse.Bottom()));
    CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
    region_.reset();
    holeCut_ = true;
    if (SetWindowRgn(window_, region.get(), TRUE)) region.release();
}

void BarPainter::MendHole() {
    if (holeCut_ && window_) ApplyRegion(WantedRegion());
}

// The reduced bar is its line taller than H and shows only that line; the
// region keeps it.
std::vector<ScreenRect> BarPainter::WantedRegion() const {
    return BarRegionRects(layout_, s_.Options.SepColor, BarHeight() + metrics_.LineHeight,
                          scrollOffset_);
}

void BarPainter::CreateBarImages() {
    images_.CreateBitmapHDCs(dpi_);
    built_ = false;
}

void BarPainter::BarCreate(bool useCache) {
    if (!images_.Strip) CreateBarImages();
    ResolveGeometry();
    BarImages& im = images_;
    if (!im.Dcs.Recreate(im.Bar, layout_.BarImageWidth(), metrics_.BarImageHeight())) {
        Log(1, "BarCreate: no bar image of width %i", layout_.BarImageWidth());
        built_ = false;
        return;
    }
    if (!FillAndCheckColours()) useCache = false;
    menuPlans_ = PlanButtonMenus(s_.Lists[kListButtons]);
    host_.BuildButtonMenus(menuPlans_);
    images_.LoadMainMenuIcon(s_.App.IconFolder);
    const bool cached = useCache && UseCachedPicture();
    if (!cached) {
        AddButtonIconsToZorvDC(0);
        PaintCells();
    }
    drawnPressed_ = raised_ = -1;
    built_ = true;
    SetRgn();
    Log(1, "BarCreate(%i): W=%i, H=%i, %i items, cache %s", useCache ? 1 : 0, layout_.BarWidth(),
        BarHeight(), layout_.Count(), cached ? "used" : "not used");
}

void BarPainter::BarRedraw(bool full) {
    if (!built_ || !window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    // A hidden bar gets its picture when it shows (WM_PAINT).
    if (IsWindowVisible(window_)) {
        WindowDC dc(window_);
        const std::int32_t width =
            std::min<std::int32_t>(client.right, layout_.BarImageWidth() - scrollOffset_);
        BitBlt(dc.get(), 0, 0, width, BarHeight(), images_.Bar, scrollOffset_, 0, SRCCOPY);
        if (full && client.bottom > BarHeight()) {
            FillColour(dc.get(), RECT{0, BarHeight(), client.right, client.bottom}, lineColour_);
        }
    }
    // An open hole stays until the hole check mends it.
    if (s_.Options.SepColor == kColourTransparent && !holeCut_) ApplyRegion(WantedRegion());
    events_.AfterRedraw();
}

void BarPainter::MarkerSet(bool intoMenu, std::int32_t left) {
    if (!built_ || !window_ || !IsWindowVisible(window_)) return;
    HDC marker = images_.Named(intoMenu ? MenuPicture::B : MenuPicture::T);
    if (!marker) return;
    BITMAP bm{};
    GetObjectW(GetCurrentObject(marker, OBJ_BITMAP), sizeof bm, &bm);
    WindowDC dc(window_);
    // One bit per pixel: black draws, white leaves the bar.
    BitBlt(dc.get(), left, 0, bm.bmWidth, std::min<std::int32_t>(bm.bmHeight, BarHeight()), marker,
           0, 0, SRCAND);
}

void BarPainter::ButtonDrawPress(std::int32_t i) {
    if (!built_ || !IsDrawableCell(i)) return;
    PaintCellPressed(i);
    CopyCellToWindow(i);
    drawnPressed_ = i;
}

void BarPainter::ButtonDrawUnPress() {
    const std::int32_t i = drawnPressed_;
    drawnPressed_ = -1;
    if (!built_ || !IsDrawableCell(i)) return;
    PaintCellNormal(i);
    CopyCellToWindow(i);
}

void BarPainter::RaiseButton(std::int32_t i, bool raise) {
    if (!built_ || !IsDrawableCell(i)) {
        if (!raise) raised_ = -1;
        return;
    }
    // A frame over the pressed face would spoil it; the look is remembered
    // and drawn when the cell comes up (PaintCellNormal).
    if (i == drawnPressed_) {
        raised_ = raise ? i : -1;
        return;
    }
    DrawFrame(i, raise ? FrameLook::Raised : FrameLook::Flat);
    CopyCellToWindow(i);
    raised_ = raise ? i : -1;
}

void BarPainter::SetRgn() {
    if (window_) ApplyRegion(WantedRegion());
}

std::int32_t BarPainter::FullBarRecreate() {
    Log(1, "FullBarRecreate");
    const std::int32_t before = layout_.BarWidth();
    CreateBarImages();
    BarCreate(false);
    return layout_.BarWidth() - before;
}

BarSize BarPainter::DrawnBarSize() const {
    if (built_)
        return {BarHeight(), BarContentWidth(), BarButtonWidth(), metrics_.LineHeight, dpi_};
    const std::int32_t width = ButtonWidth(s_.Options.ButFlat, dpi_);
    const BarMetrics metrics = ResolveBarMetrics(s_.Options.ButH_id, dpi_);
    return {metrics.Height, width, width, metrics.LineHeight, dpi_};
}

void BarPainter::SetScrollOffset(std::int32_t offset) {
    scrollOffset_ = std::max(offset, 0);
}

std::int32_t BarPainter::ButtonAtClientX(std::int32_t x) const {
    return layout_.ButtonAt(x, scrollOffset_);
}

bool BarPainter::HasButtonMenu(std::int32_t index) const {
    return std::any_of(menuPlans_.begin(), menuPlans_.end(),
                       [index](const ButtonMenuPlan& p) { return p.Button == index; });
}

bool BarPainter::MouseOnBarNow(bool menuCellOnly) const {
    POINT cursor{};
    RECT window{};
    if (!window_ || !GetCursorPos(&cursor) || !GetWindowRect(window_, &window)) {
        return false;
    }
    const BarWindowFacts facts{window.left, window.right - window.left, window.bottom - window.top};
    return MouseOnBar({cursor.x, cursor.y}, facts, buttonWidth_, menuCellOnly);
}

// The picture is what a fresh start shows: no cell pressed or raised. Those
// looks are taken out of the bar image for the copy and put back after.
bool BarPainter::WriteBarPicture(const std::string& path) {
    if (!built_) return false;
    const std::int32_t pressed = drawnPressed_, raised = raised_;
    raised_ = -1;
    if (IsDrawableCell(pressed)) PaintCellNormal(pressed);
    if (IsDrawableCell(raised)) PaintCellNormal(raised);
    const bool ok =
        images_.SaveBarPicture(path, layout_.BarWidth(), layout_.BarImageWidth(), metrics_);
    raised_ = raised;
    if (IsDrawableCell(raised)) DrawFrame(raised, FrameLook::Raised);
    if (IsDrawableCell(pressed)) PaintCellPressed(pressed);
    Log(2, "WriteBarPicture(%s) -> %i", path, ok ? 1 : 0);
    return ok;
}

void BarPainter::RefreshBarPictureCache(const std::string& iniPath) {
    const bool visible = built_ && window_ && IsWindowVisible(window_);
    const std::string cache = BarIconCacheName(iniPath);
    switch (IconCacheActionAfterSave(ScreenBitsPerPixel(), visible, s_.IsClosing)) {
        case IconCacheAction::Keep:
            break;
        case IconCacheAction::Delete:
            DeleteFileW(Widen(cache).c_str());
            break;
        case IconCacheAction::Rewrite:
            WriteBarPicture(cache);
            break;
    }
}

// ---- Window messages -------------------------------------------------------

void BarPainter::OnPaint(HWND bar) {
    PaintGuard paint(bar);
    const RECT& area = paint.Area();
    if (!built_) {
        FillColour(paint.get(), area, GetSysColor(COLOR_3DFACE));
        return;
    }
    const std::int32_t bottom = std::min<std::int32_t>(area.bottom, BarHeight());
    if (bottom > area.top) {
        BitBlt(paint.get(), area.left, area.top, area.right - area.left, bottom - area.top,
               images_.Bar, area.left + scrollOffset_, area.top, SRCCOPY);
    }
    if (area.bottom > BarHeight()) {
        const RECT line{area.left, std::max<std::int32_t>(area.top, BarHeight()), area.right,
                        area.bottom};
        FillColour(paint.get(), line, lineColour_);
    }
}

void BarPainter::ReleaseBarImages() {
    images_.ReleaseBitmapHDCs();
    built_ = false;
}

}  // namespace zorv
