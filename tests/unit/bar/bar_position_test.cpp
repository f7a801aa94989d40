#include "bar/bar_position.h"

#include <gtest/gtest.h>

TEST(BarPosition, RightGapIsAutomaticUnlessForced) {
    EXPECT_EQ(zorv::GetNewBarRight(false, 0, 18), 58);
    EXPECT_EQ(zorv::GetNewBarRight(false, 100, 18), 100);
    EXPECT_EQ(zorv::GetNewBarRight(true, 100, 18), 58);
}

TEST(BarPosition, RightAlignedWhenItFitsElseFromTheLeftEdge) {
    auto fits = zorv::PlaceHorizontally(78, 58, 1280);
    EXPECT_EQ(fits.Left, 1280 - 78 - 58);
    EXPECT_EQ(fits.VisibleWidth, 78);
    auto exact = zorv::PlaceHorizontally(1222, 58, 1280);
    EXPECT_EQ(exact.Left, 0);
    EXPECT_EQ(exact.VisibleWidth, 1222);
    auto wider = zorv::PlaceHorizontally(1223, 58, 1280);
    EXPECT_EQ(wider.Left, 0);
    EXPECT_EQ(wider.VisibleWidth, 1222);
}
