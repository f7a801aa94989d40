// Drawing the bar: the bar image is painted once, and the window gets
// rectangles copied from it (a whole redraw, or one cell for a press or a
// hover). Also the bar's geometry as currently built, for the mouse and
// placement code, and the cached bar picture beside the configuration file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "items/app_state.h"
#include "bar/bar_host.h"
#include "bar/bar_images_win32.h"
#include "bar/bar_platform.h"
#include "bar/bar_layout.h"
#include "bar/face_strip.h"

namespace zorv {

class BarPainter {
  public:
    // What the rest of the bar does around a redraw or a colour change; the
    // bar window implements it.
    class Events {
      public:
        virtual ~Events() = default;
        // After a redraw the window must carry the alpha of the state the bar
        // is in (faded, transparent line), also after a rebuild.
        virtual void AfterRedraw() = 0;
        // The face colour or colour depth differed from the stored ones.
        virtual void ColoursChanged() = 0;
    };

    BarPainter(AppState& state, BarHost& host, Events& events)
        : s_(state), host_(host), events_(events) {}
    BarPainter(const BarPainter&) = delete;
    BarPainter& operator=(const BarPainter&) = delete;

    // The window the bar is drawn onto; set before anything is drawn.
    void AttachWindow(HWND bar) { window_ = bar; }

    // The resolution of the screen the bar is on; the next CreateBarImages
    // and BarCreate draw for it.
    void SetDpi(Dpi dpi) { dpi_ = dpi; }
    Dpi ScreenDpi() const { return dpi_; }
    const BarMetrics& Metrics() const { return metrics_; }
    // Creates all image contexts (cell buffer, face strip, named pictures).
    void CreateBarImages();
    // Builds the bar image and the button menus; with `useCache` the cached
    // picture beside the configuration file may stand in for the painting.
    void BarCreate(bool useCache);
    // Copies the bar image to the window at the current scroll offset; `full`
    // also paints the line row below the buttons.
    void BarRedraw(bool full);
    // The drop marker ("T" in a gap, "B" over a button) at client x `left`;
    // MarkerRemove paints the bar over it again.
    void MarkerSet(bool intoMenu, std::int32_t left);
    void MarkerRemove() { BarRedraw(false); }
    // Draws cell i pressed (not separators).
    void ButtonDrawPress(std::int32_t i);
    // Draws the cell drawn pressed back to normal.
    void ButtonDrawUnPress();
    // Flat mode: a raised frame around cell i, or (raise false) none.
    void RaiseButton(std::int32_t i, bool raise);
    // The window region: holes at separators when they are transparent.
    void SetRgn();
    // The Shift hole: the bar's region (the rectangle 0, 0 to `width`, 22, or
    // the separator region when separators are transparent) less `ellipse`.
    void CutHole(const ScreenRect& ellipse, std::int32_t width);
    // Back to the region SetRgn gives.
    void MendHole();
    bool HoleCut() const { return holeCut_; }
    // New images from scratch; returns the change of the content width.
    std::int32_t FullBarRecreate();
    void ReleaseBarImages();
    // The bar image: the cells, below them each button's icon and mask.
    HDC BarImage() const { return images_.Bar; }

    // Geometry of the bar as last built.
    std::int32_t BarHeight() const { return metrics_.Height; }
    std::int32_t BarContentWidth() const { return layout_.BarWidth(); }
    std::int32_t BarButtonWidth() const { return buttonWidth_; }
    const BarLayout& Layout() const { return layout_; }
    bool BarBuilt() const { return built_; }
    // Before the first build the bar is the main-menu cell alone, at the
    // configured height.
    BarSize DrawnBarSize() const;

    // Pixels of the bar hidden at the left; every hit test adds it to client x.
    std::int32_t ScrollOffset() const { return scrollOffset_; }
    void SetScrollOffset(std::int32_t offset);
    // The cell under client x, or the item count for the main-menu cell and beyond.
    std::int32_t ButtonAtClientX(std::int32_t x) const;
    // Whether the cursor is on the bar (menuCellOnly: on its main-menu cell).
    bool MouseOnBarNow(bool menuCellOnly) const;
    bool HasButtonMenu(std::int32_t index) const;
    // The cell drawn raised (flat mode), -1 for none.
    std::int32_t RaisedCell() const { return raised_; }

    // After the configuration was written to `iniPath`: rewrite or delete the
    // cached bar picture beside it as the display and the bar's state require.
    void RefreshBarPictureCache(const std::string& iniPath);
    // Writes the cached bar picture; false when there is no bar image or the
    // file cannot be written.
    bool WriteBarPicture(const std::string& path);

    // WM_PAINT and WM_SYSCOLORCHANGE.
    void OnPaint(HWND bar);

  private:
    bool IsDrawableCell(std::int32_t i) const;
    IconPlace SlotOf(std::int32_t i);
    void DrawCellIcon(HDC dc, std::int32_t cellLeft, std::int32_t i, bool pressed);
    void DrawEmptyButton(std::int32_t i);
    void DrawSep(std::int32_t i);
    void DrawFrame(std::int32_t i, FrameLook look);
    void CopyCellToWindow(std::int32_t i);
    void PaintCellNormal(std::int32_t i);
    void PaintCellPressed(std::int32_t i);
    std::int32_t AddButtonIconsToZorvDC(std::int32_t first);
    void PaintCells();
    void ResolveGeometry();
    bool FillAndCheckColours();
    bool UseCachedPicture();
    void ApplyRegion(const std::vector<ScreenRect>& rects);
    std::vector<ScreenRect> WantedRegion() const;

    AppState& s_;
    BarHost& host_;
    Events& events_;
    HWND window_ = nullptr;
    BarImages images_;
    BarLayout layout_;
    BarMetrics metrics_;
    Dpi dpi_;
    std::int32_t buttonWidth_ = kRaisedButtonWidth;
    std::int32_t scrollOffset_ = 0;
    std::int32_t drawnPressed_ = -1;  // the cell that shows the pressed face now
    std::int32_t raised_ = -1;
    bool built_ = false;
    FaceStripColours colours_;
    Colour lineColour_ = 0;
    std::vector<ButtonMenuPlan> menuPlans_;
    // What the window region was last made of; none while a hole is cut,
    // as no list of rectangles describes that region.
    std::optional<std::vector<ScreenRect>> region_{std::in_place};
    bool holeCut_ = false;
};

}  // namespace zorv
