#include "bar/face_strip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace zorv {
namespace {

// Distinct colours so that every pixel tells which role painted it.
FaceStripColours TestColours(bool etched) {
    FaceStripColours c;
    c.Shadow = MakeColour(128, 128, 128);
    c.Face = MakeColour(200, 200, 200);
    c.Highlight = MakeColour(255, 255, 255);
    c.Dark = MakeColour(10, 10, 10);
    c.Separator = MakeColour(0, 0, 255);
    c.Etched = etched;
    return c;
}

// Probes written "H0,0 F10,10 ...": the role that painted each pixel, by
// Shadow, Face, Highlight, Dark, sePArator or Background.
void ExpectPixels(const PixelImage& image, const FaceStripColours& c, const std::string& probes,
                  Colour background = 0) {
    std::istringstream in(probes);
    char role = 0, comma = 0;
    std::int32_t x = 0, y = 0, read = 0;
    for (; in >> role >> x >> comma >> y; ++read) {
        const Colour want = role == 'S'   ? c.Shadow
                            : role == 'F' ? c.Face
                            : role == 'H' ? c.Highlight
                            : role == 'D' ? c.Dark
                            : role == 'P' ? c.Separator
                                          : background;
        EXPECT_EQ(image.At(x, y), want) << role << " at " << x << "," << y;
    }
    EXPECT_EQ(read, std::count(probes.begin(), probes.end(), ' ') + 1) << "unreadable: " << probes;
}

class FaceStripPixels : public ::testing::Test {
  protected:
    FaceStripColours colours = TestColours(false);
    PixelImage strip = RenderFaceStrip(FaceStripSteps(22, false), colours);
    PixelImage flatStrip = RenderFaceStrip(FaceStripSteps(21, false), colours);
};

TEST_F(FaceStripPixels, NormalAndPressedFacesOfTheThreeHeights) {
    // Height 20, normal: highlight top and left, dark bottom and right (the
    // upward line reaches row 0), an inner shadow column, face inside. Pressed:
    // shadow top and left, highlight bottom and right, at the button width.
    ExpectPixels(strip, colours, "F10,10 H0,0 H10,0 H0,10 D21,0 D21,10 D10,19 D0,19 S20,10");
    ExpectPixels(strip, colours, "F30,10 S22,10 S30,0 H30,19 H43,10");
    ExpectPixels(flatStrip, colours, "H42,10 S43,10");
    // Height 21; pressed has a dark outer and shadow inner edge at top and left.
    ExpectPixels(strip, colours, "H44,10 H50,0 F50,10 S64,10 S50,19 D65,20 D50,20");
    ExpectPixels(strip, colours, "D66,10 D70,0 S67,10 S70,1 F70,10 H70,20 H87,10 H87,19");
    // Height 19: the pressed face's top line ends at (88, 0) without drawing
    // it, so the next face keeps its highlight corner.
    ExpectPixels(strip, colours, "H88,0 H88,17 F95,0 S108,5 D109,5 S95,18");
    ExpectPixels(strip, colours, "S110,5 S115,0 F115,10 H115,18 H131,10");
    ExpectPixels(flatStrip, colours, "H130,10");
}

TEST_F(FaceStripPixels, SeparatorsArePlainWithoutEtching) {
    for (std::int32_t y = 0; y < kFaceStripHeight; ++y) {
        for (std::int32_t x = 132; x < kFaceStripWidth; ++x) {
            ASSERT_EQ(strip.At(x, y), colours.Separator) << x << "," << y;
        }
    }
}

TEST(FaceStrip, EtchedMarkLeavesThreeRowsAtTopAndBottomOfEachSeparator) {
    FaceStripColours colours = TestColours(true);
    PixelImage strip = RenderFaceStrip(FaceStripSteps(22, true), colours);
    // Separators of heights 19, 20 and 21, 12 pixels apart.
    for (std::int32_t k = 0; k < 3; ++k) {
        const std::int32_t x = 137 + 12 * k, bottom = 15 + k;
        for (std::int32_t y : {3, bottom}) {
            EXPECT_EQ(strip.At(x, y), colours.Shadow);
            EXPECT_EQ(strip.At(x + 1, y), colours.Highlight);
        }
        for (auto [px, py] : {std::pair{x, 2}, {x, bottom + 1}, {x - 1, 10}, {x + 2, 10}}) {
            EXPECT_EQ(strip.At(px, py), colours.Separator) << px << "," << py;
        }
    }
}

TEST(FaceColours, DarkShadowScaledToGreen64_IndicesAndTheTitleBarMix_EtchedOnSystemFace) {
    EXPECT_EQ(DarkColour(MakeColour(64, 64, 64)), MakeColour(64, 64, 64));
    EXPECT_EQ(DarkColour(MakeColour(200, 50, 30)), MakeColour(200, 50, 30));  // factor above 1
    // 64/128 of 3 is 1.5 and rounds up; 64/96 of 10 is 6.67 and rounds to 7.
    EXPECT_EQ(DarkColour(MakeColour(100, 128, 3)), MakeColour(50, 64, 2));
    EXPECT_EQ(DarkColour(MakeColour(10, 96, 1)), MakeColour(7, 64, 1));
    EXPECT_EQ(DarkColour(MakeColour(255, 65, 255)), MakeColour(251, 64, 251));
    SystemColours sys;
    sys.ActiveCaption = MakeColour(0, 0, 128);
    sys.GradientActiveCaption = MakeColour(17, 132, 208);
    EXPECT_EQ(ColourFromIndex(1, sys, 5), (ColourChoice{sys.Desktop, false}));
    EXPECT_EQ(ColourFromIndex(2, sys, 4), (ColourChoice{sys.ActiveCaption, false}));
    EXPECT_EQ(ColourFromIndex(2, sys, 6), (ColourChoice{MakeColour(9, 66, 168), false}));
    EXPECT_EQ(ColourFromIndex(3, sys, 5), (ColourChoice{MakeColour(0, 0, 0), false}));
    EXPECT_EQ(ColourFromIndex(4, sys, 5), (ColourChoice{MakeColour(190, 191, 192), true}));
    EXPECT_EQ(ColourFromIndex(7, sys, 5), (ColourChoice{sys.Face3D, false}));
    EXPECT_EQ(FaceColour(0x00112233, sys), 0x00112233u);
    EXPECT_EQ(FaceColour(-1, sys), sys.Face3D);
    // A forced face paints the buttons; the separator still follows the system.
    const FaceStripColours forced = MakeFaceStripColours(sys, 0x00102030, 0, 5);
    EXPECT_EQ(std::tuple(forced.Face, forced.Separator, forced.Etched),
              std::tuple(0x00102030u, sys.Face3D, true));
    EXPECT_EQ(MakeFaceStripColours(sys, -1, 0, 5).Dark, DarkColour(sys.DarkShadow3D));
    EXPECT_FALSE(MakeFaceStripColours(sys, -1, 3, 5).Etched);
}

TEST(CellFrame, RaisedSunkenAndFlatEdges) {
    FaceStripColours colours = TestColours(false);
    const Colour background = MakeColour(1, 2, 3);
    PixelImage image(30, 20, background);
    RenderSteps(CellFrameSteps(4, 25, 20, FrameLook::Raised), colours, image);
    ExpectPixels(image, colours, "H4,0 H4,10 S10,19 S25,10 S25,0 S4,19 B10,10 B26,10", background);
    RenderSteps(CellFrameSteps(4, 25, 20, FrameLook::Sunken), colours, image);
    ExpectPixels(image, colours, "S4,10 H25,10");
    RenderSteps(CellFrameSteps(4, 25, 20, FrameLook::Flat), colours, image);
    ExpectPixels(image, colours, "F4,10 F25,19");
}

}  // namespace
}  // namespace zorv
