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

// The raised faces are judged on the screen by the end-to-end suite; here the
// pressed ones: shadow top and left, highlight bottom and right; at height 21
// a dark outer and shadow inner edge; at 19 the top line stops short of the
// next face's highlight corner. Separators are plain without etching.
TEST_F(FaceStripPixels, PressedFacesOfTheThreeHeights_PlainSeparators) {
    ExpectPixels(strip, colours, "F30,10 S22,10 S30,0 H30,19 H43,10");
    ExpectPixels(flatStrip, colours, "H42,10 S43,10");
    ExpectPixels(strip, colours, "D66,10 D70,0 S67,10 S70,1 F70,10 H70,20 H87,10 H87,19");
    ExpectPixels(strip, colours, "H88,0 S110,5 S115,0 F115,10 H115,18 H131,10");
    ExpectPixels(strip, colours, "P132,0 P140,10 P167,20");
    const FaceStripColours etched = TestColours(true);  // the groove's ends at height 20
    ExpectPixels(RenderFaceStrip(FaceStripSteps(22, true), etched), etched,
                 "P149,2 S149,3 P149,17 H150,16 P150,17");
}

TEST(FaceColours, DarkShadowScaledToGreen64_IndicesAndTheTitleBarMix_EtchedOnSystemFace) {
    EXPECT_EQ(DarkColour(MakeColour(200, 50, 30)), MakeColour(200, 50, 30));  // factor above 1
    EXPECT_EQ(DarkColour(MakeColour(100, 128, 3)), MakeColour(50, 64, 2));    // 1.5 rounds up
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

// On any screen the strip is the 96-dpi one with every pixel column x widened
// to dpi.Px(x) .. dpi.Px(x + 1) - 1 (rows alike): at 200 % each pixel a 2 x 2
// block, at 150 % and 125 % lines one or two pixels wide but never a gap, a
// stray pixel or a bevel of the wrong colour. Etched separators, both widths.
TEST(FaceStripScaled, EveryPixelIsThe96DpiPixelItCoversAtEachResolution) {
    for (const bool etched : {false, true}) {
        const FaceStripColours colours = TestColours(etched);
        for (const std::int32_t bw : {21, 22}) {
            const PixelImage base = RenderFaceStrip(FaceStripSteps(bw, etched), colours);
            for (const std::int32_t value : {120, 144, 192, 240}) {
                const Dpi dpi{value};
                const PixelImage big = RenderFaceStrip(FaceStripSteps(bw, etched, dpi), colours, dpi);
                ASSERT_EQ(big.Width, dpi.Px(kFaceStripWidth));
                ASSERT_EQ(big.Height, dpi.Px(kFaceStripHeight));
                // The 96-dpi column (row) each scaled one belongs to.
                std::vector<std::int32_t> from(static_cast<std::size_t>(big.Width));
                for (std::int32_t x = 0; x < kFaceStripWidth; ++x)
                    for (std::int32_t X = dpi.Px(x); X < dpi.Px(x + 1); ++X) from[X] = x;
                std::int32_t wrong = 0;
                for (std::int32_t Y = 0; Y < big.Height; ++Y) {
                    std::int32_t y = 0;
                    while (dpi.Px(y + 1) <= Y) ++y;
                    for (std::int32_t X = 0; X < big.Width; ++X)
                        wrong += big.At(X, Y) != base.At(from[X], y);
                }
                EXPECT_EQ(wrong, 0) << "bw " << bw << " etched " << etched << " at " << value;
            }
        }
    }
}

TEST(CellFrame, ThickerOnALargerScreen) {
    FaceStripColours colours = TestColours(false);
    const Colour background = MakeColour(1, 2, 3);
    PixelImage image(50, 40, background);
    RenderSteps(CellFrameSteps(4, 47, 40, FrameLook::Raised, 2), colours, image);
    ExpectPixels(image, colours, "H4,0 H5,1 H4,20 H5,20 S47,20 S46,20 S20,39 S20,38 B6,20 B20,2",
                 background);
}

}  // namespace
}  // namespace zorv
