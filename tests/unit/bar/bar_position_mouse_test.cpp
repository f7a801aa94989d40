#include <gtest/gtest.h>

#include "bar/bar_position.h"

namespace zorv {
namespace {

TEST(BarMouseRules, RetopAfterASecond_ScrollWhenIdle_AReducedBarAtTheTopGoesBackUp) {
    std::string got;
    for (auto [now, last] : {std::pair{6000, 5000}, {6001, 5000}, {1001, 0}})
        got += RetopAfterPause(now, last) ? '1' : '0';
    for (auto [dragging, button, pos] :
         {std::tuple{false, false, 0}, {true, false, 0}, {false, true, 0}, {false, false, 1},
          {false, false, -1}})
        got += ScrollAtEdgeAllowed(dragging, button, pos) ? '1' : '0';
    EXPECT_EQ(got, "011" "10000");
    const std::int32_t h = 22;
    EXPECT_EQ(ReducedBarTopAfterMove(1, true, {100, 0, 500, h + 1}, h), -h);
    for (auto [autoRed, reduced, bar] :
         {std::tuple{1, true, ScreenRect{100, 0, 500, h}}, {1, true, {100, 1, 500, h + 1}},
          {2, true, {100, 0, 500, h + 1}}, {1, false, {100, 0, 500, h + 1}}})
        EXPECT_EQ(ReducedBarTopAfterMove(autoRed, reduced, bar, h), std::nullopt) << autoRed;
}

}  // namespace
}  // namespace zorv
