#include <gtest/gtest.h>

#include "bar/bar_position.h"

namespace zorv {
namespace {

TEST(BarMouseRules, RetopAfterMoreThanASecond_ScrollOnlyWhenIdleAtLeftEdge) {
    EXPECT_FALSE(RetopAfterPause(6000, 5000));
    EXPECT_TRUE(RetopAfterPause(6001, 5000));
    EXPECT_TRUE(RetopAfterPause(1001, 0));  // the first move

    EXPECT_TRUE(ScrollAtEdgeAllowed(false, false, 0));
    EXPECT_FALSE(ScrollAtEdgeAllowed(true, false, 0));
    EXPECT_FALSE(ScrollAtEdgeAllowed(false, true, 0));
    EXPECT_FALSE(ScrollAtEdgeAllowed(false, false, 1));
    EXPECT_FALSE(ScrollAtEdgeAllowed(false, false, -1));
}

TEST(BarPosition, OnlyAReducedBarAtTheTopEdgeGoesBackUp) {
    const std::int32_t h = 22;
    EXPECT_EQ(ReducedBarTopAfterMove(1, true, {100, 0, 500, h + 1}, h), -h);
    EXPECT_EQ(ReducedBarTopAfterMove(1, true, {100, 0, 500, h}, h), std::nullopt);
    EXPECT_EQ(ReducedBarTopAfterMove(1, true, {100, 1, 500, h + 1}, h), std::nullopt);
    EXPECT_EQ(ReducedBarTopAfterMove(2, true, {100, 0, 500, h + 1}, h), std::nullopt);
    EXPECT_EQ(ReducedBarTopAfterMove(1, false, {100, 0, 500, h + 1}, h), std::nullopt);
}

}  // namespace
}  // namespace zorv
