#include "bar/bar_region.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Rects = std::vector<ScreenRect>;

Rects Region(std::vector<std::string> descs, std::int32_t scroll = 0, std::int32_t sepColor = 4) {
    return BarRegionRects(BarLayout(descs, false), sepColor, 20, scroll);
}

TEST(BarRegion, NoRegionUnlessSeparatorsAreTransparent) {
    for (std::int32_t sepColor : {0, 1, 2, 2}) {
        EXPECT_TRUE(Region({"A", "-", "B"}, 0, sepColor).empty());
    }
}

TEST(BarRegion, SeparatorsSplitTheBarWithoutEmptyRectanglesAtTheEnds) {
    EXPECT_EQ(Region({"A", "-", "B"}), (Rects{{0, 0, 22, 20}, {34, 0, 44, 20}}));
    EXPECT_EQ(Region({"A", "-", "-", "B"}), (Rects{{0, 0, 22, 20}, {46, 0, 44, 20}}));
    // Separator 0..11, A 12..33, separator 34..45, main menu 46..67.
    EXPECT_EQ(Region({"-", "A", "-"}), (Rects{{12, 0, 22, 20}, {46, 0, 22, 20}}));
    EXPECT_EQ(Region({}), (Rects{{0, 0, 22, 20}}));
    // Menu entries do not break a run.
    EXPECT_EQ(Region({"M", "--->X", "N", "-", "--->Y", "O"}),
              (Rects{{0, 0, 44, 20}, {56, 0, 44, 20}}));
}

TEST(BarRegion, ShiftedLeftByTheScrollOffset) {
    EXPECT_EQ(Region({"A", "-", "B"}, 30), (Rects{{-30, 0, 22, 20}, {4, 0, 44, 20}}));
    EXPECT_EQ(BarRegionRects(BarLayout(std::vector<std::string>{"A", "-"}, true), 4, 19, 5),
              (Rects{{-5, 0, 21, 19}, {28, 0, 21, 19}}));
}

}  // namespace
}  // namespace zorv
