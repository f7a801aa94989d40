#include "bar/button_click.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

PressFacts PressOn(std::int32_t index, std::uint64_t now, int button = 1) {
    PressFacts p;
    p.X = 10 + 22 * index;
    p.Y = 8;
    p.Button = button;
    p.NowMs = now;
    p.Index = index;
    p.Count = 5;
    return p;
}

ReleaseFacts ReleaseOn(std::int32_t index, std::uint64_t now, std::int32_t y = 8) {
    ReleaseFacts r;
    r.Index = index;
    r.Y = y;
    r.Count = 5;
    r.NowMs = now;
    return r;
}

TEST(ButtonClick, StrayPressesAreIgnoredAndDoNotArmTheGuard) {
    ClickState s;
    PressFacts synthetic = PressOn(1, 1000);
    synthetic.X = synthetic.Y = -1;
    EXPECT_EQ(DecidePress(s, synthetic), PressAction::Ignore);
    PressFacts reduced = PressOn(1, 1010);
    reduced.BarReduced = true;
    EXPECT_EQ(DecidePress(s, reduced), PressAction::Ignore);
    PressFacts notDown = PressOn(1, 1020);
    notDown.ReallyDown = false;
    EXPECT_EQ(DecidePress(s, notDown), PressAction::Ignore);
    // None of them counted as the last press: a real one 10 ms later acts.
    EXPECT_EQ(DecidePress(s, PressOn(1, 1030)), PressAction::Press);
    EXPECT_EQ(s.Pressed, 1);
    // A real press on the line row below the buttons does nothing, but it
    // is a press: one right after it is the same click.
    ClickState t;
    PressFacts onLine = PressOn(1, 2000);
    onLine.Y = 20;
    EXPECT_EQ(DecidePress(t, onLine), PressAction::Ignore);
    EXPECT_EQ(DecidePress(t, PressOn(1, 2050)), PressAction::Ignore);
    EXPECT_EQ(DecidePress(t, PressOn(1, 2100)), PressAction::Press);
}

TEST(ButtonClick, SecondPressWithin100msOrWhileHeldIsIgnored) {
    ClickState s;
    ASSERT_EQ(DecidePress(s, PressOn(2, 5000)), PressAction::Press);
    s.Pressed = -1;
    EXPECT_EQ(DecidePress(s, PressOn(2, 5099)), PressAction::Ignore);
    EXPECT_EQ(DecidePress(s, PressOn(2, 5200)), PressAction::Press);
    EXPECT_EQ(DecidePress(s, PressOn(3, 5400)), PressAction::Ignore);  // 2 still held
}

TEST(ButtonClick, ModifiersChooseEditingOnButtonsButNotOnTheMainMenuCell) {
    const struct {
        int button;
        bool shift, ctrl;
        std::int32_t index;
        PressAction want;
    } cases[] = {
        {1, false, true, 1, PressAction::EditDialog},
        {1, true, false, 1, PressAction::EditDialog},
        {2, false, true, 1, PressAction::ContextMenu},
        {2, true, false, 1, PressAction::ContextMenu},
        {4, false, false, 1, PressAction::ContextMenu},
        {2, false, false, 1, PressAction::Press},
        {1, true, true, 5, PressAction::MainMenu},
        {4, false, false, 7, PressAction::MainMenu},
    };
    std::uint64_t now = 0;
    for (const auto& c : cases) {
        ClickState s;
        PressFacts p = PressOn(c.index, now += 1000, c.button);
        p.Shift = c.shift;
        p.Ctrl = c.ctrl;
        EXPECT_EQ(DecidePress(s, p), c.want) << c.button << c.shift << c.ctrl << c.index;
        EXPECT_EQ(s.Pressed, c.want == PressAction::Press ? c.index : -1);
    }
}

TEST(ButtonClick, LeftPressRecordsDragOriginAndMenuButtonsOpenOnPress) {
    ClickState s;
    PressFacts p = PressOn(3, 100);
    p.HasMenu = true;
    EXPECT_EQ(DecidePress(s, p), PressAction::PressMenu);
    EXPECT_EQ(s.DragSource, 3);
    EXPECT_EQ(s.PressX, p.X);
    EXPECT_EQ(s.PressY, 8);
    ClickState r;
    EXPECT_EQ(DecidePress(r, PressOn(3, 100, 2)), PressAction::Press);
    EXPECT_EQ(r.PressX, -1);
}

TEST(ButtonClick, ReleaseStartsOnlyOnTheSameButtonInsideTheBar) {
    ClickState s;
    DecidePress(s, PressOn(1, 0));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(2, 50)));  // moved to the neighbour
    EXPECT_EQ(s.Pressed, -1);
    DecidePress(s, PressOn(1, 200));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(1, 250, 20)));  // below the buttons
    DecidePress(s, PressOn(5, 400));                        // main-menu cell: never a button start
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(5, 450)));
    DecidePress(s, PressOn(1, 600));
    EXPECT_TRUE(DecideRelease(s, ReleaseOn(1, 650)));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(1, 700)));  // nothing pressed any more
}

TEST(ButtonClick, DoubleClickStartsOnce) {
    ClickState s;
    DecidePress(s, PressOn(0, 1000));
    ASSERT_TRUE(DecideRelease(s, ReleaseOn(0, 1080)));
    NoteStarted(s, 1080);
    DecidePress(s, PressOn(0, 1250));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(0, 1330)));  // 250 ms after the start
    DecidePress(s, PressOn(0, 1500));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(0, 1580)));  // exactly 500 ms
    DecidePress(s, PressOn(0, 1700));
    EXPECT_TRUE(DecideRelease(s, ReleaseOn(0, 1781)));
}

TEST(ButtonClick, HeldButtonFollowsTheCursorLikeAPushButton) {
    ClickState s;
    DecidePress(s, PressOn(1, 0));
    MoveFacts m{.X = 30,
                .Y = 8,
                .AnyButtonDown = true,
                .Dragging = false,
                .CellLeft = 22,
                .CellRight = 43,
                .BarHeight = 20};
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
    m.X = 44;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::DrawUnpressed);
    s.DrawnPressed = false;
    m.Y = 25;
    m.X = 30;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);  // below the bar: stays up
    m.Y = 19;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::DrawPressed);
    m.Dragging = true;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
    m.Dragging = false;
    m.AnyButtonDown = false;  // released outside, back over the bar now
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::CompleteRelease);
    s.Pressed = -1;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
}

}  // namespace
}  // namespace zorv
