#include "bar/position_tick.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bar/fake_bar_platform.h"

namespace zorv {
namespace {

using testing::FakeBarPlatform;
using Points = std::vector<ScreenPoint>;
using Did = std::map<std::string, int>;

Points Corners(ScreenRect bar, std::int32_t screenHeight) {
    CornerPoints c = CornerTestPoints(bar, 1280, screenHeight, 58);
    return {c.TopLeft, c.BottomRight};
}

TEST(CornerTest, PointsStayOnTheScreenAndOutOfTheRightGap) {
    EXPECT_EQ(Corners({922, 0, 300, 20}, 1024), (Points{{922, 0}, {1221, 19}}));
    EXPECT_EQ(Corners({922, -20, 300, 21}, 1024), (Points{{922, 0}, {1221, 0}}));
    EXPECT_EQ(Corners({-5, 0, 1290, 20}, 15), (Points{{0, 0}, {1221, 14}}));
}

TEST(TopmostSample, TopRowOnlyBelowTheScreenEdge) {
    EXPECT_EQ(TopmostSamplePoints({922, 0, 300, 20}), (Points{{1221, 19}, {922, 19}}));
    EXPECT_EQ(TopmostSamplePoints({922, 30, 300, 20}),
              (Points{{922, 30}, {1221, 30}, {1071, 39}, {1221, 49}, {922, 49}}));
    EXPECT_EQ(BigWindowPoint({922, 0, 300, 20}), (ScreenPoint{1072, 20}));
}

TEST(ColourCheck, DepthChangesRebuildOnlyFromPaletteModes) {
    Settings s;
    s.LastColor3DFace = 0xC0C0C0;
    s.LastBitsPerPixel = 16;
    ColourCheck c = CheckColours(s, 0xC0C0C0, 32, false);
    EXPECT_TRUE(c.DepthChanged && !c.Rebuild);
    s.LastBitsPerPixel = 8;
    EXPECT_TRUE(CheckColours(s, 0xC0C0C0, 32, false).Rebuild);
    EXPECT_FALSE(CheckColours(s, 0xC0C0C0, 32, true).Rebuild);  // a DirectX game
    s.RefreshOnCDS = false;
    EXPECT_FALSE(CheckColours(s, 0xC0C0C0, 32, false).Rebuild);
    // A new colour scheme always rebuilds, unless the colour is forced.
    s.LastBitsPerPixel = 32;
    EXPECT_TRUE(CheckColours(s, 0xD4D0C8, 32, false).Rebuild);
    s.ForcedColor3DFace = 0x808080;
    EXPECT_FALSE(CheckColours(s, 0xD4D0C8, 32, false).SchemeChanged);
    EXPECT_TRUE(CheckColours(s, 0xD4D0C8, 4, false).SixteenColours);
}

struct TickFixture : ::testing::Test {
    FakeBarPlatform fake;
    Settings settings;
    Reducer reducer{fake, settings, PlatformTraits{}};
    BarPlacer placer{fake, settings, reducer};
    PositionTicker ticker{fake, settings, reducer, placer, PlatformTraits{}};

    TickFixture() {
        settings.LastBitsPerPixel = 32;
        settings.LastColor3DFace = 0xC0C0C0;
        ticker.State().StoredScreenHeight = 1024;
        fake.rect = {922, 0, 300, 20};
        placer.State().RightGap = 58;
    }
    // A tick, seeing a new foreground window when asked; the fake forgets
    // what happened before.
    void Tick(bool newForeground = true) {
        fake.foreground += newForeground ? 1 : 0;
        fake.Forget();
        ticker.Tick(0);
    }
};

TEST_F(TickFixture, PendingSaveWaitsForAQuietBar_NothingMoreWithoutANewForeground) {
    ticker.SaveZorvINI_in1s();
    EXPECT_EQ(fake.posTimerMs, kPosTimerOneSecondMs);
    for (bool* busy : {&fake.mouseOnBar, &fake.buttonPressed, &reducer.State().TransitionBusy}) {
        *busy = true;
        Tick();
        EXPECT_EQ(fake.did["Save"], 0);
        *busy = false;
    }
    fake.screenHeight = 768;  // not looked at while the foreground stays
    Tick(false);
    EXPECT_EQ(fake.did, (Did{{"Save", 1}}));
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    Tick(false);
    fake.foreground = fake.bar;
    ticker.Tick(0);
    EXPECT_TRUE(fake.did.empty() && fake.moves.empty());
}

TEST_F(TickFixture, ACoveredBarIsPutOnTopAgain_ButNotDuringATransition) {
    fake.windowAt = [](ScreenPoint) { return WindowId{50}; };
    Tick();
    EXPECT_EQ(fake.did["ZBottomTopTopmost"], 1);
    EXPECT_EQ(fake.sleeps.front(), 1u);
    EXPECT_EQ(fake.did["ZNotTopmostTopmost"], 1);  // sampling finds the other window too
    fake.windowAt = nullptr;
    Tick();
    EXPECT_EQ(fake.did["ZBottomTopTopmost"] + fake.did["ZNotTopmostTopmost"], 0);
    fake.topmost = false;
    fake.windowAt = [](ScreenPoint) { return WindowId{50}; };
    reducer.State().TransitionBusy = true;
    Tick();
    EXPECT_EQ(fake.did["ZBottomTopTopmost"] + fake.did["ZNotTopmostTopmost"], 0);
}

TEST_F(TickFixture, NewScreenHeightPlacesTheBarTwiceAndSlowsTheTimer_NotUnderDirectX) {
    fake.screenHeight = 768;
    fake.screenWidth = 1024;
    std::vector<std::uint32_t> timer;
    for (int i = 0; i < 3; ++i) {
        Tick();
        timer.push_back(fake.posTimerMs);
    }
    EXPECT_EQ(fake.rect.Left, 666);
    // Once more at the next new foreground window.
    EXPECT_EQ(timer, (std::vector<std::uint32_t>{kPosTimerSlowMs, kPosTimerSlowMs, 0}));
    fake.dxForeground = true;
    fake.screenWidth = 1280;
    fake.screenHeight = 1024;
    Tick();
    EXPECT_EQ(fake.rect.Left, 666);  // left for a later tick
    fake.dxForeground = false;
    Tick();
    EXPECT_EQ(fake.rect.Left, 922);
}

TEST_F(TickFixture, ColourChangesRebuildAndSlowTheTimer_NotUnderDirectX) {
    settings.LastBitsPerPixel = 8;  // from a palette mode
    Tick();
    EXPECT_EQ(fake.did, (Did{{"BarRedraw", 1}, {"RebuildColours", 1}, {"Repaint", 1}}));
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    EXPECT_EQ(settings.LastBitsPerPixel, 32);
    fake.bpp = 16;  // no rebuild, still slowed down
    Tick();
    EXPECT_TRUE(fake.did.empty());
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    EXPECT_EQ(settings.LastBitsPerPixel, 16);
    // A new scheme under a DirectX window waits until the window is gone.
    fake.face3D = 0xD4D0C8;
    fake.dxForeground = true;
    Tick();
    EXPECT_EQ(fake.did["RebuildColours"], 0);
    fake.dxForeground = false;
    Tick();
    EXPECT_EQ(fake.did["RebuildColours"], 1);
    EXPECT_EQ(settings.LastColor3DFace, 0xD4D0C8);
}

TEST_F(TickFixture, StyleChangesAskForTheVideoCheck_MenusRebuild_WorkingSetStaysLarge) {
    fake.styles[fake.foreground] = 0x10CF0000;
    Tick(false);
    EXPECT_EQ(fake.did["CheckVideo"], 1);
    Tick(false);
    EXPECT_EQ(fake.did["CheckVideo"], 0);
    fake.styles[50] = 0x14000000;  // the big window under the bar
    Tick(false);
    EXPECT_EQ(fake.did["CheckVideo"], 1);

    ticker.State().RebuildMenusPending = true;
    fake.minWorkingSet = 1000;
    Tick();
    EXPECT_EQ(fake.did["RebuildMenus"], 1);
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    EXPECT_EQ(fake.workingSet, std::pair(kWorkingSetMinimum, kWorkingSetMaximum));
    fake.workingSet = {};
    PositionTicker win9x{fake, settings, reducer, placer, PlatformTraits{true, true, false}};
    win9x.Tick(0);
    EXPECT_EQ(fake.workingSet.first, 0u);
}

TEST_F(TickFixture, EnsureVisibleReassertsOnlyWhenTheMouseIsElsewhere) {
    fake.cursor = {1000, 5};
    ticker.EnsureVisibleTick();
    EXPECT_EQ(fake.did, (Did{{"StopEnsureVisible", 1}}));
    fake.cursor = {10, 500};
    ticker.EnsureVisibleTick();
    EXPECT_EQ(fake.did["TopNow"], 1);
}

}  // namespace
}  // namespace zorv
