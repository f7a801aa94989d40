// The bar's memory images and what fills them: the named pictures of the
// program's resources, the face strip and the faces cut from it, and the
// button icons from the built-in set, the icon folder or the item's program.
// The drawing code (bar_draw_win32.cpp) builds the bar from them; the menus
// and the drop markers ask for their pictures ("SI", "SM", "T", "M", "B")
// here, which load on that first request.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "bar/bar_layout.h"
#include "support/bmp_dc_win32.h"
#include "support/picture_file_win32.h"
#include "bar/face_strip.h"

namespace zorv {

// The tallest bar at 96 dpi; the cell buffer serves every height.
inline constexpr std::int32_t kMaxBarHeight = 21;

// The named pictures only the menus and the drop markers draw.
enum class MenuPicture : std::size_t { SI, SM, T, M, B };
inline constexpr std::size_t kMenuPictures = 5;

// The bar's memory images; the bar window owns one set.
struct BarImages {
    clsBmpDC Dcs;
    Dpi Scale;                           // the screen the images are made for
    std::int32_t IconSize = kIconSize;   // the bar's icons: Scale.Px(16)
    std::int32_t StripSize = kIconSize;  // the icons in II / IM as loaded
    HDC Cell = nullptr;         // one cell, drawn before it goes to the window
    HDC Strip = nullptr;        // the face strip
    HDC EmptyFace = nullptr;    // 22 x H (at 96 dpi)
    HDC PressedFace = nullptr;  // 22 x H
    HDC Separator = nullptr;    // 12 x H
    HDC II = nullptr, IM = nullptr;  // the built-in icons and their masks
    std::array<HDC, kMenuPictures> NamedPictures{};  // see Named
    HDC MainIcon = nullptr;  // the main-menu cell's icon (top square) and mask (below)
    HDC Bar = nullptr;       // the bar image

    // Creates every context the bar's first drawing needs but the bar image,
    // sized for a screen of `dpi`.
    void CreateBitmapHDCs(Dpi dpi);
    // A named picture of the menus, loaded the first time it is asked for:
    // the bar's own drawing needs none of them. Null when it cannot be loaded.
    // On a larger screen the version drawn for it ("T24", "SI32" ...) when
    // the program has one, else the 96-dpi one.
    HDC Named(MenuPicture which);
    // Releases every context (unload, or before they are made anew).
    void ReleaseBitmapHDCs();
    // Draws the face strip for button width `bw` (at 96 dpi: 21 or 22).
    void ButBmpCreate(const FaceStripColours& colours, std::int32_t bw);
    // Cuts the empty face, pressed face and separator for this height.
    void CreateButBitmaps(const BarMetrics& metrics);
    // Built-in icon n; false outside 1..200.
    bool CopyBuiltInIcon(std::int32_t n, const IconPlace& to) const;
    // The main-menu cell's icon: "ZorvMainMenu.bmp" in the icon folder, else
    // built-in icon 1.
    void LoadMainMenuIcon(const std::string& iconFolder);
    // The bar image's cached picture (see BarCachePicture).
    bool SaveBarPicture(const std::string& path, std::int32_t contentWidth,
                        std::int32_t imageWidth, const BarMetrics& metrics);
    bool LoadBarPicture(const std::string& path, std::int32_t contentWidth,
                        std::int32_t imageWidth, const BarMetrics& metrics);
};

// The current system colours.
SystemColours ReadSystemColours();
void FillColour(HDC dc, const RECT& r, Colour c);
// Draws boxes and lines, shifted right by `dx`.
void DrawSteps(HDC dc, const std::vector<DrawStep>& steps, const FaceStripColours& colours,
               std::int32_t dx = 0);

}  // namespace zorv
