#include "bar/hover.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

TEST(Tooltip, ButtonsShowTheirDescription_MenuCellItsCaption_SeparatorsAndExecutedButtonsNone) {
    clsItems list("[Button]", false);
    for (const char* desc : {"Editor", "-", "Mail"}) list.AddItem(Item{.Desc = desc});
    const BarLayout layout(list, false);
    TooltipState s;
    const auto at = [&](std::int32_t i) { return TooltipForCell(s, i, layout, list, "Main Menu"); };
    TooltipChange c = at(0);
    EXPECT_EQ(c.Action, TooltipAction::Show);
    EXPECT_EQ(c.Text, " Editor ");
    EXPECT_EQ(at(0).Action, TooltipAction::Keep);  // same cell: nothing to do
    EXPECT_EQ(at(1).Action, TooltipAction::Hide);
    EXPECT_EQ(at(1).Action, TooltipAction::Keep);
    EXPECT_EQ(at(3).Text, "Main Menu");
    EXPECT_EQ(at(-1).Action, TooltipAction::Hide);
    EXPECT_EQ(at(4).Action, TooltipAction::Hide);
    // A hide (press, reduce) lets the same cell show again; an executed button does not.
    EXPECT_EQ(at(2).Text, " Mail ");
    TooltipHidden(s);
    EXPECT_EQ(at(2).Action, TooltipAction::Show);
    TooltipAfterExecute(s, 2);
    EXPECT_EQ(at(2).Action, TooltipAction::Keep);
    EXPECT_EQ(at(0).Text, " Editor ");
}

TEST(FlatRaise, OneCellUnderTheCursor_NoneOnceItLeft_SeparatorsNeverAndTheHeldOneKeeps) {
    const auto on = [](std::int32_t index, std::int32_t raised, bool raisable = true) {
        return DecideRaise(
            {.CursorOnBar = true, .Index = index, .IndexRaisable = raisable, .Raised = raised});
    };
    EXPECT_EQ(on(2, -1), (RaiseChange{.Raise = 2}));
    EXPECT_EQ(on(2, 2), RaiseChange{});
    EXPECT_EQ(on(3, 2), (RaiseChange{.Lower = 2, .Raise = 3}));
    EXPECT_EQ(on(1, 3, false), (RaiseChange{.Lower = 3}));  // a separator
    EXPECT_EQ(DecideRaise({.Raised = 4}), (RaiseChange{.Lower = 4, .StopWatching = true}));
    EXPECT_EQ(DecideRaise({.Raised = 4, .Pressed = 4}), RaiseChange{});  // until its press ends
    EXPECT_EQ(DecideRaise({.AnyButtonDown = true, .Raised = 4}), RaiseChange{});
}

TEST(Hole, GrowsToAnEllipseOf87By29CentredOnTheCursor_MovesAtFullSize) {
    EXPECT_EQ(HoleEllipse({100, 10}, 1), (ScreenRect{99, 10, 3, 1}));
    EXPECT_EQ(HoleEllipse({100, 10}, 2), (ScreenRect{98, 10, 6, 2}));
    const ScreenRect last = HoleEllipse({100, 10}, kHoleSteps);
    EXPECT_EQ(last, (ScreenRect{57, -4, 87, 29}));
    EXPECT_EQ(last.Left + last.Right(), 2 * 100 + 1);  // centre 100.5: the middle of pixel 100
    EXPECT_EQ(last.Top + last.Bottom(), 2 * 10 + 1);
    EXPECT_EQ(HoleSteps(false).size(), 29u);
    EXPECT_EQ(HoleSteps(true), std::vector<std::int32_t>{29});
}

TEST(Hole, ShiftCutsAndFollows_ReleaseMends_RestOrLeavingStopsTheCheck) {
    HoleState s;
    EXPECT_TRUE(HoleOnMouseMove(s, {50, 5}));
    EXPECT_FALSE(HoleOnMouseMove(s, {51, 5}));  // running: keeps its pace
    const auto tick = [&](ScreenPoint at, bool shift, bool other = false) {
        return HoleTick(s, {.OverOtherWindow = other, .Cursor = at, .ShiftDown = shift});
    };
    EXPECT_EQ(tick({51, 5}, true), HoleAction::Cut);
    EXPECT_EQ(s.IntervalMs, kHoleOpenIntervalMs);
    EXPECT_EQ(tick({51, 5}, true), HoleAction::None);
    EXPECT_EQ(tick({60, 5}, true), HoleAction::Cut);  // follows the cursor
    EXPECT_EQ(tick({60, 5}, false), HoleAction::Mend);
    EXPECT_EQ(s.IntervalMs, kHoleIdleIntervalMs);
    // Shift up and resting for 2 s (20 ticks of 100 ms) ends the check.
    int ticks = 0;
    while (s.Running && ticks < 100) tick({60, 5}, false), ++ticks;
    EXPECT_EQ(ticks, 20);
    EXPECT_EQ(tick({60, 5}, true), HoleAction::None);  // stopped: no more ticks act

    // Onto another window, or far below the bar: stop, and the hole goes.
    for (ScreenPoint away : {ScreenPoint{60, 5}, ScreenPoint{60, 56}, ScreenPoint{-56, 5}}) {
        s = {};
        HoleOnMouseMove(s, {60, 5});
        EXPECT_EQ(tick({60, 5}, true), HoleAction::Cut);
        EXPECT_EQ(tick(away, true, away.Y == 5 && away.X == 60), HoleAction::Mend);
        EXPECT_FALSE(s.Running || s.Open);
        EXPECT_TRUE(HoleOnMouseMove(s, {60, 5}));  // back on the same pixel: checks again
    }
    s = {};
    HoleOnMouseMove(s, {60, 5});
    EXPECT_EQ(tick({60, 55}, true), HoleAction::Cut);  // still near enough
    EXPECT_TRUE(s.Running);
}

TEST(DragStart, MoreThan3PixelsOnTheHeldButtonOncePerPress_NeverWithNoDragDropSource) {
    ClickState click;
    PressFacts press{.X = 30, .Y = 8, .NowMs = 1000, .Index = 1, .Count = 5};
    ASSERT_EQ(DecidePress(click, press), PressAction::Press);
    DragState s;
    const auto move = [&](std::int32_t x, std::int32_t y, std::int32_t index = 1,
                          bool noSource = false) {
        DragFacts f{.LeftDown = true, .AnyButtonDown = true, .X = x, .Y = y, .Index = index};
        f.NoDragDropSource = noSource;
        return DecideDragStart(s, click, f);
    };
    EXPECT_EQ(move(33, 11), DragStep::None);          // 3 pixels: not yet
    EXPECT_EQ(move(26, 8, 0), DragStep::None);        // off its button
    EXPECT_EQ(move(30, 20), DragStep::None);          // below the bar
    EXPECT_EQ(move(34, 8, 1, true), DragStep::None);  // NoDragDropSource
    EXPECT_EQ(move(34, 8), DragStep::Start);
    EXPECT_TRUE(s.Dragging);
    s.Dragging = false;                      // the drag ended, the button is still down
    EXPECT_EQ(move(40, 8), DragStep::None);  // once per press
    // The next press may drag again, even with no move between the two.
    click = {};
    press.NowMs = 2000;
    ASSERT_EQ(DecidePress(click, press), PressAction::Press);
    EXPECT_EQ(move(30, 2), DragStep::Start);
    // With no mouse button down a button still pressed is drawn up.
    s.Dragging = false;
    EXPECT_EQ(DecideDragStart(s, click, {.X = 30, .Y = 2, .Index = 1}), DragStep::DrawUnpressed);
    press.X = 0;  // a press point on the edge is no point
    click = {};
    DecidePress(click, press);
    s = {};
    EXPECT_EQ(move(10, 8), DragStep::None);
}

// At 200 % the hole is twice as large and a drag needs twice the distance.
TEST(Hole, AndDragThreshold_GrowWithTheScreen) {
    EXPECT_EQ(HoleEllipse({100, 10}, kHoleSteps, Dpi{192}), (ScreenRect{14, -18, 174, 58}));
    ClickState click;
    PressFacts press{.X = 60, .Y = 16, .NowMs = 1000, .Index = 1, .Count = 5};
    ASSERT_EQ(DecidePress(click, press), PressAction::Press);
    DragState s;
    const auto move = [&](std::int32_t x) {
        DragFacts f{.LeftDown = true, .AnyButtonDown = true, .X = x, .Y = 16, .Index = 1};
        f.Scale = Dpi{192};
        return DecideDragStart(s, click, f);
    };
    EXPECT_EQ(move(66), DragStep::None);
    EXPECT_EQ(move(67), DragStep::Start);
}

}  // namespace
}  // namespace zorv
