#include "bar/button_click.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

// A press on cell `index` of a bar with five buttons.
PressFacts PressOn(std::int32_t index, std::uint64_t now, int button = 1) {
    return {
        .X = 10 + 22 * index, .Y = 8, .Button = button, .NowMs = now, .Index = index, .Count = 5};
}

ReleaseFacts ReleaseOn(std::int32_t index, std::uint64_t now, std::int32_t y = 8) {
    return {.Index = index, .Y = y, .Count = 5, .NowMs = now};
}

TEST(ButtonClick, StrayPressesAreIgnoredAndDoNotArmTheGuard_SecondPressesAre) {
    ClickState s;
    PressFacts stray[3] = {PressOn(1, 1000), PressOn(1, 1010), PressOn(1, 1020)};
    stray[0].X = stray[0].Y = -1;  // synthetic
    stray[1].BarReduced = true;
    stray[2].ReallyDown = false;
    for (const PressFacts& p : stray) EXPECT_EQ(DecidePress(s, p), PressAction::Ignore);
    EXPECT_EQ(DecidePress(s, PressOn(1, 1030)), PressAction::Press);  // 10 ms later: acts
    EXPECT_EQ(s.Pressed, 1);
    s.Pressed = -1;
    EXPECT_EQ(DecidePress(s, PressOn(2, 1129)), PressAction::Ignore);  // within 100 ms
    EXPECT_EQ(DecidePress(s, PressOn(2, 1230)), PressAction::Press);
    EXPECT_EQ(DecidePress(s, PressOn(3, 1400)), PressAction::Ignore);  // 2 still held
    // A real press on the line below the buttons does nothing, but it is a
    // press: one right after it is the same click.
    ClickState t;
    PressFacts onLine = PressOn(1, 2000);
    onLine.Y = 20;
    EXPECT_EQ(DecidePress(t, onLine), PressAction::Ignore);
    EXPECT_EQ(DecidePress(t, PressOn(1, 2050)), PressAction::Ignore);
    EXPECT_EQ(DecidePress(t, PressOn(1, 2100)), PressAction::Press);
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
    for (const auto& c : cases) {
        ClickState s;
        PressFacts p = PressOn(c.index, 1000, c.button);
        p.Shift = c.shift, p.Ctrl = c.ctrl;
        EXPECT_EQ(DecidePress(s, p), c.want) << c.button << c.shift << c.ctrl << c.index;
        EXPECT_EQ(s.Pressed, c.want == PressAction::Press ? c.index : -1);
    }
    // A left press records the drag origin; menu buttons open on the press.
    ClickState s;
    PressFacts p = PressOn(3, 100);
    p.HasMenu = true;
    EXPECT_EQ(DecidePress(s, p), PressAction::PressMenu);
    EXPECT_EQ(std::tuple(s.DragSource, s.PressX, s.PressY), std::tuple(3, p.X, 8));
    ClickState r;
    EXPECT_EQ(DecidePress(r, PressOn(3, 100, 2)), PressAction::Press);
    EXPECT_EQ(r.PressX, -1);
}

TEST(ButtonClick, ReleaseStartsOnTheSameButtonInsideTheBar_ADoubleClickOnce) {
    ClickState s;
    DecidePress(s, PressOn(1, 0));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(2, 50)));  // moved to the neighbour
    EXPECT_EQ(s.Pressed, -1);
    DecidePress(s, PressOn(1, 200));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(1, 250, 20)));  // below the buttons
    DecidePress(s, PressOn(5, 400));                        // main-menu cell: never a start
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(5, 450)));
    DecidePress(s, PressOn(1, 600));
    EXPECT_TRUE(DecideRelease(s, ReleaseOn(1, 650)));
    EXPECT_FALSE(DecideRelease(s, ReleaseOn(1, 700)));  // nothing pressed any more
    NoteStarted(s, 650);
    std::vector<bool> started;
    // Released 250, 500 and 501 ms after the start.
    for (auto [press, release] : {std::pair{800, 900}, {1050, 1150}, {1151, 1151}}) {
        DecidePress(s, PressOn(1, press));
        started.push_back(DecideRelease(s, ReleaseOn(1, release)));
    }
    EXPECT_EQ(started, (std::vector<bool>{false, false, true}));
}

TEST(ButtonClick, HeldButtonFollowsTheCursorLikeAPushButton) {
    ClickState s;
    DecidePress(s, PressOn(1, 0));
    MoveFacts m{.X = 30, .Y = 8, .AnyButtonDown = true, .CellLeft = 22, .CellRight = 43};
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
    m.X = 44;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::DrawUnpressed);
    s.DrawnPressed = false;
    m.X = 30, m.Y = 25;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);  // below the bar: stays up
    m.Y = 19;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::DrawPressed);
    m.Dragging = true;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
    m.Dragging = false, m.AnyButtonDown = false;  // released outside, back over the bar
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::CompleteRelease);
    s.Pressed = -1;
    EXPECT_EQ(DecideHeldMove(s, m), HeldMove::None);
}

}  // namespace
}  // namespace zorv
