// The bar's images and painting.
#include "bar/bar_draw_win32.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_events_win32.h"
#include "bar/bar_images_win32.h"
#include "bar/bar_layout.h"
#include "bar/bar_motion_win32.h"
#include "bar/bar_region.h"
#include "bar/face_strip.h"
#include "bar/icon_source.h"
#include "items/config_win32.h"
#include "items/ini_save.h"
#include "support/gdi_win32.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

struct BarState {
    HWND Window = nullptr;
    BarLayout Layout;
    BarMetrics Metrics;
    std::int32_t ButtonWidth = kRaisedButtonWidth;
    std::int32_t ScrollOffset = 0;
    std::int32_t Pressed = -1;       // recorded by ButtonDrawPress
    std::int32_t DrawnPressed = -1;  // the cell that shows the pressed face now
    std::int32_t Raised = -1;
    bool Built = false;
    FaceStripColours Colours;
    Colour LineColour = 0;
    std::vector<ButtonMenuPlan> MenuPlans;
    std::vector<PixelRect> Region;  // what the window region was last made of
    BarDrawHooks Hooks;
};

BarState g_bar;

std::int32_t H() {
    return g_bar.Metrics.Height;
}

std::int32_t ScreenBitsPerPixel() {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
}

std::int64_t FileTime(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

// A cell that can be drawn: a button or the main-menu cell.
bool IsDrawableCell(std::int32_t i) {
    if (i < 0 || i > g_bar.Layout.Count()) return false;
    const CellKind kind = g_bar.Layout.KindAt(i);
    return kind == CellKind::Button || kind == CellKind::MainMenu;
}

IconPlace SlotOf(std::int32_t i) {
    if (i >= g_bar.Layout.Count()) return {Images().MainIcon, {0, 0}, {0, kIconSize}};
    return {Images().Bar, IconSlot(i), MaskSlot(i)};
}

void DrawCellIcon(HDC dc, std::int32_t cellLeft, std::int32_t i, bool pressed) {
    const PixelPoint at = IconPosition(cellLeft, g_bar.Metrics.IconTop, pressed);
    DrawIconWithMask(dc, at.X, at.Y, SlotOf(i));
}

void DrawEmptyButton(std::int32_t i) {
    const std::int32_t x = g_bar.Layout.ButtonX(i);
    if (Options.ButFlat) {
        FillColour(Images().Bar, RECT{x, 0, x + g_bar.ButtonWidth, H() - 1}, g_bar.Colours.Face);
    } else {
        BitBlt(Images().Bar, x, 0, g_bar.ButtonWidth, H(), Images().EmptyFace, 0, 0, SRCCOPY);
    }
}

void DrawSep(std::int32_t i) {
    BitBlt(Images().Bar, g_bar.Layout.ButtonX(i), 0, kSeparatorWidth, H(), Images().Separator, 0, 0,
           SRCCOPY);
}

void DrawFrame(std::int32_t i, FrameLook look) {
    DrawSteps(Images().Bar,
              CellFrameSteps(g_bar.Layout.ButtonX(i), g_bar.Layout.CellRight(i), H(), look),
              g_bar.Colours);
}

// One cell of the bar image to the window: the whole cost of a hover or press.
void CopyCellToWindow(std::int32_t i) {
    if (!g_bar.Window) return;
    WindowDC dc(g_bar.Window);
    const std::int32_t x = g_bar.Layout.ButtonX(i);
    BitBlt(dc.get(), x - g_bar.ScrollOffset, 0, g_bar.Layout.ItemWidth(i), H(), Images().Bar, x, 0,
           SRCCOPY);
}

void PaintCellNormal(std::int32_t i) {
    DrawEmptyButton(i);
    DrawCellIcon(Images().Bar, g_bar.Layout.ButtonX(i), i, false);
    if (Options.ButFlat) DrawFrame(i, g_bar.Raised == i ? FrameLook::Raised : FrameLook::Flat);
}

// The pressed face is drawn in the cell buffer, so the icon goes onto it
// before the finished cell replaces the one in the bar image.
void PaintCellPressed(std::int32_t i) {
    HDC cell = Images().Cell;
    BitBlt(cell, 0, 0, g_bar.ButtonWidth, H(), Images().PressedFace, 0, 0, SRCCOPY);
    DrawCellIcon(cell, 0, i, true);
    BitBlt(Images().Bar, g_bar.Layout.ButtonX(i), 0, g_bar.ButtonWidth, H(), cell, 0, 0, SRCCOPY);
}

// The icon of every item from `first` on into the icon and mask rows; each
// slot starts with the fallback so that a picture that cannot be had leaves
// the generic program icon. Returns the index after the last item.
std::int32_t AddButtonIconsToZorvDC(std::int32_t first) {
    const clsItems& buttons = Lists[kListButtons];
    for (std::int32_t i = first; i < buttons.Count(); ++i) {
        if (g_bar.Layout.IsSeparator(i)) continue;
        const IconPlace slot = SlotOf(i);
        CopyBuiltInIcon(kFallbackBuiltInIcon, slot);
        const IconSource source = ResolveIconSource(buttons.GetIcon(i), App.IconFolder);
        bool loaded = true;
        switch (source.Kind) {
            case IconSourceKind::BuiltIn:
                loaded = CopyBuiltInIcon(source.BuiltInNumber, slot);
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

void PaintCells() {
    const BarLayout& layout = g_bar.Layout;
    for (std::int32_t i = 0; i < layout.Count(); ++i) {
        if (layout.KindAt(i) == CellKind::Separator) {
            DrawSep(i);
        } else if (layout.KindAt(i) == CellKind::Button) {
            DrawEmptyButton(i);
            DrawCellIcon(Images().Bar, layout.ButtonX(i), i, false);
        }
    }
    DrawEmptyButton(layout.Count());
    DrawCellIcon(Images().Bar, layout.ButtonX(layout.Count()), layout.Count(), false);
}

// Step 1 of BarCreate: height, colours, faces and cell positions. The strip
// is drawn again each time, so a changed colour or separator setting needs
// no other call.
void ResolveGeometry() {
    const SystemColours system = ReadSystemColours();
    const BarMetrics metrics = ResolveBarMetrics(Options.ButH_id);
    if (metrics.ButHIdReset) Options.ButH_id = metrics.ButHId;
    g_bar.Metrics = metrics;
    g_bar.ButtonWidth = ButtonWidth(Options.ButFlat);
    g_bar.Colours = MakeFaceStripColours(system, Options.ForcedColor3DFace, Options.SepColor,
                                         App.WindowsVersion.Major);
    g_bar.LineColour = ColourFromIndex(Options.LineColor, system, App.WindowsVersion.Major).Value;
    ButBmpCreate(g_bar.Colours, g_bar.ButtonWidth);
    CreateButBitmaps(metrics);
    g_bar.Layout = BarLayout(Lists[kListButtons], Options.ButFlat);
}

// Step 3: the empty image, and whether the colours it is built for are the
// stored ones. A picture cached under other colours would show them.
bool FillAndCheckColours() {
    HDC bar = Images().Bar;
    const std::int32_t width = g_bar.Layout.BarImageWidth();
    FillColour(bar, RECT{0, 0, width, kIconRowTop}, g_bar.Colours.Face);
    PatBlt(bar, 0, kIconRowTop, width, kIconSize, BLACKNESS);
    PatBlt(bar, 0, kMaskRowTop, width, kIconSize, WHITENESS);
    const auto face = static_cast<std::int32_t>(g_bar.Colours.Face);
    const std::int32_t bpp = ScreenBitsPerPixel();
    if (face == Options.LastColor3DFace && bpp == Options.LastBitsPerPixel) return true;
    Log(1, "BarCreate: face %.6X (stored %.6X), %i bits per pixel (stored %i)", face,
        Options.LastColor3DFace, bpp, Options.LastBitsPerPixel);
    Options.LastColor3DFace = face;
    Options.LastBitsPerPixel = bpp;
    if (g_bar.Hooks.ColoursChanged) g_bar.Hooks.ColoursChanged();
    SaveZorvINI_in1s();
    return false;
}

bool UseCachedPicture() {
    const std::string cache = BarIconCacheName(App.IniPath);
    WIN32_FILE_ATTRIBUTE_DATA cacheData{}, iniData{};
    if (!GetFileAttributesExW(Widen(cache).c_str(), GetFileExInfoStandard, &cacheData) ||
        !GetFileAttributesExW(Widen(App.IniPath).c_str(), GetFileExInfoStandard, &iniData)) {
        return false;
    }
    if (!CacheTimeMatches(FileTime(cacheData.ftLastWriteTime), FileTime(iniData.ftLastWriteTime))) {
        Log(2, "BarCreate: %s is not of the configuration's time", cache);
        return false;
    }
    return LoadBarPicture(cache, g_bar.Layout.BarWidth(), g_bar.Layout.BarImageWidth());
}

// Empty rectangles: the window goes back to having no region.
void ApplyRegion(const std::vector<PixelRect>& rects) {
    g_bar.Region = rects;
    if (rects.empty()) {
        SetWindowRgn(g_bar.Window, nullptr, TRUE);
        return;
    }
    UniqueRgn region(CreateRectRgn(0, 0, 0, 0));
    for (const PixelRect& r : rects) {
        UniqueRgn part(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
        CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
    }
    // The system owns the region once it is set.
    if (SetWindowRgn(g_bar.Window, region.get(), TRUE)) region.release();
}

// The reduced bar is one row taller than H and shows only that last row, the
// line; the region keeps it.
std::vector<PixelRect> WantedRegion() {
    return BarRegionRects(g_bar.Layout, Options.SepColor, H() + 1, g_bar.ScrollOffset);
}

}  // namespace

void SetBarDrawHooks(BarDrawHooks hooks) {
    g_bar.Hooks = std::move(hooks);
}

void AttachBarWindow(HWND bar) {
    g_bar.Window = bar;
}

void CreateBarImages() {
    CreateBitmapHDCs();
    g_bar.Built = false;
}

void BarCreate(bool useCache) {
    if (!Images().Strip) CreateBarImages();
    ResolveGeometry();
    BarImages& im = Images();
    if (!im.Dcs.Recreate(im.Bar, g_bar.Layout.BarImageWidth(), kBarImageHeight)) {
        Log(1, "BarCreate: no bar image of width %i", g_bar.Layout.BarImageWidth());
        g_bar.Built = false;
        return;
    }
    if (!FillAndCheckColours()) useCache = false;
    g_bar.MenuPlans = PlanButtonMenus(Lists[kListButtons]);
    if (g_bar.Hooks.BuildButtonMenus) g_bar.Hooks.BuildButtonMenus(g_bar.MenuPlans);
    LoadMainMenuIcon(App.IconFolder);
    const bool cached = useCache && UseCachedPicture();
    if (!cached) {
        AddButtonIconsToZorvDC(0);
        PaintCells();
    }
    g_bar.Pressed = g_bar.DrawnPressed = g_bar.Raised = -1;
    g_bar.Built = true;
    SetRgn();
    Log(1, "BarCreate(%i): W=%i, H=%i, %i items, cache %s", useCache ? 1 : 0,
        g_bar.Layout.BarWidth(), H(), g_bar.Layout.Count(), cached ? "used" : "not used");
}

void BarRedraw(bool full) {
    if (!g_bar.Built || !g_bar.Window) return;
    RECT client{};
    GetClientRect(g_bar.Window, &client);
    {
        WindowDC dc(g_bar.Window);
        const std::int32_t width =
            std::min<std::int32_t>(client.right, g_bar.Layout.BarImageWidth() - g_bar.ScrollOffset);
        BitBlt(dc.get(), 0, 0, width, H(), Images().Bar, g_bar.ScrollOffset, 0, SRCCOPY);
        if (full && client.bottom > H()) {
            FillColour(dc.get(), RECT{0, H(), client.right, client.bottom}, g_bar.LineColour);
        }
    }
    if (Options.SepColor == kColourTransparent) {
        std::vector<PixelRect> wanted = WantedRegion();
        if (wanted != g_bar.Region) ApplyRegion(wanted);
    }
    if (g_bar.Hooks.AfterRedraw) g_bar.Hooks.AfterRedraw();
}

void ButtonDrawPress(std::int32_t i) {
    if (!g_bar.Built || !IsDrawableCell(i)) return;
    PaintCellPressed(i);
    CopyCellToWindow(i);
    g_bar.Pressed = g_bar.DrawnPressed = i;
}

void ButtonDrawUnPress() {
    const std::int32_t i = g_bar.Pressed;
    if (!g_bar.Built || !IsDrawableCell(i)) return;
    PaintCellNormal(i);
    CopyCellToWindow(i);
    g_bar.DrawnPressed = -1;
}

void RaiseButton(std::int32_t i, bool raise) {
    if (!g_bar.Built || !IsDrawableCell(i)) {
        if (!raise) g_bar.Raised = -1;
        return;
    }
    DrawFrame(i, raise ? FrameLook::Raised : FrameLook::Flat);
    CopyCellToWindow(i);
    g_bar.Raised = raise ? i : -1;
}

void Try4UnRaise() {
    if (!Options.ButFlat || MouseOnBarNow(false)) return;
    if (g_bar.Raised >= 0 && g_bar.Raised != g_bar.Pressed) RaiseButton(g_bar.Raised, false);
    if (g_bar.Window && GetCapture() == g_bar.Window) ReleaseCapture();
}

void SetRgn() {
    if (g_bar.Window) ApplyRegion(WantedRegion());
}

void FullBarRecreate() {
    Log(1, "FullBarRecreate");
    const std::int32_t before = g_bar.Layout.BarWidth();
    CreateBarImages();
    BarCreate(false);
    BarResize(g_bar.Layout.BarWidth() - before);
    BarRedraw(true);
}

std::int32_t BarHeight() {
    return H();
}
std::int32_t BarContentWidth() {
    return g_bar.Layout.BarWidth();
}
std::int32_t BarButtonWidth() {
    return g_bar.ButtonWidth;
}
std::int32_t BarIconTop() {
    return g_bar.Metrics.IconTop;
}
const BarLayout& CurrentBarLayout() {
    return g_bar.Layout;
}
bool BarBuilt() {
    return g_bar.Built;
}
std::int32_t BarScrollOffset() {
    return g_bar.ScrollOffset;
}
void SetBarScrollOffset(std::int32_t offset) {
    g_bar.ScrollOffset = std::max(offset, 0);
}
std::int32_t ButtonAtClientX(std::int32_t x) {
    return g_bar.Layout.ButtonAt(x, g_bar.ScrollOffset);
}
std::int32_t PressedIndex() {
    return g_bar.Pressed;
}
void ClearPressedIndex() {
    g_bar.Pressed = -1;
}
std::int32_t RaisedIndex() {
    return g_bar.Raised;
}
const std::vector<ButtonMenuPlan>& ButtonMenuPlans() {
    return g_bar.MenuPlans;
}

bool MouseOnBarNow(bool menuCellOnly) {
    POINT cursor{};
    RECT window{};
    if (!g_bar.Window || !GetCursorPos(&cursor) || !GetWindowRect(g_bar.Window, &window)) {
        return false;
    }
    const BarWindowFacts facts{window.left, window.right - window.left, window.bottom - window.top};
    return MouseOnBar({cursor.x, cursor.y}, facts, g_bar.ButtonWidth, menuCellOnly);
}

// The picture is what a fresh start shows: no cell pressed or raised. Those
// looks are taken out of the bar image for the copy and put back after.
bool WriteBarPicture(const std::string& path) {
    if (!g_bar.Built) return false;
    const std::int32_t pressed = g_bar.DrawnPressed, raised = g_bar.Raised;
    g_bar.Raised = -1;
    if (IsDrawableCell(pressed)) PaintCellNormal(pressed);
    if (IsDrawableCell(raised)) PaintCellNormal(raised);
    const bool ok = SaveBarPicture(path, g_bar.Layout.BarWidth(), g_bar.Layout.BarImageWidth());
    g_bar.Raised = raised;
    if (IsDrawableCell(raised)) DrawFrame(raised, FrameLook::Raised);
    if (IsDrawableCell(pressed)) PaintCellPressed(pressed);
    Log(2, "WriteBarPicture(%s) -> %i", path, ok ? 1 : 0);
    return ok;
}

void RefreshBarPictureCache(const std::string& iniPath) {
    const bool visible = g_bar.Built && g_bar.Window && IsWindowVisible(g_bar.Window);
    const std::string cache = BarIconCacheName(iniPath);
    switch (IconCacheActionAfterSave(ScreenBitsPerPixel(), visible, IsClosing)) {
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

void OnBarPaint(HWND bar) {
    PaintGuard paint(bar);
    const RECT& area = paint.Area();
    if (!g_bar.Built) {
        FillColour(paint.get(), area, GetSysColor(COLOR_3DFACE));
        return;
    }
    const std::int32_t bottom = std::min<std::int32_t>(area.bottom, H());
    if (bottom > area.top) {
        BitBlt(paint.get(), area.left, area.top, area.right - area.left, bottom - area.top,
               Images().Bar, area.left + g_bar.ScrollOffset, area.top, SRCCOPY);
    }
    if (area.bottom > H()) {
        const RECT line{area.left, std::max<std::int32_t>(area.top, H()), area.right, area.bottom};
        FillColour(paint.get(), line, g_bar.LineColour);
    }
}

void OnBarSysColorChange(HWND bar) {
    Log(1, "frmButtons: system colours changed");
    if (g_bar.Built) {
        FullBarRecreate();
    } else {
        InvalidateRect(bar, nullptr, FALSE);
    }
}

void ReleaseBarImages() {
    ReleaseBitmapHDCs();
    g_bar.Built = false;
}

}  // namespace zorv
