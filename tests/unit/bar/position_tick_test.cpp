#include "bar/position_tick.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bar/fake_bar_platform.h"

namespace zorv {
namespace {

using testing::FakeBarPlatform;
using Points = std::vector<ScreenPoint>;
using Calls = std::vector<std::string>;

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
    // A tick that sees a new foreground window.
    void TickWithNewForeground() {
        ++fake.foreground;
        fake.calls.clear();
        ticker.Tick(0);
    }
};

TEST_F(TickFixture, PendingSaveWaitsForAQuietBar_NothingMoreWithoutANewForeground) {
    fake.configChanged = true;
    for (bool* busy : {&fake.mouseOnBar, &fake.buttonPressed, &reducer.State().TransitionBusy}) {
        *busy = true;
        TickWithNewForeground();
        *busy = false;
    }
    EXPECT_EQ(fake.Count("Save"), 0);
    fake.screenHeight = 768;  // not looked at while the foreground stays
    fake.calls.clear();
    ticker.Tick(0);
    EXPECT_EQ(fake.calls, (Calls{"Save", "PosTimer 2000"}));
    EXPECT_FALSE(fake.configChanged);
    fake.calls.clear();
    ticker.Tick(0);
    fake.foreground = fake.bar;
    ticker.Tick(0);
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(TickFixture, ACoveredBarIsPutOnTopAgain) {
    fake.windowAt = [](ScreenPoint) { return WindowId{50}; };
    ticker.Tick(0);
    EXPECT_EQ(fake.calls.front(), "ZBottomTopTopmost");
    EXPECT_EQ(fake.sleeps.front(), 1u);
    // Sampling then finds the other window over the bar, too.
    EXPECT_EQ(fake.Count("ZNotTopmostTopmost"), 1);
    fake.windowAt = nullptr;
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("ZBottomTopTopmost") + fake.Count("ZNotTopmostTopmost"), 0);
    // Not during a transition.
    fake.topmost = false;
    fake.windowAt = [](ScreenPoint) { return WindowId{50}; };
    reducer.State().TransitionBusy = true;
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("ZBottomTopTopmost") + fake.Count("ZNotTopmostTopmost"), 0);
}

TEST_F(TickFixture, NewScreenHeightPlacesTheBarAndSlowsTheTimer) {
    fake.screenHeight = 768;
    fake.screenWidth = 1024;
    TickWithNewForeground();
    EXPECT_EQ(fake.rect.Left, 666);
    EXPECT_EQ(fake.calls.back(), "PosTimer 2000");
    TickWithNewForeground();  // once more at the next new foreground
    EXPECT_EQ(fake.Count("PosTimer 2000"), 1);
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("PosTimer 2000"), 0);
    // Not under a DirectX window: left for a later tick.
    fake.dxForeground = true;
    fake.screenWidth = 1280;
    fake.screenHeight = 1024;
    TickWithNewForeground();
    EXPECT_EQ(fake.rect.Left, 666);
    fake.dxForeground = false;
    TickWithNewForeground();
    EXPECT_EQ(fake.rect.Left, 922);
}

TEST_F(TickFixture, ColourChangesRebuildAndPickTheTimerSpeed) {
    settings.LastBitsPerPixel = 8;
    TickWithNewForeground();
    auto first = std::find(fake.calls.begin(), fake.calls.end(), "RebuildColours");
    ASSERT_LE(first + 6, fake.calls.end());
    EXPECT_EQ(Calls(first, first + 6), (Calls{"RebuildColours", "Repaint", "Move", "BarRedraw",
                                              "PosTimer 1000", "PosTimer 2000"}));
    EXPECT_EQ(settings.LastBitsPerPixel, 32);
    // 32 to 16 bits: no rebuild, still slowed down once.
    fake.bpp = 16;
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("RebuildColours"), 0);
    EXPECT_EQ(fake.Count("PosTimer 2000"), 1);
    EXPECT_EQ(settings.LastBitsPerPixel, 16);
    // A new scheme under a DirectX window waits until the window is gone.
    fake.face3D = 0xD4D0C8;
    fake.dxForeground = true;
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("RebuildColours"), 0);
    fake.dxForeground = false;
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("RebuildColours"), 1);
    EXPECT_EQ(settings.LastColor3DFace, 0xD4D0C8);
}

TEST_F(TickFixture, StyleChangesAskForTheVideoCheck) {
    fake.styles[fake.foreground] = 0x10CF0000;
    ticker.Tick(0);
    EXPECT_EQ(fake.Count("CheckVideo"), 1);
    fake.calls.clear();
    ticker.Tick(0);
    EXPECT_EQ(fake.Count("CheckVideo"), 0);
    fake.styles[50] = 0x14000000;  // the big window under the bar
    ticker.Tick(0);
    EXPECT_EQ(fake.Count("CheckVideo"), 1);
}

TEST_F(TickFixture, MenusRebuildAndWorkingSetStaysLarge) {
    ticker.State().RebuildMenusPending = true;
    fake.minWorkingSet = 1000;
    TickWithNewForeground();
    EXPECT_EQ(fake.Count("RebuildMenus"), 1);
    EXPECT_EQ(fake.Count("PosTimer 2000"), 1);
    EXPECT_EQ(fake.calls.back(), "WorkingSet 5120000 6144000");
    PositionTicker win9x{fake, settings, reducer, placer, PlatformTraits{true, true, false}};
    fake.calls.clear();
    win9x.Tick(0);
    EXPECT_EQ(fake.Count("WorkingSet 5120000 6144000"), 0);
}

TEST_F(TickFixture, EnsureVisibleReassertsOnlyWhenTheMouseIsElsewhere) {
    fake.cursor = {1000, 5};
    ticker.EnsureVisibleTick();
    EXPECT_EQ(fake.calls, Calls{"StopEnsureVisible"});
    fake.cursor = {10, 500};
    ticker.EnsureVisibleTick();
    EXPECT_EQ(fake.calls.back(), "TopNow");
}

}  // namespace
}  // namespace zorv
