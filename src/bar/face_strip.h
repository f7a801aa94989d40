// The bar's colours and the face strip: the 168 x 21 image that holds the
// normal and pressed button faces of the three bar heights and the three
// separators, described as an ordered list of boxes and lines. The window
// code draws the same list with GDI; the rasteriser here draws it into
// memory so the pixels can be checked without a screen. Portable: no Windows
// headers.
#pragma once

#include <cstdint>
#include <vector>

#include "bar/bar_layout.h"

namespace zorv {

// 0x00BBGGRR: the layout of a Win32 COLORREF, so values pass through unchanged.
using Colour = std::uint32_t;

constexpr Colour MakeColour(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr std::uint32_t ColourRed(Colour c) {
    return c & 0xFF;
}
constexpr std::uint32_t ColourGreen(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint32_t ColourBlue(Colour c) {
    return (c >> 16) & 0xFF;
}

// The system colours the bar is painted with (GetSysColor values).
struct SystemColours {
    Colour Face3D = MakeColour(192, 192, 192);                // COLOR_3DFACE
    Colour Shadow3D = MakeColour(128, 128, 128);              // COLOR_3DSHADOW
    Colour Highlight3D = MakeColour(255, 255, 255);           // COLOR_3DHIGHLIGHT
    Colour DarkShadow3D = MakeColour(64, 64, 64);             // COLOR_3DDKSHADOW
    Colour Desktop = MakeColour(0, 128, 128);                 // COLOR_DESKTOP
    Colour ActiveCaption = MakeColour(0, 0, 128);             // COLOR_ACTIVECAPTION
    Colour GradientActiveCaption = MakeColour(16, 132, 208);  // COLOR_GRADIENTACTIVECAPTION
};

// Colour setting indices (`SepColor`, `LineColor`).
inline constexpr std::int32_t kColourFace = 0;
inline constexpr std::int32_t kColourDesktop = 1;
inline constexpr std::int32_t kColourTitleBar = 2;
inline constexpr std::int32_t kColourBlack = 3;
inline constexpr std::int32_t kColourTransparent = 4;
// Painted where "Transparent" is chosen; the region or the alpha does the rest.
inline constexpr Colour kTransparentPaint = MakeColour(190, 191, 192);

struct ColourChoice {
    Colour Value = 0;
    bool Transparent = false;

    bool operator==(const ColourChoice&) const = default;
};
// A colour setting as a colour; an index outside 0..4 counts as 0.
ColourChoice ColourFromIndex(std::int32_t index, const SystemColours& system,
                             std::uint32_t majorVersion);
// The face colour: `ForcedColor3DFace` unless it is -1.
Colour FaceColour(std::int32_t forcedColor3DFace, const SystemColours& system);
// The 3D dark shadow, darkened so that its green is at most 64.
Colour DarkColour(Colour darkShadow3D);

enum class StepKind : std::uint8_t {
    // Filled rectangle; both corners are inside it (GDI: FillRect with the
    // larger corner + 1).
    Box,
    // From the first point up to, not including, the second: GDI's
    // MoveToEx/LineTo.
    Line,
};
enum class ColourRole : std::uint8_t {
    Shadow,
    Face,
    Highlight,
    Dark,
    Separator,
    EtchedShadow,     // the separators' etched mark: shadow colour
    EtchedHighlight,  // ... and its highlight beside it
};
struct DrawStep {
    StepKind Kind = StepKind::Box;
    ScreenPoint From;
    ScreenPoint To;
    ColourRole Role = ColourRole::Face;

    bool operator==(const DrawStep&) const = default;
};

inline constexpr std::int32_t kFaceStripWidth = 168;
inline constexpr std::int32_t kFaceStripHeight = 21;

struct FaceStripColours {
    Colour Shadow = 0;
    Colour Face = 0;
    Colour Highlight = 0;
    Colour Dark = 0;
    Colour Separator = 0;
    // The separators get an etched mark: their colour is the system face.
    bool Etched = false;
};
FaceStripColours MakeFaceStripColours(const SystemColours& system, std::int32_t forcedColor3DFace,
                                      std::int32_t sepColor, std::uint32_t majorVersion);
Colour RoleColour(ColourRole role, const FaceStripColours& colours);

// The strip's drawing steps in order; bw is the button width at 96 dpi (21
// or 22). On another screen every 96-dpi pixel column x becomes the columns
// dpi.Px(x) .. dpi.Px(x + 1) - 1 (rows alike), so the faces keep their
// proportions and tile without gaps; the strip is then
// dpi.Px(kFaceStripWidth) x dpi.Px(kFaceStripHeight).
std::vector<DrawStep> FaceStripSteps(std::int32_t bw, bool etched, Dpi dpi = {});
// Those steps as boxes on the scaled grid (axis-parallel lines only).
std::vector<DrawStep> ScaleSteps(const std::vector<DrawStep>& steps, Dpi dpi);

enum class FrameLook : std::uint8_t { Raised, Sunken, Flat };
// A frame `thickness` pixels wide around a cell, from (left, 0) to (right,
// height - 1) inclusive: raised = top and left highlight, bottom and right
// shadow; sunken the other way round; flat = face (erases the frame).
std::vector<DrawStep> CellFrameSteps(std::int32_t left, std::int32_t right, std::int32_t height,
                                     FrameLook look, std::int32_t thickness = 1);

struct PixelImage {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<Colour> Pixels;  // row by row

    PixelImage(std::int32_t width, std::int32_t height, Colour fill);
    Colour At(std::int32_t x, std::int32_t y) const;
    // Points outside the image are clipped.
    void Set(std::int32_t x, std::int32_t y, Colour c);
};

// Draws the steps in order onto `image`, clipped to it.
void RenderSteps(const std::vector<DrawStep>& steps, const FaceStripColours& colours,
                 PixelImage& image);
// A fresh strip (168 x 21 at 96 dpi) with the steps drawn.
PixelImage RenderFaceStrip(const std::vector<DrawStep>& steps, const FaceStripColours& colours,
                           Dpi dpi = {});

}  // namespace zorv
