#include "bar/bar_colours.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

TEST(BarColours, CacheValidOnlyForStoredFaceAndDepth_NewValuesAreKept) {
    Settings s;
    s.LastColor3DFace = 0xC0C0C0;
    s.LastBitsPerPixel = 32;
    EXPECT_TRUE(TakeBarColours(s, 0xC0C0C0, 32));

    EXPECT_FALSE(TakeBarColours(s, 0xC0C0C0, 16));
    EXPECT_EQ(s.LastBitsPerPixel, 16);
    EXPECT_FALSE(TakeBarColours(s, 0xF0F0F0, 16));
    EXPECT_EQ(s.LastColor3DFace, 0xF0F0F0);
    // Once taken, the same colours validate the picture built under them.
    EXPECT_TRUE(TakeBarColours(s, 0xF0F0F0, 16));
}

}  // namespace
}  // namespace zorv
