#include "bar/bar_region.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

std::vector<PixelRect> Region(std::vector<std::string> descs, std::int32_t scroll = 0) {
    return BarRegionRects(BarLayout(descs, false), 4, 20, scroll);
}

TEST(BarRegion, NoRegionUnlessSeparatorsAreTransparent) {
    BarLayout layout(std::vector<std::string>{"A", "-", "B"}, false);
    for (std::int32_t sepColor : {0, 1, 2, 3}) {
        EXPECT_TRUE(BarRegionRects(layout, sepColor, 20, 0).empty());
    }
}

TEST(BarRegion, SeparatorInTheMiddleSplitsTheBar) {
    EXPECT_EQ(Region({"A", "-", "B"}), (std::vector<PixelRect>{{0, 0, 22, 20}, {34, 0, 78, 20}}));
    EXPECT_EQ(Region({"A", "-", "-", "B"}),
              (std::vector<PixelRect>{{0, 0, 22, 20}, {46, 0, 90, 20}}));
}

TEST(BarRegion, SeparatorsAtTheEndsLeaveNoEmptyRectangles) {
    // Separator 0..11, A 12..33, separator 34..45, main menu 46..67.
    EXPECT_EQ(Region({"-", "A", "-"}), (std::vector<PixelRect>{{12, 0, 34, 20}, {46, 0, 68, 20}}));
    EXPECT_EQ(Region({"-"}), (std::vector<PixelRect>{{12, 0, 34, 20}}));
    EXPECT_EQ(Region({}), (std::vector<PixelRect>{{0, 0, 22, 20}}));
}

TEST(BarRegion, MenuEntriesDoNotBreakARun) {
    EXPECT_EQ(Region({"M", "--->X", "N", "-", "--->Y", "O"}),
              (std::vector<PixelRect>{{0, 0, 44, 20}, {56, 0, 100, 20}}));
}

TEST(BarRegion, ShiftedLeftByTheScrollOffset) {
    EXPECT_EQ(Region({"A", "-", "B"}, 30),
              (std::vector<PixelRect>{{-30, 0, -8, 20}, {4, 0, 48, 20}}));
    EXPECT_EQ(BarRegionRects(BarLayout(std::vector<std::string>{"A", "-"}, true), 4, 19, 5),
              (std::vector<PixelRect>{{-5, 0, 16, 19}, {28, 0, 49, 19}}));
}

}  // namespace
}  // namespace zorv
