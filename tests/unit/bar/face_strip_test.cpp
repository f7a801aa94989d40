#include "bar/face_strip.h"

#include <gtest/gtest.h>

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

enum Role { S, F, H, D, P };  // shadow, face, highlight, dark, separator
struct Probe {
    std::int32_t x, y;
    Role role;
};

void ExpectPixels(const PixelImage& strip, const FaceStripColours& c,
                  std::initializer_list<Probe> probes) {
    const Colour byRole[] = {c.Shadow, c.Face, c.Highlight, c.Dark, c.Separator};
    for (const Probe& p : probes) {
        EXPECT_EQ(strip.At(p.x, p.y), byRole[p.role]) << "at " << p.x << "," << p.y;
    }
}

class FaceStripPixels : public ::testing::Test {
  protected:
    FaceStripColours colours = TestColours(false);
    PixelImage strip = RenderFaceStrip(FaceStripSteps(22, false), colours);
    PixelImage flatStrip = RenderFaceStrip(FaceStripSteps(21, false), colours);
};

TEST_F(FaceStripPixels, Height20_NormalRaisedPressedSunkenRightEdgeAtButtonWidth) {
    // Normal: highlight top and left, dark bottom and right (the upward line
    // reaches row 0), an inner shadow column, face inside.
    ExpectPixels(strip, colours,
                 {{10, 10, F},
                  {0, 0, H},
                  {10, 0, H},
                  {0, 10, H},
                  {21, 0, D},
                  {21, 10, D},
                  {10, 19, D},
                  {0, 19, D},
                  {20, 10, S}});
    // Pressed: shadow top and left, highlight bottom and right.
    ExpectPixels(strip, colours, {{30, 10, F}, {22, 10, S}, {30, 0, S}, {30, 19, H}, {43, 10, H}});
    ExpectPixels(flatStrip, colours, {{42, 10, H}, {43, 10, S}});
}

TEST_F(FaceStripPixels, Height21_NormalAndPressed) {
    ExpectPixels(
        strip, colours,
        {{44, 10, H}, {50, 0, H}, {50, 10, F}, {64, 10, S}, {50, 19, S}, {65, 20, D}, {50, 20, D}});
    // Pressed: dark outer and shadow inner edge at top and left.
    ExpectPixels(strip, colours,
                 {{66, 10, D},
                  {70, 0, D},
                  {67, 10, S},
                  {70, 1, S},
                  {70, 10, F},
                  {70, 20, H},
                  {87, 10, H},
                  {87, 19, H}});
}

TEST_F(FaceStripPixels, Height19_LineEndPointsAreNotDrawn) {
    // The pressed face's top line ends at (88, 0) without drawing it, so the
    // next face keeps its highlight corner.
    ExpectPixels(strip, colours,
                 {{88, 0, H}, {88, 17, H}, {95, 0, F}, {108, 5, S}, {109, 5, D}, {95, 18, S}});
    ExpectPixels(strip, colours,
                 {{110, 5, S}, {115, 0, S}, {115, 10, F}, {115, 18, H}, {131, 10, H}});
    ExpectPixels(flatStrip, colours, {{130, 10, H}});
}

TEST_F(FaceStripPixels, SeparatorsArePlainWithoutEtching) {
    for (std::int32_t y = 0; y < kFaceStripHeight; ++y) {
        for (std::int32_t x = 132; x < kFaceStripWidth; ++x) {
            ASSERT_EQ(strip.At(x, y), colours.Separator) << x << "," << y;
        }
    }
    EXPECT_EQ(FaceStripSteps(22, false).size(), 28u);
}

TEST(FaceStrip, EtchedMarkLeavesThreeRowsAtTopAndBottomOfEachSeparator) {
    FaceStripColours colours = TestColours(true);
    PixelImage strip = RenderFaceStrip(FaceStripSteps(22, true), colours);
    for (std::int32_t k = 0; k < 3; ++k) {
        std::int32_t x = 137 + 12 * k;
        std::int32_t height = 19 + k;
        EXPECT_EQ(strip.At(x, 2), colours.Separator);
        EXPECT_EQ(strip.At(x, 3), colours.Shadow);
        EXPECT_EQ(strip.At(x + 1, 3), colours.Highlight);
        EXPECT_EQ(strip.At(x, height - 4), colours.Shadow);
        EXPECT_EQ(strip.At(x + 1, height - 4), colours.Highlight);
        EXPECT_EQ(strip.At(x, height - 3), colours.Separator);
        EXPECT_EQ(strip.At(x - 1, 10), colours.Separator);
        EXPECT_EQ(strip.At(x + 2, 10), colours.Separator);
    }
}

TEST(FaceColours, DarkShadowScaledToGreen64RoundedToNearest) {
    EXPECT_EQ(DarkColour(MakeColour(64, 64, 64)), MakeColour(64, 64, 64));
    EXPECT_EQ(DarkColour(MakeColour(0, 0, 0)), MakeColour(0, 0, 0));
    EXPECT_EQ(DarkColour(MakeColour(200, 50, 30)), MakeColour(200, 50, 30));  // factor above 1
    EXPECT_EQ(DarkColour(MakeColour(250, 0, 250)), MakeColour(250, 0, 250));  // no green
    EXPECT_EQ(DarkColour(MakeColour(128, 128, 128)), MakeColour(64, 64, 64));
    EXPECT_EQ(DarkColour(MakeColour(200, 100, 50)), MakeColour(128, 64, 32));
    // 64/128 of 3 is 1.5 and rounds up; 64/96 of 10 is 6.67 and rounds to 7.
    EXPECT_EQ(DarkColour(MakeColour(100, 128, 3)), MakeColour(50, 64, 2));
    EXPECT_EQ(DarkColour(MakeColour(10, 96, 1)), MakeColour(7, 64, 1));
    EXPECT_EQ(DarkColour(MakeColour(255, 65, 255)), MakeColour(251, 64, 251));
}

TEST(FaceColours, ColourIndicesAndTitleBarMix) {
    SystemColours sys;
    sys.ActiveCaption = MakeColour(0, 0, 128);
    sys.GradientActiveCaption = MakeColour(17, 132, 208);
    EXPECT_EQ(ColourFromIndex(0, sys, 5), (ColourChoice{sys.Face3D, false}));
    EXPECT_EQ(ColourFromIndex(1, sys, 5), (ColourChoice{sys.Desktop, false}));
    EXPECT_EQ(ColourFromIndex(2, sys, 4), (ColourChoice{sys.ActiveCaption, false}));
    EXPECT_EQ(ColourFromIndex(2, sys, 6), (ColourChoice{MakeColour(9, 66, 168), false}));
    EXPECT_EQ(ColourFromIndex(3, sys, 5), (ColourChoice{MakeColour(0, 0, 0), false}));
    EXPECT_EQ(ColourFromIndex(4, sys, 5), (ColourChoice{MakeColour(190, 191, 192), true}));
    EXPECT_EQ(ColourFromIndex(7, sys, 5), (ColourChoice{sys.Face3D, false}));
    EXPECT_EQ(FaceColour(-1, sys), sys.Face3D);
    EXPECT_EQ(FaceColour(0x00112233, sys), 0x00112233u);
}

TEST(FaceColours, EtchedOnlyWhenSeparatorIsTheSystemFace) {
    SystemColours sys;
    FaceStripColours asFace = MakeFaceStripColours(sys, -1, 0, 5);
    EXPECT_TRUE(asFace.Etched);
    EXPECT_EQ(asFace.Separator, sys.Face3D);
    EXPECT_EQ(asFace.Dark, DarkColour(sys.DarkShadow3D));
    EXPECT_FALSE(MakeFaceStripColours(sys, -1, 3, 5).Etched);
    EXPECT_EQ(MakeFaceStripColours(sys, -1, 4, 5).Separator, MakeColour(190, 191, 192));
    // A forced face paints the buttons; the separator still follows the system.
    FaceStripColours forced = MakeFaceStripColours(sys, 0x00102030, 0, 5);
    EXPECT_EQ(forced.Face, 0x00102030u);
    EXPECT_TRUE(forced.Etched);
}

TEST(CellFrame, RaisedSunkenAndFlatEdges) {
    FaceStripColours colours = TestColours(false);
    PixelImage image(30, 20, MakeColour(1, 2, 3));
    RenderSteps(CellFrameSteps(4, 25, 20, FrameLook::Raised), colours, image);
    EXPECT_EQ(image.At(4, 0), colours.Highlight);
    EXPECT_EQ(image.At(4, 10), colours.Highlight);
    EXPECT_EQ(image.At(10, 19), colours.Shadow);
    EXPECT_EQ(image.At(25, 10), colours.Shadow);
    EXPECT_EQ(image.At(25, 0), colours.Shadow);
    EXPECT_EQ(image.At(4, 19), colours.Shadow);
    EXPECT_EQ(image.At(10, 10), MakeColour(1, 2, 3));
    EXPECT_EQ(image.At(26, 10), MakeColour(1, 2, 3));
    RenderSteps(CellFrameSteps(4, 25, 20, FrameLook::Sunken), colours, image);
    EXPECT_EQ(image.At(4, 10), colours.Shadow);
    EXPECT_EQ(image.At(25, 10), colours.Highlight);
    RenderSteps(CellFrameSteps(4, 25, 20, FrameLook::Flat), colours, image);
    EXPECT_EQ(image.At(4, 10), colours.Face);
    EXPECT_EQ(image.At(25, 19), colours.Face);
}

}  // namespace
}  // namespace zorv
