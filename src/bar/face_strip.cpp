#include "bar/face_strip.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace zorv {

namespace {

// Per-channel average, halves rounded up.
Colour Mix(Colour a, Colour b) {
    return MakeColour((ColourRed(a) + ColourRed(b) + 1) / 2,
                      (ColourGreen(a) + ColourGreen(b) + 1) / 2,
                      (ColourBlue(a) + ColourBlue(b) + 1) / 2);
}

}  // namespace

// From version 5 on the active caption is a gradient; a bar that imitates it
// takes the middle of its two ends.
ColourChoice ColourFromIndex(std::int32_t index, const SystemColours& system,
                             std::uint32_t majorVersion) {
    switch (index) {
        case kColourDesktop:
            return {system.Desktop, false};
        case kColourTitleBar:
            if (majorVersion >= 5)
                return {Mix(system.ActiveCaption, system.GradientActiveCaption), false};
            return {system.ActiveCaption, false};
        case kColourBlack:
            return {MakeColour(0, 0, 0), false};
        case kColourTransparent:
            return {kTransparentPaint, true};
        default:
            return {system.Face3D, false};
    }
}

Colour FaceColour(std::int32_t forcedColor3DFace, const SystemColours& system) {
    if (forcedColor3DFace == -1) return system.Face3D;
    return static_cast<Colour>(forcedColor3DFace);
}

// Some themes make the dark shadow a mid grey, which gives the buttons a
// washed-out outer edge; scaling it so that green is at most 64 keeps the hue
// and restores the contrast. Green above 64 is exactly the case where the
// factor 64 / green is below 1 (and not all three channels are below 65).
Colour DarkColour(Colour darkShadow3D) {
    std::uint32_t g = ColourGreen(darkShadow3D);
    if (g <= 64) return darkShadow3D;
    auto scale = [g](std::uint32_t v) { return (128 * v + g) / (2 * g); };
    return MakeColour(scale(ColourRed(darkShadow3D)), scale(g), scale(ColourBlue(darkShadow3D)));
}

FaceStripColours MakeFaceStripColours(const SystemColours& system, std::int32_t forcedColor3DFace,
                                      std::int32_t sepColor, std::uint32_t majorVersion) {
    FaceStripColours c;
    c.Shadow = system.Shadow3D;
    c.Face = FaceColour(forcedColor3DFace, system);
    c.Highlight = system.Highlight3D;
    c.Dark = DarkColour(system.DarkShadow3D);
    c.Separator = ColourFromIndex(sepColor, system, majorVersion).Value;
    c.Etched = c.Separator == system.Face3D;
    return c;
}

Colour RoleColour(ColourRole role, const FaceStripColours& colours) {
    switch (role) {
        case ColourRole::Shadow:
        case ColourRole::EtchedShadow:
            return colours.Shadow;
        case ColourRole::Face:
            return colours.Face;
        case ColourRole::Highlight:
        case ColourRole::EtchedHighlight:
            return colours.Highlight;
        case ColourRole::Dark:
            return colours.Dark;
        case ColourRole::Separator:
            break;
    }
    return colours.Separator;
}

// The x ranges: normal/pressed faces for heights 20 (0..43), 21 (44..87) and
// 19 (88..131), then the separators for 19, 20 and 21 (132..167). Lines end
// one short of their second point, which is why some run to -1 or 21. The
// right edges of the pressed faces follow the button width so that a 21-wide
// cell shows its complete bevel.
std::vector<DrawStep> FaceStripSteps(std::int32_t bw, bool etched, Dpi dpi) {
    using enum StepKind;
    using enum ColourRole;
    std::vector<DrawStep> steps = {
        {Box, {0, 0}, {131, 20}, Shadow},                  // 1
        {Box, {1, 1}, {19, 18}, Face},                     // 2
        {Box, {23, 1}, {42, 18}, Face},                    // 3
        {Box, {45, 1}, {63, 18}, Face},                    // 4
        {Box, {68, 2}, {86, 19}, Face},                    // 5
        {Box, {89, 0}, {107, 17}, Face},                   // 6
        {Box, {111, 1}, {130, 17}, Face},                  // 7
        {Line, {0, 0}, {21, 0}, Highlight},                // 8
        {Line, {0, 0}, {0, 19}, Highlight},                // 9
        {Line, {0, 20}, {44, 20}, Highlight},              // 10
        {Line, {23, 19}, {43, 19}, Highlight},             // 11
        {Line, {bw + 21, 1}, {bw + 21, 19}, Highlight},    // 12
        {Line, {44, 0}, {44, 20}, Highlight},              // 13
        {Line, {44, 0}, {64, 0}, Highlight},               // 14
        {Line, {67, 20}, {131, 20}, Highlight},            // 15
        {Line, {87, 19}, {131, 19}, Highlight},            // 16
        {Line, {111, 18}, {131, 18}, Highlight},           // 17
        {Line, {bw + 65, 1}, {bw + 65, 19}, Highlight},    // 18
        {Line, {88, 0}, {88, 18}, Highlight},              // 19
        {Line, {bw + 109, 1}, {bw + 109, 19}, Highlight},  // 20
        {Line, {0, 19}, {21, 19}, Dark},                   // 21
        {Line, {21, 19}, {21, -1}, Dark},                  // 22
        {Line, {44, 20}, {65, 20}, Dark},                  // 23
        {Line, {65, 0}, {65, 21}, Dark},                   // 24
        {Line, {66, 0}, {66, 21}, Dark},                   // 25
        {Line, {67, 0}, {88, 0}, Dark},                    // 26
        {Line, {109, 0}, {109, 19}, Dark},                 // 27
        {Box, {132, 0}, {168, 21}, Separator},             // 28
    };
    if (etched) {
        // A groove in the middle of each separator, three rows clear of the
        // top and bottom of its height (19, 20, 21).
        for (std::int32_t k = 0; k < 3; ++k) {
            std::int32_t x = 137 + kSeparatorWidth * k;
            steps.push_back({Line, {x, 3}, {x, 16 + k}, EtchedShadow});
            steps.push_back({Line, {x + 1, 3}, {x + 1, 16 + k}, EtchedHighlight});
        }
    }
    return dpi.IsStandard() ? steps : ScaleSteps(steps, dpi);
}

namespace {

// The inclusive pixel range a line covers along one axis: from `a` towards
// `b`, `b` left out. Empty (first > last) when they are equal.
std::pair<std::int32_t, std::int32_t> LineSpan(std::int32_t a, std::int32_t b) {
    if (a < b) return {a, b - 1};
    if (a > b) return {b + 1, a};
    return {a, a - 1};
}

}  // namespace

std::vector<DrawStep> ScaleSteps(const std::vector<DrawStep>& steps, Dpi dpi) {
    std::vector<DrawStep> scaled;
    scaled.reserve(steps.size());
    // An inclusive 96-dpi range to the inclusive range of its scaled pixels.
    auto range = [dpi](std::int32_t first, std::int32_t last) {
        return std::pair{dpi.Px(first), dpi.Px(last + 1) - 1};
    };
    for (const DrawStep& step : steps) {
        std::pair<std::int32_t, std::int32_t> xs, ys;
        if (step.Kind == StepKind::Box) {
            xs = {std::min(step.From.X, step.To.X), std::max(step.From.X, step.To.X)};
            ys = {std::min(step.From.Y, step.To.Y), std::max(step.From.Y, step.To.Y)};
        } else if (step.From.Y == step.To.Y) {
            xs = LineSpan(step.From.X, step.To.X);
            ys = {step.From.Y, step.From.Y};
        } else if (step.From.X == step.To.X) {
            xs = {step.From.X, step.From.X};
            ys = LineSpan(step.From.Y, step.To.Y);
        } else {
            // A slanting line keeps its ends; none of the faces has one.
            scaled.push_back({step.Kind,
                              {dpi.Px(step.From.X), dpi.Px(step.From.Y)},
                              {dpi.Px(step.To.X), dpi.Px(step.To.Y)},
                              step.Role});
            continue;
        }
        if (xs.first > xs.second || ys.first > ys.second) continue;
        const auto [x0, x1] = range(xs.first, xs.second);
        const auto [y0, y1] = range(ys.first, ys.second);
        scaled.push_back({StepKind::Box, {x0, y0}, {x1, y1}, step.Role});
    }
    return scaled;
}

std::vector<DrawStep> CellFrameSteps(std::int32_t left, std::int32_t right, std::int32_t height,
                                     FrameLook look, std::int32_t thickness) {
    using enum StepKind;
    ColourRole topLeft = ColourRole::Face;
    ColourRole bottomRight = ColourRole::Face;
    if (look == FrameLook::Raised) {
        topLeft = ColourRole::Highlight;
        bottomRight = ColourRole::Shadow;
    } else if (look == FrameLook::Sunken) {
        topLeft = ColourRole::Shadow;
        bottomRight = ColourRole::Highlight;
    }
    std::int32_t bottom = height - 1;
    const std::int32_t t = std::max(thickness, 1) - 1;
    // Bottom and right go last and so own the bottom-left and top-right corners.
    return {
        {Box, {left, 0}, {right, t}, topLeft},
        {Box, {left, 0}, {left + t, bottom}, topLeft},
        {Box, {left, bottom - t}, {right, bottom}, bottomRight},
        {Box, {right - t, 0}, {right, bottom}, bottomRight},
    };
}

PixelImage::PixelImage(std::int32_t width, std::int32_t height, Colour fill)
    : Width(std::max(width, 0)),
      Height(std::max(height, 0)),
      Pixels(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), fill) {}

Colour PixelImage::At(std::int32_t x, std::int32_t y) const {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                  static_cast<std::size_t>(x)];
}

void PixelImage::Set(std::int32_t x, std::int32_t y, Colour c) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
           static_cast<std::size_t>(x)] = c;
}

namespace {

void FillBox(PixelImage& image, ScreenPoint a, ScreenPoint b, Colour c) {
    std::int32_t x0 = std::max(std::min(a.X, b.X), 0);
    std::int32_t x1 = std::min(std::max(a.X, b.X), image.Width - 1);
    std::int32_t y0 = std::max(std::min(a.Y, b.Y), 0);
    std::int32_t y1 = std::min(std::max(a.Y, b.Y), image.Height - 1);
    for (std::int32_t y = y0; y <= y1; ++y) {
        for (std::int32_t x = x0; x <= x1; ++x) image.Set(x, y, c);
    }
}

// Bresenham from `a` towards `b`, leaving `b` itself out as LineTo does.
void DrawLine(PixelImage& image, ScreenPoint a, ScreenPoint b, Colour c) {
    std::int32_t dx = std::abs(b.X - a.X);
    std::int32_t dy = -std::abs(b.Y - a.Y);
    std::int32_t sx = a.X < b.X ? 1 : -1;
    std::int32_t sy = a.Y < b.Y ? 1 : -1;
    std::int32_t err = dx + dy;
    ScreenPoint p = a;
    while (p != b) {
        image.Set(p.X, p.Y, c);
        std::int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.X += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.Y += sy;
        }
    }
}

}  // namespace

void RenderSteps(const std::vector<DrawStep>& steps, const FaceStripColours& colours,
                 PixelImage& image) {
    for (const DrawStep& step : steps) {
        Colour c = RoleColour(step.Role, colours);
        if (step.Kind == StepKind::Box) {
            FillBox(image, step.From, step.To, c);
        } else {
            DrawLine(image, step.From, step.To, c);
        }
    }
}

PixelImage RenderFaceStrip(const std::vector<DrawStep>& steps, const FaceStripColours& colours,
                           Dpi dpi) {
    PixelImage image(dpi.Px(kFaceStripWidth), dpi.Px(kFaceStripHeight), MakeColour(0, 0, 0));
    RenderSteps(steps, colours, image);
    return image;
}

}  // namespace zorv
